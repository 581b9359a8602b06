#include "vorel/model/worker_threads.h"

#include <algorithm>
#include <utility>

#include "platform/win/win_services.h"
#include "vorel/host/messages.h"
#include "vorel/model/error_log.h"
#include "vorel/util/date_time.h"

namespace vorel {

using namespace std::chrono_literals;

TKivThread::TKivThread(HWND window, Body body) : window_(window), body_(std::move(body)) {}

TKivThread::~TKivThread() { TerminateAndWait(); }

void TKivThread::Start() {
  if (started_.exchange(true)) return;
  finished_ = false;
  thread_ = std::jthread([this] { Run(); });
}

void TKivThread::Run() {
  try {
    if (body_) body_(*this);
  } catch (...) {
    // Kept for the window thread, which reports it when it reaps the
    // thread; this worker stops here.
    std::lock_guard lock(mutex_);
    failure_ = std::current_exception();
  }
  const bool byItself = !terminated_.exchange(true);
  finished_ = true;
  if (byItself && window_ != 0) win::PostMessage(window_, MSG_REAP_THREADS, 0, 0);
}

void TKivThread::Terminate() {
  terminated_ = true;
  // The stop request wakes every wait of the body, whenever it comes.
  stop_.request_stop();
}

void TKivThread::TerminateAndWait() {
  Terminate();
  if (thread_.joinable()) thread_.join();
}

std::exception_ptr TKivThread::TakeFailure() {
  std::lock_guard lock(mutex_);
  return std::exchange(failure_, nullptr);
}

bool TKivThread::WaitFor(std::chrono::milliseconds time) {
  std::unique_lock lock(mutex_);
  wake_.wait_for(lock, stop_.get_token(), time, [] { return false; });
  return !stop_.stop_requested();
}

bool TKivThread::WaitUntil(const std::function<bool()>& ready) {
  std::unique_lock lock(mutex_);
  wake_.wait(lock, stop_.get_token(), ready);
  return !stop_.stop_requested();
}

void TKivThread::Change(const std::function<void()>& change) {
  {
    std::lock_guard lock(mutex_);
    change();
  }
  wake_.notify_all();
}

// ---------------------------------------------------------------------------

TSecsThread::TSecsThread(HWND window, Callback callback)
    : TSecsThread(window, std::move(callback), std::make_shared<State>()) {}

TSecsThread::TSecsThread(HWND window, Callback callback, std::shared_ptr<State> state)
    : TKivThread(window,
                 [callback = std::move(callback), state](TKivThread& self) {
                   auto last = std::chrono::steady_clock::now();
                   for (;;) {
                     if (state->suspended) {
                       if (!self.WaitUntil([&] { return !state->suspended; })) return;
                       last = std::chrono::steady_clock::now();
                     }
                     if (!self.WaitFor(250ms)) return;
                     const auto now = std::chrono::steady_clock::now();
                     if (now - last >= 1s && !state->suspended) {
                       last = now;
                       if (callback) callback(NowAsDateTime());
                     }
                   }
                 }),
      state_(std::move(state)) {}

void TSecsThread::Resume() {
  Change([&] { state_->suspended = false; });
  Start();
}

void TSecsThread::Suspend() {
  Change([&] { state_->suspended = true; });
}

// ---------------------------------------------------------------------------

TCallThread::TCallThread(HWND window, std::chrono::milliseconds delay, std::function<void()> callback)
    : TKivThread(window, [delay, callback = std::move(callback)](TKivThread& self) {
        if (delay >= 1ms && !self.WaitFor(delay)) return;
        if (self.Terminated()) return;
        if (callback) callback();
      }) {}

// ---------------------------------------------------------------------------

TThreadList::~TThreadList() { StopAll([] {}); }

void TThreadList::Add(std::unique_ptr<TKivThread> thread) {
  std::lock_guard lock(mutex_);
  threads_.push_back(std::move(thread));
}

void TThreadList::ReapTerminated() {
  std::vector<std::unique_ptr<TKivThread>> reaped;
  {
    std::lock_guard lock(mutex_);
    for (size_t i = threads_.size(); i-- > 0;) {
      if (threads_[i]->Terminated()) {
        reaped.push_back(std::move(threads_[i]));
        threads_.erase(threads_.begin() + static_cast<long>(i));
      }
    }
  }
  // Joined outside the lock: a thread that is ending may still add work.
  for (auto& thread : reaped) {
    thread->TerminateAndWait();
    if (std::exception_ptr failure = thread->TakeFailure()) log_.Report(failure);
  }
}

void TThreadList::StopAll(const std::function<void()>& whileWaiting) {
  for (;;) {
    std::unique_ptr<TKivThread> last;
    {
      std::lock_guard lock(mutex_);
      if (threads_.empty()) return;
      last = std::move(threads_.back());
      threads_.pop_back();
    }
    last->Terminate();
    while (!last->Finished()) {
      whileWaiting();
      std::this_thread::sleep_for(2ms);
    }
    last->TerminateAndWait();
    if (std::exception_ptr failure = last->TakeFailure()) log_.Report(failure);
  }
}

size_t TThreadList::Count() const {
  std::lock_guard lock(mutex_);
  return threads_.size();
}

}  // namespace vorel
