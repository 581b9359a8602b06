// TTimerState: the skin's timers and the one-second ticker that drives
// them. The timer reader and the timers collection change the list; the
// ticker runs only while the desklet has timers or data sources.
#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include "vorel/model/timer_record.h"
#include "vorel/model/worker_threads.h"

namespace vorel {

struct TTimerState {
  std::vector<std::unique_ptr<TTimerInfo>> timers;
  std::atomic<bool> timerPassRunning{false};
  std::unique_ptr<TSecsThread> secondsThread;
};

}  // namespace vorel
