// A SpiderMonkey context: the engine's runtime, one per thread that runs
// scripts (JS_Init must have run once for the process). Every desklet of
// the thread is a global (a realm) in it. The context may carry an
// interrupt callback that a watchdog on another thread triggers: the
// watchdog asks for a stop, the callback answers false, and the running
// script ends with nothing it can catch.
#pragma once

#include <jsapi.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

namespace jsengines {

class SmRuntime {
 public:
  using Clock = std::chrono::steady_clock;

  struct Options {
    // Baseline interpreter, Baseline JIT and Ion. SpiderMonkey holds these
    // switches for the whole process: a runtime without them turns them off
    // until it is destroyed, so only one such runtime may exist at a time.
    bool jit = true;
    bool interruptCallback = false;
    // Decode the self-hosted code from the copy that the first runtime
    // with saveSelfHosted made, instead of parsing it again.
    bool reuseSelfHosted = false;
    bool saveSelfHosted = false;
  };

  // Throws std::runtime_error when the context cannot be made, and when
  // this thread has one already.
  explicit SmRuntime(Options options);
  ~SmRuntime();
  SmRuntime(const SmRuntime&) = delete;
  SmRuntime& operator=(const SmRuntime&) = delete;

  JSContext* Context() const { return cx_; }
  // The runtime made on the calling thread; throws when there is none.
  static SmRuntime& OnThisThread();

  // A global kept for the life of the runtime, whose zone desklets may
  // share (made on first use).
  JSObject* ZoneAnchor();

  // Full collection of every realm of the runtime.
  void CollectGarbage();
  // Bytes of the garbage-collected heap.
  int64_t GcHeapBytes() const;

  // Watchdog side, from any thread: a stop ends the running script at its
  // next interrupt check; a check only runs the callback, which lets the
  // script go on.
  void RequestStop();
  void RequestCheck();
  // Script side: forget an earlier stop before running again.
  void ClearStop();
  Clock::time_point StopRequestedAt() const { return Clock::time_point(Clock::duration(stopRequestedAt_.load())); }
  Clock::time_point CallbackStoppedAt() const { return Clock::time_point(Clock::duration(callbackStoppedAt_.load())); }
  int64_t CallbackRuns() const { return callbackRuns_.load(); }

  // The self-hosted code as a runtime with saveSelfHosted stored it.
  static const std::vector<uint8_t>& SavedSelfHosted();

 private:
  static bool OnInterrupt(JSContext* cx);
  void Destroy();

  JSContext* cx_ = nullptr;
  bool jitTurnedOff_ = false;
  // The process's JIT switches as they were before this runtime turned
  // them off.
  uint32_t jitWas_[3] = {1, 1, 1};
  std::unique_ptr<JS::PersistentRootedObject> zoneAnchor_;
  std::atomic<bool> stop_{false};
  std::atomic<Clock::rep> stopRequestedAt_{0};
  std::atomic<Clock::rep> callbackStoppedAt_{0};
  std::atomic<int64_t> callbackRuns_{0};
};

}  // namespace jsengines
