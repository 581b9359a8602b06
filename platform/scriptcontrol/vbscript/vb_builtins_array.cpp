// Array, IsArray, UBound and LBound. An array of several dimensions is a
// VariantArray of VariantArrays, one level a dimension (vb_builtins.h).
#include "platform/scriptcontrol/vbscript/vb_builtin_support.h"
#include "platform/scriptcontrol/vbscript/vb_errors.h"

namespace scriptcontrol::vbscript {

namespace {

using automation::Variant;
using automation::VariantArray;
using namespace builtin_args;

Variant MakeArray(BuiltinCall& call) {
  std::vector<Variant> items;
  items.reserve(call.args.size());
  for (size_t i = 0; i < call.args.size(); ++i) items.push_back(Arg(call, i));
  return VariantArray(std::move(items));
}

Variant IsArray(BuiltinCall& call) { return Arg(call, 0).IsArray(); }

// The array of the requested dimension (1-based): 9 when the array has
// fewer levels.
const VariantArray& Dimension(const BuiltinCall& call) {
  const VariantArray* level = Arg(call, 0).Array();
  if (!level) Throw(kErrTypeMismatch);
  int32_t dimension = LongOr(call, 1, 1);
  if (dimension < 1) Throw(kErrSubscript);
  for (int32_t d = 1; d < dimension; ++d) {
    const VariantArray* next = level->Count() ? level->Items().front().Deref().Array() : nullptr;
    if (!next) Throw(kErrSubscript);
    level = next;
  }
  return *level;
}

Variant UBound(BuiltinCall& call) { return Dimension(call).UpperBound(); }
Variant LBound(BuiltinCall& call) { return Dimension(call).LowerBound(); }

constexpr Builtin kArrayBuiltins[] = {
    {"Array", 0, kAnyArgCount, MakeArray},
    {"IsArray", 1, 1, IsArray},
    {"LBound", 1, 2, LBound},
    {"UBound", 1, 2, UBound},
};

}  // namespace

std::span<const Builtin> ArrayBuiltins() { return kArrayBuiltins; }

}  // namespace scriptcontrol::vbscript
