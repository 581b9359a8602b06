// The functions that inspect values (IsEmpty, TypeName, VarType, ...), RGB
// and the engine's name and version.
#include <algorithm>

#include "platform/scriptcontrol/vbscript/vb_builtin_support.h"
#include "platform/scriptcontrol/vbscript/vb_convert.h"
#include "platform/scriptcontrol/vbscript/vb_errors.h"

namespace scriptcontrol::vbscript {

namespace {

using automation::Variant;
using namespace builtin_args;

Variant IsEmpty(BuiltinCall& call) { return Arg(call, 0).IsEmpty(); }
Variant IsNullFunction(BuiltinCall& call) { return Arg(call, 0).IsNull(); }
Variant IsNumeric(BuiltinCall& call) { return IsVbNumeric(Arg(call, 0)); }
Variant IsObject(BuiltinCall& call) { return Arg(call, 0).IsObject(); }
Variant TypeName(BuiltinCall& call) { return VbTypeName(Arg(call, 0)); }
Variant VarType(BuiltinCall& call) { return static_cast<int16_t>(VbVarType(Arg(call, 0))); }

// Components above 255 count as 255; negative ones are refused.
Variant Rgb(BuiltinCall& call) {
  int32_t color = 0;
  for (size_t i = 0; i < 3; ++i) {
    if (IsNull(call, i)) Throw(kErrInvalidNull);
    int32_t c = Long(call, i);
    if (c < 0) Throw(kErrInvalidCall);
    color |= std::min(c, 255) << (8 * i);
  }
  return color;
}

Variant ScriptEngine(BuiltinCall&) { return Variant("VBScript"); }
Variant ScriptEngineMajorVersion(BuiltinCall&) { return int32_t{5}; }
Variant ScriptEngineMinorVersion(BuiltinCall&) { return int32_t{8}; }
Variant ScriptEngineBuildVersion(BuiltinCall&) { return int32_t{18702}; }

constexpr Builtin kTypeBuiltins[] = {
    {"IsEmpty", 1, 1, IsEmpty},
    {"IsNull", 1, 1, IsNullFunction},
    {"IsNumeric", 1, 1, IsNumeric},
    {"IsObject", 1, 1, IsObject},
    {"RGB", 3, 3, Rgb},
    {"ScriptEngine", 0, 0, ScriptEngine},
    {"ScriptEngineBuildVersion", 0, 0, ScriptEngineBuildVersion},
    {"ScriptEngineMajorVersion", 0, 0, ScriptEngineMajorVersion},
    {"ScriptEngineMinorVersion", 0, 0, ScriptEngineMinorVersion},
    {"TypeName", 1, 1, TypeName},
    {"VarType", 1, 1, VarType},
};

}  // namespace

std::span<const Builtin> TypeBuiltins() { return kTypeBuiltins; }

}  // namespace scriptcontrol::vbscript
