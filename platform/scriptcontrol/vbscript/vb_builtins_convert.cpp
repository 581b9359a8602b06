// The conversion functions (CStr, CLng, ...), the number functions that
// keep their argument's type (Int, Fix, Abs, Sgn, Round) and the Format
// functions, which write numbers and dates as a United States system does.
#include <cmath>
#include <cstdio>
#include <limits>

#include "platform/scriptcontrol/vbscript/vb_builtin_support.h"
#include "platform/scriptcontrol/vbscript/vb_convert.h"
#include "platform/scriptcontrol/vbscript/vb_date.h"
#include "platform/scriptcontrol/vbscript/vb_errors.h"

namespace scriptcontrol::vbscript {

namespace {

using automation::Currency;
using automation::Date;
using automation::Variant;
using automation::VarType;
using namespace builtin_args;

Variant CBool(BuiltinCall& call) { return ToVbBool(Arg(call, 0)); }
Variant CByte(BuiltinCall& call) { return ToVbByte(Arg(call, 0)); }
Variant CCur(BuiltinCall& call) { return ToVbCurrency(Arg(call, 0)); }
Variant CDate(BuiltinCall& call) { return ToVbDate(Arg(call, 0)); }
Variant CDbl(BuiltinCall& call) { return ToVbDouble(Arg(call, 0)); }
Variant CInt(BuiltinCall& call) { return ToVbInteger(Arg(call, 0)); }
Variant CLng(BuiltinCall& call) { return ToVbLong(Arg(call, 0)); }
Variant CSng(BuiltinCall& call) { return ToVbSingle(Arg(call, 0)); }
Variant CStr(BuiltinCall& call) { return ToVbString(Arg(call, 0)); }

// Applies a whole-number operation to a value in its own type, as Int,
// Fix and Round keep the type they are given (text becomes Double,
// Boolean and Empty Integer).
template <class Op>
Variant KeepingType(const Variant& v, Op op) {
  switch (v.Type()) {
    case VarType::Null: return Variant::Null();
    case VarType::Empty: return static_cast<int16_t>(0);
    case VarType::Bool: return static_cast<int16_t>(*v.Get<bool>() ? -1 : 0);
    case VarType::UInt8:
    case VarType::Int16:
    case VarType::Int32: return v;
    case VarType::Single: return static_cast<float>(op(static_cast<double>(*v.Get<float>())));
    case VarType::Date: return Date{op(v.Get<Date>()->days)};
    default: return op(ToVbDouble(v));
  }
}

Variant Int(BuiltinCall& call) {
  Variant v = Value(call, 0);
  if (const Currency* c = v.Get<Currency>()) {
    int64_t s = c->scaled;
    int64_t whole = s / 10000 - (s % 10000 < 0 ? 1 : 0);
    return Currency{whole * 10000};
  }
  return KeepingType(v, [](double d) { return std::floor(d); });
}

Variant Fix(BuiltinCall& call) {
  Variant v = Value(call, 0);
  if (const Currency* c = v.Get<Currency>()) return Currency{c->scaled / 10000 * 10000};
  return KeepingType(v, [](double d) { return std::trunc(d); });
}

Variant Abs(BuiltinCall& call) {
  Variant v = Value(call, 0);
  switch (v.Type()) {
    case VarType::Null: return Variant::Null();
    case VarType::Empty: return static_cast<int16_t>(0);
    case VarType::Bool: return static_cast<int16_t>(*v.Get<bool>() ? 1 : 0);
    case VarType::UInt8: return v;
    case VarType::Int16: {
      int32_t x = std::abs(static_cast<int32_t>(*v.Get<int16_t>()));
      return x > std::numeric_limits<int16_t>::max() ? Variant(x) : Variant(static_cast<int16_t>(x));
    }
    case VarType::Int32: {
      int64_t x = std::abs(static_cast<int64_t>(*v.Get<int32_t>()));
      return x > std::numeric_limits<int32_t>::max() ? Variant(static_cast<double>(x))
                                                     : Variant(static_cast<int32_t>(x));
    }
    case VarType::Single: return std::fabs(*v.Get<float>());
    case VarType::Currency: {
      int64_t s = v.Get<Currency>()->scaled;
      if (s == std::numeric_limits<int64_t>::min()) Throw(kErrOverflow);
      return Currency{s < 0 ? -s : s};
    }
    default: return std::fabs(ToVbDouble(v));
  }
}

Variant Sgn(BuiltinCall& call) {
  Variant v = Value(call, 0);
  if (v.IsNull()) return Variant::Null();
  if (const Currency* c = v.Get<Currency>()) return static_cast<int16_t>(c->scaled > 0 ? 1 : (c->scaled < 0 ? -1 : 0));
  double d = ToVbDouble(v);
  return static_cast<int16_t>(d > 0 ? 1 : (d < 0 ? -1 : 0));
}

// Half to even at the given decimal place.
double RoundTo(double value, int32_t decimals) {
  if (decimals == 0) return std::nearbyint(value);
  double scale = std::pow(10.0, decimals);
  double scaled = value * scale;
  if (!std::isfinite(scaled)) return value;
  return std::nearbyint(scaled) / scale;
}

Variant Round(BuiltinCall& call) {
  int32_t decimals = LongOr(call, 1, 0);
  if (decimals < 0) Throw(kErrInvalidCall);
  Variant v = Value(call, 0);
  if (const Currency* c = v.Get<Currency>()) {
    if (decimals >= 4) return v;
    int64_t unit = decimals == 0 ? 10000 : (decimals == 1 ? 1000 : (decimals == 2 ? 100 : 10));
    int64_t q = c->scaled / unit, r = c->scaled % unit;
    if (2 * r > unit || (2 * r == unit && q % 2 != 0)) ++q;
    if (2 * r < -unit || (2 * r == -unit && q % 2 != 0)) --q;
    return Currency{q * unit};
  }
  if (v.Type() == VarType::Date) return RoundTo(v.Get<Date>()->days, decimals);
  return KeepingType(v, [decimals](double d) { return RoundTo(d, decimals); });
}

// The Format functions' shared arguments: digits after the point (-1 for
// the system's two), then three tristates (vbTrue, vbFalse, vbUseDefault).
struct NumberStyle {
  int32_t decimals = 2;
  bool leadingZero = true;
  bool parentheses = false;
  bool grouping = true;
};

bool Tristate(const BuiltinCall& call, size_t index, bool fallback) {
  int32_t t = LongOr(call, index, -2);
  if (t == -2) return fallback;
  if (t != 0 && t != -1) Throw(kErrInvalidCall);
  return t == -1;
}

NumberStyle StyleOf(const BuiltinCall& call, bool parenthesesByDefault) {
  NumberStyle s;
  int32_t decimals = LongOr(call, 1, -1);
  if (decimals < -1 || decimals > 99) Throw(kErrInvalidCall);
  s.decimals = decimals == -1 ? 2 : decimals;
  s.leadingZero = Tristate(call, 2, true);
  s.parentheses = Tristate(call, 3, parenthesesByDefault);
  s.grouping = Tristate(call, 4, true);
  return s;
}

// The number's text, with prefix and suffix ("$", "%") inside the sign or
// the parentheses.
std::string FormatFixed(double value, const NumberStyle& style, const std::string& prefix, const std::string& suffix) {
  if (!std::isfinite(value)) Throw(kErrOverflow);
  char buffer[512];  // 309 digits, a point and up to 99 decimals
  std::snprintf(buffer, sizeof buffer, "%.*f", style.decimals, std::fabs(value));
  std::string digits = buffer;
  size_t point = digits.find('.');
  std::string whole = digits.substr(0, point);
  std::string fraction = point == std::string::npos ? std::string() : digits.substr(point);
  bool zero = digits.find_first_not_of("0.") == std::string::npos;
  if (style.grouping)
    for (size_t i = whole.size(); i > 3; i -= 3) whole.insert(i - 3, ",");
  if (whole == "0" && !style.leadingZero && !fraction.empty()) whole.clear();
  std::string text = prefix + whole + fraction + suffix;
  if (value >= 0 || zero) return text;
  return style.parentheses ? "(" + text + ")" : "-" + text;
}

double NumberArg(BuiltinCall& call) {
  if (IsNull(call, 0)) Throw(kErrInvalidNull);
  return Double(call, 0);
}

Variant FormatNumber(BuiltinCall& call) {
  double value = NumberArg(call);
  return FormatFixed(value, StyleOf(call, false), "", "");
}

Variant FormatCurrency(BuiltinCall& call) {
  double value = NumberArg(call);
  return FormatFixed(value, StyleOf(call, true), "$", "");
}

Variant FormatPercent(BuiltinCall& call) {
  double value = NumberArg(call);
  return FormatFixed(value * 100, StyleOf(call, false), "", "%");
}

Variant FormatDateTime(BuiltinCall& call) {
  if (IsNull(call, 0)) Throw(kErrInvalidNull);
  Date date = ToVbDate(Arg(call, 0));
  switch (LongOr(call, 1, 0)) {
    case 0: return FormatGeneralDate(date);
    case 1: return FormatLongDate(date);
    case 2: return FormatShortDate(date);
    case 3: return FormatLongTime(date);
    case 4: return FormatShortTime(date);
    default: Throw(kErrInvalidCall);
  }
}

constexpr Builtin kConversionBuiltins[] = {
    {"Abs", 1, 1, Abs},
    {"CBool", 1, 1, CBool},
    {"CByte", 1, 1, CByte},
    {"CCur", 1, 1, CCur},
    {"CDate", 1, 1, CDate},
    {"CDbl", 1, 1, CDbl},
    {"CInt", 1, 1, CInt},
    {"CLng", 1, 1, CLng},
    {"CSng", 1, 1, CSng},
    {"CStr", 1, 1, CStr},
    {"Fix", 1, 1, Fix},
    {"FormatCurrency", 1, 5, FormatCurrency},
    {"FormatDateTime", 1, 2, FormatDateTime},
    {"FormatNumber", 1, 5, FormatNumber},
    {"FormatPercent", 1, 5, FormatPercent},
    {"Int", 1, 1, Int},
    {"Round", 1, 2, Round},
    {"Sgn", 1, 1, Sgn},
};

}  // namespace

std::span<const Builtin> ConversionBuiltins() { return kConversionBuiltins; }

}  // namespace scriptcontrol::vbscript
