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
  // The same wait, which also ends early once `wake` holds (tested when a
  // Change() wakes it).
  bool WaitFor(std::chrono::milliseconds time, const std::function<bool()>& wake);
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
// calls its callback, with the current local date and time, just after
// each full second of the system clock until it is suspended again or
// terminated. While suspended its thread sleeps without waking (it starts
// only at the first Resume).
//
// NOTE: ticks follow the clock's seconds rather than a free-running
// period: a timer aligned to the clock then sees every second once, and
// the thread wakes once a second. Terminating and suspending need no
// shorter waits, since a terminate ends the wait at once.
class TSecsThread final : public TKivThread {
 public:
  using Callback = std::function<void(double now)>;
  TSecsThread(HWND window, Callback callback);

  // The function each tick calls; replaces the one given at construction.
  void SetCallback(Callback callback);
  void Resume();
  void Suspend();
  bool Suspended() const { return state_->suspended.load(); }

 private:
  struct State {
    std::atomic<bool> suspended{true};
    std::mutex mutex;
    Callback callback;
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

struct TTimerInfo;

// The thread of one running millisecond timer: it waits the record's
// period, posts MSG_RUN_TIMER with the record's id, and for a one-shot
// timer then posts MSG_DROP_TIMER and ends. A period of 0 ends it at once.
// A new period set meanwhile is picked up by the wait under way once
// PeriodChanged() is called.
class TMilliUserTimerThread final : public TKivThread {
 public:
  TMilliUserTimerThread(HWND window, std::shared_ptr<TTimerInfo> record);
  bool Drives(const TTimerInfo& record) const { return record_ == &record; }
  void PeriodChanged();

 private:
  const TTimerInfo* record_;  // identity only: the body owns the record
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
  // Calls `visit` for every thread in the list, under the list's lock.
  void Visit(const std::function<void(TKivThread&)>& visit);

 private:
  TErrorLog& log_;
  mutable std::mutex mutex_;
  std::vector<std::unique_ptr<TKivThread>> threads_;
};

// Posts the message to the window after the delay, from a deferred-call
// thread kept in the list.
void PostMessageLater(TThreadList& threads, HWND window, std::chrono::milliseconds delay, uint32_t message,
                      WPARAM wParam, LPARAM lParam);

}  // namespace vorel
