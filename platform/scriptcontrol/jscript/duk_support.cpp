#include "platform/scriptcontrol/jscript/duk_support.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "platform/scriptcontrol/script_error.h"
#include "platform/util/utf8.h"

namespace scriptcontrol::jscript {

namespace {

// Only reached for an error outside every protected call, which the engine
// never makes; there is no way back into the caller.
void Fatal(void*, const char* message) {
  std::fprintf(stderr, "JScript engine: fatal error: %s\n", message ? message : "(none)");
  std::abort();
}

duk_ret_t GetPropUnsafe(duk_context* ctx, void* key) {
  // stack: [obj]
  duk_get_prop_string(ctx, -1, static_cast<const char*>(key));
  return 1;
}

}  // namespace

void HeapDeleter::operator()(duk_context* ctx) const { duk_destroy_heap(ctx); }

HeapPtr CreateHeap(void* userData) {
  duk_context* ctx = duk_create_heap(nullptr, nullptr, nullptr, userData, Fatal);
  if (!ctx) throw std::runtime_error("A script engine for the specified language can not be created.");
  return HeapPtr(ctx);
}

void PushAutomationError(duk_context* ctx, automation::HRESULT code, const char* description, duk_errcode_t kind) {
  // No C file and line, so the error carries the script position.
  duk_push_error_object_raw(ctx, kind, nullptr, 0, "%s", description);
  duk_push_int(ctx, code);
  duk_put_prop_string(ctx, -2, "number");
  duk_push_string(ctx, description);
  duk_put_prop_string(ctx, -2, "description");
}

void ThrowScriptError(duk_context* ctx, duk_errcode_t kind, automation::HRESULT code, const char* description) {
  PushAutomationError(ctx, code, description, kind);
  duk_throw_raw(ctx);
  std::abort();  // not reached: duk_throw_raw does not come back, though its declaration does not say so
}

namespace {

// The buffer behind an owned pointer: the holder, then the pointer.
struct OwnedPointer {
  void* owner;
  void* pointer;
};

// Pushes obj[key] and gives its owned-pointer buffer, or null.
OwnedPointer* PushOwnedPointer(duk_context* ctx, duk_idx_t obj, const char* key) {
  if (!duk_is_object(ctx, obj)) {
    duk_push_undefined(ctx);
    return nullptr;
  }
  // Keys are constants, so Duktape may remember their strings by address
  // instead of hashing the text at every read.
  duk_get_prop_literal_raw(ctx, obj, key, std::strlen(key));
  duk_size_t size = 0;
  void* data = duk_get_buffer(ctx, -1, &size);
  return data && size == sizeof(OwnedPointer) ? static_cast<OwnedPointer*>(data) : nullptr;
}

}  // namespace

void PutPointer(duk_context* ctx, duk_idx_t obj, const char* key, void* pointer) {
  obj = duk_normalize_index(ctx, obj);
  auto* slot = static_cast<OwnedPointer*>(duk_push_fixed_buffer(ctx, sizeof(OwnedPointer)));
  *slot = OwnedPointer{duk_get_heapptr(ctx, obj), pointer};
  duk_put_prop_literal_raw(ctx, obj, key, std::strlen(key));
}

void* PointerOf(duk_context* ctx, duk_idx_t obj, const char* key) {
  obj = duk_normalize_index(ctx, obj);
  OwnedPointer* slot = PushOwnedPointer(ctx, obj, key);
  void* pointer = slot ? slot->pointer : nullptr;
  duk_pop(ctx);
  return pointer;
}

void* OwnPointerOf(duk_context* ctx, duk_idx_t obj, const char* key) {
  obj = duk_normalize_index(ctx, obj);
  OwnedPointer* slot = PushOwnedPointer(ctx, obj, key);
  void* pointer = slot && slot->owner == duk_get_heapptr(ctx, obj) ? slot->pointer : nullptr;
  duk_pop(ctx);
  return pointer;
}

void* TakeOwnPointer(duk_context* ctx, duk_idx_t obj, const char* key) {
  obj = duk_normalize_index(ctx, obj);
  OwnedPointer* slot = PushOwnedPointer(ctx, obj, key);
  void* pointer = nullptr;
  if (slot && slot->owner == duk_get_heapptr(ctx, obj)) pointer = std::exchange(slot->pointer, nullptr);
  duk_pop(ctx);
  return pointer;
}

std::optional<int32_t> ErrorNumberOf(duk_context* ctx, duk_idx_t idx) {
  SafeGetProp(ctx, idx, "number");
  std::optional<int32_t> number;
  if (duk_is_number(ctx, -1)) {
    double d = duk_get_number(ctx, -1);
    // Numbers written in hex (0x800A0009) arrive unsigned.
    if (std::isfinite(d) && d >= -2147483648.0 && d < 4294967296.0)
      number = static_cast<int32_t>(static_cast<uint32_t>(static_cast<int64_t>(d)));
  }
  duk_pop(ctx);
  return number;
}

void RaiseScriptFailure(duk_context* ctx) {
  automation::HRESULT number = ErrorNumberOf(ctx, -1).value_or(kUncaughtErrorNumber);
  std::string text = SafeGetString(ctx, -1, "description", SafeGetString(ctx, -1, "message", SafeToString(ctx, -1)));
  duk_pop(ctx);
  throw automation::AutomationError(number, text);
}

void SafeGetProp(duk_context* ctx, duk_idx_t obj, const char* key) {
  if (!duk_is_object(ctx, obj)) {
    duk_push_undefined(ctx);
    return;
  }
  duk_dup(ctx, obj);
  if (duk_safe_call(ctx, GetPropUnsafe, const_cast<char*>(key), 1, 1) != DUK_EXEC_SUCCESS) {
    duk_pop(ctx);
    duk_push_undefined(ctx);
  }
}

std::string SafeGetString(duk_context* ctx, duk_idx_t obj, const char* key, const std::string& fallback) {
  obj = duk_normalize_index(ctx, obj);
  SafeGetProp(ctx, obj, key);
  std::string text = duk_is_undefined(ctx, -1) ? fallback : SafeToString(ctx, -1);
  duk_pop(ctx);
  return text;
}

std::string SafeToString(duk_context* ctx, duk_idx_t idx) {
  duk_dup(ctx, idx);
  duk_size_t length = 0;
  const char* text = duk_safe_to_lstring(ctx, -1, &length);
  std::string result = CesuToUtf8(text, length);
  duk_pop(ctx);
  return result;
}

std::string CesuToUtf8(const char* text, size_t length) {
  std::string out;
  out.reserve(length);
  auto surrogate = [&](size_t i) -> unsigned {
    // ED A0..BF xx encodes U+D800..DFFF
    if (i + 2 >= length) return 0;
    unsigned char a = static_cast<unsigned char>(text[i]);
    unsigned char b = static_cast<unsigned char>(text[i + 1]);
    unsigned char c = static_cast<unsigned char>(text[i + 2]);
    if (a != 0xED || (b & 0xE0) != 0xA0 || (c & 0xC0) != 0x80) return 0;
    return 0xD000u | ((b & 0x3Fu) << 6) | (c & 0x3Fu);
  };
  for (size_t i = 0; i < length;) {
    unsigned high = surrogate(i);
    if (high >= 0xD800 && high <= 0xDBFF) {
      unsigned low = surrogate(i + 3);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        char32_t cp = 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
        i += 6;
        continue;
      }
    }
    if (high) {
      out += "\xEF\xBF\xBD";  // a lone surrogate has no UTF-8 form
      i += 3;
      continue;
    }
    out += text[i++];
  }
  return out;
}

std::string Utf8ToCesu(const std::string& text) {
  bool plain = true;
  for (unsigned char c : text)
    if (c >= 0xF0) plain = false;
  if (plain) return text;
  std::u16string units = kiv::Utf8ToUtf16(text);
  std::string out;
  out.reserve(text.size() + 8);
  for (char16_t u : units) {
    if (u < 0x80) {
      out += static_cast<char>(u);
    } else if (u < 0x800) {
      out += static_cast<char>(0xC0 | (u >> 6));
      out += static_cast<char>(0x80 | (u & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (u >> 12));
      out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (u & 0x3F));
    }
  }
  return out;
}

void PushUtf8(duk_context* ctx, const std::string& text) {
  bool plain = true;
  for (unsigned char c : text)
    if (c >= 0xF0) plain = false;
  if (plain) {
    duk_push_lstring(ctx, text.data(), text.size());
    return;
  }
  const std::string cesu = Utf8ToCesu(text);
  duk_push_lstring(ctx, cesu.data(), cesu.size());
}

std::string GetUtf8(duk_context* ctx, duk_idx_t idx) {
  duk_size_t length = 0;
  const char* text = duk_get_lstring(ctx, idx, &length);
  return text ? CesuToUtf8(text, length) : std::string();
}

void DefineGlobalClass(duk_context* ctx, const char* name, duk_c_function construct,
                       std::span<const NativeMethod> methods) {
  duk_push_c_function(ctx, construct, DUK_VARARGS);
  duk_push_object(ctx);  // the prototype
  for (const NativeMethod& m : methods) {
    duk_push_c_function(ctx, m.function, m.argumentCount);
    duk_put_prop_string(ctx, -2, m.name);
  }
  duk_dup(ctx, -2);
  duk_put_prop_string(ctx, -2, "constructor");
  duk_put_prop_string(ctx, -2, "prototype");
  duk_put_global_string(ctx, name);
}

}  // namespace scriptcontrol::jscript
