// What the files of built-in functions share: each file publishes its
// functions as one span, which FindBuiltin gathers into its table, and
// reads its arguments through the helpers here (by-reference arguments
// followed, an argument beyond those passed reads as missing).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/scriptcontrol/vbscript/vb_builtins.h"

namespace scriptcontrol::vbscript {

// As many arguments as a call can pass (Array's count).
inline constexpr int8_t kAnyArgCount = INT8_MAX;

std::span<const Builtin> StringBuiltins();
std::span<const Builtin> ConversionBuiltins();
std::span<const Builtin> MathBuiltins();
std::span<const Builtin> DateBuiltins();
std::span<const Builtin> ArrayBuiltins();
std::span<const Builtin> TypeBuiltins();
std::span<const Builtin> InteractionBuiltins();

struct NamedConstant {
  std::string_view name;
  automation::Variant value;
};
std::span<const NamedConstant> Constants();

namespace builtin_args {

// The argument itself (a by-reference one followed); missing beyond the end.
const automation::Variant& Arg(const BuiltinCall& call, size_t index);
// Passed and not the missing-argument marker.
bool Given(const BuiltinCall& call, size_t index);
// The number of arguments up to the last one given.
size_t GivenCount(const BuiltinCall& call);
// The argument's value: objects give their default value, Nothing stays.
automation::Variant Value(const BuiltinCall& call, size_t index);
bool IsNull(const BuiltinCall& call, size_t index);

// The conversions of vb_convert.h applied to one argument (94 for Null).
std::string String(const BuiltinCall& call, size_t index);
std::u16string Units(const BuiltinCall& call, size_t index);
int32_t Long(const BuiltinCall& call, size_t index);
int32_t LongOr(const BuiltinCall& call, size_t index, int32_t fallback);
double Double(const BuiltinCall& call, size_t index);
bool BoolOr(const BuiltinCall& call, size_t index, bool fallback);
// A compare argument: vbBinaryCompare (0, the default) gives false,
// vbTextCompare (1) and vbDatabaseCompare (2) true, others fail with 5.
bool TextCompare(const BuiltinCall& call, size_t index);

// A string result from UTF-16 code units.
automation::Variant FromUnits(std::u16string_view units);

}  // namespace builtin_args

}  // namespace scriptcontrol::vbscript
