// The desklet's timer list: naming, reuse by name, and the lifetime of
// deleted and dropped records.
#include <gtest/gtest.h>

#include "vorel/model/timer_state.h"

namespace {

using vorel::TTimerList;

TEST(TimerList, UnnamedTimersAreNumberedByTheCountOfTimers) {
  TTimerList list;
  EXPECT_EQ(list.Add("", "1", 0, "a")->name, "name1");
  EXPECT_EQ(list.Add("", "1", 0, "b")->name, "name2");
  EXPECT_EQ(list.Add("x", "1", 0, "c")->name, "x");
  EXPECT_EQ(list.Add("", "1", 0, "d")->name, "name4");
  EXPECT_EQ(list.Count(), 4u);
}

TEST(TimerList, ATimerNeedsADelayAndAStatement) {
  TTimerList list;
  EXPECT_EQ(list.Add("a", "", 0, "s"), nullptr);
  EXPECT_EQ(list.Add("a", "100", 0, ""), nullptr);
  EXPECT_TRUE(list.Empty());
}

TEST(TimerList, ANameInUseIsUpdatedInPlaceAndStopped) {
  TTimerList list;
  vorel::TTimerRef first = list.Add("t", "100", 0, "one");
  first->seconds = 5;
  first->lastFired = 3;
  first->milliseconds = 100;
  vorel::TTimerRef again = list.Add("t", "02:00:00", 2, "two");
  EXPECT_EQ(again, first);
  EXPECT_EQ(list.Count(), 1u);
  EXPECT_EQ(again->delay, "02:00:00");
  EXPECT_EQ(again->type, 2);
  EXPECT_EQ(again->onTimer, "two");
  EXPECT_EQ(again->seconds, -1);
  EXPECT_EQ(again->lastFired, 0);
  EXPECT_EQ(again->milliseconds, 0u);
}

TEST(TimerList, FindLastTakesTheLaterOfTwoNames) {
  TTimerList list;
  list.Add("a", "1", 0, "s");
  vorel::TTimerRef second = list.Add("b", "1", 0, "s");
  second->name = "a";  // a script renames without any test
  EXPECT_EQ(list.FindLast("a"), 1u);
  EXPECT_FALSE(list.FindLast("A").has_value());
}

TEST(TimerList, ADeletedTimerIsFoundWhileSomethingRefersToIt) {
  TTimerList list;
  vorel::TTimerRef kept = list.Add("a", "1", 0, "s");
  const uint64_t keptId = kept->id;
  const uint64_t goneId = list.Add("b", "1", 0, "s")->id;
  list.RemoveAt(1);
  list.RemoveAt(0);
  EXPECT_TRUE(list.Empty());
  EXPECT_EQ(list.Find(keptId), kept);
  EXPECT_EQ(list.Find(goneId), nullptr);  // nothing refers to it any more
  kept->queuedRuns = 1;
  kept.reset();
  list.Add("c", "1", 0, "s");
  list.RemoveAt(0);
  // A run on its way keeps it known.
  ASSERT_NE(list.Find(keptId), nullptr);
  list.Find(keptId)->queuedRuns = 0;
  list.Drop(0);
  EXPECT_EQ(list.Find(keptId), nullptr);
}

TEST(TimerList, ADroppedTimerIsForgottenEvenWhenReferredTo) {
  TTimerList list;
  vorel::TTimerRef t = list.Add("a", "1", 1, "s");
  EXPECT_TRUE(list.Drop(t->id));
  EXPECT_FALSE(list.Drop(t->id));
  EXPECT_EQ(list.Find(t->id), nullptr);
}

TEST(TimerList, IdsAreNeverGivenTwice) {
  TTimerList list;
  const uint64_t first = list.Add("a", "1", 0, "s")->id;
  list.Drop(first);
  EXPECT_NE(list.Add("a", "1", 0, "s")->id, first);
}

}  // namespace
