// Worker threads of a desklet. A worker never touches scripts, layers or
// controls: it waits and posts messages to the desklet window. Each has a
// terminated flag that its owner sets and the thread polls (waits wake at
// once when it is set); a thread also sets the flag itself when its work is
// done, so that the window thread can reap it.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/abi/kiv_types.h"

namespace vorel {

class TKivThread {
 public:
  virtual ~TKivThread();
  TKivThread(const TKivThread&) = delete;
  TKivThread& operator=(const TKivThread&) = delete;

  // Runs Execute on a new system thread; once only.
  void Start();
  void Terminate();
  bool Terminated() const { return terminated_.load(); }
  // Execute has returned (or the thread never started).
  bool Finished() const { return finished_.load(); }
  // Terminates the thread and waits until it has ended.
  void TerminateAndWait();

 protected:
  TKivThread() = default;
  virtual void Execute() = 0;
  // Waits for the given time; true when the wait ended because the thread
  // was terminated.
  bool WaitTerminated(std::chrono::milliseconds time);

 private:
  std::thread thread_;
  std::atomic<bool> started_{false};
  std::atomic<bool> terminated_{false};
  std::atomic<bool> finished_{true};
  std::mutex mutex_;
  std::condition_variable wake_;
};

// The one-second ticker of a desklet: created suspended; once resumed it
// calls its callback, with the current local date and time, every 1 to
// 1.25 seconds until it is suspended again or terminated.
class TSecsThread final : public TKivThread {
 public:
  using Callback = std::function<void(double now)>;
  explicit TSecsThread(Callback callback);
  ~TSecsThread() override;

  void Resume();
  void Suspend();
  bool Suspended() const { return suspended_.load(); }

 private:
  void Execute() override;

  Callback callback_;
  std::atomic<bool> suspended_{true};
  std::mutex mutex_;
  std::condition_variable resumed_;
};

// A one-shot deferred call: after an optional delay it runs its callback,
// marks itself terminated and posts MSG_REAP_THREADS to the window. What the
// callback captures is owned by the thread and freed with it.
class TCallThread final : public TKivThread {
 public:
  TCallThread(HWND window, std::chrono::milliseconds delay, std::function<void()> callback);
  ~TCallThread() override;

 private:
  void Execute() override;

  HWND window_;
  std::chrono::milliseconds delay_;
  std::function<void()> callback_;
};

// The desklet's list of worker threads. Threads of any kind may add to it
// (the ticker starts deferred calls from its own thread), so access is
// serialised; freeing happens on the window thread.
class TThreadList {
 public:
  ~TThreadList();
  void Add(std::unique_ptr<TKivThread> thread);
  // Frees every thread whose terminated flag is set, from the last to the
  // first; freeing waits for the thread to end.
  void ReapTerminated();
  // Terminates every thread and frees them all, from the last to the first.
  // `whileWaiting` runs repeatedly while a thread is still ending.
  void StopAll(const std::function<void()>& whileWaiting);
  size_t Count() const;

 private:
  mutable std::mutex mutex_;
  std::vector<std::unique_ptr<TKivThread>> threads_;
};

}  // namespace vorel
