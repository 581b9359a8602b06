#include "platform/scriptcontrol/jscript/sm_support.h"

#include <js/CharacterEncoding.h>
#include <js/Conversions.h>
#include <js/Exception.h>
#include <js/GlobalObject.h>
#include <js/PropertyAndElement.h>
#include <js/String.h>
#include <mozilla/Span.h>

#include <cmath>

#include "platform/scriptcontrol/script_error.h"

namespace scriptcontrol::jscript {

namespace {

// One message format per kind of error: the description as it is.
const JSErrorFormatString* FormatOf(void*, const unsigned kind) {
  static const JSErrorFormatString kFormats[] = {
      {"Error", "{0}", 1, JSEXN_ERR},          {"InternalError", "{0}", 1, JSEXN_INTERNALERR},
      {"AggregateError", "{0}", 1, JSEXN_AGGREGATEERR}, {"EvalError", "{0}", 1, JSEXN_EVALERR},
      {"RangeError", "{0}", 1, JSEXN_RANGEERR}, {"ReferenceError", "{0}", 1, JSEXN_REFERENCEERR},
      {"SyntaxError", "{0}", 1, JSEXN_SYNTAXERR}, {"TypeError", "{0}", 1, JSEXN_TYPEERR},
      {"URIError", "{0}", 1, JSEXN_URIERR},
  };
  for (const JSErrorFormatString& format : kFormats)
    if (format.exnType == static_cast<int16_t>(kind)) return &format;
  return &kFormats[0];
}

}  // namespace

JSString* NewString(JSContext* cx, const std::string& text) {
  return JS_NewStringCopyUTF8N(cx, JS::UTF8Chars(text.data(), text.size()));
}

std::string Utf8Of(JSContext* cx, JSString* text) {
  if (!text) return std::string();
  JS::RootedString rooted(cx, text);
  JSLinearString* linear = JS_EnsureLinearString(cx, rooted);
  if (!linear) {
    JS_ClearPendingException(cx);
    return std::string();
  }
  std::string out(JS::GetDeflatedUTF8StringLength(linear), '\0');
  JS_EncodeStringToUTF8BufferPartial(cx, rooted, mozilla::Span<char>(out.data(), out.size()));
  return out;
}

void SetAutomationError(JSContext* cx, automation::HRESULT code, const std::string& description, JSExnType kind) {
  JS_ReportErrorNumberUTF8(cx, FormatOf, nullptr, static_cast<unsigned>(kind), description.c_str());
  JS::RootedValue error(cx);
  if (!JS_GetPendingException(cx, &error) || !error.isObject()) return;
  JS::RootedObject object(cx, &error.toObject());
  JS::RootedValue number(cx, JS::Int32Value(code));
  JS::RootedString text(cx, NewString(cx, description));
  JS::RootedValue textValue(cx, text ? JS::StringValue(text) : JS::UndefinedValue());
  // Defining may fail only for want of memory; the error stays as made.
  JS_ClearPendingException(cx);
  if (!JS_DefineProperty(cx, object, "number", number, JSPROP_ENUMERATE) ||
      !JS_DefineProperty(cx, object, "description", textValue, JSPROP_ENUMERATE))
    JS_ClearPendingException(cx);
  JS_SetPendingException(cx, error);
}

std::string SafeToString(JSContext* cx, JS::HandleValue value) {
  JS::RootedString text(cx, JS::ToString(cx, value));
  if (!text) {
    JS_ClearPendingException(cx);
    return std::string();
  }
  return Utf8Of(cx, text);
}

JS::Value SafeGet(JSContext* cx, JS::HandleObject obj, const char* key) {
  JS::RootedValue value(cx);
  if (!obj || !JS_GetProperty(cx, obj, key, &value)) {
    JS_ClearPendingException(cx);
    return JS::UndefinedValue();
  }
  return value;
}

std::string SafeGetString(JSContext* cx, JS::HandleObject obj, const char* key, const std::string& fallback) {
  JS::RootedValue value(cx, SafeGet(cx, obj, key));
  if (value.isUndefined()) return fallback;
  return SafeToString(cx, value);
}

std::optional<int32_t> ErrorNumberOf(JSContext* cx, JS::HandleObject error) {
  JS::RootedValue value(cx, SafeGet(cx, error, "number"));
  if (!value.isNumber()) return std::nullopt;
  double d = value.toNumber();
  // Numbers written in hex (0x800A0009) arrive unsigned.
  if (!std::isfinite(d) || d < -2147483648.0 || d >= 4294967296.0) return std::nullopt;
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<int64_t>(d)));
}

void RaisePendingAsAutomationError(JSContext* cx) {
  JS::RootedValue exception(cx);
  // A stop stays one: no catch block of the script may end it.
  if (!JS_IsExceptionPending(cx) || !JS_GetPendingException(cx, &exception)) throw PendingScriptError();
  JS_ClearPendingException(cx);
  if (!exception.isObject()) throw automation::AutomationError(kUncaughtErrorNumber, SafeToString(cx, exception));
  JS::RootedObject object(cx, &exception.toObject());
  automation::HRESULT number = ErrorNumberOf(cx, object).value_or(kUncaughtErrorNumber);
  std::string text = SafeGetString(cx, object, "description", SafeGetString(cx, object, "message", SafeToString(cx, exception)));
  throw automation::AutomationError(number, text);
}

}  // namespace scriptcontrol::jscript

namespace scriptcontrol::jscript {

void DefineGlobalClass(JSContext* cx, JS::HandleObject global, const char* name, JSNative construct,
                       const JSFunctionSpec* methods) {
  JSFunction* fn = JS_DefineFunction(cx, global, name, construct, 1, JSFUN_CONSTRUCTOR);
  Check(fn != nullptr);
  JS::RootedObject constructor(cx, JS_GetFunctionObject(fn));
  JS::RootedObject prototype(cx, JS_NewPlainObject(cx));
  Check(prototype != nullptr);
  Check(JS_DefineFunctions(cx, prototype, methods));
  Check(JS_DefineProperty(cx, prototype, "constructor", constructor, 0));
  Check(JS_DefineProperty(cx, constructor, "prototype", prototype, JSPROP_READONLY | JSPROP_PERMANENT));
}

JSObject* NewInstance(JSContext* cx, const JS::CallArgs& args, const JSClass* clasp) {
  if (args.isConstructing()) return JS_NewObjectForConstructor(cx, clasp, args);
  JS::RootedObject callee(cx, &args.callee());
  JS::RootedValue prototype(cx);
  if (!JS_GetProperty(cx, callee, "prototype", &prototype)) return nullptr;
  JS::RootedObject proto(cx, prototype.isObject() ? &prototype.toObject() : nullptr);
  return JS_NewObjectWithGivenProto(cx, clasp, proto);
}

}  // namespace scriptcontrol::jscript

namespace scriptcontrol::jscript {

const JSClass kGlobalClass = {"global", JSCLASS_GLOBAL_FLAGS, &JS::DefaultGlobalClassOps, nullptr, nullptr, nullptr};

JSObject* NewGlobal(JSContext* cx) {
  JS::RealmOptions options;
  JSObject* global = JS_NewGlobalObject(cx, &kGlobalClass, nullptr, JS::FireOnNewGlobalHook, options);
  Check(global != nullptr);
  return global;
}

}  // namespace scriptcontrol::jscript
