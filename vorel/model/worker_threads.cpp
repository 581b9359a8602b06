#include "vorel/model/worker_threads.h"

#include <algorithm>

#include "platform/win/win_services.h"
#include "vorel/host/messages.h"
#include "vorel/util/date_time.h"

namespace vorel {

using namespace std::chrono_literals;

TKivThread::~TKivThread() {
  // Derived classes end their thread in their own destructor; this only
  // catches a thread that a derived class forgot.
  if (thread_.joinable()) {
    Terminate();
    thread_.join();
  }
}

void TKivThread::Start() {
  if (started_.exchange(true)) return;
  finished_ = false;
  thread_ = std::thread([this] {
    Execute();
    finished_ = true;
  });
}

void TKivThread::Terminate() {
  {
    std::lock_guard lock(mutex_);
    terminated_ = true;
  }
  wake_.notify_all();
}

void TKivThread::TerminateAndWait() {
  Terminate();
  if (thread_.joinable()) thread_.join();
}

bool TKivThread::WaitTerminated(std::chrono::milliseconds time) {
  std::unique_lock lock(mutex_);
  return wake_.wait_for(lock, time, [this] { return terminated_.load(); });
}

// ---------------------------------------------------------------------------

TSecsThread::TSecsThread(Callback callback) : callback_(std::move(callback)) {}

TSecsThread::~TSecsThread() {
  Terminate();
  resumed_.notify_all();
  TerminateAndWait();
}

void TSecsThread::Resume() {
  {
    std::lock_guard lock(mutex_);
    suspended_ = false;
  }
  resumed_.notify_all();
  Start();
}

void TSecsThread::Suspend() {
  std::lock_guard lock(mutex_);
  suspended_ = true;
}

void TSecsThread::Execute() {
  auto last = std::chrono::steady_clock::now();
  while (!Terminated()) {
    {
      std::unique_lock lock(mutex_);
      while (suspended_ && !Terminated()) {
        // A suspended ticker checks its flags now and then; Resume wakes it.
        resumed_.wait_for(lock, 250ms);
        last = std::chrono::steady_clock::now();
      }
    }
    if (WaitTerminated(250ms)) break;
    auto now = std::chrono::steady_clock::now();
    if (now - last >= 1s && !suspended_) {
      last = now;
      if (callback_) callback_(NowAsDateTime());
    }
  }
}

// ---------------------------------------------------------------------------

TCallThread::TCallThread(HWND window, std::chrono::milliseconds delay, std::function<void()> callback)
    : window_(window), delay_(delay), callback_(std::move(callback)) {}

TCallThread::~TCallThread() { TerminateAndWait(); }

void TCallThread::Execute() {
  if (delay_ >= 1ms && WaitTerminated(delay_)) return;
  if (Terminated()) return;
  if (callback_) callback_();
  Terminate();
  win::PostMessage(window_, MSG_REAP_THREADS, 0, 0);
}

// ---------------------------------------------------------------------------

TThreadList::~TThreadList() {
  StopAll([] {});
}

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
  reaped.clear();
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
    last.reset();
  }
}

size_t TThreadList::Count() const {
  std::lock_guard lock(mutex_);
  return threads_.size();
}

}  // namespace vorel
