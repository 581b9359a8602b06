#include "vorel/model/event_sink.h"

#include <utility>

namespace vorel {

bool TEventQueue::Push(TQueuedEvent event) {
  std::lock_guard guard(mutex_);
  if (closed_) return false;
  events_.push_back(std::move(event));
  return true;
}

std::deque<TQueuedEvent> TEventQueue::TakeAll() {
  std::lock_guard guard(mutex_);
  return std::exchange(events_, {});
}

void TEventQueue::Close() {
  std::deque<TQueuedEvent> dropped;
  std::lock_guard guard(mutex_);
  closed_ = true;
  dropped.swap(events_);
}

}  // namespace vorel
