#include "sm_runtime.h"

#include <js/BuildId.h>
#include <mozilla/HelperMacros.h>
#include <js/GlobalObject.h>
#include <js/Initialization.h>
#include <js/Interrupt.h>

#include <iterator>
#include <stdexcept>

#include "sm_globals.h"

namespace jsengines {

namespace {

thread_local SmRuntime* tCurrent = nullptr;

std::vector<uint8_t>& SelfHostedStore() {
  static std::vector<uint8_t> store;
  return store;
}

// Encoded code is tagged with the build it came from; the copy of the
// self-hosted code lives only as long as this process and this library.
bool BuildId(JS::BuildIdCharVector* id) {
  static constexpr char kId[] = "vorel-jsengines-mozjs-" MOZ_STRINGIFY(MOZJS_MAJOR_VERSION) "." MOZ_STRINGIFY(MOZJS_MINOR_VERSION);
  return id->append(kId, sizeof kId - 1);
}

bool SaveSelfHosted(JSContext*, JS::SelfHostedCache cache) {
  SelfHostedStore().assign(cache.begin(), cache.end());
  return true;
}

constexpr JSJitCompilerOption kJitSwitches[] = {JSJITCOMPILER_BASELINE_INTERPRETER_ENABLE,
                                                JSJITCOMPILER_BASELINE_ENABLE, JSJITCOMPILER_ION_ENABLE};

}  // namespace

SmRuntime::SmRuntime(Options options) {
  if (tCurrent) throw std::runtime_error("this thread has a SpiderMonkey context already");
  cx_ = JS_NewContext(JS::DefaultHeapMaxBytes);
  if (!cx_) throw std::runtime_error("SpiderMonkey cannot create a context");
  tCurrent = this;
  JS_SetContextPrivate(cx_, this);
  // JS_NewContext takes the heap limit for a hard one: past it allocations
  // fail as out of memory, and a zone that builds strings reaches 30 MB
  // before its first full collection. No limit, as the engine's own default
  // has it; collections keep to their triggers.
  JS_SetGCParameter(cx_, JSGC_MAX_BYTES, 0xffffffff);
  if (!options.jit) {
    for (size_t i = 0; i < std::size(kJitSwitches); ++i) {
      if (!JS_GetGlobalJitCompilerOption(cx_, kJitSwitches[i], &jitWas_[i])) jitWas_[i] = 1;
      JS_SetGlobalJitCompilerOption(cx_, kJitSwitches[i], 0);
    }
    jitTurnedOff_ = true;
  }
  bool ready = false;
  if (options.reuseSelfHosted && !SelfHostedStore().empty()) {
    const std::vector<uint8_t>& saved = SelfHostedStore();
    ready = JS::InitSelfHostedCode(cx_, JS::SelfHostedCache(saved.data(), saved.size()));
  } else {
    if (options.saveSelfHosted) JS::SetProcessBuildIdOp(BuildId);
    ready = JS::InitSelfHostedCode(cx_, nullptr, options.saveSelfHosted ? SaveSelfHosted : nullptr);
  }
  if (!ready || (options.interruptCallback && !JS_AddInterruptCallback(cx_, OnInterrupt))) {
    Destroy();
    throw std::runtime_error("SpiderMonkey cannot initialise its context");
  }
}

SmRuntime::~SmRuntime() { Destroy(); }

void SmRuntime::Destroy() {
  if (!cx_) return;
  zoneAnchor_.reset();
  if (jitTurnedOff_) {
    for (size_t i = 0; i < std::size(kJitSwitches); ++i) JS_SetGlobalJitCompilerOption(cx_, kJitSwitches[i], jitWas_[i]);
  }
  JS_DestroyContext(cx_);
  cx_ = nullptr;
  tCurrent = nullptr;
}

SmRuntime& SmRuntime::OnThisThread() {
  if (!tCurrent) throw std::runtime_error("no SpiderMonkey context on this thread");
  return *tCurrent;
}

JSObject* SmRuntime::ZoneAnchor() {
  if (!zoneAnchor_) {
    JS::RealmOptions options;
    JSObject* global = JS_NewGlobalObject(cx_, &kDeskletGlobalClass, nullptr, JS::FireOnNewGlobalHook, options);
    if (!global) throw std::runtime_error("SpiderMonkey cannot create a global");
    zoneAnchor_ = std::make_unique<JS::PersistentRootedObject>(cx_, global);
  }
  return *zoneAnchor_;
}

void SmRuntime::CollectGarbage() {
  JS::PrepareForFullGC(cx_);
  JS::NonIncrementalGC(cx_, JS::GCOptions::Shrink, JS::GCReason::API);
}

int64_t SmRuntime::GcHeapBytes() const { return JS_GetGCParameter(cx_, JSGC_BYTES); }

void SmRuntime::RequestStop() {
  stopRequestedAt_.store(Clock::now().time_since_epoch().count());
  stop_.store(true);
  JS_RequestInterruptCallback(cx_);
}

void SmRuntime::RequestCheck() { JS_RequestInterruptCallback(cx_); }

void SmRuntime::ClearStop() {
  stop_.store(false);
  stopRequestedAt_.store(0);
  callbackStoppedAt_.store(0);
}

const std::vector<uint8_t>& SmRuntime::SavedSelfHosted() { return SelfHostedStore(); }

bool SmRuntime::OnInterrupt(JSContext* cx) {
  auto* self = static_cast<SmRuntime*>(JS_GetContextPrivate(cx));
  self->callbackRuns_.fetch_add(1);
  if (!self->stop_.load()) return true;
  self->callbackStoppedAt_.store(Clock::now().time_since_epoch().count());
  // False with no exception pending: the script ends uncatchably.
  return false;
}

}  // namespace jsengines
