#include "platform/automation/variant_convert.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <locale>
#include <sstream>

#include "platform/automation/automation_error.h"
#include "platform/util/text.h"

namespace automation {

namespace {

[[noreturn]] void Unconvertible(const Variant& v, VarType to) { ThrowConversionError(TypeName(v.Type()), TypeName(to)); }

// The default member's value, for converting an object as a value.
Variant DefaultValue(const Variant& v, VarType to) {
  IDispatch* d = v.Dispatch();
  if (!d) Unconvertible(v, to);
  Variant result;
  DispParams none;
  if (Failed(d->Invoke(DISPID_VALUE, DISPATCH_PROPERTYGET, none, &result)) || result.IsObject())
    Unconvertible(v, to);
  return result;
}

// Parses the whole text as a number in the C locale; false when it is not one.
bool ParseDouble(const std::string& text, double& out) {
  std::string t = kiv::Trim(text);
  if (t.empty()) return false;
  std::istringstream in(t);
  in.imbue(std::locale::classic());
  in >> out;
  if (in.fail()) return false;
  in.peek();
  return in.eof();
}

// Decimal with an optional sign, or hexadecimal after "$" or "0x".
bool ParseInteger(const std::string& text, int64_t& out) {
  std::string t = kiv::Trim(text);
  size_t pos = 0;
  bool negative = false;
  if (pos < t.size() && (t[pos] == '+' || t[pos] == '-')) negative = t[pos++] == '-';
  int base = 10;
  if (pos < t.size() && t[pos] == '$') {
    base = 16;
    ++pos;
  } else if (pos + 1 < t.size() && t[pos] == '0' && (t[pos + 1] == 'x' || t[pos + 1] == 'X')) {
    base = 16;
    pos += 2;
  }
  if (pos >= t.size()) return false;
  // The magnitude may reach 2^63 for the most negative value.
  const uint64_t limit = static_cast<uint64_t>(std::numeric_limits<int64_t>::max()) + (negative ? 1u : 0u);
  uint64_t value = 0;
  for (; pos < t.size(); ++pos) {
    char c = t[pos];
    unsigned digit;
    if (c >= '0' && c <= '9') digit = static_cast<unsigned>(c - '0');
    else if (base == 16 && c >= 'a' && c <= 'f') digit = static_cast<unsigned>(c - 'a' + 10);
    else if (base == 16 && c >= 'A' && c <= 'F') digit = static_cast<unsigned>(c - 'A' + 10);
    else return false;
    if (value > (limit - digit) / static_cast<unsigned>(base)) return false;
    value = value * static_cast<unsigned>(base) + digit;
  }
  out = negative ? static_cast<int64_t>(0 - value) : static_cast<int64_t>(value);
  return true;
}

// Every numeric reading of a variant goes through one of these two: whole
// values stay exact, the rest are doubles.
struct Number {
  bool integral;
  int64_t whole;
  double real;
};

Number ReadNumber(const Variant& value, VarType to, bool textAsInteger) {
  const Variant& v = value.Deref();
  switch (v.Type()) {
    case VarType::Empty: return {true, 0, 0};
    case VarType::Int8: return {true, *v.Get<int8_t>(), 0};
    case VarType::Int16: return {true, *v.Get<int16_t>(), 0};
    case VarType::Int32: return {true, *v.Get<int32_t>(), 0};
    case VarType::Int64: return {true, *v.Get<int64_t>(), 0};
    case VarType::UInt8: return {true, *v.Get<uint8_t>(), 0};
    case VarType::UInt16: return {true, *v.Get<uint16_t>(), 0};
    case VarType::UInt32: return {true, *v.Get<uint32_t>(), 0};
    case VarType::Bool: return {true, *v.Get<bool>() ? -1 : 0, 0};
    case VarType::Single: return {false, 0, *v.Get<float>()};
    case VarType::Double: return {false, 0, *v.Get<double>()};
    case VarType::Date: return {false, 0, v.Get<Date>()->days};
    case VarType::Currency: return {false, 0, static_cast<double>(v.Get<Currency>()->scaled) / 10000.0};
    case VarType::String: {
      const std::string& text = *v.Get<std::string>();
      int64_t whole;
      if (ParseInteger(text, whole)) return {true, whole, 0};
      double real;
      if (ParseDouble(text, real)) return {false, 0, real};
      if (textAsInteger) ThrowInvalidInteger(text);
      Unconvertible(v, to);
    }
    case VarType::Dispatch: return ReadNumber(DefaultValue(v, to), to, textAsInteger);
    default: Unconvertible(v, to);
  }
}

template <class T>
T ToIntegral(const Variant& v, VarType to) {
  Number n = ReadNumber(v, to, true);
  int64_t whole = n.integral ? n.whole : RoundHalfEven(n.real);
  if (whole < static_cast<int64_t>(std::numeric_limits<T>::min()) ||
      whole > static_cast<int64_t>(std::numeric_limits<T>::max()))
    ThrowRangeError();
  return static_cast<T>(whole);
}

double AsDouble(const Number& n) { return n.integral ? static_cast<double>(n.whole) : n.real; }

}  // namespace

int64_t RoundHalfEven(double value) {
  if (!std::isfinite(value) || value >= 9223372036854775808.0 || value < -9223372036854775808.0) ThrowRangeError();
  double floor = std::floor(value);
  double diff = value - floor;
  double rounded = floor;
  if (diff > 0.5 || (diff == 0.5 && std::fmod(floor, 2.0) != 0)) rounded = floor + 1;
  if (rounded >= 9223372036854775808.0) ThrowRangeError();
  return static_cast<int64_t>(rounded);
}

int8_t ToInt8(const Variant& v) { return ToIntegral<int8_t>(v, VarType::Int8); }
int16_t ToInt16(const Variant& v) { return ToIntegral<int16_t>(v, VarType::Int16); }
int32_t ToInt32(const Variant& v) { return ToIntegral<int32_t>(v, VarType::Int32); }
int64_t ToInt64(const Variant& v) { return ToIntegral<int64_t>(v, VarType::Int64); }
uint8_t ToUInt8(const Variant& v) { return ToIntegral<uint8_t>(v, VarType::UInt8); }
uint16_t ToUInt16(const Variant& v) { return ToIntegral<uint16_t>(v, VarType::UInt16); }
uint32_t ToUInt32(const Variant& v) { return ToIntegral<uint32_t>(v, VarType::UInt32); }

double ToDouble(const Variant& v) { return AsDouble(ReadNumber(v, VarType::Double, false)); }

float ToSingle(const Variant& v) {
  double d = AsDouble(ReadNumber(v, VarType::Single, false));
  if (std::isfinite(d) && std::fabs(d) > static_cast<double>(std::numeric_limits<float>::max())) ThrowRangeError();
  return static_cast<float>(d);
}

bool ToBool(const Variant& value) {
  const Variant& v = value.Deref();
  if (const std::string* text = v.Get<std::string>()) {
    std::string t = kiv::Trim(*text);
    if (kiv::EqualsIgnoreCase(t, "true")) return true;
    if (kiv::EqualsIgnoreCase(t, "false")) return false;
    double d;
    if (ParseDouble(t, d)) return d != 0;
    Unconvertible(v, VarType::Bool);
  }
  if (const bool* b = v.Get<bool>()) return *b;
  return AsDouble(ReadNumber(v, VarType::Bool, false)) != 0;
}

std::string ToString(const Variant& value) {
  const Variant& v = value.Deref();
  switch (v.Type()) {
    case VarType::Empty: return std::string();
    case VarType::String: return *v.Get<std::string>();
    case VarType::Bool: return *v.Get<bool>() ? "True" : "False";
    case VarType::Single: return FormatDouble(*v.Get<float>());
    case VarType::Double: return FormatDouble(*v.Get<double>());
    case VarType::Currency: return FormatCurrency(*v.Get<Currency>());
    case VarType::Date: return FormatDate(*v.Get<Date>());
    case VarType::Dispatch: return ToString(DefaultValue(v, VarType::String));
    case VarType::Int8:
    case VarType::Int16:
    case VarType::Int32:
    case VarType::Int64:
    case VarType::UInt8:
    case VarType::UInt16:
    case VarType::UInt32: return std::to_string(ReadNumber(v, VarType::String, false).whole);
    default: Unconvertible(v, VarType::String);
  }
}

Date ToDate(const Variant& value) {
  const Variant& v = value.Deref();
  if (const Date* d = v.Get<Date>()) return *d;
  return Date{AsDouble(ReadNumber(v, VarType::Date, false))};
}

Currency ToCurrency(const Variant& value) {
  Number n = ReadNumber(value, VarType::Currency, false);
  double scaled = AsDouble(n) * 10000.0;
  if (const Currency* c = value.Deref().Get<Currency>()) return *c;
  return Currency{RoundHalfEven(scaled)};
}

ComPtr<IDispatch> ToDispatch(const Variant& value) {
  const Variant& v = value.Deref();
  if (v.IsEmpty()) return nullptr;
  if (v.Type() == VarType::Dispatch) return v.Dispatch();
  if (v.Type() == VarType::Unknown) {
    if (!v.UnknownPtr()) return nullptr;
    ComPtr<IDispatch> d = ComPtr<IUnknown>(v.UnknownPtr()).As<IDispatch>();
    if (d) return d;
  }
  Unconvertible(v, VarType::Dispatch);
}

Variant ChangeType(const Variant& value, VarType type) {
  const Variant& v = value.Deref();
  switch (type) {
    case VarType::Variant: return v;
    case VarType::Empty: return Variant();
    case VarType::Null: return Variant::Null();
    case VarType::Int8: return ToInt8(v);
    case VarType::Int16: return ToInt16(v);
    case VarType::Int32: return ToInt32(v);
    case VarType::Int64: return ToInt64(v);
    case VarType::UInt8: return ToUInt8(v);
    case VarType::UInt16: return ToUInt16(v);
    case VarType::UInt32: return ToUInt32(v);
    case VarType::Single: return ToSingle(v);
    case VarType::Double: return ToDouble(v);
    case VarType::Currency: return ToCurrency(v);
    case VarType::Date: return ToDate(v);
    case VarType::Bool: return ToBool(v);
    case VarType::String: return ToString(v);
    case VarType::Dispatch: return ToDispatch(v);
    case VarType::Unknown:
      if (v.IsObject() || v.IsEmpty()) return Variant::Unknown(v.UnknownPtr());
      break;
    case VarType::Error:
      if (v.Type() == VarType::Error) return v;
      break;
    case VarType::Array:
      if (v.IsArray()) return v;
      break;
    case VarType::ByRef: break;
  }
  Unconvertible(v, type);
}

std::string FormatDouble(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.15G", value);
  std::string text = buffer;
  // "1E+20" -> "1E20", "1.5E-07" -> "1.5E-7"
  size_t e = text.find('E');
  if (e == std::string::npos) return text;
  std::string mantissa = text.substr(0, e);
  std::string exponent = text.substr(e + 1);
  bool negative = !exponent.empty() && exponent[0] == '-';
  if (!exponent.empty() && (exponent[0] == '-' || exponent[0] == '+')) exponent.erase(0, 1);
  while (exponent.size() > 1 && exponent[0] == '0') exponent.erase(0, 1);
  return mantissa + "E" + (negative ? "-" : "") + exponent;
}

std::string FormatCurrency(Currency value) {
  int64_t scaled = value.scaled;
  bool negative = scaled < 0;
  unsigned long long magnitude =
      negative ? 0ull - static_cast<unsigned long long>(scaled) : static_cast<unsigned long long>(scaled);
  std::string text = std::to_string(magnitude / 10000);
  unsigned long long fraction = magnitude % 10000;
  if (fraction) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04llu", fraction);
    std::string f = digits;
    while (!f.empty() && f.back() == '0') f.pop_back();
    text += "." + f;
  }
  return negative ? "-" + text : text;
}

std::string FormatDate(Date value) {
  if (!std::isfinite(value.days)) ThrowRangeError();
  double wholeDays = std::floor(value.days);
  // Negative dates count whole days back and the time forward from midnight.
  double fraction = std::fabs(value.days - std::trunc(value.days));
  if (value.days < 0) wholeDays = std::trunc(value.days);
  int64_t seconds = static_cast<int64_t>(std::llround(fraction * 86400.0));
  if (seconds >= 86400) {
    seconds -= 86400;
    wholeDays += value.days < 0 ? -1 : 1;
  }
  // Days since 1899-12-30 to a civil date (proleptic Gregorian).
  int64_t z = static_cast<int64_t>(wholeDays) - 25569 + 719468;  // 1970-01-01 is day 25569
  int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  int64_t doe = z - era * 146097;
  int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  int64_t y = yoe + era * 400;
  int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  int64_t mp = (5 * doy + 2) / 153;
  int64_t d = doy - (153 * mp + 2) / 5 + 1;
  int64_t m = mp < 10 ? mp + 3 : mp - 9;
  if (m <= 2) ++y;
  char date[64];
  std::snprintf(date, sizeof date, "%04lld-%02lld-%02lld", static_cast<long long>(y), static_cast<long long>(m),
                static_cast<long long>(d));
  char time[64];
  std::snprintf(time, sizeof time, "%02lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
  if (wholeDays == 0 && seconds != 0) return time;
  if (seconds == 0) return date;
  return std::string(date) + " " + time;
}

}  // namespace automation
