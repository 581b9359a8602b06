#include "sm_desklet.h"

#include <js/CompilationAndEvaluation.h>
#include <js/Conversions.h>
#include <js/ErrorReport.h>
#include <js/Exception.h>
#include <js/SourceText.h>

#include <cmath>
#include <cstring>
#include <stdexcept>
#include <string>

#include "script_error.h"
#include "sm_globals.h"
#include "sm_runtime.h"

namespace jsengines {

namespace {

bool HostAdd(JSContext* cx, unsigned argc, JS::Value* vp) {
  JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
  double a = 0;
  double b = 0;
  if (!JS::ToNumber(cx, args.get(0), &a) || !JS::ToNumber(cx, args.get(1), &b)) return false;
  args.rval().setNumber(a + b);
  return true;
}

JSObject* NewGlobal(JSContext* cx, JSObject* zoneOf) {
  JS::RealmOptions options;
  if (zoneOf) options.creationOptions().setNewCompartmentInExistingZone(zoneOf);
  JSObject* global = JS_NewGlobalObject(cx, &kDeskletGlobalClass, nullptr, JS::FireOnNewGlobalHook, options);
  if (!global) throw std::runtime_error("SpiderMonkey cannot create a global");
  return global;
}

}  // namespace

SmDesklet::SmDesklet(const char* script, JSObject* zoneOf)
    : cx_(SmRuntime::OnThisThread().Context()), global_(cx_, NewGlobal(cx_, zoneOf)) {
  JSAutoRealm realm(cx_, global_);
  JS::RootedObject host(cx_, NewHostObject(cx_, &host_));
  if (!host || !JS_DefineFunction(cx_, global_, "hostAdd", HostAdd, 2, JSPROP_ENUMERATE) ||
      !JS_DefineProperty(cx_, global_, "host", host, JSPROP_ENUMERATE))
    Fail();
  JS::CompileOptions options(cx_);
  options.setFileAndLine("desklet.js", 1);
  JS::SourceText<mozilla::Utf8Unit> source;
  JS::RootedValue result(cx_);
  if (!source.init(cx_, script, std::strlen(script), JS::SourceOwnership::Borrowed) ||
      !JS::Evaluate(cx_, options, source, &result))
    Fail();
}

SmDesklet::~SmDesklet() = default;

bool SmDesklet::Run(const char* text, JS::MutableHandleValue result) {
  JS::CompileOptions options(cx_);
  options.setFileAndLine("statement", 1);
  JS::SourceText<mozilla::Utf8Unit> source;
  return source.init(cx_, text, std::strlen(text), JS::SourceOwnership::Borrowed) &&
         JS::Evaluate(cx_, options, source, result);
}

double SmDesklet::Call(const char* function, double a, double b) {
  JSAutoRealm realm(cx_, global_);
  JS::RootedValue callee(cx_);
  if (!JS_GetProperty(cx_, global_, function, &callee)) Fail();
  JS::RootedValueArray<2> args(cx_);
  args[0].setNumber(a);
  args[1].setNumber(b);
  JS::RootedValue result(cx_);
  if (!JS_CallFunctionValue(cx_, global_, callee, args, &result)) Fail();
  return result.isNumber() ? result.toNumber() : 0.0;
}

void SmDesklet::Execute(const char* text) {
  JSAutoRealm realm(cx_, global_);
  JS::RootedValue result(cx_);
  if (!Run(text, &result)) Fail();
}

double SmDesklet::Evaluate(const char* text) {
  JSAutoRealm realm(cx_, global_);
  JS::RootedValue result(cx_);
  if (!Run(text, &result)) Fail();
  return result.isNumber() ? result.toNumber() : std::nan("");
}

size_t SmDesklet::Prepare(const char* text) {
  JSAutoRealm realm(cx_, global_);
  JS::CompileOptions options(cx_);
  options.setFileAndLine("statement", 1);
  JS::SourceText<mozilla::Utf8Unit> source;
  if (!source.init(cx_, text, std::strlen(text), JS::SourceOwnership::Borrowed)) Fail();
  JSScript* script = JS::Compile(cx_, options, source);
  if (!script) Fail();
  prepared_.push_back(std::make_unique<JS::PersistentRootedScript>(cx_, script));
  return prepared_.size() - 1;
}

void SmDesklet::RunPrepared(size_t index) {
  JSAutoRealm realm(cx_, global_);
  JS::RootedValue result(cx_);
  if (!JS_ExecuteScript(cx_, *prepared_.at(index), &result)) Fail();
}

void SmDesklet::CollectGarbage() { SmRuntime::OnThisThread().CollectGarbage(); }

void SmDesklet::Fail() {
  if (!JS_IsExceptionPending(cx_)) {
    // A false return without an exception: the interrupt callback stopped
    // the script (or memory ran out, which is reported the same way).
    throw ScriptError("script stopped by the host", 0, true);
  }
  JS::ExceptionStack exception(cx_);
  if (!JS::StealPendingExceptionStack(cx_, &exception)) throw ScriptError("unreadable exception", 0, false);
  JS::ErrorReportBuilder report(cx_);
  if (!report.init(cx_, exception, JS::ErrorReportBuilder::WithSideEffects)) {
    JS_ClearPendingException(cx_);
    throw ScriptError("unreadable exception", 0, false);
  }
  const char* text = report.toStringResult().c_str();
  std::string message = text ? text : "(no message)";
  const int line = report.report() ? static_cast<int>(report.report()->lineno) : 0;
  throw ScriptError(message, line, false);
}

SmDeskletSharedZone::SmDeskletSharedZone(const char* script)
    : SmDesklet(script, SmRuntime::OnThisThread().ZoneAnchor()) {}

}  // namespace jsengines
