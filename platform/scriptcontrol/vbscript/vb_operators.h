// VBScript's operators on variants, with the language's typing: Integer
// results that overflow widen to Long and then Double, "+" adds numbers
// and joins two strings, "&" always joins, Null spreads through arithmetic
// and comparisons, And/Or/Not/Xor/Eqv/Imp are bitwise on integers (and
// three-valued with Null); in comparisons two texts compare as text and a
// number is less than any text. Operands may be by-reference variants and objects
// (which give their default value). Failures throw VbError (13, 6, 11, 94).
#pragma once

#include "platform/automation/variant.h"

namespace scriptcontrol::vbscript {

enum class BinaryOp : uint8_t {
  Power,       // ^
  Multiply,    // *
  Divide,      // /
  IntDivide,   // "\"
  Mod,
  Add,
  Subtract,
  Concat,      // &
  Equal,
  NotEqual,    // <>
  Less,
  LessEqual,
  Greater,
  GreaterEqual,
  And,
  Or,
  Xor,
  Eqv,
  Imp,
};

enum class UnaryOp : uint8_t {
  Negate,  // -x
  Plus,    // +x
  Not,
};

automation::Variant Binary(BinaryOp op, const automation::Variant& left, const automation::Variant& right);
automation::Variant Unary(UnaryOp op, const automation::Variant& operand);

// Compares as "=" and "<" do (binary text comparison unless textCompare,
// which ignores letter case): -1, 0 or 1. A Null operand gives 2 (no
// order), which Select Case and StrComp treat as their own callers need.
int CompareValues(const automation::Variant& left, const automation::Variant& right, bool textCompare = false);
inline constexpr int kCompareNull = 2;

// "Is": both objects (or Nothing) and the same object. Non-object operands
// fail with 424 "Object required".
bool SameObject(const automation::Variant& left, const automation::Variant& right);

}  // namespace scriptcontrol::vbscript
