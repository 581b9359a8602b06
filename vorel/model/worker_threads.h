// Worker threads of a desklet. A worker never touches scripts, layers or
// controls: it waits and posts messages to the desklet window. Each can be
// told to terminate (its waits wake at once); a thread that ends by itself
// (its work done, or its body failed) marks itself terminated and posts
// MSG_REAP_THREADS, so that the window thread reaps it and reports a
// failure into the desklet's error log. A failing body never ends the
// process: the failure is kept and that worker stops.
//
// NOTE: the body is a function the thread owns, and the system thread is
// the last member, so it is joined before anything the body can reach is
// destroyed. Kinds of worker add no members of their own: what they share
// with their body is owned by the body.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <stop_token>
#include <thread>
#include <vector>

#include "platform/abi/kiv_types.h"

namespace vorel {

class TErrorLog;

class TKivThread {
 public:
  using Body = std::function<void(TKivThread& self)>;
  // `window` receives the reap message when the thread ends by itself; 0
  // for none.
  TKivThread(HWND window, Body body);
  virtual ~TKivThread();
  TKivThread(const TKivThread&) = delete;
  TKivThread& operator=(const TKivThread&) = delete;

  // Runs the body on a new system thread; once only.
  void Start();
  void Terminate();
  bool Terminated() const { return terminated_.load(); }
  // The body has returned (or the thread never started).
  bool Finished() const { return finished_.load(); }
  // Terminates the thread and waits until it has ended.
  void TerminateAndWait();
  // The failure the body ended with, once; null when there is none. Only
  // after Finished().
  std::exception_ptr TakeFailure();

  // For the body: waits for the given time; false when the wait ended
  // because the thread was terminated.
  bool WaitFor(std::chrono::milliseconds time);
  // Waits, without a time limit, until `ready` holds; false on terminate.
  bool WaitUntil(const std::function<bool()>& ready);
  // Changes what the body waits on and wakes its waits.
  void Change(const std::function<void()>& change);

 private:
  void Run();

  HWND window_;
  Body body_;
  std::stop_source stop_;
  std::mutex mutex_;
  std::condition_variable_any wake_;
  std::atomic<bool> started_{false};
  std::atomic<bool> terminated_{false};
  std::atomic<bool> finished_{true};
  std::exception_ptr failure_;
  std::jthread thread_;  // last: joined before the rest goes
};

// The one-second ticker of a desklet: created suspended; once resumed it
// calls its callback, with the current local date and time, every 1 to
// 1.25 seconds until it is suspended again or terminated. While suspended
// its thread sleeps without waking (it starts only at the first Resume).
class TSecsThread final : public TKivThread {
 public:
  using Callback = std::function<void(double now)>;
  TSecsThread(HWND window, Callback callback);

  void Resume();
  void Suspend();
  bool Suspended() const { return state_->suspended.load(); }

 private:
  struct State {
    std::atomic<bool> suspended{true};
  };
  TSecsThread(HWND window, Callback callback, std::shared_ptr<State> state);
  std::shared_ptr<State> state_;
};

// A one-shot deferred call: after an optional delay it runs its callback,
// then ends (and is reaped). What the callback captures is owned by the
// thread and freed with it. Terminated during the delay, it never runs.
class TCallThread final : public TKivThread {
 public:
  TCallThread(HWND window, std::chrono::milliseconds delay, std::function<void()> callback);
};

// The desklet's list of worker threads. Threads of any kind may add to it
// (the ticker starts deferred calls from its own thread), so access is
// serialised; freeing happens on the window thread, which reports the
// failures the threads ended with into the desklet's error log.
class TThreadList {
 public:
  explicit TThreadList(TErrorLog& log) : log_(log) {}
  ~TThreadList();
  TThreadList(const TThreadList&) = delete;
  TThreadList& operator=(const TThreadList&) = delete;
  void Add(std::unique_ptr<TKivThread> thread);
  // Frees every thread whose terminated flag is set, from the last to the
  // first, reporting the failures they ended with; freeing waits for the
  // thread to end.
  void ReapTerminated();
  // Terminates every thread and frees them all, from the last to the
  // first. `whileWaiting` runs repeatedly while a thread is still ending.
  void StopAll(const std::function<void()>& whileWaiting);
  size_t Count() const;

 private:
  TErrorLog& log_;
  mutable std::mutex mutex_;
  std::vector<std::unique_ptr<TKivThread>> threads_;
};

}  // namespace vorel
