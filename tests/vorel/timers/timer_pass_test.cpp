// The ticker's timer pass with a clock the test controls: every tick's time
// is given, so a day of ticks runs in a moment.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "vorel/model/timer_state.h"
#include "vorel/runtime/data_schedule.h"
#include "vorel/runtime/timer_pass.h"

namespace {

using vorel::TTimerList;
using vorel::TTimerRef;

constexpr int32_t kToday = 46364;  // 2026-12-08

double At(int32_t day, int32_t hour, int32_t minute, int32_t second) {
  return day + (hour * 3600 + minute * 60 + second) / 86400.0;
}

TTimerRef Timer(TTimerList& list, uint8_t type, int32_t seconds, int32_t date = 0) {
  TTimerRef t = list.Add("", "x", type, "s");
  t->seconds = seconds;
  t->date = date;
  return t;
}

// The times of day (seconds) at which the record fired while the clock
// ticked once a second from `from` for `seconds` seconds.
std::vector<double> Firings(TTimerList& list, const TTimerRef& record, double from, int32_t seconds) {
  std::vector<double> fired;
  for (int32_t i = 0; i < seconds; ++i) {
    const double tick = from + i / 86400.0;
    for (const TTimerRef& due : vorel::DueTimers(list, tick))
      if (due == record) fired.push_back(tick);
  }
  return fired;
}

int32_t SecondOfDay(double t) { return static_cast<int32_t>(std::llround((t - std::floor(t)) * 86400)) % 86400; }

TEST(AlarmTimer, FiresOnceADayAtItsTime) {
  TTimerList list;
  TTimerRef alarm = Timer(list, vorel::kAlarmTimer, 3600);  // 01:00:00
  const std::vector<double> fired = Firings(list, alarm, At(kToday, 0, 0, 0), 2 * 86400);
  ASSERT_EQ(fired.size(), 2u);
  EXPECT_DOUBLE_EQ(fired[0], At(kToday, 1, 0, 0));
  EXPECT_DOUBLE_EQ(fired[1], At(kToday + 1, 1, 0, 0));
  EXPECT_DOUBLE_EQ(alarm->lastFired, fired[1]);
  EXPECT_EQ(alarm->queuedRuns, 2);
}

TEST(AlarmTimer, ALateTickStillFiresOnce) {
  TTimerList list;
  TTimerRef alarm = Timer(list, vorel::kAlarmTimer2, 3600);
  // The ticks of 01:00:00 to 01:00:04 never came.
  EXPECT_TRUE(vorel::DueTimers(list, At(kToday, 0, 59, 59)).empty());
  ASSERT_EQ(vorel::DueTimers(list, At(kToday, 1, 0, 5)).size(), 1u);
  EXPECT_DOUBLE_EQ(alarm->lastFired, At(kToday, 1, 0, 5));
  for (int32_t s = 6; s < 60; ++s) EXPECT_TRUE(vorel::DueTimers(list, At(kToday, 1, 0, s)).empty()) << s;
}

TEST(AlarmTimer, TwentySecondsLateIsTooLate) {
  TTimerList list;
  Timer(list, vorel::kAlarmTimer, 3600);
  EXPECT_TRUE(vorel::DueTimers(list, At(kToday, 1, 0, 20)).empty());
  TTimerList other;
  Timer(other, vorel::kAlarmTimer, 3600);
  EXPECT_EQ(vorel::DueTimers(other, At(kToday, 1, 0, 19)).size(), 1u);
}

TEST(AlarmTimer, ADatedAlarmFiresOnItsDayOnly) {
  TTimerList list;
  TTimerRef alarm = Timer(list, vorel::kAlarmTimer, 3600, kToday + 1);
  const std::vector<double> fired = Firings(list, alarm, At(kToday, 0, 0, 0), 3 * 86400);
  ASSERT_EQ(fired.size(), 1u);
  EXPECT_DOUBLE_EQ(fired[0], At(kToday + 1, 1, 0, 0));
}

TEST(AlarmTimer, TheSameSecondTwiceAfterFiringFiresAgainOnlyWhenExact) {
  TTimerList list;
  TTimerRef alarm = Timer(list, vorel::kAlarmTimer, 3600);
  ASSERT_EQ(vorel::DueTimers(list, At(kToday, 1, 0, 0)).size(), 1u);
  // Five seconds on is within the refire window: the late rule stays off.
  EXPECT_TRUE(vorel::DueTimers(list, At(kToday, 1, 0, 5)).empty());
}

TEST(ClockTimer, ThirtyFiresAtSecondThirtyOfEveryMinute) {
  TTimerList list;
  TTimerRef clock = Timer(list, vorel::kClockTimer, 30);
  const std::vector<double> fired = Firings(list, clock, At(kToday, 10, 0, 0), 3600);
  ASSERT_EQ(fired.size(), 60u);
  for (double t : fired) EXPECT_EQ(SecondOfDay(t) % 60, 30);
}

TEST(ClockTimer, SixtyFiresAtEveryFullMinute) {
  TTimerList list;
  TTimerRef clock = Timer(list, vorel::kClockTimer, 60);
  const std::vector<double> fired = Firings(list, clock, At(kToday, 10, 0, 0), 3600);
  ASSERT_EQ(fired.size(), 60u);
  for (double t : fired) EXPECT_EQ(SecondOfDay(t) % 60, 0);
}

TEST(ClockTimer, HourlyAndTwoHourlyFireOnTheFullHours) {
  TTimerList list;
  TTimerRef hourly = Timer(list, vorel::kClockTimer, 3600);
  TTimerRef twoHourly = Timer(list, vorel::kClockTimer, 7200);
  std::vector<int32_t> hours, evenHours;
  for (int32_t i = 0; i < 86400; ++i) {
    const double tick = At(kToday, 0, 0, 0) + i / 86400.0;
    for (const TTimerRef& due : vorel::DueTimers(list, tick)) {
      ASSERT_EQ(SecondOfDay(tick) % 3600, 0);
      (due == hourly ? hours : evenHours).push_back(SecondOfDay(tick) / 3600);
    }
  }
  EXPECT_EQ(hours.size(), 24u);
  ASSERT_EQ(evenHours.size(), 12u);
  for (int32_t h : evenHours) EXPECT_EQ(h % 2, 0);
}

TEST(ClockTimer, PeriodsBetweenTheUnitsCountFromTheFullHour) {
  TTimerList list;
  TTimerRef ninety = Timer(list, vorel::kClockTimer, 90);       // 1:30 past every hour
  TTimerRef ninetyMinutes = Timer(list, vorel::kClockTimer, 5400);  // half past every hour
  const std::vector<double> a = Firings(list, ninety, At(kToday, 0, 0, 0), 7200);
  ASSERT_EQ(a.size(), 2u);
  EXPECT_EQ(SecondOfDay(a[0]), 90);
  const std::vector<double> b = Firings(list, ninetyMinutes, At(kToday, 0, 0, 0), 7200);
  ASSERT_EQ(b.size(), 2u);
  EXPECT_EQ(SecondOfDay(b[0]), 1800);
}

TEST(TimerPass, SkipsStoppedAndUntickedTimersAndWalksFromTheLast) {
  TTimerList list;
  Timer(list, vorel::kClockTimer, -1);                // stopped
  Timer(list, vorel::kRepeatingTimer, 30);            // driven by its own thread
  Timer(list, 9, 30);                                 // no such type
  TTimerRef first = Timer(list, vorel::kClockTimer, 30);
  TTimerRef second = Timer(list, vorel::kAlarmTimer, 10 * 3600 + 30);
  const std::vector<TTimerRef> due = vorel::DueTimers(list, At(kToday, 10, 0, 30));
  ASSERT_EQ(due.size(), 2u);
  EXPECT_EQ(due[0], second);
  EXPECT_EQ(due[1], first);
}

TEST(MinutePass, CountsTheTimeOfDayOfTheDifference) {
  EXPECT_FALSE(vorel::MinutePassed(At(kToday, 10, 0, 0), At(kToday, 10, 0, 59)));
  EXPECT_TRUE(vorel::MinutePassed(At(kToday, 10, 0, 0), At(kToday, 10, 1, 0)));
  EXPECT_TRUE(vorel::MinutePassed(At(kToday, 10, 0, 0), At(kToday, 10, 0, 0) + 0.5));
  // Whole days are left out: a day and thirty seconds is under a minute.
  EXPECT_FALSE(vorel::MinutePassed(At(kToday, 10, 0, 0), At(kToday + 1, 10, 0, 30)));
  // A clock set back a minute counts as well.
  EXPECT_TRUE(vorel::MinutePassed(At(kToday, 10, 0, 0), At(kToday, 9, 59, 0)));
}

TEST(MinutePass, CountsTheMinutesOfScheduledSourcesAndFindsTheDueOnes) {
  std::vector<vorel::TXMLInfo> sources(3);
  sources[0].Interval = 0;  // never on the schedule
  sources[1].Interval = 3;
  sources[1].Counter = 3;   // as loaded: due at the first minute
  sources[2].Interval = 2;
  sources[2].Counter = 0;   // just fetched
  EXPECT_TRUE(vorel::CountDataMinute(sources));
  EXPECT_EQ(sources[0].Counter, 0);
  EXPECT_EQ(sources[1].Counter, 4);
  EXPECT_EQ(sources[2].Counter, 1);
  EXPECT_TRUE(vorel::CountDataMinute(sources)) << "source 2: 1 + 1 reaches its interval";
  sources[1].Counter = 0;
  sources[2].Counter = 0;
  EXPECT_FALSE(vorel::CountDataMinute(sources));
  EXPECT_EQ(sources[1].Counter, 1);
}

}  // namespace
