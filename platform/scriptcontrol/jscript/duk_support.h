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
#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "platform/automation/automation_error.h"
#include "platform/scriptcontrol/jscript/jscript_errors.h"

namespace scriptcontrol::jscript {

struct HeapDeleter {
  void operator()(duk_context* ctx) const;
};
using HeapPtr = std::unique_ptr<duk_context, HeapDeleter>;

// Throws std::runtime_error when Duktape cannot make a heap. The user
// data is what duk_get_memory_functions hands back later; it must outlive
// the heap.
HeapPtr CreateHeap(void* userData = nullptr);

// Pushes an Error (or, with kind, a TypeError, RangeError...) whose
// number, description and message are the failure's.
void PushAutomationError(duk_context* ctx, automation::HRESULT code, const char* description,
                         duk_errcode_t kind = DUK_ERR_ERROR);
// Pushes that error and throws it. Only for plain callback code: no C++
// object with a destructor may be alive between here and Duktape.
[[noreturn]] void ThrowScriptError(duk_context* ctx, duk_errcode_t kind, automation::HRESULT code,
                                   const char* description);

inline constexpr duk_ret_t kThrowPending = INT_MIN;

template <class F>
duk_ret_t RunNative(duk_context* ctx, F&& body) noexcept {
  try {
    return body();
  } catch (const JScriptError& e) {
    PushAutomationError(ctx, e.Code(), e.what(), e.Kind());
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

// A native pointer kept on a script object under a hidden key, together
// with the object it was put on. Reads of hidden keys go through a Proxy
// to its target and up to prototypes, so an object made with
// Object.create(holder) sees the holder's pointer; it inherits the
// holder's finalizer as well, and that finalizer must free only what its
// own object holds.
//
// Keys must be string constants: Duktape caches them by address.
void PutPointer(duk_context* ctx, duk_idx_t obj, const char* key, void* pointer);
// The pointer as reads see it; null when there is none.
void* PointerOf(duk_context* ctx, duk_idx_t obj, const char* key);
// The pointer only when obj itself holds it.
void* OwnPointerOf(duk_context* ctx, duk_idx_t obj, const char* key);
// The pointer when obj itself holds it, which from now on it no longer
// does; null otherwise. For finalizers.
void* TakeOwnPointer(duk_context* ctx, duk_idx_t obj, const char* key);

// The number a script error carries in its number property, when that is
// a 32-bit value (negative, or unsigned as 0x800A0009 is written).
std::optional<int32_t> ErrorNumberOf(duk_context* ctx, duk_idx_t idx);

// For C++ code that caught a script error with duk_safe_call: pops the
// error from the stack top and throws it as an AutomationError with the
// error's number (or, for a plain script exception, the number of an
// uncaught one) and its description or message.
[[noreturn]] void RaiseScriptFailure(duk_context* ctx);

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

// A method of a script-visible class of the engine's own.
struct NativeMethod {
  const char* name;
  duk_c_function function;
  duk_idx_t argumentCount;  // DUK_VARARGS for any number
};

// Makes the global constructor `name` whose prototype holds the methods.
void DefineGlobalClass(duk_context* ctx, const char* name, duk_c_function construct,
                       std::span<const NativeMethod> methods);

}  // namespace scriptcontrol::jscript
