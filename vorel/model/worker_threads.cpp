#include "vorel/model/worker_threads.h"

#include <algorithm>
#include <utility>

#include "platform/win/win_services.h"
#include "vorel/host/messages.h"
#include "vorel/model/error_log.h"
#include "vorel/model/timer_record.h"
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

bool TKivThread::WaitFor(std::chrono::milliseconds time, const std::function<bool()>& wake) {
  std::unique_lock lock(mutex_);
  wake_.wait_for(lock, stop_.get_token(), time, wake);
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
                 [state](TKivThread& self) {
                   using namespace std::chrono;
                   // Past the full second, so that the tick's time is in it.
                   constexpr auto kPastTheSecond = 5ms;
                   for (;;) {
                     if (state->suspended && !self.WaitUntil([&] { return !state->suspended; })) return;
                     const auto now = system_clock::now();
                     const auto next = floor<seconds>(now) + 1s + kPastTheSecond;
                     if (!self.WaitFor(ceil<milliseconds>(next - now))) return;
                     const auto at = system_clock::now();
                     // A clock set back shortens no wait; a late wake still ticks.
                     if (state->suspended || at < next - kPastTheSecond) continue;
                     Callback tick;
                     {
                       std::lock_guard lock(state->mutex);
                       tick = state->callback;
                     }
                     if (tick) tick(ToDateTime(at));
                   }
                 }),
      state_(std::move(state)) {
  state_->callback = std::move(callback);
}

void TSecsThread::SetCallback(Callback callback) {
  std::lock_guard lock(state_->mutex);
  state_->callback = std::move(callback);
}

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

TMilliUserTimerThread::TMilliUserTimerThread(HWND window, std::shared_ptr<TTimerInfo> record)
    : TKivThread(window,
                 [window, record](TKivThread& self) {
                   using namespace std::chrono;
                   for (;;) {
                     const auto started = steady_clock::now();
                     uint32_t period = record->milliseconds;
                     if (period == 0) return;
                     // A new period counts from the start of this wait.
                     for (;;) {
                       const auto elapsed = duration_cast<milliseconds>(steady_clock::now() - started);
                       if (elapsed >= milliseconds(period)) break;
                       const bool going = self.WaitFor(milliseconds(period) - elapsed,
                                                       [&] { return record->milliseconds != period; });
                       if (!going) return;
                       period = record->milliseconds;
                     }
                     if (self.Terminated()) return;
                     record->queuedRuns++;
                     if (!win::PostMessage(window, MSG_RUN_TIMER, static_cast<WPARAM>(record->id), 0)) record->queuedRuns--;
                     if (record->type == kOneShotTimer) {
                       win::PostMessage(window, MSG_DROP_TIMER, static_cast<WPARAM>(record->id), 0);
                       return;
                     }
                   }
                 }),
      record_(record.get()) {}

void TMilliUserTimerThread::PeriodChanged() {
  Change([] {});
}

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

void TThreadList::Visit(const std::function<void(TKivThread&)>& visit) {
  std::lock_guard lock(mutex_);
  for (auto& thread : threads_) visit(*thread);
}

size_t TThreadList::Count() const {
  std::lock_guard lock(mutex_);
  return threads_.size();
}

void PostMessageLater(TThreadList& threads, HWND window, std::chrono::milliseconds delay, uint32_t message,
                      WPARAM wParam, LPARAM lParam) {
  auto later = std::make_unique<TCallThread>(window, delay, [window, message, wParam, lParam] {
    win::PostMessage(window, message, wParam, lParam);
  });
  later->Start();
  threads.Add(std::move(later));
}

}  // namespace vorel
