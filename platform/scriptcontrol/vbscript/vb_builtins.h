// The built-in functions and constants of VBScript (Len, Mid, CStr, DateAdd,
// UBound, TypeName, MsgBox, vbCrLf, ...), looked up by name without regard
// to case. The interpreter calls a built-in with its arguments in natural
// order; an argument may be a by-reference variant (a variable passed as
// it is) and an omitted one is Variant::Missing(). Each function checks its
// own arguments and throws VbError as VBScript does (5 "Invalid procedure
// call or argument", 13 "Type mismatch", 9 "Subscript out of range").
//
// Functions that need the interpreter itself (Eval, Execute,
// ExecuteGlobal, GetRef) are the interpreter's, not in this table.
//
// Arrays: a one-dimensional array is a VariantArray; an array of more
// dimensions is a VariantArray of VariantArrays, one level a dimension,
// all of the same bounds (so UBound(a, 2) is the upper bound of the
// second level).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <span>
#include <string>
#include <string_view>

#include "platform/automation/variant.h"

namespace scriptcontrol::vbscript {

// What the built-ins need from outside: the window services for MsgBox and
// InputBox, the class registry for CreateObject and GetObject, and the
// state of Rnd. An unset service fails the built-in with 429 (objects) or
// 5 (dialogs).
struct BuiltinContext {
  // The button pressed (vbOK = 1 ...).
  std::function<int32_t(const std::string& prompt, int32_t buttons, const std::string& title)> messageBox;
  // Nothing when the user cancelled.
  std::function<std::optional<std::string>(const std::string& prompt, const std::string& title,
                                           const std::string& defaultText)>
      inputBox;
  std::function<automation::Variant(const std::string& progId, const std::string& server)> createObject;
  std::function<automation::Variant(const std::string& path, const std::string& progId)> getObject;

  // Rnd's generator and its last number (Rnd(0) repeats it).
  std::mt19937 random{0x5eed};
  float lastRandom = 0;
};

struct BuiltinCall {
  std::span<automation::Variant> args;  // natural order; missing ones are Variant::Missing()
  BuiltinContext& context;
};

using BuiltinFunction = automation::Variant (*)(BuiltinCall& call);

struct Builtin {
  std::string_view name;
  int8_t minArgs;
  int8_t maxArgs;
  BuiltinFunction function;
};

// Null when VBScript has no built-in function of that name.
const Builtin* FindBuiltin(std::string_view name);
// vbCrLf, vbTrue, vbString, vbBinaryCompare, ...; null when unknown.
const automation::Variant* FindConstant(std::string_view name);

}  // namespace scriptcontrol::vbscript
