#include "platform/scriptcontrol/jscript/js_enumerator.h"

#include <cstdint>

#include "platform/automation/dispatch_call.h"
#include "platform/automation/enum_variant.h"
#include "platform/automation/error_info.h"
#include "platform/scriptcontrol/jscript/duk_support.h"
#include "platform/scriptcontrol/jscript/js_bridge.h"
#include "platform/scriptcontrol/jscript/jscript_errors.h"
#include "platform/scriptcontrol/script_error.h"

namespace scriptcontrol::jscript {

using automation::ComPtr;
using automation::IEnumVARIANT;
using automation::Variant;

namespace {

// Hidden keys of an Enumerator object; scripts cannot reach them.
constexpr const char* kKindKey = "\xFF" "enumKind";  // a Kind, kept as an own pointer
constexpr const char* kWalkerKey = "\xFF" "enumWalker";  // IEnumVARIANT*, one reference
constexpr const char* kItemKey = "\xFF" "enumItem";
constexpr const char* kEndKey = "\xFF" "enumEnd";
constexpr const char* kSourceKey = "\xFF" "enumSource";  // the script array
constexpr const char* kIndexKey = "\xFF" "enumIndex";

enum Kind : int {
  kNotAnEnumerator = 0,
  kEmpty = 1,   // made without a collection
  kNative = 2,  // over an automation collection
  kArray = 3,   // over a script array
};

// Pushes `this` and tells what kind of Enumerator it is. Only the
// Enumerator object itself is one: not a Proxy of it, nor an object that
// inherits from it.
Kind PushThis(duk_context* ctx) {
  duk_push_this(ctx);
  return static_cast<Kind>(reinterpret_cast<intptr_t>(OwnPointerOf(ctx, -1, kKindKey)));
}

[[noreturn]] void ThrowNotAnEnumerator(duk_context* ctx) {
  ThrowScriptError(ctx, DUK_ERR_TYPE_ERROR, kEnumeratorExpectedNumber, kEnumeratorExpectedText);
}

IEnumVARIANT* WalkerOf(duk_context* ctx, duk_idx_t obj) {
  return static_cast<IEnumVARIANT*>(OwnPointerOf(ctx, obj, kWalkerKey));
}

duk_ret_t Finalize(duk_context* ctx) {
  // Releases the Enumerator's reference.
  ComPtr<IEnumVARIANT>::Attach(static_cast<IEnumVARIANT*>(TakeOwnPointer(ctx, 0, kWalkerKey)));
  return 0;
}

[[noreturn]] void ThrowNotACollection() { throw JScriptError(DUK_ERR_TYPE_ERROR, kTypeErrorNumber, kNotSupportedText); }

// The collection's walker; the value fails with JScript's TypeError when
// it has none.
ComPtr<IEnumVARIANT> NewEnum(automation::IDispatch* collection) {
  if (!collection) ThrowNotACollection();
  Variant result;
  automation::DispParams none;
  automation::ClearErrorInfo();
  automation::HRESULT hr = collection->Invoke(automation::DISPID_NEWENUM,
                                              automation::DISPATCH_METHOD | automation::DISPATCH_PROPERTYGET, none,
                                              &result);
  if (hr == automation::DISP_E_MEMBERNOTFOUND || hr == automation::DISP_E_UNKNOWNNAME) {
    automation::ClearErrorInfo();
    ThrowNotACollection();
  }
  automation::ThrowIfFailed(hr);
  const Variant& value = result.Deref();
  automation::IUnknown* unknown = value.Dispatch();
  if (!unknown) unknown = value.UnknownPtr();
  ComPtr<IEnumVARIANT> walker = ComPtr<automation::IUnknown>(unknown).As<IEnumVARIANT>();
  if (!walker) ThrowNotACollection();
  return walker;
}

// Fetches the next element of the native walker of the Enumerator at obj
// into its current item; at the end the item is undefined.
void Fetch(duk_context* ctx, duk_idx_t obj) {
  obj = duk_normalize_index(ctx, obj);
  IEnumVARIANT* walker = WalkerOf(ctx, obj);
  Variant item;
  uint32_t fetched = 0;
  automation::HRESULT hr = automation::S_FALSE;
  if (walker) {
    automation::ClearErrorInfo();
    hr = walker->Next(1, &item, &fetched);
    automation::ThrowIfFailed(hr);
  }
  const bool end = hr != automation::S_OK || fetched == 0;
  if (end) duk_push_undefined(ctx);
  else JsBridge::Of(ctx).PushVariant(item);
  duk_put_prop_string(ctx, obj, kItemKey);
  duk_push_boolean(ctx, end);
  duk_put_prop_string(ctx, obj, kEndKey);
}

void SetKind(duk_context* ctx, duk_idx_t obj, Kind kind) {
  PutPointer(ctx, obj, kKindKey, reinterpret_cast<void*>(static_cast<intptr_t>(kind)));
}

duk_uarridx_t IndexOf(duk_context* ctx, duk_idx_t obj) {
  duk_get_prop_string(ctx, obj, kIndexKey);
  auto index = static_cast<duk_uarridx_t>(duk_get_uint(ctx, -1));
  duk_pop(ctx);
  return index;
}

// Whether the array walk at obj has passed the last element; the array
// is read as it is now. Plain Duktape code: a getter may throw.
bool ArrayAtEnd(duk_context* ctx, duk_idx_t obj) {
  obj = duk_normalize_index(ctx, obj);
  duk_uarridx_t index = IndexOf(ctx, obj);
  duk_get_prop_string(ctx, obj, kSourceKey);
  bool end = index >= duk_get_length(ctx, -1);
  duk_pop(ctx);
  return end;
}

// new Enumerator(collection), and Enumerator(collection) alike.
duk_ret_t Construct(duk_context* ctx) {
  duk_set_top(ctx, 1);  // [collection]
  if (duk_is_constructor_call(ctx)) {
    duk_push_this(ctx);
  } else {
    duk_push_object(ctx);
    duk_push_current_function(ctx);
    duk_get_prop_string(ctx, -1, "prototype");
    duk_set_prototype(ctx, -3);
    duk_pop(ctx);
  }
  // [collection, enumerator]
  if (duk_is_null_or_undefined(ctx, 0)) {
    SetKind(ctx, 1, kEmpty);
    duk_push_true(ctx);
    duk_put_prop_string(ctx, 1, kEndKey);
    return 1;
  }
  if (duk_is_array(ctx, 0)) {
    SetKind(ctx, 1, kArray);
    duk_dup(ctx, 0);
    duk_put_prop_string(ctx, 1, kSourceKey);
    duk_push_uint(ctx, 0);
    duk_put_prop_string(ctx, 1, kIndexKey);
    return 1;
  }
  return FinishNative(ctx, RunNative(ctx, [ctx]() -> duk_ret_t {
    JsBridge& bridge = JsBridge::Of(ctx);
    bridge.CheckDeadline();
    ComPtr<IEnumVARIANT> walker = NewEnum(bridge.ObjectAt(0));
    PutPointer(ctx, 1, kWalkerKey, walker.Detach());  // the Enumerator's reference, released by Finalize
    duk_push_c_function(ctx, Finalize, 1);
    duk_set_finalizer(ctx, 1);
    SetKind(ctx, 1, kNative);
    Fetch(ctx, 1);
    return 1;
  }));
}

duk_ret_t AtEnd(duk_context* ctx) {
  CheckDeadlineOrThrow(ctx);
  switch (PushThis(ctx)) {
    case kArray: duk_push_boolean(ctx, ArrayAtEnd(ctx, -1)); return 1;
    case kEmpty:
    case kNative: duk_get_prop_string(ctx, -1, kEndKey); return 1;
    default: ThrowNotAnEnumerator(ctx);
  }
}

duk_ret_t Item(duk_context* ctx) {
  CheckDeadlineOrThrow(ctx);
  switch (PushThis(ctx)) {
    case kArray:
      if (ArrayAtEnd(ctx, -1)) return 0;
      duk_get_prop_string(ctx, -1, kSourceKey);
      duk_get_prop_index(ctx, -1, IndexOf(ctx, -2));
      return 1;
    case kEmpty:
    case kNative: duk_get_prop_string(ctx, -1, kItemKey); return 1;
    default: ThrowNotAnEnumerator(ctx);
  }
}

duk_ret_t MoveNext(duk_context* ctx) {
  CheckDeadlineOrThrow(ctx);
  switch (PushThis(ctx)) {
    case kArray:
      if (!ArrayAtEnd(ctx, -1)) {
        duk_push_uint(ctx, IndexOf(ctx, -1) + 1);
        duk_put_prop_string(ctx, -2, kIndexKey);
      }
      return 0;
    case kEmpty: return 0;
    case kNative: {
      duk_get_prop_string(ctx, -1, kEndKey);
      bool end = duk_to_boolean(ctx, -1);
      duk_pop(ctx);
      if (end) return 0;
      return FinishNative(ctx, RunNative(ctx, [ctx]() -> duk_ret_t {
        Fetch(ctx, -1);
        return 0;
      }));
    }
    default: ThrowNotAnEnumerator(ctx);
  }
}

duk_ret_t MoveFirst(duk_context* ctx) {
  CheckDeadlineOrThrow(ctx);
  switch (PushThis(ctx)) {
    case kArray:
      duk_push_uint(ctx, 0);
      duk_put_prop_string(ctx, -2, kIndexKey);
      return 0;
    case kEmpty: return 0;
    case kNative:
      return FinishNative(ctx, RunNative(ctx, [ctx]() -> duk_ret_t {
        if (IEnumVARIANT* walker = WalkerOf(ctx, -1)) {
          automation::ClearErrorInfo();
          automation::ThrowIfFailed(walker->Reset());
        }
        Fetch(ctx, -1);
        return 0;
      }));
    default: ThrowNotAnEnumerator(ctx);
  }
}

}  // namespace

void DefineEnumerator(duk_context* ctx) {
  static constexpr NativeMethod kMethods[] = {
      {"atEnd", AtEnd, 0}, {"item", Item, 0}, {"moveNext", MoveNext, 0}, {"moveFirst", MoveFirst, 0}};
  DefineGlobalClass(ctx, "Enumerator", Construct, kMethods);
}

}  // namespace scriptcontrol::jscript
