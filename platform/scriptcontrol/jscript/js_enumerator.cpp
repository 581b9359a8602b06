#include "platform/scriptcontrol/jscript/js_enumerator.h"

#include <js/Array.h>
#include <js/Object.h>
#include <js/PropertyAndElement.h>

#include <cstdint>

#include "platform/automation/dispatch_call.h"
#include "platform/automation/enum_variant.h"
#include "platform/automation/error_info.h"
#include "platform/scriptcontrol/jscript/js_bridge.h"
#include "platform/scriptcontrol/jscript/jscript_errors.h"
#include "platform/scriptcontrol/jscript/sm_support.h"
#include "platform/scriptcontrol/script_error.h"

namespace scriptcontrol::jscript {

using automation::ComPtr;
using automation::IEnumVARIANT;
using automation::Variant;

namespace {

enum Slot { kKindSlot, kWalkerSlot, kItemSlot, kEndSlot, kSourceSlot, kIndexSlot, kSlotCount };

enum Kind : int32_t {
  kNotAnEnumerator = 0,
  kEmpty = 1,   // made without a collection
  kNative = 2,  // over an automation collection
  kArray = 3,   // over a script array
};

void Finalize(JS::GCContext*, JSObject* obj) {
  // Releases the Enumerator's reference.
  const JS::Value walker = JS::GetReservedSlot(obj, kWalkerSlot);
  if (!walker.isUndefined()) static_cast<IEnumVARIANT*>(walker.toPrivate())->Release();
}

constexpr JSClassOps kOps = {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, Finalize, nullptr, nullptr, nullptr};
constexpr JSClass kEnumeratorClass = {"Enumerator", JSCLASS_HAS_RESERVED_SLOTS(kSlotCount) | JSCLASS_FOREGROUND_FINALIZE,
                                      &kOps, nullptr, nullptr, nullptr};

// `this` when it is an Enumerator object itself: not a proxy of it, nor
// an object that inherits from it.
JSObject* ThisEnumerator(const JS::CallArgs& args) {
  if (!args.thisv().isObject() || JS::GetClass(&args.thisv().toObject()) != &kEnumeratorClass)
    throw JScriptError(JSEXN_TYPEERR, kEnumeratorExpectedNumber, kEnumeratorExpectedText);
  return &args.thisv().toObject();
}

Kind KindOf(JSObject* obj) {
  const JS::Value kind = JS::GetReservedSlot(obj, kKindSlot);
  return kind.isInt32() ? static_cast<Kind>(kind.toInt32()) : kNotAnEnumerator;
}

IEnumVARIANT* WalkerOf(JSObject* obj) {
  const JS::Value walker = JS::GetReservedSlot(obj, kWalkerSlot);
  return walker.isUndefined() ? nullptr : static_cast<IEnumVARIANT*>(walker.toPrivate());
}

[[noreturn]] void ThrowNotACollection() { throw JScriptError(JSEXN_TYPEERR, kTypeErrorNumber, kNotSupportedText); }

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

// Fetches the next element of the native walker into the current item;
// at the end the item is undefined.
void Fetch(JSContext* cx, JS::HandleObject obj) {
  IEnumVARIANT* walker = WalkerOf(obj);
  Variant item;
  uint32_t fetched = 0;
  automation::HRESULT hr = automation::S_FALSE;
  if (walker) {
    automation::ClearErrorInfo();
    hr = walker->Next(1, &item, &fetched);
    automation::ThrowIfFailed(hr);
  }
  const bool end = hr != automation::S_OK || fetched == 0;
  JS::RootedValue value(cx);
  if (!end) value = JsBridge::Of(cx).ToValue(item);
  JS::SetReservedSlot(obj, kItemSlot, value);
  JS::SetReservedSlot(obj, kEndSlot, JS::BooleanValue(end));
}

uint32_t IndexOf(JSObject* obj) {
  const JS::Value index = JS::GetReservedSlot(obj, kIndexSlot);
  return index.isNumber() ? static_cast<uint32_t>(index.toNumber()) : 0;
}

// Whether the array walk has passed the last element; the array is read
// as it is now.
bool ArrayAtEnd(JSContext* cx, JS::HandleObject obj) {
  JS::RootedObject source(cx, &JS::GetReservedSlot(obj, kSourceSlot).toObject());
  uint32_t length = 0;
  Check(JS::GetArrayLength(cx, source, &length));
  return IndexOf(obj) >= length;
}

// new Enumerator(collection), and Enumerator(collection) alike.
bool Construct(JSContext* cx, unsigned argc, JS::Value* vp) {
  JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
  return GuardNative(cx, [&] {
    JS::RootedValue collection(cx, args.get(0));
    JS::RootedObject self(cx, NewInstance(cx, args, &kEnumeratorClass));
    Check(self != nullptr);
    args.rval().setObject(*self);
    if (collection.isNullOrUndefined()) {
      JS::SetReservedSlot(self, kKindSlot, JS::Int32Value(kEmpty));
      JS::SetReservedSlot(self, kEndSlot, JS::TrueValue());
      return true;
    }
    bool isArray = false;
    if (collection.isObject() && !JsBridge::ObjectOf(collection)) {
      JS::RootedObject source(cx, &collection.toObject());
      Check(JS::IsArrayObject(cx, source, &isArray));
    }
    if (isArray) {
      JS::SetReservedSlot(self, kKindSlot, JS::Int32Value(kArray));
      JS::SetReservedSlot(self, kSourceSlot, collection);
      JS::SetReservedSlot(self, kIndexSlot, JS::Int32Value(0));
      return true;
    }
    ComPtr<IEnumVARIANT> walker = NewEnum(JsBridge::ObjectOf(collection));
    JS::SetReservedSlot(self, kWalkerSlot, JS::PrivateValue(walker.Detach()));  // released by Finalize
    JS::SetReservedSlot(self, kKindSlot, JS::Int32Value(kNative));
    Fetch(cx, self);
    return true;
  });
}

bool AtEnd(JSContext* cx, unsigned argc, JS::Value* vp) {
  JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
  return GuardNative(cx, [&] {
    JS::RootedObject self(cx, ThisEnumerator(args));
    switch (KindOf(self)) {
      case kArray: args.rval().setBoolean(ArrayAtEnd(cx, self)); return true;
      default: args.rval().set(JS::GetReservedSlot(self, kEndSlot)); return true;
    }
  });
}

bool Item(JSContext* cx, unsigned argc, JS::Value* vp) {
  JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
  return GuardNative(cx, [&] {
    JS::RootedObject self(cx, ThisEnumerator(args));
    args.rval().setUndefined();
    switch (KindOf(self)) {
      case kArray: {
        if (ArrayAtEnd(cx, self)) return true;
        JS::RootedObject source(cx, &JS::GetReservedSlot(self, kSourceSlot).toObject());
        Check(JS_GetElement(cx, source, IndexOf(self), args.rval()));
        return true;
      }
      default: args.rval().set(JS::GetReservedSlot(self, kItemSlot)); return true;
    }
  });
}

bool MoveNext(JSContext* cx, unsigned argc, JS::Value* vp) {
  JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
  return GuardNative(cx, [&] {
    JS::RootedObject self(cx, ThisEnumerator(args));
    args.rval().setUndefined();
    switch (KindOf(self)) {
      case kArray:
        if (!ArrayAtEnd(cx, self)) JS::SetReservedSlot(self, kIndexSlot, JS::NumberValue(IndexOf(self) + 1.0));
        return true;
      case kNative:
        if (!JS::GetReservedSlot(self, kEndSlot).toBoolean()) Fetch(cx, self);
        return true;
      default: return true;
    }
  });
}

bool MoveFirst(JSContext* cx, unsigned argc, JS::Value* vp) {
  JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
  return GuardNative(cx, [&] {
    JS::RootedObject self(cx, ThisEnumerator(args));
    args.rval().setUndefined();
    switch (KindOf(self)) {
      case kArray: JS::SetReservedSlot(self, kIndexSlot, JS::Int32Value(0)); return true;
      case kNative:
        if (IEnumVARIANT* walker = WalkerOf(self)) {
          automation::ClearErrorInfo();
          automation::ThrowIfFailed(walker->Reset());
        }
        Fetch(cx, self);
        return true;
      default: return true;
    }
  });
}

constexpr JSFunctionSpec kMethods[] = {JS_FN("atEnd", AtEnd, 0, 0), JS_FN("item", Item, 0, 0),
                                       JS_FN("moveNext", MoveNext, 0, 0), JS_FN("moveFirst", MoveFirst, 0, 0),
                                       JS_FS_END};

}  // namespace

void DefineEnumerator(JSContext* cx, JS::HandleObject global) {
  DefineGlobalClass(cx, global, "Enumerator", Construct, kMethods);
}

}  // namespace scriptcontrol::jscript
