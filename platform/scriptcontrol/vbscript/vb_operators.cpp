#include "platform/scriptcontrol/vbscript/vb_operators.h"

#include <cmath>
#include <limits>

#include "platform/scriptcontrol/vbscript/vb_convert.h"
#include "platform/scriptcontrol/vbscript/vb_date.h"
#include "platform/scriptcontrol/vbscript/vb_errors.h"
#include "platform/scriptcontrol/vbscript/vb_text.h"

namespace scriptcontrol::vbscript {

using automation::Currency;
using automation::Date;
using automation::Variant;
using automation::VarType;

namespace {

// Currency products need twice the bits of the scaled values.
__extension__ typedef __int128 Int128;

// The numeric types of arithmetic, in the order results widen to (a Single
// meeting a Long gives a Double). Booleans count as Integer, text as
// Double.
enum class Num : uint8_t { Empty, Byte, Integer, Long, Single, Double, Currency, Date };

struct Operand {
  Num kind = Num::Empty;
  int64_t whole = 0;     // Byte, Integer, Long
  double real = 0;       // Single, Double, Date
  int64_t scaled = 0;    // Currency
  double AsDouble() const {
    switch (kind) {
      case Num::Empty: return 0;
      case Num::Byte:
      case Num::Integer:
      case Num::Long: return static_cast<double>(whole);
      case Num::Currency: return static_cast<double>(scaled) / 10000.0;
      default: return real;
    }
  }
  bool Whole() const { return kind <= Num::Long; }
};

Operand ReadOperand(const Variant& x) {
  Operand o;
  switch (x.Type()) {
    case VarType::Empty: break;
    case VarType::Bool: o.kind = Num::Integer, o.whole = *x.Get<bool>() ? -1 : 0; break;
    case VarType::UInt8: o.kind = Num::Byte, o.whole = *x.Get<uint8_t>(); break;
    case VarType::Int8: o.kind = Num::Integer, o.whole = *x.Get<int8_t>(); break;
    case VarType::Int16: o.kind = Num::Integer, o.whole = *x.Get<int16_t>(); break;
    case VarType::UInt16: o.kind = Num::Long, o.whole = *x.Get<uint16_t>(); break;
    case VarType::Int32: o.kind = Num::Long, o.whole = *x.Get<int32_t>(); break;
    case VarType::Single: o.kind = Num::Single, o.real = *x.Get<float>(); break;
    case VarType::Currency: o.kind = Num::Currency, o.scaled = x.Get<Currency>()->scaled; break;
    case VarType::Date: o.kind = Num::Date, o.real = x.Get<Date>()->days; break;
    case VarType::Double:
    case VarType::UInt32:
    case VarType::Int64:
    case VarType::String: o.kind = Num::Double, o.real = ToVbDouble(x); break;
    default: Throw(kErrTypeMismatch);
  }
  return o;
}

Variant FinishDouble(double r) {
  if (!std::isfinite(r)) Throw(kErrOverflow);
  return r;
}

// An exact whole result in the narrowest type at least as wide as kind.
Variant FinishWhole(Num kind, int64_t r) {
  if (kind == Num::Byte && r >= 0 && r <= 255) return static_cast<uint8_t>(r);
  if (kind <= Num::Integer && r >= std::numeric_limits<int16_t>::min() && r <= std::numeric_limits<int16_t>::max())
    return static_cast<int16_t>(r);
  if (r >= std::numeric_limits<int32_t>::min() && r <= std::numeric_limits<int32_t>::max())
    return static_cast<int32_t>(r);
  return static_cast<double>(r);
}

Variant FinishCurrency(Int128 scaled) {
  if (scaled > std::numeric_limits<int64_t>::max() || scaled < std::numeric_limits<int64_t>::min())
    Throw(kErrOverflow);
  return Currency{static_cast<int64_t>(scaled)};
}

int64_t ScaledOf(const Operand& o) {
  return o.kind == Num::Currency ? o.scaled : o.whole * 10000;
}

// Half to even division of the double-scaled product back to four decimals.
Int128 RescaleProduct(Int128 p) {
  Int128 q = p / 10000, r = p % 10000;
  if (r > 5000 || (r == 5000 && q % 2 != 0)) ++q;
  if (r < -5000 || (r == -5000 && q % 2 != 0)) --q;
  return q;
}

Num ResultKind(const Operand& a, const Operand& b) {
  if (a.kind == Num::Empty && b.kind == Num::Empty) return Num::Integer;
  if (a.kind == Num::Empty) return b.kind;
  if (b.kind == Num::Empty) return a.kind;
  if ((a.kind == Num::Single && b.kind == Num::Long) || (a.kind == Num::Long && b.kind == Num::Single))
    return Num::Double;
  return std::max(a.kind, b.kind);
}

Variant Arithmetic(BinaryOp op, const Variant& x, const Variant& y) {
  Operand a = ReadOperand(x);
  Operand b = ReadOperand(y);
  Num kind = ResultKind(a, b);
  if (kind == Num::Date && op == BinaryOp::Multiply) kind = Num::Double;
  if (kind == Num::Date && op == BinaryOp::Subtract && a.kind == Num::Date && b.kind == Num::Date) kind = Num::Double;

  auto apply = [op](auto l, auto r) {
    switch (op) {
      case BinaryOp::Add: return l + r;
      case BinaryOp::Subtract: return l - r;
      default: return l * r;
    }
  };
  switch (kind) {
    case Num::Empty:
    case Num::Byte:
    case Num::Integer:
    case Num::Long: return FinishWhole(kind, apply(a.whole, b.whole));
    case Num::Single: {
      double r = apply(a.AsDouble(), b.AsDouble());
      if (std::fabs(r) <= static_cast<double>(std::numeric_limits<float>::max())) return static_cast<float>(r);
      return FinishDouble(r);
    }
    case Num::Double: return FinishDouble(apply(a.AsDouble(), b.AsDouble()));
    case Num::Currency: {
      bool exact = (a.Whole() || a.kind == Num::Currency) && (b.Whole() || b.kind == Num::Currency);
      if (exact) {
        Int128 l = ScaledOf(a), r = ScaledOf(b);
        return FinishCurrency(op == BinaryOp::Multiply ? RescaleProduct(l * r) : apply(l, r));
      }
      double r = std::nearbyint(apply(a.AsDouble(), b.AsDouble()) * 10000.0);
      if (!(std::fabs(r) < 9223372036854775807.0)) Throw(kErrOverflow);
      return Currency{static_cast<int64_t>(r)};
    }
    case Num::Date: {
      Date d{apply(a.AsDouble(), b.AsDouble())};
      if (!InVbDateRange(d)) Throw(kErrOverflow);
      return d;
    }
  }
  Throw(kErrTypeMismatch);
}

Variant Divide(const Variant& x, const Variant& y) {
  double a = ReadOperand(x).AsDouble();
  double b = ReadOperand(y).AsDouble();
  if (b == 0) Throw(a == 0 ? kErrOverflow : kErrDivisionByZero);
  return FinishDouble(a / b);
}

// "\" and Mod work on whole numbers: Byte with Byte stays Byte, the small
// types give Integer, everything else Long.
Variant IntegerDivision(BinaryOp op, const Variant& x, const Variant& y) {
  auto small = [](const Variant& v) {
    VarType t = v.Type();
    return t == VarType::Empty || t == VarType::Bool || t == VarType::UInt8 || t == VarType::Int16;
  };
  Num kind = x.Type() == VarType::UInt8 && y.Type() == VarType::UInt8 ? Num::Byte
             : small(x) && small(y)                                   ? Num::Integer
                                                                      : Num::Long;
  int64_t a = ToVbLong(x);
  int64_t b = ToVbLong(y);
  if (b == 0) Throw(kErrDivisionByZero);
  int64_t r = op == BinaryOp::Mod ? a % b : a / b;
  if (kind == Num::Long && r > std::numeric_limits<int32_t>::max()) Throw(kErrOverflow);
  return FinishWhole(kind, r);
}

Variant Power(const Variant& x, const Variant& y) {
  double a = ReadOperand(x).AsDouble();
  double b = ReadOperand(y).AsDouble();
  if (a == 0 && b < 0) Throw(kErrInvalidCall);
  if (a < 0 && b != std::trunc(b)) Throw(kErrInvalidCall);
  return FinishDouble(std::pow(a, b));
}

Variant Concat(const Variant& x, const Variant& y) {
  if (x.IsNull() && y.IsNull()) return Variant::Null();
  std::string text = x.IsNull() ? std::string() : ToVbString(x);
  text += y.IsNull() ? std::string() : ToVbString(y);
  return text;
}

// And, Or, Xor, Eqv, Imp and Not work on the bits of whole numbers;
// booleans give booleans, and Null is "unknown" in the three-valued sense.
enum class Bits : uint8_t { Null, Bool, Byte, Integer, Long };

struct BitOperand {
  Bits kind = Bits::Null;
  int32_t value = 0;
};

BitOperand ReadBits(const Variant& x) {
  switch (x.Type()) {
    case VarType::Null: return {Bits::Null, 0};
    case VarType::Empty: return {Bits::Integer, 0};
    case VarType::Bool: return {Bits::Bool, *x.Get<bool>() ? -1 : 0};
    case VarType::UInt8: return {Bits::Byte, *x.Get<uint8_t>()};
    case VarType::Int16: return {Bits::Integer, *x.Get<int16_t>()};
    case VarType::String:
      // "True" and "False" stay booleans; other text must be a number.
      if (!IsVbNumeric(x)) return {Bits::Bool, ToVbBool(x) ? -1 : 0};
      return {Bits::Long, ToVbLong(x)};
    default: return {Bits::Long, ToVbLong(x)};
  }
}

Bits BitsKind(Bits a, Bits b) {
  if (a == Bits::Bool && b == Bits::Bool) return Bits::Bool;
  if (a == Bits::Byte && b == Bits::Byte) return Bits::Byte;
  if (a <= Bits::Integer && b <= Bits::Integer) return Bits::Integer;
  return Bits::Long;
}

Variant MakeBits(Bits kind, int32_t value) {
  switch (kind) {
    case Bits::Null: return Variant::Null();
    case Bits::Bool: return value != 0;
    case Bits::Byte: return static_cast<uint8_t>(value & 0xFF);
    case Bits::Integer: return static_cast<int16_t>(value);
    case Bits::Long: return value;
  }
  return Variant::Null();
}

bool AllOnes(const BitOperand& o) { return o.kind == Bits::Byte ? o.value == 0xFF : o.value == -1; }

Variant Logical(BinaryOp op, const Variant& x, const Variant& y) {
  BitOperand a = ReadBits(x);
  BitOperand b = ReadBits(y);
  if (a.kind == Bits::Null || b.kind == Bits::Null) {
    const BitOperand& known = a.kind == Bits::Null ? b : a;
    const bool knownIsLeft = b.kind == Bits::Null;
    if (known.kind == Bits::Null) return Variant::Null();
    switch (op) {
      case BinaryOp::And:
        if (known.value == 0) return MakeBits(known.kind, 0);
        break;
      case BinaryOp::Or:
        if (AllOnes(known)) return MakeBits(known.kind, known.value);
        break;
      case BinaryOp::Imp:
        // False Imp anything is True; anything Imp True is True.
        if (knownIsLeft && known.value == 0) return MakeBits(known.kind, -1);
        if (!knownIsLeft && AllOnes(known)) return MakeBits(known.kind, known.value);
        break;
      default: break;
    }
    return Variant::Null();
  }
  int32_t r = 0;
  switch (op) {
    case BinaryOp::And: r = a.value & b.value; break;
    case BinaryOp::Or: r = a.value | b.value; break;
    case BinaryOp::Xor: r = a.value ^ b.value; break;
    case BinaryOp::Eqv: r = ~(a.value ^ b.value); break;
    default: r = ~a.value | b.value; break;
  }
  return MakeBits(BitsKind(a.kind, b.kind), r);
}

bool IsTextual(const Variant& v) { return v.Type() == VarType::String; }

// Scalars only (after OperandValue).
int CompareScalars(const Variant& a, const Variant& b, bool textCompare) {
  if (a.IsNull() || b.IsNull()) return kCompareNull;
  for (const Variant* v : {&a, &b})
    if (v->IsArray() || v->Type() == VarType::Error || v->Type() == VarType::Unknown || v->IsObject())
      Throw(kErrTypeMismatch);
  if (IsTextual(a) || IsTextual(b)) {
    if (IsTextual(a) && IsTextual(b)) return CompareText(*a.Get<std::string>(), *b.Get<std::string>(), textCompare);
    if (a.IsEmpty()) return CompareText("", *b.Get<std::string>(), textCompare);
    if (b.IsEmpty()) return CompareText(*a.Get<std::string>(), "", textCompare);
    // A number is less than any text.
    return IsTextual(a) ? 1 : -1;
  }
  if (const Currency* ca = a.Get<Currency>())
    if (const Currency* cb = b.Get<Currency>()) return ca->scaled < cb->scaled ? -1 : (ca->scaled > cb->scaled ? 1 : 0);
  double x = ToVbDouble(a);
  double y = ToVbDouble(b);
  return x < y ? -1 : (x > y ? 1 : 0);
}

Variant Comparison(BinaryOp op, const Variant& x, const Variant& y) {
  int c = CompareScalars(x, y, false);
  if (c == kCompareNull) return Variant::Null();
  switch (op) {
    case BinaryOp::Equal: return c == 0;
    case BinaryOp::NotEqual: return c != 0;
    case BinaryOp::Less: return c < 0;
    case BinaryOp::LessEqual: return c <= 0;
    case BinaryOp::Greater: return c > 0;
    default: return c >= 0;
  }
}

}  // namespace

Variant Binary(BinaryOp op, const Variant& left, const Variant& right) {
  Variant x = OperandValue(left);
  Variant y = OperandValue(right);
  if (x.IsArray() || y.IsArray()) Throw(kErrTypeMismatch);
  switch (op) {
    case BinaryOp::Concat: return Concat(x, y);
    case BinaryOp::And:
    case BinaryOp::Or:
    case BinaryOp::Xor:
    case BinaryOp::Eqv:
    case BinaryOp::Imp: return Logical(op, x, y);
    case BinaryOp::Equal:
    case BinaryOp::NotEqual:
    case BinaryOp::Less:
    case BinaryOp::LessEqual:
    case BinaryOp::Greater:
    case BinaryOp::GreaterEqual: return Comparison(op, x, y);
    default: break;
  }
  if (x.IsNull() || y.IsNull()) return Variant::Null();
  switch (op) {
    case BinaryOp::Add:
      // "+" joins two texts (Empty counting as no text) and adds the rest.
      if (IsTextual(x) && (IsTextual(y) || y.IsEmpty())) return *x.Get<std::string>() + ToVbString(y);
      if (x.IsEmpty() && IsTextual(y)) return y;
      return Arithmetic(op, x, y);
    case BinaryOp::Subtract:
    case BinaryOp::Multiply: return Arithmetic(op, x, y);
    case BinaryOp::Divide: return Divide(x, y);
    case BinaryOp::IntDivide:
    case BinaryOp::Mod: return IntegerDivision(op, x, y);
    case BinaryOp::Power: return Power(x, y);
    default: Throw(kErrTypeMismatch);
  }
}

Variant Unary(UnaryOp op, const Variant& operand) {
  Variant x = OperandValue(operand);
  if (x.IsArray()) Throw(kErrTypeMismatch);
  if (op == UnaryOp::Plus) return x;
  if (x.IsNull()) return Variant::Null();
  if (op == UnaryOp::Not) {
    BitOperand b = ReadBits(x);
    return MakeBits(b.kind, ~b.value);
  }
  Operand o = ReadOperand(x);
  switch (o.kind) {
    case Num::Empty: return static_cast<int16_t>(0);
    case Num::Byte:
    case Num::Integer:
    case Num::Long: return FinishWhole(o.kind == Num::Byte ? Num::Integer : o.kind, -o.whole);
    case Num::Single: return static_cast<float>(-o.real);
    case Num::Double: return -o.real;
    case Num::Currency: return FinishCurrency(-static_cast<Int128>(o.scaled));
    case Num::Date: return Date{-o.real};
  }
  Throw(kErrTypeMismatch);
}

int CompareValues(const Variant& left, const Variant& right, bool textCompare) {
  return CompareScalars(OperandValue(left), OperandValue(right), textCompare);
}

bool SameObject(const Variant& left, const Variant& right) {
  const Variant& a = left.Deref();
  const Variant& b = right.Deref();
  if (!a.IsObject() || !b.IsObject()) Throw(kErrObjectRequired);
  if (a.IsNothing() || b.IsNothing()) return a.IsNothing() && b.IsNothing();
  return automation::Identity(a.UnknownPtr()) == automation::Identity(b.UnknownPtr());
}

}  // namespace scriptcontrol::vbscript
