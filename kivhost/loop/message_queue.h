// MessageQueue: the window thread's queue. Any thread may post (never
// blocking); only the window thread takes items out. Besides window
// messages it carries the host's own deferred work (a flip's completion
// callback) and messages sent from other threads, whose senders wait for
// the result.
//
// A sender never waits on something that cannot come: its message is
// answered when the window thread delivers it, and answered with 0 when its
// window closes (CloseWindow), when the loop stops (Stop), or when the item
// is dropped for any other reason (the queue going away). The window thread
// can therefore destroy a desklet, and wait there for the desklet's worker
// threads, while one of them is sending to it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <vector>

#include "platform/win/win_services.h"

namespace kivhost {

// The answer a sending thread waits for. Shared between the sender and the
// queue item, so that neither outlives what it waits on.
class SendAnswer {
 public:
  // Only the first answer counts.
  void Give(LRESULT result);
  LRESULT Wait();
  // False when the time passed first.
  bool WaitFor(std::chrono::milliseconds timeout);

 private:
  std::mutex mutex_;
  std::condition_variable given_;
  bool done_ = false;
  LRESULT result_ = 0;
};

// A sent message in the queue: answers its sender once. An item dropped
// unanswered answers 0, so its sender is never left waiting.
class SentMessage {
 public:
  explicit SentMessage(std::shared_ptr<SendAnswer> answer) : answer_(std::move(answer)) {}
  SentMessage(SentMessage&&) noexcept = default;
  SentMessage& operator=(SentMessage&& other) noexcept;
  SentMessage(const SentMessage&) = delete;
  SentMessage& operator=(const SentMessage&) = delete;
  ~SentMessage();

  void Answer(LRESULT result);

 private:
  std::shared_ptr<SendAnswer> answer_;
};

struct QueuedItem {
  WinMsg msg{};
  std::function<void()> task;        // set for host work; msg is unused then
  std::optional<SentMessage> sent;   // set for a message another thread sends
};

class MessageQueue {
 public:
  // False when the window was closed: nothing is queued then.
  bool Post(const WinMsg& msg);
  void PostTask(std::function<void()> task);
  // Queues a message for the window thread and blocks until it was
  // delivered (its result) or could not be (0: the window closed, the loop
  // stopped). Never call it on the window thread: nothing would deliver.
  LRESULT SendAndWait(const WinMsg& msg);
  // The first posted message for `hwnd` (any window for 0); tasks and sent
  // messages are skipped. Removes it when `remove` is set.
  std::optional<WinMsg> Peek(HWND hwnd, bool remove);
  // The next item, waiting until `deadline` at most.
  std::optional<QueuedItem> Take(std::chrono::steady_clock::time_point deadline);
  std::optional<QueuedItem> TakeNow();
  size_t Size() const;
  // The window is going away: its posted messages are dropped, senders
  // waiting on it get 0, and later posts and sends to it are refused.
  void CloseWindow(HWND hwnd);
  // The loop ends: every waiting sender gets 0 and later sends return 0 at
  // once. Posts and tasks are still queued (the final pump may run them).
  void Stop();
  bool Stopped() const;
  // Called, from the posting thread, after each item is queued: a loop that
  // waits on something else than this queue (the desktop's main loop) is
  // woken by it. Set it before other threads post.
  void SetWakeUp(std::function<void()> wakeUp);

 private:
  void WakeUp();

  // Takes out the items `drop` picks, keeping the others in order. The
  // caller holds the lock.
  std::vector<QueuedItem> RemoveIf(const std::function<bool(const QueuedItem&)>& drop);

  mutable std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<QueuedItem> items_;
  std::set<HWND> closed_;
  bool stopped_ = false;
  std::mutex wakeMutex_;
  std::function<void()> wakeUp_;
};

}  // namespace kivhost
