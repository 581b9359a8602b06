// A skin timer. Worker threads read the timing fields; statements run only
// on the window thread, reached through posted messages.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

namespace vorel {

struct TTimerInfo {
  double lastFired = 0;       // alarm timers: when they last fired
  int32_t date = 0;           // alarm: the day it may fire on, 0 for every day
  int32_t seconds = -1;       // alarm: time of day; clock: period; -1 stopped
  std::atomic<uint32_t> milliseconds{0};  // millisecond timers: the period
  uint8_t type = 0;
  std::string name;
  std::string delay;
  std::string onTimer;
};

}  // namespace vorel
