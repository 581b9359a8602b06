#include "platform/scriptcontrol/jscript/js_bridge.h"

#include <js/Array.h>
#include <js/Date.h>
#include <js/Object.h>
#include <js/PropertyAndElement.h>
#include <js/Proxy.h>
#include <jsfriendapi.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <ctime>
#include <optional>
#include <span>
#include <stdexcept>

#include "platform/automation/dispatch_call.h"
#include "platform/automation/error_info.h"
#include "platform/automation/type_info.h"
#include "platform/automation/variant_convert.h"
#include "platform/scriptcontrol/jscript/dispatch_proxy.h"
#include "platform/scriptcontrol/jscript/js_object_dispatch.h"
#include "platform/scriptcontrol/jscript/jscript_errors.h"
#include "platform/scriptcontrol/jscript/sm_support.h"
#include "platform/scriptcontrol/script_error.h"

namespace scriptcontrol::jscript {

using automation::ComPtr;
using automation::DispId;
using automation::IDispatch;
using automation::InterfaceInfo;
using automation::MemberInfo;
using automation::MemberKind;
using automation::Variant;

namespace {

constexpr uint16_t kCallFlags = automation::DISPATCH_METHOD | automation::DISPATCH_PROPERTYGET;

// An object holding one reference to a dispatch object, for the functions
// and accessors bound to it; or owning a variant array, for the opaque
// array values scripts pass to VBArray.
enum HolderSlot { kHeldSlot, kHolderSlots };

void FinalizeDispatchHolder(JS::GCContext*, JSObject* obj) {
  const JS::Value held = JS::GetReservedSlot(obj, kHeldSlot);
  if (!held.isUndefined()) static_cast<IDispatch*>(held.toPrivate())->Release();
}

void FinalizeArrayHolder(JS::GCContext*, JSObject* obj) {
  const JS::Value held = JS::GetReservedSlot(obj, kHeldSlot);
  // Owned by the holder since ArrayValue.
  if (!held.isUndefined()) std::unique_ptr<automation::VariantArray>(static_cast<automation::VariantArray*>(held.toPrivate()));
}

constexpr JSClassOps kDispatchHolderOps = {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, FinalizeDispatchHolder, nullptr, nullptr, nullptr};
constexpr JSClassOps kArrayHolderOps = {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, FinalizeArrayHolder, nullptr, nullptr, nullptr};
constexpr JSClass kDispatchHolderClass = {"DispatchHolder",
                                          JSCLASS_HAS_RESERVED_SLOTS(kHolderSlots) | JSCLASS_FOREGROUND_FINALIZE,
                                          &kDispatchHolderOps, nullptr, nullptr, nullptr};
constexpr JSClass kArrayHolderClass = {"VariantArray",
                                       JSCLASS_HAS_RESERVED_SLOTS(kHolderSlots) | JSCLASS_FOREGROUND_FINALIZE,
                                       &kArrayHolderOps, nullptr, nullptr, nullptr};

// Reserved slots of the functions bound to one object.
enum BoundSlot { kBoundHolder = 0, kBoundId = 1 };

// The name a property key spells; nothing for symbols and indexes made
// of numbers are names as well.
std::optional<std::string> NameOf(JSContext* cx, JS::HandleId id) {
  if (id.isString()) return Utf8Of(cx, id.toString());
  if (id.isInt()) return std::to_string(id.toInt());
  return std::nullopt;
}

std::optional<DispId> IdOfName(IDispatch* d, const std::string& name) {
  std::string names[1] = {name};
  DispId ids[1] = {automation::DISPID_UNKNOWN};
  if (automation::Failed(d->GetIDsOfNames(names, ids))) return std::nullopt;
  return ids[0];
}

// Whether reading the member gives its value (a property without required
// arguments) rather than a function to call.
bool ReadsAsValue(const InterfaceInfo* info, DispId id) {
  const MemberInfo* getter = info->Find(id, MemberKind::PropertyGet);
  return getter && getter->RequiredCount() == 0 && !info->Find(id, MemberKind::Method);
}

bool IsPut(MemberKind kind) { return kind == MemberKind::PropertyPut || kind == MemberKind::PropertyPutRef; }

bool NeedsShaping(const automation::ParamInfo& p) { return p.byRef || p.type == automation::VarType::Array; }

// The parameter that the script argument at position (natural order, of
// count) fills; a put's value is its last parameter.
const automation::ParamInfo* ParamAt(const MemberInfo& member, size_t position, size_t count) {
  const auto& params = member.params;
  if (params.empty()) return nullptr;
  if (IsPut(member.kind)) {
    if (position + 1 == count) return &params.back();
    return position + 1 < params.size() ? &params[position] : nullptr;
  }
  return position < params.size() ? &params[position] : nullptr;
}

// Whether scripts may call the object itself (obj(0)): when its interface
// has a default member. Without type information there is no telling, so
// the call is left to fail, as any call of a missing member does.
bool IsCallable(IDispatch* d) {
  const InterfaceInfo* info = automation::TypeInfoOf(d);
  return !info || info->HasId(automation::DISPID_VALUE);
}

// Local-time days since 1899-12-30 and script time values (ms since 1970 UTC).
double ScriptTimeFromDate(double days) {
  // Beyond the range of script times (100 million days either side of
  // 1970) the date is an invalid one.
  if (!std::isfinite(days) || std::fabs(days - 25569.0) > 1e8) return std::nan("");
  double local = (days - 25569.0) * 86400.0;
  std::time_t guess = static_cast<std::time_t>(local);
  std::tm tm{};
  localtime_r(&guess, &tm);
  return (local - static_cast<double>(tm.tm_gmtoff)) * 1000.0;
}

double DateFromScriptTime(double ms) {
  std::time_t t = static_cast<std::time_t>(std::floor(ms / 1000.0));
  std::tm tm{};
  localtime_r(&t, &tm);
  return (ms / 1000.0 + static_cast<double>(tm.tm_gmtoff)) / 86400.0 + 25569.0;
}

IDispatch* BoundObject(JSContext* cx, const JS::CallArgs& args, DispId* id) {
  JS::RootedObject callee(cx, &args.callee());
  const JS::Value holder = js::GetFunctionNativeReserved(callee, kBoundHolder);
  *id = js::GetFunctionNativeReserved(callee, kBoundId).toInt32();
  if (!holder.isObject()) return nullptr;
  const JS::Value held = JS::GetReservedSlot(&holder.toObject(), kHeldSlot);
  return held.isUndefined() ? nullptr : static_cast<IDispatch*>(held.toPrivate());
}

// A method, or a property with index arguments, of one object.
bool CallBoundMember(JSContext* cx, unsigned argc, JS::Value* vp) {
  JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
  return GuardNative(cx, [&] {
    JsBridge& bridge = JsBridge::Of(cx);
    DispId id = 0;
    IDispatch* d = BoundObject(cx, args, &id);
    if (!d) throw automation::AutomationError(automation::E_POINTER, "Object required");
    Variant result = bridge.Call(d, id, kCallFlags, args);
    args.rval().set(bridge.ToValue(result));
    return true;
  });
}

// Accessors of the global names DefineGlobalMembers makes.
bool GetBoundProperty(JSContext* cx, unsigned argc, JS::Value* vp) {
  JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
  return GuardNative(cx, [&] {
    JsBridge& bridge = JsBridge::Of(cx);
    DispId id = 0;
    IDispatch* d = BoundObject(cx, args, &id);
    if (!d) {
      args.rval().setUndefined();
      return true;
    }
    Variant result = bridge.Call(d, id, automation::DISPATCH_PROPERTYGET, JS::HandleValueArray::empty());
    args.rval().set(bridge.ToValue(result));
    return true;
  });
}

bool SetBoundProperty(JSContext* cx, unsigned argc, JS::Value* vp) {
  JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
  return GuardNative(cx, [&] {
    JsBridge& bridge = JsBridge::Of(cx);
    DispId id = 0;
    IDispatch* d = BoundObject(cx, args, &id);
    JS::RootedValue value(cx, args.get(0));
    if (d) bridge.Call(d, id, automation::DISPATCH_PROPERTYPUT, JS::HandleValueArray(value));
    args.rval().setUndefined();
    return true;
  });
}

// A method of an interface, shared by all its objects: calls the member
// on `this`. The function's reserved slot says which member.
bool CallSharedMember(JSContext* cx, unsigned argc, JS::Value* vp) {
  JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
  return GuardNative(cx, [&] {
    JsBridge& bridge = JsBridge::Of(cx);
    // A copy: a call may add members and move the table.
    const JsBridge::SharedMemberInfo member =
        bridge.SharedMemberAt(js::GetFunctionNativeReserved(&args.callee(), 0).toInt32());
    IDispatch* d = args.thisv().isObject() ? JsBridge::ObjectOf(&args.thisv().toObject()) : nullptr;
    if (d && automation::TypeInfoOf(d) != member.info) d = nullptr;
    if (!d) throw JScriptError(JSEXN_TYPEERR, kObjectExpectedNumber, kObjectExpectedText);
    Variant result = bridge.CallShaped(d, member.id, kCallFlags, args, member.shaped);
    args.rval().set(bridge.ToValue(result));
    return true;
  });
}

IDispatch* HeldDispatch(JS::HandleObject proxy) { return static_cast<IDispatch*>(HeldByProxy(proxy)); }

}  // namespace

// The proxy traps.

bool DispatchGet(JSContext* cx, JS::HandleObject proxy, JS::HandleId id, JS::MutableHandleValue vp) {
  return GuardNative(cx, [&] {
    IDispatch* d = HeldDispatch(proxy);
    vp.setUndefined();
    if (d) JsBridge::Of(cx).Get(d, id, vp);
    return true;
  });
}

bool DispatchSet(JSContext* cx, JS::HandleObject proxy, JS::HandleId id, JS::HandleValue value) {
  return GuardNative(cx, [&] {
    IDispatch* d = HeldDispatch(proxy);
    if (!d) throw automation::AutomationError(kTypeErrorNumber, kNotSupportedText);
    JsBridge::Of(cx).Set(d, id, value);
    return true;
  });
}

bool DispatchHas(JSContext* cx, JS::HandleObject proxy, JS::HandleId id, bool* found) {
  return GuardNative(cx, [&] {
    IDispatch* d = HeldDispatch(proxy);
    std::optional<std::string> name = NameOf(cx, id);
    *found = d && name && IdOfName(d, *name).has_value();
    return true;
  });
}

// obj(args): the default member.
bool DispatchCall(JSContext* cx, JS::HandleObject proxy, const JS::CallArgs& args) {
  return GuardNative(cx, [&] {
    JsBridge& bridge = JsBridge::Of(cx);
    IDispatch* d = HeldDispatch(proxy);
    if (!d) throw automation::AutomationError(automation::E_POINTER, "Object required");
    Variant result = bridge.Call(d, automation::DISPID_VALUE, kCallFlags, args);
    args.rval().set(bridge.ToValue(result));
    return true;
  });
}

void ReleaseHeld(void* held) noexcept { static_cast<IDispatch*>(held)->Release(); }

JsBridge::JsBridge(JSContext* cx, JS::HandleObject global, std::shared_ptr<EngineLife> life)
    : cx_(cx), global_(cx, global), life_(std::move(life)) {
  life_->bridge = this;
  JS::SetRealmPrivate(JS::GetObjectRealmOrNull(global), this);
}

JsBridge::~JsBridge() {
  life_->bridge = nullptr;
  JS::SetRealmPrivate(JS::GetObjectRealmOrNull(global_), nullptr);
}

JsBridge& JsBridge::Of(JSContext* cx) {
  JS::Realm* realm = js::GetContextRealm(cx);
  auto* bridge = realm ? static_cast<JsBridge*>(JS::GetRealmPrivate(realm)) : nullptr;
  if (!bridge) throw automation::AutomationError(automation::E_UNEXPECTED, "The script engine is not running");
  return *bridge;
}

IDispatch* JsBridge::ObjectOf(JSObject* obj) { return static_cast<IDispatch*>(HeldByProxy(obj)); }

IDispatch* JsBridge::ObjectOf(JS::HandleValue value) {
  return value.isObject() ? ObjectOf(&value.toObject()) : nullptr;
}

const automation::VariantArray* JsBridge::ArrayOf(JS::HandleValue value) {
  // Only the holder itself: an object inheriting from it could outlive it.
  if (!value.isObject() || JS::GetClass(&value.toObject()) != &kArrayHolderClass) return nullptr;
  const JS::Value held = JS::GetReservedSlot(&value.toObject(), kHeldSlot);
  return held.isUndefined() ? nullptr : static_cast<const automation::VariantArray*>(held.toPrivate());
}

const MemberInfo* JsBridge::ShapedMember(const InterfaceInfo* info, DispId id, uint16_t flags) {
  if (!info) return nullptr;
  const ShapeKey key{info, id, flags};
  if (auto known = shaped_.find(key); known != shaped_.end()) return known->second;
  // The member Invoke will choose for these flags.
  const MemberInfo* member = nullptr;
  if (flags & (automation::DISPATCH_PROPERTYPUT | automation::DISPATCH_PROPERTYPUTREF)) {
    member = info->Find(id, MemberKind::PropertyPut);
    if (!member) member = info->Find(id, MemberKind::PropertyPutRef);
  } else {
    if (flags & automation::DISPATCH_METHOD) member = info->Find(id, MemberKind::Method);
    if (!member) member = info->Find(id, MemberKind::PropertyGet);
  }
  if (member && std::none_of(member->params.begin(), member->params.end(), NeedsShaping)) member = nullptr;
  shaped_.emplace(key, member);
  return member;
}

Variant JsBridge::ScriptArrayToVariant(JS::HandleObject array) {
  uint32_t length = 0;
  Check(JS::GetArrayLength(cx_, array, &length));
  if (length > kMaxConvertedArray) throw JScriptError(JSEXN_RANGEERR, kOutOfMemoryErrorNumber, kOutOfMemoryErrorText);
  std::vector<Variant> items(length);
  JS::RootedValue item(cx_);
  for (uint32_t i = 0; i < length; ++i) {
    // A getter's failure reaches the script as the member's failure.
    if (!JS_GetElement(cx_, array, i, &item)) RaisePendingAsAutomationError(cx_);
    items[i] = ToVariant(item);
  }
  return Variant(automation::VariantArray(std::move(items), 0));
}

Variant JsBridge::Call(IDispatch* object, DispId id, uint16_t flags, const JS::HandleValueArray& args) {
  return CallShaped(object, id, flags, args,
                    args.length() > 0 ? ShapedMember(automation::TypeInfoOf(object), id, flags) : nullptr);
}

Variant JsBridge::CallShaped(IDispatch* object, DispId id, uint16_t flags, const JS::HandleValueArray& argv,
                             const MemberInfo* member) {
  const size_t n = argv.length();
  // Most calls have few arguments; those need no allocation.
  constexpr size_t kInline = 4;
  std::array<Variant, kInline> inlineArgs;
  std::vector<Variant> moreArgs;
  if (n > kInline) moreArgs.resize(n);
  const std::span<Variant> args = n > kInline ? std::span<Variant>(moreArgs) : std::span<Variant>(inlineArgs.data(), n);
  bool byRef = false;
  for (size_t k = 0; k < n; ++k) {  // last argument first
    const size_t position = n - 1 - k;
    JS::RootedValue value(cx_, argv[position]);
    const automation::ParamInfo* param = member ? ParamAt(*member, position, n) : nullptr;
    bool isArray = false;
    if (param && param->type == automation::VarType::Array && value.isObject() && !ObjectOf(value)) {
      JS::RootedObject obj(cx_, &value.toObject());
      Check(JS::IsArrayObject(cx_, obj, &isArray));
      if (isArray) args[k] = ScriptArrayToVariant(obj);
    }
    if (!isArray) args[k] = ToVariant(value);
    if (param && param->byRef) byRef = true;
  }
  // A by-reference parameter gets a reference to the argument's value;
  // args stays put while the call runs.
  std::vector<Variant> passed;
  if (byRef) {
    passed.reserve(n);
    for (size_t k = 0; k < n; ++k) {
      const automation::ParamInfo* param = ParamAt(*member, n - 1 - k, n);
      passed.push_back(param && param->byRef ? Variant::Ref(&args[k]) : std::move(args[k]));
    }
  }
  static const DispId putId[1] = {automation::DISPID_PROPERTYPUT};
  automation::DispParams params;
  params.args = byRef ? std::span<Variant>(passed) : args;
  if (flags & automation::DISPATCH_PROPERTYPUT) params.namedIds = putId;
  Variant result;
  automation::ClearErrorInfo();
  automation::HRESULT hr = object->Invoke(id, flags, params, &result);
  // A script the member ran was stopped for its time: so is this one.
  if (hr == kTimeoutErrorNumber) throw PendingScriptError();
  automation::ThrowIfFailed(hr);
  return result;
}

void JsBridge::Get(IDispatch* d, JS::HandleId key, JS::MutableHandleValue vp) {
  std::optional<std::string> name = NameOf(cx_, key);
  if (!name) return;
  const InterfaceInfo* info = automation::TypeInfoOf(d);
  TypeEntry* type = nullptr;
  if (info) {
    type = &types_[info];
    if (auto known = type->reads.find(*name); known != type->reads.end()) {
      const Read read = known->second;
      if (read.function) {
        vp.setObject(*SharedMember(info, read.id));
      } else {
        Variant result = Call(d, read.id, automation::DISPATCH_PROPERTYGET, JS::HandleValueArray::empty());
        vp.set(ToValue(result));
      }
      return;
    }
  }
  std::optional<DispId> id = IdOfName(d, *name);
  if (!id) return;
  if (info) {
    // Remembered only when the type information spells the member so:
    // the name then means the same for every object of the interface.
    const bool remember = info->IdOfName(*name) == *id;
    if (ReadsAsValue(info, *id)) {
      if (remember) type->reads.emplace(*name, Read{false, *id});
      Variant result = Call(d, *id, automation::DISPATCH_PROPERTYGET, JS::HandleValueArray::empty());
      vp.set(ToValue(result));
      return;
    }
    if (!info->Find(*id, MemberKind::Method) && !info->Find(*id, MemberKind::PropertyGet)) return;
    if (remember) type->reads.emplace(*name, Read{true, *id});
    vp.setObject(*SharedMember(info, *id));
    return;
  }
  // Without type information, try the value and fall back to a method.
  Variant result;
  automation::DispParams none;
  automation::ClearErrorInfo();
  automation::HRESULT hr = d->Invoke(*id, automation::DISPATCH_PROPERTYGET, none, &result);
  if (automation::Succeeded(hr)) {
    vp.set(ToValue(result));
    return;
  }
  if (hr != automation::DISP_E_MEMBERNOTFOUND && hr != automation::DISP_E_BADPARAMCOUNT &&
      hr != automation::DISP_E_PARAMNOTOPTIONAL)
    automation::ThrowIfFailed(hr);
  automation::ClearErrorInfo();
  vp.setObject(*MemberFunction(d, *id));
}

void JsBridge::Set(IDispatch* d, JS::HandleId key, JS::HandleValue value) {
  std::optional<std::string> name = NameOf(cx_, key);
  if (!name) throw automation::AutomationError(kTypeErrorNumber, kNotSupportedText);
  const InterfaceInfo* info = automation::TypeInfoOf(d);
  TypeEntry* type = info ? &types_[info] : nullptr;
  if (type) {
    // The table holds only puts whose value needs no shaping.
    if (auto known = type->puts.find(*name); known != type->puts.end()) {
      CallShaped(d, known->second, automation::DISPATCH_PROPERTYPUT, JS::HandleValueArray(value), nullptr);
      return;
    }
  }
  std::optional<DispId> id = IdOfName(d, *name);
  if (!id) throw automation::AutomationError(kTypeErrorNumber, kNotSupportedText);
  if (type && info->IdOfName(*name) == *id && !ShapedMember(info, *id, automation::DISPATCH_PROPERTYPUT))
    type->puts.emplace(*name, *id);
  Call(d, *id, automation::DISPATCH_PROPERTYPUT, JS::HandleValueArray(value));
}

JSObject* JsBridge::SharedMember(const InterfaceInfo* info, DispId id) {
  TypeEntry& type = types_[info];
  if (auto known = type.functions.find(id); known != type.functions.end())
    return *sharedFunctions_[static_cast<size_t>(known->second)];
  std::string name = "member";
  if (const MemberInfo* m = info->Find(id, MemberKind::Method)) name = m->name;
  else if (const MemberInfo* g = info->Find(id, MemberKind::PropertyGet)) name = g->name;
  JSFunction* fn = js::NewFunctionWithReserved(cx_, CallSharedMember, 0, 0, name.c_str());
  Check(fn != nullptr);
  JS::RootedObject function(cx_, JS_GetFunctionObject(fn));
  const auto index = static_cast<int32_t>(sharedMembers_.size());
  js::SetFunctionNativeReserved(function, 0, JS::Int32Value(index));
  sharedMembers_.push_back(SharedMemberInfo{info, id, ShapedMember(info, id, kCallFlags)});
  sharedFunctions_.push_back(std::make_unique<JS::PersistentRootedObject>(cx_, function));
  type.functions.emplace(id, index);
  return function;
}

const JsBridge::SharedMemberInfo& JsBridge::SharedMemberAt(int32_t index) const {
  if (index < 0 || static_cast<size_t>(index) >= sharedMembers_.size())
    throw automation::AutomationError(automation::E_UNEXPECTED, "The script engine is not running");
  return sharedMembers_[static_cast<size_t>(index)];
}

JSObject* JsBridge::MemberFunction(IDispatch* object, DispId id, JSNative native) {
  JS::RootedObject holder(cx_, JS_NewObject(cx_, &kDispatchHolderClass));
  Check(holder != nullptr);
  object->AddRef();
  JS::SetReservedSlot(holder, kHeldSlot, JS::PrivateValue(object));  // released by the holder's finalizer
  JSFunction* fn = js::NewFunctionWithReserved(cx_, native ? native : CallBoundMember, 0, 0, nullptr);
  Check(fn != nullptr);
  JS::RootedObject function(cx_, JS_GetFunctionObject(fn));
  js::SetFunctionNativeReserved(function, kBoundHolder, JS::ObjectValue(*holder));
  js::SetFunctionNativeReserved(function, kBoundId, JS::Int32Value(id));
  return function;
}

JS::Value JsBridge::DispatchValue(IDispatch* object) {
  if (!object) return JS::NullValue();
  JS::RootedValue own(cx_);
  if (ScriptObjectValue(object, *this, &own)) return own;  // a script object goes back as itself
  object->AddRef();
  JSObject* proxy = NewDispatchProxy(cx_, object, IsCallable(object));
  Check(proxy != nullptr);
  return JS::ObjectValue(*proxy);
}

JS::Value JsBridge::ArrayValue(const automation::VariantArray& array) {
  JS::RootedObject holder(cx_, JS_NewObject(cx_, &kArrayHolderClass));
  Check(holder != nullptr);
  auto copy = std::make_unique<automation::VariantArray>(array);
  JS::SetReservedSlot(holder, kHeldSlot, JS::PrivateValue(copy.release()));  // freed by the holder's finalizer
  return JS::ObjectValue(*holder);
}

JS::Value JsBridge::ToValue(const Variant& value) {
  const Variant& v = value.Deref();
  switch (v.Type()) {
    case automation::VarType::Empty: return JS::UndefinedValue();
    case automation::VarType::Null: return JS::NullValue();
    case automation::VarType::Bool: return JS::BooleanValue(*v.Get<bool>());
    case automation::VarType::Int32: return JS::Int32Value(*v.Get<int32_t>());
    case automation::VarType::String: {
      JSString* text = NewString(cx_, *v.Get<std::string>());
      Check(text != nullptr);
      return JS::StringValue(text);
    }
    case automation::VarType::Dispatch: return DispatchValue(v.Dispatch());
    case automation::VarType::Unknown: {
      ComPtr<IDispatch> d = ComPtr<automation::IUnknown>(v.UnknownPtr()).As<IDispatch>();
      return DispatchValue(d.Get());
    }
    case automation::VarType::Date: {
      JSObject* date = JS::NewDateObject(cx_, JS::TimeClip(ScriptTimeFromDate(v.Get<automation::Date>()->days)));
      Check(date != nullptr);
      return JS::ObjectValue(*date);
    }
    case automation::VarType::Error:
      if (v.IsMissing()) return JS::UndefinedValue();
      return JS::Int32Value(v.ErrorCode());
    case automation::VarType::Array: return ArrayValue(*v.Array());
    default: return JS::NumberValue(automation::ToDouble(v));
  }
}

Variant JsBridge::ToVariant(JS::HandleValue value) {
  if (value.isUndefined()) return Variant();
  if (value.isNull()) return Variant::Null();
  if (value.isBoolean()) return Variant(value.toBoolean());
  if (value.isInt32()) return Variant(value.toInt32());
  if (value.isNumber()) {
    double d = value.toNumber();
    if (std::isfinite(d) && d == std::trunc(d) && d >= -2147483648.0 && d <= 2147483647.0 &&
        !(d == 0 && std::signbit(d)))
      return Variant(static_cast<int32_t>(d));
    return Variant(d);
  }
  if (value.isString()) return Variant(Utf8Of(cx_, value.toString()));
  if (!value.isObject()) return Variant();  // symbols, big integers
  if (IDispatch* d = ObjectOf(value)) return Variant(d);
  if (const automation::VariantArray* array = ArrayOf(value)) return Variant(*array);
  JS::RootedObject obj(cx_, &value.toObject());
  bool isDate = false;
  // Only real dates; asking runs no script code, not even a proxy's.
  if (!js::IsProxy(obj.get()) && JS::ObjectIsDate(cx_, obj, &isDate) && isDate) {
    double ms = 0;
    Check(js::DateGetMsecSinceEpoch(cx_, obj, &ms));
    // An invalid date (new Date(NaN)) has no value to give.
    if (!std::isfinite(ms)) return Variant::Null();
    return Variant(automation::Date{DateFromScriptTime(ms)});
  }
  JS_ClearPendingException(cx_);
  return Variant(WrapScriptObject(*this, value));
}

void JsBridge::DefineGlobalMembers(IDispatch* object) {
  const InterfaceInfo* info = object ? automation::TypeInfoOf(object) : nullptr;
  if (!info) return;
  std::vector<DispId> done;
  JS::RootedObject global(cx_, global_);
  for (const MemberInfo& m : info->Members()) {
    if (std::find(done.begin(), done.end(), m.id) != done.end()) continue;
    done.push_back(m.id);
    JS::RootedString name(cx_, NewString(cx_, m.name));
    Check(name != nullptr);
    JS::RootedId key(cx_);
    Check(JS_StringToId(cx_, name, &key));
    if (!ReadsAsValue(info, m.id) &&
        (info->Find(m.id, MemberKind::Method) || info->Find(m.id, MemberKind::PropertyGet))) {
      JS::RootedValue function(cx_, JS::ObjectValue(*MemberFunction(object, m.id)));
      Check(JS_DefinePropertyById(cx_, global, key, function, 0));
      continue;
    }
    JS::RootedObject getter(cx_, MemberFunction(object, m.id, GetBoundProperty));
    JS::RootedObject setter(cx_);
    if (info->Find(m.id, MemberKind::PropertyPut) || info->Find(m.id, MemberKind::PropertyPutRef))
      setter = MemberFunction(object, m.id, SetBoundProperty);
    Check(JS_DefinePropertyById(cx_, global, key, getter, setter, 0));
  }
}

uint32_t JsBridge::Keep(JS::HandleValue value) {
  const uint32_t slot = nextKept_++;
  kept_.emplace(slot, std::make_unique<JS::PersistentRootedValue>(cx_, value));
  return slot;
}

JS::Value JsBridge::Kept(uint32_t slot) const {
  auto found = kept_.find(slot);
  return found == kept_.end() ? JS::UndefinedValue() : found->second->get();
}

void JsBridge::DropUnkept() {
  for (uint32_t slot : unkept_) kept_.erase(slot);
  unkept_.clear();
}

}  // namespace scriptcontrol::jscript
