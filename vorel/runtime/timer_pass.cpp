#include "vorel/runtime/timer_pass.h"

#include <cmath>

#include "platform/win/win_services.h"
#include "vorel/host/messages.h"
#include "vorel/model/desklet.h"
#include "vorel/runtime/data_schedule.h"
#include "vorel/ui/update_check.h"
#include "vorel/util/date_time.h"

namespace vorel {

namespace {

constexpr double kSecondsPerDay = 86400.0;
// A late tick still fires an alarm it missed by less than this many
// seconds, once at least kAlarmRefire seconds have passed since it last
// fired.
constexpr int32_t kAlarmLateness = 20;
constexpr double kAlarmRefire = 21.0;

bool OnTheDay(const TTimerInfo& alarm, int32_t today) { return alarm.date == 0 || alarm.date == today; }

}  // namespace

bool AlarmDue(TTimerInfo& alarm, double tickTime) {
  const TDayAndTime tick = SplitDateTime(tickTime);
  int32_t s = tick.SecondsOfDay();
  const bool onTheDay = OnTheDay(alarm, tick.day);
  if (tickTime > alarm.lastFired && (tickTime - alarm.lastFired) * kSecondsPerDay >= kAlarmRefire &&
      s > alarm.seconds && s - alarm.seconds < kAlarmLateness && onTheDay)
    s = alarm.seconds;
  if (s != alarm.seconds || !onTheDay) return false;
  alarm.lastFired = tickTime;
  return true;
}

bool ClockDue(const TTimerInfo& clock, double tickTime) {
  const int32_t n = clock.seconds;
  const TDayAndTime tick = SplitDateTime(tickTime);
  if (n <= 60) return n == (tick.second == 0 ? 60 : tick.second);
  if (n <= 3600) return n == (tick.minute == 0 ? 60 : tick.minute) * 60 + tick.second;
  const int32_t hours = n / 3600;
  return tick.hour % hours == 0 && n - hours * 3600 == tick.minute * 60 + tick.second;
}

std::vector<TTimerRef> DueTimers(TTimerList& timers, double tickTime) {
  std::vector<TTimerRef> due;
  auto lock = timers.Lock();
  for (size_t i = timers.Count(); i-- > 0;) {
    TTimerRef record = timers.At(i);
    if (record->seconds < 0) continue;
    const uint8_t type = record->type;
    const bool fire = (type == kAlarmTimer || type == kAlarmTimer2) ? AlarmDue(*record, tickTime)
                      : type == kClockTimer                         ? ClockDue(*record, tickTime)
                                                                    : false;
    if (fire) {
      record->queuedRuns++;
      due.push_back(std::move(record));
    }
  }
  return due;
}

bool MinutePassed(double since, double now) {
  const double difference = std::fabs(now - since);
  const double timeOfDay = difference - std::floor(difference);
  return std::llround(timeOfDay * kSecondsPerDay) >= 60;
}

void SecondsTick(TDeskletObject& desklet, double now) {
  // NOTE: the pass runs on the ticker's own thread, so two passes never
  // overlap and no thread is started for it each second.
  for (const TTimerRef& record : DueTimers(desklet.timing.timers, now))
    if (!win::PostMessage(desklet.windowHandle, MSG_RUN_TIMER, static_cast<WPARAM>(record->id), 0))
      record->queuedRuns--;
  if (MinutePassed(desklet.createdAt, now)) {
    desklet.createdAt = now;
    StartDataDueCheck(desklet);
    StartAutomaticUpdateCheck(desklet, now);
  }
}

}  // namespace vorel
