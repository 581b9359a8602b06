#include "platform/scriptcontrol/jscript/js_vbarray.h"

#include <cmath>
#include <optional>

#include "platform/automation/variant.h"
#include "platform/scriptcontrol/jscript/duk_support.h"
#include "platform/scriptcontrol/jscript/js_bridge.h"
#include "platform/scriptcontrol/jscript/jscript_errors.h"

namespace scriptcontrol::jscript {

using automation::VariantArray;

namespace {

// Hidden from scripts: the opaque array value a VBArray object reads, and
// its array, kept as an own pointer so that only the VBArray object
// itself is one.
constexpr const char* kSourceKey = "\xFF" "vbSource";
constexpr const char* kArrayKey = "\xFF" "vbArray";

[[noreturn]] void ThrowOutOfRange() { throw JScriptError(DUK_ERR_RANGE_ERROR, kSubscriptErrorNumber, kSubscriptErrorText); }

// The array of the VBArray object that is `this`. The object holds it, and
// the call holds the object, for as long as the callback runs.
const VariantArray& ThisArray(duk_context* ctx) {
  duk_push_this(ctx);
  const auto* array = static_cast<const VariantArray*>(OwnPointerOf(ctx, -1, kArrayKey));
  duk_pop(ctx);
  if (!array) throw JScriptError(DUK_ERR_TYPE_ERROR, kVBArrayExpectedNumber, kVBArrayExpectedText);
  return *array;
}

// A script number as an index or dimension, rounded half to even as
// variant conversions round; nothing when it has no 32-bit value.
std::optional<int32_t> WholeNumber(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  value = std::nearbyint(value);
  if (value < -2147483648.0 || value > 2147483647.0) return std::nullopt;
  return static_cast<int32_t>(value);
}

// Turns every argument into a number before C++ code runs: valueOf may
// run script code, which may throw.
duk_idx_t ArgumentsToNumbers(duk_context* ctx) {
  duk_idx_t argc = duk_get_top(ctx);
  for (duk_idx_t i = 0; i < argc; ++i)
    if (!duk_is_undefined(ctx, i)) duk_to_number(ctx, i);
  return argc;
}

// lbound and ubound take dimension 1, the default, only.
void CheckDimension(duk_context* ctx, duk_idx_t argc) {
  if (argc == 0 || duk_is_undefined(ctx, 0)) return;
  if (WholeNumber(duk_get_number(ctx, 0)) != 1) ThrowOutOfRange();
}

// new VBArray(value), and VBArray(value) alike; value is an opaque array
// or another VBArray.
duk_ret_t Construct(duk_context* ctx) {
  duk_set_top(ctx, 1);
  if (duk_is_constructor_call(ctx)) {
    duk_push_this(ctx);
  } else {
    duk_push_object(ctx);
    duk_push_current_function(ctx);
    duk_get_prop_string(ctx, -1, "prototype");
    duk_set_prototype(ctx, -3);
    duk_pop(ctx);
  }
  // [value, vbarray]
  return FinishNative(ctx, RunNative(ctx, [ctx]() -> duk_ret_t {
    JsBridge& bridge = JsBridge::Of(ctx);
    bridge.CheckDeadline();
    if (!bridge.ArrayAt(0) && duk_is_object(ctx, 0)) {
      duk_get_prop_string(ctx, 0, kSourceKey);
      duk_replace(ctx, 0);
    }
    if (!bridge.ArrayAt(0)) throw JScriptError(DUK_ERR_TYPE_ERROR, kVBArrayExpectedNumber, kVBArrayExpectedText);
    // The source holds the array for as long as the VBArray object holds it.
    PutPointer(ctx, 1, kArrayKey, const_cast<VariantArray*>(bridge.ArrayAt(0)));
    duk_dup(ctx, 0);
    duk_put_prop_string(ctx, 1, kSourceKey);
    return 1;
  }));
}

duk_ret_t Dimensions(duk_context* ctx) {
  return FinishNative(ctx, RunNative(ctx, [ctx]() -> duk_ret_t {
    JsBridge& bridge = JsBridge::Of(ctx);
    bridge.CheckDeadline();
    ThisArray(ctx);
    duk_push_int(ctx, 1);
    return 1;
  }));
}

duk_ret_t LBound(duk_context* ctx) {
  duk_idx_t argc = ArgumentsToNumbers(ctx);
  return FinishNative(ctx, RunNative(ctx, [ctx, argc]() -> duk_ret_t {
    JsBridge& bridge = JsBridge::Of(ctx);
    bridge.CheckDeadline();
    const VariantArray& array = ThisArray(ctx);
    CheckDimension(ctx, argc);
    duk_push_int(ctx, array.LowerBound());
    return 1;
  }));
}

duk_ret_t UBound(duk_context* ctx) {
  duk_idx_t argc = ArgumentsToNumbers(ctx);
  return FinishNative(ctx, RunNative(ctx, [ctx, argc]() -> duk_ret_t {
    JsBridge& bridge = JsBridge::Of(ctx);
    bridge.CheckDeadline();
    const VariantArray& array = ThisArray(ctx);
    CheckDimension(ctx, argc);
    duk_push_int(ctx, array.UpperBound());
    return 1;
  }));
}

// getItem(index): one index, as the array has one dimension.
duk_ret_t GetItem(duk_context* ctx) {
  duk_idx_t argc = ArgumentsToNumbers(ctx);
  return FinishNative(ctx, RunNative(ctx, [ctx, argc]() -> duk_ret_t {
    JsBridge& bridge = JsBridge::Of(ctx);
    bridge.CheckDeadline();
    const VariantArray& array = ThisArray(ctx);
    if (argc != 1 || duk_is_undefined(ctx, 0)) ThrowOutOfRange();
    std::optional<int32_t> index = WholeNumber(duk_get_number(ctx, 0));
    if (!index || *index < array.LowerBound() || *index > array.UpperBound()) ThrowOutOfRange();
    bridge.PushVariant(array.At(*index));
    return 1;
  }));
}

duk_ret_t ToArray(duk_context* ctx) {
  return FinishNative(ctx, RunNative(ctx, [ctx]() -> duk_ret_t {
    JsBridge& bridge = JsBridge::Of(ctx);
    bridge.CheckDeadline();
    const VariantArray& array = ThisArray(ctx);
    duk_push_array(ctx);
    const auto& items = array.Items();
    for (size_t i = 0; i < items.size(); ++i) {
      duk_push_uint(ctx, static_cast<duk_uint_t>(i));
      bridge.PushVariant(items[i]);
      // Defined, not assigned: a setter on Array.prototype must not run.
      duk_def_prop(ctx, -3, DUK_DEFPROP_HAVE_VALUE | DUK_DEFPROP_SET_WEC);
    }
    return 1;
  }));
}

}  // namespace

void DefineVBArray(duk_context* ctx) {
  static constexpr NativeMethod kMethods[] = {{"dimensions", Dimensions, DUK_VARARGS},
                                              {"lbound", LBound, DUK_VARARGS},
                                              {"ubound", UBound, DUK_VARARGS},
                                              {"getItem", GetItem, DUK_VARARGS},
                                              {"toArray", ToArray, DUK_VARARGS}};
  DefineGlobalClass(ctx, "VBArray", Construct, kMethods);
}

}  // namespace scriptcontrol::jscript
