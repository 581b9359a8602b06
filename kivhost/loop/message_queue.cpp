#include "kivhost/loop/message_queue.h"


namespace kivhost {

void SendAnswer::Give(LRESULT result) {
  {
    std::lock_guard lock(mutex_);
    if (done_) return;
    done_ = true;
    result_ = result;
  }
  given_.notify_all();
}

LRESULT SendAnswer::Wait() {
  std::unique_lock lock(mutex_);
  given_.wait(lock, [this] { return done_; });
  return result_;
}

bool SendAnswer::WaitFor(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  return given_.wait_for(lock, timeout, [this] { return done_; });
}

SentMessage& SentMessage::operator=(SentMessage&& other) noexcept {
  if (this != &other) {
    if (answer_) answer_->Give(0);
    answer_ = std::move(other.answer_);
  }
  return *this;
}

SentMessage::~SentMessage() {
  if (answer_) answer_->Give(0);
}

void SentMessage::Answer(LRESULT result) {
  if (!answer_) return;
  answer_->Give(result);
  answer_.reset();
}

bool MessageQueue::Post(const WinMsg& msg) {
  {
    std::lock_guard lock(mutex_);
    if (closed_.count(msg.hwnd)) return false;
    items_.push_back({msg, {}, std::nullopt});
  }
  ready_.notify_one();
  WakeUp();
  return true;
}

void MessageQueue::PostTask(std::function<void()> task) {
  {
    std::lock_guard lock(mutex_);
    items_.push_back({{}, std::move(task), std::nullopt});
  }
  ready_.notify_one();
  WakeUp();
}

void MessageQueue::SetWakeUp(std::function<void()> wakeUp) {
  std::lock_guard lock(wakeMutex_);
  wakeUp_ = std::move(wakeUp);
}

void MessageQueue::WakeUp() {
  std::lock_guard lock(wakeMutex_);
  if (wakeUp_) wakeUp_();
}

LRESULT MessageQueue::SendAndWait(const WinMsg& msg) {
  auto answer = std::make_shared<SendAnswer>();
  {
    std::lock_guard lock(mutex_);
    // Checked under the lock that CloseWindow and Stop take, so a sender
    // either sees them or is queued before they drop what is waiting.
    if (stopped_ || closed_.count(msg.hwnd)) return 0;
    items_.push_back({msg, {}, SentMessage(answer)});
  }
  ready_.notify_one();
  WakeUp();
  return answer->Wait();
}

std::optional<WinMsg> MessageQueue::Peek(HWND hwnd, bool remove) {
  std::lock_guard lock(mutex_);
  for (auto it = items_.begin(); it != items_.end(); ++it) {
    if (it->task || it->sent) continue;
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

void MessageQueue::CloseWindow(HWND hwnd) {
  // Dropped items answer their senders as they are destroyed, after the
  // lock is released, so a woken sender never contends with us for it.
  std::vector<QueuedItem> dropped;
  std::lock_guard lock(mutex_);
  closed_.insert(hwnd);
  dropped = RemoveIf([hwnd](const QueuedItem& i) { return !i.task && i.msg.hwnd == hwnd; });
}

void MessageQueue::Stop() {
  std::vector<QueuedItem> dropped;
  std::lock_guard lock(mutex_);
  stopped_ = true;
  dropped = RemoveIf([](const QueuedItem& i) { return i.sent.has_value(); });
}

std::vector<QueuedItem> MessageQueue::RemoveIf(const std::function<bool(const QueuedItem&)>& drop) {
  std::vector<QueuedItem> removed;
  std::deque<QueuedItem> kept;
  for (QueuedItem& item : items_) {
    if (drop(item)) removed.push_back(std::move(item));
    else kept.push_back(std::move(item));
  }
  items_.swap(kept);
  return removed;
}

bool MessageQueue::Stopped() const {
  std::lock_guard lock(mutex_);
  return stopped_;
}

}  // namespace kivhost
