#include "kivhost/loop/message_queue.h"

#include <algorithm>

namespace kivhost {

void MessageQueue::Post(const WinMsg& msg) {
  {
    std::lock_guard lock(mutex_);
    items_.push_back({msg, {}});
  }
  ready_.notify_one();
}

void MessageQueue::PostTask(std::function<void()> task) {
  {
    std::lock_guard lock(mutex_);
    items_.push_back({{}, std::move(task)});
  }
  ready_.notify_one();
}

std::optional<WinMsg> MessageQueue::Peek(HWND hwnd, bool remove) {
  std::lock_guard lock(mutex_);
  for (auto it = items_.begin(); it != items_.end(); ++it) {
    if (it->task) continue;
    if (hwnd != 0 && it->msg.hwnd != hwnd) continue;
    WinMsg msg = it->msg;
    if (remove) items_.erase(it);
    return msg;
  }
  return std::nullopt;
}

std::optional<QueuedItem> MessageQueue::Take(std::chrono::steady_clock::time_point deadline) {
  std::unique_lock lock(mutex_);
  if (!ready_.wait_until(lock, deadline, [this] { return !items_.empty(); })) return std::nullopt;
  QueuedItem item = std::move(items_.front());
  items_.pop_front();
  return item;
}

std::optional<QueuedItem> MessageQueue::TakeNow() {
  std::lock_guard lock(mutex_);
  if (items_.empty()) return std::nullopt;
  QueuedItem item = std::move(items_.front());
  items_.pop_front();
  return item;
}

size_t MessageQueue::Size() const {
  std::lock_guard lock(mutex_);
  return items_.size();
}

void MessageQueue::Forget(HWND hwnd) {
  std::lock_guard lock(mutex_);
  std::erase_if(items_, [hwnd](const QueuedItem& i) { return !i.task && i.msg.hwnd == hwnd; });
}

}  // namespace kivhost
