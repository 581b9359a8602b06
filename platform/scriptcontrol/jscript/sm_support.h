// What every part of the JScript engine needs around SpiderMonkey: text
// both ways, script errors made from automation failures, reads that
// never leave an exception behind, and the guard every native callback
// runs its C++ body behind.
//
// C++ exceptions must never unwind through SpiderMonkey's frames. A
// native runs its body in GuardNative, which turns every exception into a
// pending script error and answers false. C++ code that calls into the
// engine and sees it fail throws PendingScriptError: the failure is the
// engine's pending exception (or, with none pending, a stop the script
// cannot catch), and the guard hands it on as it is.
#pragma once

#include <jsapi.h>

#include <cstdint>
#include <exception>
#include <optional>
#include <string>

#include "platform/automation/automation_error.h"
#include "platform/scriptcontrol/jscript/jscript_errors.h"

namespace scriptcontrol::jscript {

struct PendingScriptError : std::exception {
  const char* what() const noexcept override { return "script error"; }
};

// Throws PendingScriptError when ok is false.
inline void Check(bool ok) {
  if (!ok) throw PendingScriptError();
}

// UTF-8 text both ways; characters beyond U+FFFF are surrogate pairs in
// script strings, and a lone surrogate has no UTF-8 form (U+FFFD).
JSString* NewString(JSContext* cx, const std::string& text);
std::string Utf8Of(JSContext* cx, JSString* text);

// Leaves an Error (or, with kind, a TypeError, RangeError...) pending,
// whose number, description and message are the failure's and whose place
// is the running script's.
void SetAutomationError(JSContext* cx, automation::HRESULT code, const std::string& description,
                        JSExnType kind = JSEXN_ERR);

template <class F>
bool GuardNative(JSContext* cx, F&& body) noexcept {
  try {
    return body();
  } catch (const PendingScriptError&) {
  } catch (const JScriptError& e) {
    SetAutomationError(cx, e.Code(), e.what(), e.Kind());
  } catch (const automation::AutomationError& e) {
    SetAutomationError(cx, e.Code(), e.what());
  } catch (const std::exception& e) {
    SetAutomationError(cx, automation::E_UNEXPECTED, e.what());
  } catch (...) {
    SetAutomationError(cx, automation::E_UNEXPECTED, "Catastrophic failure");
  }
  return false;
}

// The value as text, as String(value) gives it; empty when that fails.
// Never leaves an exception pending.
std::string SafeToString(JSContext* cx, JS::HandleValue value);
// obj[key] (undefined when reading fails), and as text (fallback when it
// is undefined or reading fails).
JS::Value SafeGet(JSContext* cx, JS::HandleObject obj, const char* key);
std::string SafeGetString(JSContext* cx, JS::HandleObject obj, const char* key, const std::string& fallback = {});

// The number a script error carries in its number property, when that is
// a 32-bit value (negative, or unsigned as 0x800A0009 is written).
std::optional<int32_t> ErrorNumberOf(JSContext* cx, JS::HandleObject error);

// Takes the pending exception and throws it as an AutomationError with
// its number (or that of an uncaught error) and description (or message);
// a stop, with nothing pending, stays PendingScriptError.
[[noreturn]] void RaisePendingAsAutomationError(JSContext* cx);

}  // namespace scriptcontrol::jscript

namespace scriptcontrol::jscript {

// Makes the global constructor `name` whose prototype holds the methods.
void DefineGlobalClass(JSContext* cx, JS::HandleObject global, const char* name, JSNative construct,
                       const JSFunctionSpec* methods);
// The object a constructor of DefineGlobalClass makes, with `new` or
// without: of the class, inheriting from the constructor's prototype.
JSObject* NewInstance(JSContext* cx, const JS::CallArgs& args, const JSClass* clasp);

}  // namespace scriptcontrol::jscript

namespace scriptcontrol::jscript {

// The class of an engine's global object: an ordinary global whose
// standard classes (Math, Date...) are made on first use.
extern const JSClass kGlobalClass;

// A new global, in a realm of its own; throws PendingScriptError.
JSObject* NewGlobal(JSContext* cx);

}  // namespace scriptcontrol::jscript
