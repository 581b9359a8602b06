// The time budget of a call into a script engine counts the thread's
// processor time: waiting spends none of it, working spends it all.
#include "platform/scriptcontrol/run_budget.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace scriptcontrol {
namespace {

TEST(RunBudget, WaitingSpendsNothingWorkingSpendsItAll) {
  RunBudget budget;
  EXPECT_FALSE(budget.Running());
  EXPECT_FALSE(budget.Spent());
  budget.Start(50);
  ASSERT_TRUE(budget.Running());
  // A user reading a message box for longer than the limit.
  std::this_thread::sleep_for(std::chrono::milliseconds(120));
  EXPECT_FALSE(budget.Spent());
  // A loop; bounded by the wall clock so that a broken clock fails rather
  // than hangs.
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  volatile uint64_t work = 0;
  while (!budget.Spent() && std::chrono::steady_clock::now() < giveUp) work = work + 1;
  EXPECT_TRUE(budget.Spent());
  budget.Stop();
  EXPECT_FALSE(budget.Spent());
}

TEST(RunBudget, ANegativeLimitIsNone) {
  RunBudget budget;
  budget.Start(-1);
  EXPECT_FALSE(budget.Running());
  EXPECT_FALSE(budget.Spent());
  budget.Start(0);
  volatile uint64_t work = 0;
  for (int i = 0; i < 100000; ++i) work = work + 1;
  EXPECT_TRUE(budget.Spent()) << "no time at all is a limit";
}

}  // namespace
}  // namespace scriptcontrol
