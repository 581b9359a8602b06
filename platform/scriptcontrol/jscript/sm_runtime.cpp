#include "platform/scriptcontrol/jscript/sm_runtime.h"

#include <js/GCAPI.h>
#include <js/Initialization.h>
#include <js/Interrupt.h>
#include <js/Stack.h>
#include <pthread.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace scriptcontrol::jscript {

namespace {

using Clock = std::chrono::steady_clock;

// What deep script calls leave free of the thread's stack, for the C++
// below the last script frame (host members, their handlers).
constexpr size_t kStackReserve = 512 * 1024;
constexpr size_t kStackBudgetUnknown = 1024 * 1024;

size_t ScriptStackQuota() {
  pthread_attr_t attr;
  if (pthread_getattr_np(pthread_self(), &attr) != 0) return kStackBudgetUnknown;
  void* low = nullptr;
  size_t size = 0;
  int failed = pthread_attr_getstack(&attr, &low, &size);
  pthread_attr_destroy(&attr);
  if (failed != 0 || size == 0) return kStackBudgetUnknown;
  // A small stack keeps half of itself for the C++ below the scripts.
  if (size <= 2 * kStackReserve) return size / 2;
  return size - kStackReserve;
}

std::atomic<int> liveRuntimes{0};

pthread_key_t RuntimeKey();

// At exit, the exiting thread's context goes (unless an engine still
// holds it) and, with no context left, the library shuts down before its
// own static objects are destroyed.
void ShutDownAtExit() {
  auto* runtime = static_cast<SmRuntime*>(pthread_getspecific(RuntimeKey()));
  if (runtime && runtime->Engines() == 0) {
    pthread_setspecific(RuntimeKey(), nullptr);
    std::unique_ptr<SmRuntime> gone(runtime);
  }
  if (liveRuntimes.load() == 0) JS_ShutDown();
}

void StartLibrary();

pthread_key_t RuntimeKey() {
  static pthread_key_t key = [] {
    pthread_key_t k;
    // The thread's runtime goes when the thread ends.
    if (pthread_key_create(&k, [](void* runtime) { std::unique_ptr<SmRuntime>(static_cast<SmRuntime*>(runtime)); }) != 0)
      std::abort();
    return k;
  }();
  return key;
}

// Wakes at the earliest time a running call could have used its budget
// and asks that thread's context for an interrupt.
class Watchdog {
 public:
  static Watchdog& Instance() {
    static Watchdog watchdog;
    return watchdog;
  }
  ~Watchdog() {
    {
      std::lock_guard lock(mutex_);
      closing_ = true;
    }
    wake_.notify_one();
    if (thread_.joinable()) thread_.join();
  }
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;

  void Arm(JSContext* cx, Clock::time_point when) {
    {
      std::lock_guard lock(mutex_);
      armed_[cx] = when;
      if (!thread_.joinable()) thread_ = std::thread(&Watchdog::Run, this);
    }
    wake_.notify_one();
  }
  // After this returns the watchdog no longer touches the context.
  void Disarm(JSContext* cx) {
    std::lock_guard lock(mutex_);
    armed_.erase(cx);
  }

 private:
  Watchdog() = default;

  void Run() {
    std::unique_lock lock(mutex_);
    while (!closing_) {
      if (armed_.empty()) {
        wake_.wait(lock);
        continue;
      }
      auto first = std::min_element(armed_.begin(), armed_.end(),
                                    [](const auto& a, const auto& b) { return a.second < b.second; });
      if (first->second <= Clock::now()) {
        // The callback sets the next time itself when the budget is not
        // spent yet.
        JS_RequestInterruptCallback(first->first);
        armed_.erase(first);
        continue;
      }
      // A copy: the entry may go while the lock is let go.
      const Clock::time_point when = first->second;
      wake_.wait_until(lock, when);
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_;
  std::map<JSContext*, Clock::time_point> armed_;
  bool closing_ = false;
  std::thread thread_;
};

void StartLibrary() {
  static std::once_flag once;
  std::call_once(once, [] {
    if (!JS_Init()) {
      std::fprintf(stderr, "JScript engine: SpiderMonkey cannot start\n");
      std::abort();
    }
    // Made first, so that it is destroyed after the handler has run.
    Watchdog::Instance();
    std::atexit(ShutDownAtExit);
  });
}

}  // namespace

SmRuntime& SmRuntime::OnThisThread() {
  if (auto* runtime = static_cast<SmRuntime*>(pthread_getspecific(RuntimeKey()))) return *runtime;
  StartLibrary();
  auto runtime = std::make_unique<SmRuntime>(ConstructionKey{});
  if (pthread_setspecific(RuntimeKey(), runtime.get()) != 0)
    throw std::runtime_error("A script engine for the specified language can not be created.");
  return *runtime.release();  // owned by the thread-specific slot from now on
}

SmRuntime::SmRuntime(ConstructionKey) {
  cx_ = JS_NewContext(JS::DefaultHeapMaxBytes);
  if (!cx_) throw std::runtime_error("A script engine for the specified language can not be created.");
  JS_SetContextPrivate(cx_, this);
  // The heap limit JS_NewContext takes is a hard one; skins that build
  // strings reach it before their first full collection.
  JS_SetGCParameter(cx_, JSGC_MAX_BYTES, 0xffffffff);
  JS_SetNativeStackQuota(cx_, ScriptStackQuota());
  if (!JS::InitSelfHostedCode(cx_) || !JS_AddInterruptCallback(cx_, OnInterrupt)) {
    JS_DestroyContext(cx_);
    throw std::runtime_error("A script engine for the specified language can not be created.");
  }
  ++liveRuntimes;
}

SmRuntime::~SmRuntime() {
  Watchdog::Instance().Disarm(cx_);
  // An engine still alive when its thread ends would hold roots into the
  // context; leaking the context is the lesser harm.
  if (engines_ != 0) return;
  JS_DestroyContext(cx_);
  --liveRuntimes;
}

void SmRuntime::PushBudget(const RunBudget* budget) {
  if (budgets_.empty()) stoppedForTime_ = false;
  budgets_.push_back(budget);
  Rearm();
}

void SmRuntime::PopBudget() {
  if (!budgets_.empty()) budgets_.pop_back();
  Rearm();
}

void SmRuntime::Rearm() {
  std::optional<int64_t> earliest;
  for (const RunBudget* budget : budgets_)
    if (std::optional<int64_t> left = budget->RemainingNs()) earliest = earliest ? std::min(*earliest, *left) : *left;
  if (!earliest) {
    Watchdog::Instance().Disarm(cx_);
    return;
  }
  // At least a millisecond, so that a call just short of its limit does
  // not keep the watchdog spinning.
  const int64_t wait = std::max<int64_t>(*earliest, 1'000'000);
  Watchdog::Instance().Arm(cx_, Clock::now() + std::chrono::nanoseconds(wait));
}

bool SmRuntime::OnInterrupt(JSContext* cx) {
  auto* self = static_cast<SmRuntime*>(JS_GetContextPrivate(cx));
  if (!self) return true;
  for (const RunBudget* budget : self->budgets_) {
    if (budget->Spent()) {
      self->stoppedForTime_ = true;
      // False with no exception pending: the script ends and no catch
      // block of its own can keep it running.
      return false;
    }
  }
  self->Rearm();
  return true;
}

void SmRuntime::CollectGarbage() {
  JS::PrepareForFullGC(cx_);
  JS::NonIncrementalGC(cx_, JS::GCOptions::Normal, JS::GCReason::API);
}

}  // namespace scriptcontrol::jscript
