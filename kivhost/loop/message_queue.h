// MessageQueue: the window thread's queue. Any thread may post (never
// blocking); only the window thread takes messages out. Besides window
// messages it carries the host's own deferred work (a flip's completion
// callback, a message sent from another thread that waits for its result).
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>

#include "platform/win/win_services.h"

namespace kivhost {

struct QueuedItem {
  WinMsg msg{};
  std::function<void()> task;  // set for host work; msg is unused then
};

class MessageQueue {
 public:
  void Post(const WinMsg& msg);
  void PostTask(std::function<void()> task);
  // The first message for `hwnd` (any window for 0); tasks are skipped
  // unless hwnd is 0. Removes it when `remove` is set.
  std::optional<WinMsg> Peek(HWND hwnd, bool remove);
  // The next item, waiting until `deadline` at most.
  std::optional<QueuedItem> Take(std::chrono::steady_clock::time_point deadline);
  std::optional<QueuedItem> TakeNow();
  size_t Size() const;
  // Drops every message for the window (it is going away).
  void Forget(HWND hwnd);

 private:
  mutable std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<QueuedItem> items_;
};

}  // namespace kivhost
