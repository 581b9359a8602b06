// What every part of the JScript engine needs around Duktape: the heap
// owned by RAII, the guard each native callback runs behind, and reads of
// properties that cannot longjmp out of C++ code.
//
// Duktape reports script errors by longjmp, which skips C++ destructors,
// and a C++ exception must never unwind through Duktape's C frames. So a
// native callback runs its C++ body inside RunNative, which catches every
// exception and leaves a script error on the stack; the callback throws
// that error only after the body's objects are gone. Reads that may run
// script code (getters, proxies) go through duk_safe_call.
#pragma once

#include <duktape.h>

#include <climits>
#include <exception>
#include <memory>
#include <string>

#include "platform/automation/automation_error.h"

namespace scriptcontrol::jscript {

struct HeapDeleter {
  void operator()(duk_context* ctx) const;
};
using HeapPtr = std::unique_ptr<duk_context, HeapDeleter>;

// Throws std::runtime_error when Duktape cannot make a heap.
HeapPtr CreateHeap();

// Pushes an Error whose number, description and message are the failure's.
void PushAutomationError(duk_context* ctx, automation::HRESULT code, const char* description);

inline constexpr duk_ret_t kThrowPending = INT_MIN;

template <class F>
duk_ret_t RunNative(duk_context* ctx, F&& body) noexcept {
  try {
    return body();
  } catch (const automation::AutomationError& e) {
    PushAutomationError(ctx, e.Code(), e.what());
  } catch (const std::exception& e) {
    PushAutomationError(ctx, automation::E_UNEXPECTED, e.what());
  } catch (...) {
    PushAutomationError(ctx, automation::E_UNEXPECTED, "Catastrophic failure");
  }
  return kThrowPending;
}

// The callback's return: throws the pending error left by RunNative.
inline duk_ret_t FinishNative(duk_context* ctx, duk_ret_t rc) { return rc == kThrowPending ? duk_throw(ctx) : rc; }

// Pushes obj[key] (undefined when reading fails); never longjmps.
void SafeGetProp(duk_context* ctx, duk_idx_t obj, const char* key);
// obj[key] as text, or fallback when it is undefined or reading fails.
std::string SafeGetString(duk_context* ctx, duk_idx_t obj, const char* key, const std::string& fallback = {});
// The value as text, as String(value) gives it; never longjmps.
std::string SafeToString(duk_context* ctx, duk_idx_t idx);

// Duktape keeps characters beyond U+FFFF as surrogate pairs, each encoded
// on its own (CESU-8); the rest of the system speaks UTF-8.
std::string CesuToUtf8(const char* text, size_t length);
std::string Utf8ToCesu(const std::string& text);
// Pushes UTF-8 text as a script string.
void PushUtf8(duk_context* ctx, const std::string& text);
// The string at idx as UTF-8 (empty for a non-string).
std::string GetUtf8(duk_context* ctx, duk_idx_t idx);

}  // namespace scriptcontrol::jscript
