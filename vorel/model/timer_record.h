// A skin timer. The window thread owns the text fields; the timing fields
// are shared with worker threads: the timer pass reads and writes `date`,
// `seconds` and `lastFired` under the timer list's lock, and a millisecond
// thread reads `milliseconds` and `type`, which are atomic for that.
//
// Messages name a record by its `id`, never by its address: a message may
// outlive the record, and the id of a freed record is never given again.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

namespace vorel {

struct TTimerInfo {
  explicit TTimerInfo(uint64_t serial) : id(serial) {}

  const uint64_t id;
  double lastFired = 0;   // alarm timers: when they last fired
  int32_t date = 0;       // alarm: the day it may fire on, 0 for every day
  int32_t seconds = -1;   // alarm: time of day; clock: period; -1 stopped
  std::atomic<uint32_t> milliseconds{0};  // millisecond timers: the period
  std::atomic<uint8_t> type{0};
  std::string name;
  std::string delay;
  std::string onTimer;
  // MSG_RUN_TIMER messages posted for this record and not yet handled; a
  // record deleted by a script stays known while any is on its way.
  std::atomic<int32_t> queuedRuns{0};
};

// The timer types.
inline constexpr uint8_t kRepeatingTimer = 0;
inline constexpr uint8_t kOneShotTimer = 1;
inline constexpr uint8_t kAlarmTimer = 2;
inline constexpr uint8_t kAlarmTimer2 = 3;
inline constexpr uint8_t kClockTimer = 4;

inline bool IsMillisecondTimer(uint8_t type) { return type == kRepeatingTimer || type == kOneShotTimer; }
inline bool IsTickedTimer(uint8_t type) { return type >= kAlarmTimer && type <= kClockTimer; }

}  // namespace vorel
