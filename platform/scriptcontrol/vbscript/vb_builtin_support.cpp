#include "platform/scriptcontrol/vbscript/vb_builtin_support.h"

#include "platform/scriptcontrol/vbscript/vb_convert.h"
#include "platform/scriptcontrol/vbscript/vb_errors.h"
#include "platform/util/utf8.h"

namespace scriptcontrol::vbscript::builtin_args {

using automation::Variant;

const Variant& Arg(const BuiltinCall& call, size_t index) {
  static const Variant kMissing = Variant::Missing();
  return index < call.args.size() ? call.args[index].Deref() : kMissing;
}

bool Given(const BuiltinCall& call, size_t index) { return !Arg(call, index).IsMissing(); }

size_t GivenCount(const BuiltinCall& call) {
  size_t n = call.args.size();
  while (n > 0 && !Given(call, n - 1)) --n;
  return n;
}

Variant Value(const BuiltinCall& call, size_t index) { return ValueOf(Arg(call, index)); }

bool IsNull(const BuiltinCall& call, size_t index) { return Arg(call, index).IsNull(); }

// An argument that is required but was left out reads as Empty would only
// hide the mistake; VBScript reports it as an invalid argument.
static const Variant& Required(const BuiltinCall& call, size_t index) {
  const Variant& v = Arg(call, index);
  if (v.IsMissing()) Throw(kErrInvalidCall);
  return v;
}

std::string String(const BuiltinCall& call, size_t index) { return ToVbString(Required(call, index)); }

std::u16string Units(const BuiltinCall& call, size_t index) { return kiv::Utf8ToUtf16(String(call, index)); }

int32_t Long(const BuiltinCall& call, size_t index) { return ToVbLong(Required(call, index)); }

int32_t LongOr(const BuiltinCall& call, size_t index, int32_t fallback) {
  return Given(call, index) ? ToVbLong(Arg(call, index)) : fallback;
}

double Double(const BuiltinCall& call, size_t index) { return ToVbDouble(Required(call, index)); }

bool BoolOr(const BuiltinCall& call, size_t index, bool fallback) {
  return Given(call, index) ? ToVbBool(Arg(call, index)) : fallback;
}

bool TextCompare(const BuiltinCall& call, size_t index) {
  int32_t mode = LongOr(call, index, 0);
  if (mode < 0 || mode > 2) Throw(kErrInvalidCall);
  return mode != 0;
}

Variant FromUnits(std::u16string_view units) { return Variant(kiv::Utf16ToUtf8(units)); }

}  // namespace scriptcontrol::vbscript::builtin_args
