#include "platform/scriptcontrol/jscript/js_vbarray.h"

#include <js/Array.h>
#include <js/Conversions.h>
#include <js/Object.h>
#include <js/PropertyAndElement.h>

#include <cmath>
#include <optional>

#include "platform/automation/variant.h"
#include "platform/scriptcontrol/jscript/js_bridge.h"
#include "platform/scriptcontrol/jscript/jscript_errors.h"
#include "platform/scriptcontrol/jscript/sm_support.h"

namespace scriptcontrol::jscript {

using automation::VariantArray;

namespace {

// The opaque array value a VBArray object reads, which owns the array and
// which the VBArray object holds for as long as it lives.
enum Slot { kSourceSlot, kSlotCount };

constexpr JSClass kVBArrayClass = {"VBArray", JSCLASS_HAS_RESERVED_SLOTS(kSlotCount), nullptr, nullptr, nullptr, nullptr};

[[noreturn]] void ThrowOutOfRange() { throw JScriptError(JSEXN_RANGEERR, kSubscriptErrorNumber, kSubscriptErrorText); }

// The array of the VBArray object that is `this`; only the VBArray object
// itself is one.
const VariantArray& ThisArray(JSContext* cx, const JS::CallArgs& args) {
  if (args.thisv().isObject() && JS::GetClass(&args.thisv().toObject()) == &kVBArrayClass) {
    JS::RootedValue source(cx, JS::GetReservedSlot(&args.thisv().toObject(), kSourceSlot));
    if (const VariantArray* array = JsBridge::ArrayOf(source)) return *array;
  }
  throw JScriptError(JSEXN_TYPEERR, kVBArrayExpectedNumber, kVBArrayExpectedText);
}

// A script number as an index or dimension, rounded half to even as
// variant conversions round; nothing when it has no 32-bit value.
std::optional<int32_t> WholeNumber(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  value = std::nearbyint(value);
  if (value < -2147483648.0 || value > 2147483647.0) return std::nullopt;
  return static_cast<int32_t>(value);
}

// The argument as a number; valueOf may run script code, which may throw.
std::optional<double> NumberArgument(JSContext* cx, const JS::CallArgs& args, unsigned i) {
  if (i >= args.length() || args[i].isUndefined()) return std::nullopt;
  double d = 0;
  Check(JS::ToNumber(cx, args[i], &d));
  return d;
}

// lbound and ubound take dimension 1, the default, only.
void CheckDimension(JSContext* cx, const JS::CallArgs& args) {
  std::optional<double> dimension = NumberArgument(cx, args, 0);
  if (dimension && WholeNumber(*dimension) != 1) ThrowOutOfRange();
}

// new VBArray(value), and VBArray(value) alike; value is an opaque array
// or another VBArray.
bool Construct(JSContext* cx, unsigned argc, JS::Value* vp) {
  JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
  return GuardNative(cx, [&] {
    JS::RootedValue source(cx, args.get(0));
    if (!JsBridge::ArrayOf(source) && source.isObject() && JS::GetClass(&source.toObject()) == &kVBArrayClass)
      source = JS::GetReservedSlot(&source.toObject(), kSourceSlot);
    if (!JsBridge::ArrayOf(source)) throw JScriptError(JSEXN_TYPEERR, kVBArrayExpectedNumber, kVBArrayExpectedText);
    JS::RootedObject self(cx, NewInstance(cx, args, &kVBArrayClass));
    Check(self != nullptr);
    JS::SetReservedSlot(self, kSourceSlot, source);
    args.rval().setObject(*self);
    return true;
  });
}

bool Dimensions(JSContext* cx, unsigned argc, JS::Value* vp) {
  JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
  return GuardNative(cx, [&] {
    ThisArray(cx, args);
    args.rval().setInt32(1);
    return true;
  });
}

bool LBound(JSContext* cx, unsigned argc, JS::Value* vp) {
  JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
  return GuardNative(cx, [&] {
    ThisArray(cx, args);
    CheckDimension(cx, args);
    args.rval().setInt32(ThisArray(cx, args).LowerBound());
    return true;
  });
}

bool UBound(JSContext* cx, unsigned argc, JS::Value* vp) {
  JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
  return GuardNative(cx, [&] {
    ThisArray(cx, args);
    CheckDimension(cx, args);
    args.rval().setInt32(ThisArray(cx, args).UpperBound());
    return true;
  });
}

// getItem(index): one index, as the array has one dimension.
bool GetItem(JSContext* cx, unsigned argc, JS::Value* vp) {
  JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
  return GuardNative(cx, [&] {
    ThisArray(cx, args);
    std::optional<double> number = NumberArgument(cx, args, 0);
    if (args.length() != 1 || !number) ThrowOutOfRange();
    // Read again: valueOf ran script code, though the array it reads stays.
    const VariantArray& array = ThisArray(cx, args);
    std::optional<int32_t> index = WholeNumber(*number);
    if (!index || *index < array.LowerBound() || *index > array.UpperBound()) ThrowOutOfRange();
    args.rval().set(JsBridge::Of(cx).ToValue(array.At(*index)));
    return true;
  });
}

bool ToArray(JSContext* cx, unsigned argc, JS::Value* vp) {
  JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
  return GuardNative(cx, [&] {
    const VariantArray& array = ThisArray(cx, args);
    JsBridge& bridge = JsBridge::Of(cx);
    const auto& items = array.Items();
    JS::RootedObject out(cx, JS::NewArrayObject(cx, items.size()));
    Check(out != nullptr);
    JS::RootedValue item(cx);
    for (size_t i = 0; i < items.size(); ++i) {
      item = bridge.ToValue(items[i]);
      // Defined, not assigned: a setter on Array.prototype must not run.
      Check(JS_DefineElement(cx, out, static_cast<uint32_t>(i), item, JSPROP_ENUMERATE));
    }
    args.rval().setObject(*out);
    return true;
  });
}

constexpr JSFunctionSpec kMethods[] = {JS_FN("dimensions", Dimensions, 0, 0), JS_FN("lbound", LBound, 0, 0),
                                       JS_FN("ubound", UBound, 0, 0), JS_FN("getItem", GetItem, 1, 0),
                                       JS_FN("toArray", ToArray, 0, 0), JS_FS_END};

}  // namespace

void DefineVBArray(JSContext* cx, JS::HandleObject global) {
  DefineGlobalClass(cx, global, "VBArray", Construct, kMethods);
}

}  // namespace scriptcontrol::jscript
