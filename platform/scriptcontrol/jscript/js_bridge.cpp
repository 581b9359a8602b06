#include "platform/scriptcontrol/jscript/js_bridge.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <ctime>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/automation/dispatch_call.h"
#include "platform/automation/error_info.h"
#include "platform/automation/variant_convert.h"
#include "platform/automation/type_info.h"
#include "platform/scriptcontrol/jscript/duk_support.h"
#include "platform/scriptcontrol/jscript/js_object_dispatch.h"
#include "platform/scriptcontrol/jscript/jscript_errors.h"
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

// Hidden keys: scripts cannot name them, and a Proxy passes them straight
// to its target, so reading them never runs script code.
constexpr const char* kHandlerKey = "\xFF" "handler";
constexpr const char* kTypesKey = "\xFF" "types";
constexpr const char* kLastReceiverKey = "\xFF" "lastReceiver";
// On a handler of an interface: what each spelling of a name reads as (a
// dispatch id or a shared function), and the dispatch id it writes.
constexpr char kReadsKey[] = "\xFF" "reads";
constexpr char kPutsKey[] = "\xFF" "puts";
constexpr const char* kHeldKey = "\xFF" "d";
// Functions and accessors bound to one object hold it under their own key,
// so that they are never taken for the object itself.
constexpr const char* kBoundKey = "\xFF" "b";
constexpr char kIdKey[] = "\xFF" "i";
constexpr const char* kArrayKey = "\xFF" "a";

IDispatch* HeldDispatch(duk_context* ctx, duk_idx_t obj) {
  return static_cast<IDispatch*>(PointerOf(ctx, obj, kHeldKey));
}

IDispatch* BoundDispatch(duk_context* ctx, duk_idx_t fn) {
  return static_cast<IDispatch*>(PointerOf(ctx, fn, kBoundKey));
}

// Releases what a holder object keeps; runs when Duktape frees it (or at
// heap destruction).
duk_ret_t HolderFinalizer(duk_context* ctx) {
  if (void* d = TakeOwnPointer(ctx, 0, kHeldKey)) {
    if (JsBridge* bridge = JsBridge::Find(ctx)) bridge->ForgetTarget(duk_get_heapptr(ctx, 0));
    static_cast<IDispatch*>(d)->Release();
  }
  if (void* d = TakeOwnPointer(ctx, 0, kBoundKey)) static_cast<IDispatch*>(d)->Release();
  // Owned by the holder object since PushVariantArray.
  std::unique_ptr<automation::VariantArray> array(
      static_cast<automation::VariantArray*>(TakeOwnPointer(ctx, 0, kArrayKey)));
  return 0;
}

// Gives the object on the stack top a counted reference to d.
void Hold(duk_context* ctx, IDispatch* d, const char* key = kHeldKey) {
  d->AddRef();
  PutPointer(ctx, -1, key, d);
  duk_push_c_function(ctx, HolderFinalizer, 1);
  duk_set_finalizer(ctx, -2);
}

// The dispatch id of a script key; nothing for symbols and unknown names.
std::optional<DispId> IdOf(duk_context* ctx, IDispatch* d, duk_idx_t key) {
  if (!duk_is_string(ctx, key) || duk_is_symbol(ctx, key)) return std::nullopt;
  std::string names[1] = {GetUtf8(ctx, key)};
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

bool IsName(duk_context* ctx, duk_idx_t key) { return duk_is_string(ctx, key) && !duk_is_symbol(ctx, key); }

// Remembers in the handler's table at `table` that the name at `key`
// stands for the value on the stack top (left there), when the type
// information spells the member so: the name then means the same for
// every object of the interface.
void Remember(duk_context* ctx, const InterfaceInfo* info, duk_idx_t table, duk_idx_t key, DispId id) {
  if (info->IdOfName(GetUtf8(ctx, key)) != id) return;
  duk_dup(ctx, key);
  duk_dup(ctx, -2);
  duk_put_prop(ctx, table);
}

// Trap arguments: [target, key, receiver]. The magic number tells the
// interface of the handler (negative: none).
duk_ret_t TrapGet(duk_context* ctx) {
  return FinishNative(ctx, RunNative(ctx, [ctx]() -> duk_ret_t {
    JsBridge& bridge = JsBridge::Of(ctx);
    bridge.CheckDeadline();
    if (!IsName(ctx, 1)) return 0;
    void* table = bridge.ReadsTable(duk_get_current_magic(ctx));
    const bool typed = table != nullptr;
    const duk_idx_t reads = duk_get_top(ctx);
    if (typed) {
      duk_push_heapptr(ctx, table);
      duk_dup(ctx, 1);
      duk_get_prop(ctx, reads);
      if (duk_is_function(ctx, -1)) {
        bridge.NoteMethodRead(2, 0, duk_get_current_magic(ctx));
        return 1;
      }
      if (duk_is_number(ctx, -1)) {
        IDispatch* d = bridge.ObjectOfTarget(0);
        if (!d) return 0;
        bridge.PushVariant(bridge.Call(d, duk_get_int(ctx, -1), automation::DISPATCH_PROPERTYGET, 0, 0));
        return 1;
      }
      duk_pop(ctx);
    }
    IDispatch* d = bridge.ObjectOfTarget(0);
    if (!d) return 0;
    std::optional<DispId> id = IdOf(ctx, d, 1);
    if (!id) return 0;
    const InterfaceInfo* info = TypeInfoOf(d);
    if (info) {
      if (ReadsAsValue(info, *id)) {
        if (typed) {
          duk_push_int(ctx, *id);
          Remember(ctx, info, reads, 1, *id);
          duk_pop(ctx);
        }
        bridge.PushVariant(bridge.Call(d, *id, automation::DISPATCH_PROPERTYGET, 0, 0));
        return 1;
      }
      if (!info->Find(*id, MemberKind::Method) && !info->Find(*id, MemberKind::PropertyGet)) return 0;
      if (typed && bridge.PushSharedMember(info, *id)) {
        Remember(ctx, info, reads, 1, *id);
        return 1;
      }
    } else {
      // Without type information, try the value and fall back to a method.
      Variant result;
      automation::DispParams none;
      automation::HRESULT hr = d->Invoke(*id, automation::DISPATCH_PROPERTYGET, none, &result);
      if (automation::Succeeded(hr)) {
        bridge.PushVariant(result);
        return 1;
      }
      if (hr != automation::DISP_E_MEMBERNOTFOUND && hr != automation::DISP_E_BADPARAMCOUNT &&
          hr != automation::DISP_E_PARAMNOTOPTIONAL)
        automation::ThrowIfFailed(hr);
    }
    // A function of this object's own, made once per proxy and spelling of
    // the name, so repeated calls skip the name lookup.
    std::string cacheKey("\xFF" "m");
    cacheKey.append(duk_get_string(ctx, 1));
    duk_get_prop_string(ctx, 0, cacheKey.c_str());
    if (duk_is_function(ctx, -1)) return 1;
    duk_pop(ctx);
    bridge.PushMemberFunction(d, *id);
    duk_dup_top(ctx);
    duk_put_prop_string(ctx, 0, cacheKey.c_str());
    return 1;
  }));
}

// [target, key, value, receiver]; magic as for TrapGet.
duk_ret_t TrapSet(duk_context* ctx) {
  return FinishNative(ctx, RunNative(ctx, [ctx]() -> duk_ret_t {
    JsBridge& bridge = JsBridge::Of(ctx);
    bridge.CheckDeadline();
    IDispatch* d = bridge.ObjectOfTarget(0);
    if (!d || !IsName(ctx, 1))
      throw automation::AutomationError(kTypeErrorNumber, "Object doesn't support this property or method");
    void* table = bridge.PutsTable(duk_get_current_magic(ctx));
    const bool typed = table != nullptr;
    const duk_idx_t puts = duk_get_top(ctx);
    if (typed) {
      duk_push_heapptr(ctx, table);
      duk_dup(ctx, 1);
      duk_get_prop(ctx, puts);
      // The table holds only puts whose value needs no shaping.
      if (duk_is_number(ctx, -1)) {
        bridge.CallShaped(d, duk_get_int(ctx, -1), automation::DISPATCH_PROPERTYPUT, 2, 1, nullptr);
        duk_push_true(ctx);
        return 1;
      }
      duk_pop(ctx);
    }
    std::optional<DispId> id = IdOf(ctx, d, 1);
    if (!id) throw automation::AutomationError(kTypeErrorNumber, "Object doesn't support this property or method");
    const InterfaceInfo* info = typed ? TypeInfoOf(d) : nullptr;
    if (info && !bridge.ShapedMember(info, *id, automation::DISPATCH_PROPERTYPUT)) {
      duk_push_int(ctx, *id);
      Remember(ctx, info, puts, 1, *id);
      duk_pop(ctx);
    }
    bridge.Call(d, *id, automation::DISPATCH_PROPERTYPUT, 2, 1);
    duk_push_true(ctx);
    return 1;
  }));
}

duk_ret_t TrapHas(duk_context* ctx) {
  return FinishNative(ctx, RunNative(ctx, [ctx]() -> duk_ret_t {
    IDispatch* d = HeldDispatch(ctx, 0);
    duk_push_boolean(ctx, d && IdOf(ctx, d, 1).has_value());
    return 1;
  }));
}

// obj(args): the default member.
duk_ret_t TrapApply(duk_context* ctx) {
  return FinishNative(ctx, RunNative(ctx, [ctx]() -> duk_ret_t {
    JsBridge& bridge = JsBridge::Of(ctx);
    IDispatch* d = HeldDispatch(ctx, 0);
    if (!d) throw automation::AutomationError(automation::E_POINTER, "Object required");
    // Spread the argument array onto the stack; Duktape made it, so
    // reading its elements runs no script code.
    duk_idx_t first = duk_get_top(ctx);
    duk_size_t n = duk_is_array(ctx, 2) ? duk_get_length(ctx, 2) : 0;
    for (duk_size_t i = 0; i < n; ++i) duk_get_prop_index(ctx, 2, static_cast<duk_uarridx_t>(i));
    bridge.PushVariant(bridge.Call(d, automation::DISPID_VALUE,
                                   automation::DISPATCH_METHOD | automation::DISPATCH_PROPERTYGET, first,
                                   static_cast<duk_idx_t>(n)));
    return 1;
  }));
}

// Global accessors made by DefineGlobalMembers.
duk_ret_t AccessorGet(duk_context* ctx) {
  return FinishNative(ctx, RunNative(ctx, [ctx]() -> duk_ret_t {
    JsBridge& bridge = JsBridge::Of(ctx);
    duk_push_current_function(ctx);
    IDispatch* d = BoundDispatch(ctx, -1);
    duk_get_prop_literal(ctx, -1, kIdKey);
    DispId id = duk_get_int(ctx, -1);
    duk_pop_2(ctx);
    if (!d) return 0;
    bridge.PushVariant(bridge.Call(d, id, automation::DISPATCH_PROPERTYGET, 0, 0));
    return 1;
  }));
}

duk_ret_t AccessorSet(duk_context* ctx) {
  return FinishNative(ctx, RunNative(ctx, [ctx]() -> duk_ret_t {
    JsBridge& bridge = JsBridge::Of(ctx);
    duk_idx_t value = duk_get_top(ctx) > 0 ? 0 : duk_get_top(ctx);
    if (duk_get_top(ctx) == 0) duk_push_undefined(ctx);
    duk_push_current_function(ctx);
    IDispatch* d = BoundDispatch(ctx, -1);
    duk_get_prop_literal(ctx, -1, kIdKey);
    DispId id = duk_get_int(ctx, -1);
    duk_pop_2(ctx);
    if (d) bridge.Call(d, id, automation::DISPATCH_PROPERTYPUT, value, 1);
    return 0;
  }));
}

// Makes a handler whose traps carry the magic number of an interface.
void PushNewHandler(duk_context* ctx, duk_int_t type) {
  duk_push_object(ctx);
  const NativeMethod traps[] = {{"get", TrapGet, 3}, {"set", TrapSet, 4}, {"has", TrapHas, 2}, {"apply", TrapApply, 3}};
  for (const NativeMethod& trap : traps) {
    duk_push_c_function(ctx, trap.function, trap.argumentCount);
    duk_set_magic(ctx, -1, type);
    duk_put_prop_string(ctx, -2, trap.name);
  }
}

// A method of an interface, shared by all its objects: calls the member
// on `this`. The magic number says which member.
duk_ret_t CallSharedMember(duk_context* ctx) {
  return FinishNative(ctx, RunNative(ctx, [ctx]() -> duk_ret_t {
    JsBridge& bridge = JsBridge::Of(ctx);
    const duk_idx_t argc = duk_get_top(ctx);
    // A copy: a call may add members and move the table.
    const JsBridge::SharedMember member = bridge.SharedMemberAt(duk_get_current_magic(ctx));
    // `this` stays on the stack, so the object lives until the call ends.
    duk_push_this(ctx);
    IDispatch* d = bridge.LastMethodReceiver(-1, member.info);
    if (!d) {
      d = bridge.ObjectAt(-1);
      if (d && TypeInfoOf(d) != member.info) d = nullptr;
    }
    if (!d) throw JScriptError(DUK_ERR_TYPE_ERROR, kObjectExpectedNumber, kObjectExpectedText);
    bridge.PushVariant(bridge.CallShaped(d, member.id, automation::DISPATCH_METHOD | automation::DISPATCH_PROPERTYGET,
                                         0, argc, member.shaped));
    return 1;
  }));
}

duk_ret_t NoOp(duk_context*) { return 0; }

// Whether scripts may call the object itself (obj(0)): when its interface
// has a default member. Without type information there is no telling, so
// the call is left to fail, as any call of a missing member does.
bool IsCallable(IDispatch* d) {
  const InterfaceInfo* info = TypeInfoOf(d);
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

// The built-in Date constructor and getTime, kept when the heap is new:
// scripts may replace the global names, and dates must convert without
// running script code.
constexpr const char* kDateKey = "\xFF" "Date";
constexpr const char* kGetTimeKey = "\xFF" "getTime";

void PushStashed(duk_context* ctx, const char* key) {
  duk_push_global_stash(ctx);
  duk_get_prop_string(ctx, -1, key);
  duk_remove(ctx, -2);
}

// stack: [... value]; leaves the value's time when it is a Date, else
// undefined. Run as a safe call, since instanceof may reach a Proxy.
duk_ret_t TimeOfDateUnsafe(duk_context* ctx, void*) {
  const duk_idx_t value = duk_get_top_index(ctx);
  PushStashed(ctx, kDateKey);
  if (!duk_is_function(ctx, -1) || !duk_instanceof(ctx, value, -1)) {
    duk_push_undefined(ctx);
    return 1;
  }
  PushStashed(ctx, kGetTimeKey);
  duk_dup(ctx, value);
  duk_call_method(ctx, 0);  // throws for an object that only inherits from Date.prototype
  return 1;
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

// stack: [... array]; leaves a dense copy that holds only own data
// properties, so that reading it from C++ can run no script code. (A safe
// call sees the caller's whole frame: indices count from the top.)
duk_ret_t CopyArrayUnsafe(duk_context* ctx, void*) {
  const duk_idx_t source = duk_get_top_index(ctx);
  duk_size_t n = duk_get_length(ctx, source);
  if (n > kMaxConvertedArray) {
    PushAutomationError(ctx, kOutOfMemoryErrorNumber, kOutOfMemoryErrorText, DUK_ERR_RANGE_ERROR);
    return duk_throw(ctx);
  }
  const duk_idx_t copy = duk_push_array(ctx);
  for (duk_size_t i = 0; i < n; ++i) {
    duk_push_uint(ctx, static_cast<duk_uint_t>(i));
    duk_get_prop_index(ctx, source, static_cast<duk_uarridx_t>(i));
    // Defined, not assigned: a setter on Array.prototype must not run.
    duk_def_prop(ctx, copy, DUK_DEFPROP_HAVE_VALUE | DUK_DEFPROP_SET_WEC);
  }
  return 1;
}

}  // namespace

void CheckDeadlineOrThrow(duk_context* ctx) {
  duk_ret_t rc = RunNative(ctx, [ctx]() -> duk_ret_t {
    JsBridge::Of(ctx).CheckDeadline();
    return 0;
  });
  FinishNative(ctx, rc);
}

JsBridge::JsBridge(duk_context* ctx, std::shared_ptr<EngineLife> life) : ctx_(ctx), life_(std::move(life)) {
  duk_memory_functions heap{};
  duk_get_memory_functions(ctx_, &heap);
  if (!life_ || heap.udata != life_.get()) throw std::logic_error("the heap's user data must be the engine's life");
  life_->bridge = this;
  duk_push_global_stash(ctx_);
  duk_push_array(ctx_);
  lastReceiverSlot_ = duk_get_heapptr(ctx_, -1);
  duk_put_prop_string(ctx_, -2, kLastReceiverKey);
  duk_get_global_string(ctx_, "Date");
  duk_get_prop_string(ctx_, -1, "prototype");
  duk_get_prop_string(ctx_, -1, "getTime");
  duk_put_prop_string(ctx_, -4, kGetTimeKey);
  duk_pop(ctx_);
  duk_put_prop_string(ctx_, -2, kDateKey);
  duk_pop(ctx_);
}

JsBridge::~JsBridge() { life_->bridge = nullptr; }

JsBridge& JsBridge::Of(duk_context* ctx) {
  JsBridge* bridge = Find(ctx);
  if (!bridge) throw automation::AutomationError(automation::E_UNEXPECTED, "The script engine is not running");
  return *bridge;
}

JsBridge* JsBridge::Find(duk_context* ctx) noexcept {
  duk_memory_functions heap{};
  duk_get_memory_functions(ctx, &heap);
  const auto* life = static_cast<const EngineLife*>(heap.udata);
  return life ? life->bridge : nullptr;
}

IDispatch* JsBridge::ObjectOfTarget(duk_idx_t target) const {
  auto found = objectsByTarget_.find(duk_get_heapptr(ctx_, target));
  return found != objectsByTarget_.end() ? found->second : HeldDispatch(ctx_, target);
}

void JsBridge::ForgetTarget(void* target) noexcept { objectsByTarget_.erase(target); }

void JsBridge::NoteMethodRead(duk_idx_t receiver, duk_idx_t target, duk_int_t type) {
  IDispatch* d = ObjectOfTarget(target);
  if (!d || type < 0 || static_cast<size_t>(type) >= types_.size()) return;
  const InterfaceInfo* info = types_[static_cast<size_t>(type)].info;
  // Held, so that no other object can take its address while noted.
  // Letting the previous one go may run finalizers, which may note
  // another receiver; then that one is in the slot and stays noted.
  lastReceiver_ = LastReceiver{};
  duk_push_heapptr(ctx_, lastReceiverSlot_);
  duk_dup(ctx_, receiver);
  duk_put_prop_index(ctx_, -2, 0);
  duk_pop(ctx_);
  if (!lastReceiver_.heapptr) lastReceiver_ = LastReceiver{duk_get_heapptr(ctx_, receiver), d, info};
}

IDispatch* JsBridge::LastMethodReceiver(duk_idx_t self, const InterfaceInfo* info) const {
  if (!lastReceiver_.heapptr || lastReceiver_.info != info || !duk_is_object(ctx_, self)) return nullptr;
  return duk_get_heapptr(ctx_, self) == lastReceiver_.heapptr ? lastReceiver_.object : nullptr;
}

void JsBridge::ForgetMethodRead() {
  if (!lastReceiver_.heapptr) return;
  lastReceiver_ = LastReceiver{};  // before the release, whose finalizers may note another
  duk_push_heapptr(ctx_, lastReceiverSlot_);
  duk_push_undefined(ctx_);
  duk_put_prop_index(ctx_, -2, 0);
  duk_pop(ctx_);
}

void JsBridge::CheckDeadline() {
  // NOTE: the thread's clock costs a system call; a loop of host calls
  // runs a few more of them before it is stopped.
  if (!budget_.Running() || (++budgetChecks_ & 15u) != 0) return;
  if (budget_.Spent())
    throw automation::AutomationError(kTimeoutErrorNumber, "Script execution timed out");
}

const MemberInfo* JsBridge::ShapedMember(IDispatch* object, DispId id, uint16_t flags) {
  return ShapedMember(TypeInfoOf(object), id, flags);
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

Variant JsBridge::ScriptArrayToVariant(duk_idx_t idx) {
  duk_dup(ctx_, idx);
  if (duk_safe_call(ctx_, CopyArrayUnsafe, nullptr, 1, 1) != DUK_EXEC_SUCCESS) RaiseScriptFailure(ctx_);
  std::vector<Variant> items(duk_get_length(ctx_, -1));
  for (size_t i = 0; i < items.size(); ++i) {
    duk_get_prop_index(ctx_, -1, static_cast<duk_uarridx_t>(i));
    items[i] = ToVariant(-1);
    duk_pop(ctx_);
  }
  duk_pop(ctx_);
  return Variant(automation::VariantArray(std::move(items), 0));
}

Variant JsBridge::Call(IDispatch* object, DispId id, uint16_t flags, duk_idx_t first, duk_idx_t count) {
  return CallShaped(object, id, flags, first, count, count > 0 ? ShapedMember(object, id, flags) : nullptr);
}

Variant JsBridge::CallShaped(IDispatch* object, DispId id, uint16_t flags, duk_idx_t first, duk_idx_t count,
                             const MemberInfo* member) {
  CheckDeadline();
  const size_t n = static_cast<size_t>(count);
  // Most calls have few arguments; those need no allocation.
  constexpr size_t kInline = 4;
  std::array<Variant, kInline> inlineArgs;
  std::vector<Variant> moreArgs;
  if (n > kInline) moreArgs.resize(n);
  const std::span<Variant> args = n > kInline ? std::span<Variant>(moreArgs) : std::span<Variant>(inlineArgs.data(), n);
  bool byRef = false;
  for (size_t k = 0; k < n; ++k) {  // last argument first
    const size_t position = n - 1 - k;
    const duk_idx_t idx = first + static_cast<duk_idx_t>(position);
    const automation::ParamInfo* param = member ? ParamAt(*member, position, n) : nullptr;
    if (param && param->type == automation::VarType::Array && duk_is_array(ctx_, idx) && !ObjectAt(idx))
      args[k] = ScriptArrayToVariant(idx);
    else
      args[k] = ToVariant(idx);
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
  automation::ThrowIfFailed(object->Invoke(id, flags, params, &result));
  return result;
}

void JsBridge::PushDispatch(IDispatch* object) {
  if (!object) {
    duk_push_null(ctx_);
    return;
  }
  if (PushScriptObject(object, *this)) return;  // a script object goes back as itself
  // A Proxy is callable, and typeof calls it "function", exactly when its
  // target is; so only an object with a default member gets a function.
  if (IsCallable(object)) duk_push_c_function(ctx_, NoOp, DUK_VARARGS);
  else duk_push_object(ctx_);
  Hold(ctx_, object);
  objectsByTarget_[duk_get_heapptr(ctx_, -1)] = object;
  PushHandler(TypeInfoOf(object));
  duk_push_proxy(ctx_, 0);  // not the global Proxy, which scripts may replace
}

void JsBridge::PushHandler(const InterfaceInfo* info) {
  if (!info) {
    PushStashed(ctx_, kHandlerKey);
    if (duk_is_object(ctx_, -1)) return;
    duk_pop(ctx_);
    PushNewHandler(ctx_, -1);
    duk_push_global_stash(ctx_);
    duk_dup(ctx_, -2);
    duk_put_prop_string(ctx_, -2, kHandlerKey);
    duk_pop(ctx_);
    return;
  }
  if (auto known = typeIndex_.find(info); known != typeIndex_.end()) {
    duk_push_heapptr(ctx_, types_[known->second].handler);
    return;
  }
  // The magic number is 16 bits wide; past that, objects share the
  // handler without tables.
  if (types_.size() > 0x7FFF) {
    PushHandler(nullptr);
    return;
  }
  TypeEntry type;
  type.info = info;
  PushNewHandler(ctx_, static_cast<duk_int_t>(types_.size()));
  // Bare tables: names such as "toString" must not find Object.prototype's.
  duk_push_bare_object(ctx_);
  type.reads = duk_get_heapptr(ctx_, -1);
  duk_put_prop_literal(ctx_, -2, kReadsKey);
  duk_push_bare_object(ctx_);
  type.puts = duk_get_heapptr(ctx_, -1);
  duk_put_prop_literal(ctx_, -2, kPutsKey);
  KeepForLife(-1);
  type.handler = duk_get_heapptr(ctx_, -1);
  typeIndex_.emplace(info, types_.size());
  types_.push_back(std::move(type));
}

void* JsBridge::ReadsTable(duk_int_t type) const {
  return type >= 0 && static_cast<size_t>(type) < types_.size() ? types_[static_cast<size_t>(type)].reads : nullptr;
}

void* JsBridge::PutsTable(duk_int_t type) const {
  return type >= 0 && static_cast<size_t>(type) < types_.size() ? types_[static_cast<size_t>(type)].puts : nullptr;
}

void JsBridge::KeepForLife(duk_idx_t idx) {
  idx = duk_normalize_index(ctx_, idx);
  PushStashed(ctx_, kTypesKey);
  if (!duk_is_object(ctx_, -1)) {
    duk_pop(ctx_);
    duk_push_bare_object(ctx_);
    duk_push_global_stash(ctx_);
    duk_dup(ctx_, -2);
    duk_put_prop_string(ctx_, -2, kTypesKey);
    duk_pop(ctx_);
  }
  duk_dup(ctx_, idx);
  duk_put_prop_index(ctx_, -2, static_cast<duk_uarridx_t>(kept_++));
  duk_pop(ctx_);
}

bool JsBridge::PushSharedMember(const InterfaceInfo* info, DispId id) {
  auto index = typeIndex_.find(info);
  if (index == typeIndex_.end()) return false;
  TypeEntry& type = types_[index->second];
  if (auto known = type.functions.find(id); known != type.functions.end()) {
    duk_push_heapptr(ctx_, known->second);
    return true;
  }
  // The magic number is 16 bits wide.
  if (sharedMembers_.size() > 0x7FFF) return false;
  const uint16_t flags = automation::DISPATCH_METHOD | automation::DISPATCH_PROPERTYGET;
  sharedMembers_.push_back(SharedMember{info, id, ShapedMember(info, id, flags)});
  duk_push_c_function(ctx_, CallSharedMember, DUK_VARARGS);
  duk_set_magic(ctx_, -1, static_cast<duk_int_t>(sharedMembers_.size() - 1));
  KeepForLife(-1);
  type.functions.emplace(id, duk_get_heapptr(ctx_, -1));
  return true;
}

JsBridge::SharedMember JsBridge::SharedMemberAt(duk_int_t magic) const {
  if (magic < 0 || static_cast<size_t>(magic) >= sharedMembers_.size())
    throw automation::AutomationError(automation::E_UNEXPECTED, "The script engine is not running");
  return sharedMembers_[static_cast<size_t>(magic)];
}

IDispatch* JsBridge::ObjectAt(duk_idx_t idx) const { return HeldDispatch(ctx_, idx); }

const automation::VariantArray* JsBridge::ArrayAt(duk_idx_t idx) const {
  // Only the holder itself: an object inheriting from it could outlive it.
  return static_cast<const automation::VariantArray*>(OwnPointerOf(ctx_, idx, kArrayKey));
}

void JsBridge::PushVariantArray(const automation::VariantArray& array) {
  auto copy = std::make_unique<automation::VariantArray>(array);
  duk_push_object(ctx_);
  PutPointer(ctx_, -1, kArrayKey, copy.release());  // owned by the object; freed by its finalizer
  duk_push_c_function(ctx_, HolderFinalizer, 1);
  duk_set_finalizer(ctx_, -2);
}

void JsBridge::PushVariant(const Variant& value) {
  const Variant& v = value.Deref();
  switch (v.Type()) {
    case automation::VarType::Empty: duk_push_undefined(ctx_); return;
    case automation::VarType::Null: duk_push_null(ctx_); return;
    case automation::VarType::Bool: duk_push_boolean(ctx_, *v.Get<bool>()); return;
    case automation::VarType::Int32: duk_push_int(ctx_, *v.Get<int32_t>()); return;
    case automation::VarType::String: PushUtf8(ctx_, *v.Get<std::string>()); return;
    case automation::VarType::Dispatch: PushDispatch(v.Dispatch()); return;
    case automation::VarType::Unknown: {
      ComPtr<IDispatch> d = ComPtr<automation::IUnknown>(v.UnknownPtr()).As<IDispatch>();
      PushDispatch(d.Get());
      return;
    }
    case automation::VarType::Date:
      PushStashed(ctx_, kDateKey);
      duk_push_number(ctx_, ScriptTimeFromDate(v.Get<automation::Date>()->days));
      duk_new(ctx_, 1);
      return;
    case automation::VarType::Error:
      if (v.IsMissing()) duk_push_undefined(ctx_);
      else duk_push_int(ctx_, v.ErrorCode());
      return;
    case automation::VarType::Array: PushVariantArray(*v.Array()); return;
    default: duk_push_number(ctx_, automation::ToDouble(v)); return;
  }
}

Variant JsBridge::ToVariant(duk_idx_t idx) {
  idx = duk_normalize_index(ctx_, idx);
  switch (duk_get_type(ctx_, idx)) {
    case DUK_TYPE_UNDEFINED: return Variant();
    case DUK_TYPE_NULL: return Variant::Null();
    case DUK_TYPE_BOOLEAN: return Variant(static_cast<bool>(duk_get_boolean(ctx_, idx)));
    case DUK_TYPE_NUMBER: {
      double d = duk_get_number(ctx_, idx);
      if (std::isfinite(d) && d == std::trunc(d) && d >= -2147483648.0 && d <= 2147483647.0 &&
          !(d == 0 && std::signbit(d)))
        return Variant(static_cast<int32_t>(d));
      return Variant(d);
    }
    case DUK_TYPE_STRING: return Variant(GetUtf8(ctx_, idx));
    case DUK_TYPE_OBJECT: {
      if (IDispatch* d = ObjectAt(idx)) return Variant(d);
      if (const automation::VariantArray* array = ArrayAt(idx)) return Variant(*array);
      duk_dup(ctx_, idx);
      if (duk_safe_call(ctx_, TimeOfDateUnsafe, nullptr, 1, 1) == DUK_EXEC_SUCCESS && duk_is_number(ctx_, -1)) {
        double ms = duk_get_number(ctx_, -1);
        duk_pop(ctx_);
        // An invalid date (new Date(NaN)) has no value to give.
        if (!std::isfinite(ms)) return Variant::Null();
        return Variant(automation::Date{DateFromScriptTime(ms)});
      }
      duk_pop(ctx_);
      return Variant(WrapScriptObject(*this, idx));
    }
    case DUK_TYPE_LIGHTFUNC: return Variant(WrapScriptObject(*this, idx));
    default: return Variant();
  }
}

void JsBridge::PushMemberFunction(IDispatch* object, DispId id) {
  duk_push_c_function(ctx_, [](duk_context* c) -> duk_ret_t {
    return FinishNative(c, RunNative(c, [c]() -> duk_ret_t {
      JsBridge& b = JsBridge::Of(c);
      duk_idx_t argc = duk_get_top(c);
      duk_push_current_function(c);
      IDispatch* target = BoundDispatch(c, -1);
      duk_get_prop_literal(c, -1, kIdKey);
      DispId member = duk_get_int(c, -1);
      duk_pop_2(c);
      if (!target) throw automation::AutomationError(automation::E_POINTER, "Object required");
      b.PushVariant(b.Call(target, member, automation::DISPATCH_METHOD | automation::DISPATCH_PROPERTYGET, 0, argc));
      return 1;
    }));
  }, DUK_VARARGS);
  Hold(ctx_, object, kBoundKey);
  duk_push_int(ctx_, id);
  duk_put_prop_string(ctx_, -2, kIdKey);
}

void JsBridge::DefineGlobalMembers(IDispatch* object) {
  const InterfaceInfo* info = object ? TypeInfoOf(object) : nullptr;
  if (!info) return;
  std::vector<DispId> done;
  duk_push_global_object(ctx_);
  for (const MemberInfo& m : info->Members()) {
    if (std::find(done.begin(), done.end(), m.id) != done.end()) continue;
    done.push_back(m.id);
    PushUtf8(ctx_, m.name);
    if (!ReadsAsValue(info, m.id) && (info->Find(m.id, MemberKind::Method) || info->Find(m.id, MemberKind::PropertyGet))) {
      PushMemberFunction(object, m.id);
      duk_def_prop(ctx_, -3, DUK_DEFPROP_HAVE_VALUE | DUK_DEFPROP_SET_WRITABLE | DUK_DEFPROP_SET_CONFIGURABLE);
      continue;
    }
    duk_uint_t flags = DUK_DEFPROP_SET_CONFIGURABLE | DUK_DEFPROP_HAVE_GETTER;
    duk_push_c_function(ctx_, AccessorGet, 0);
    Hold(ctx_, object, kBoundKey);
    duk_push_int(ctx_, m.id);
    duk_put_prop_string(ctx_, -2, kIdKey);
    if (info->Find(m.id, MemberKind::PropertyPut) || info->Find(m.id, MemberKind::PropertyPutRef)) {
      flags |= DUK_DEFPROP_HAVE_SETTER;
      duk_push_c_function(ctx_, AccessorSet, 1);
      Hold(ctx_, object, kBoundKey);
      duk_push_int(ctx_, m.id);
      duk_put_prop_string(ctx_, -2, kIdKey);
    }
    duk_def_prop(ctx_, -2 - ((flags & DUK_DEFPROP_HAVE_SETTER) ? 2 : 1), flags);
  }
  duk_pop(ctx_);
}

}  // namespace scriptcontrol::jscript
