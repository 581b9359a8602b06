#include "platform/scriptcontrol/vbscript/vb_convert.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "platform/automation/dispatch.h"
#include "platform/automation/dispatch_call.h"
#include "platform/automation/error_info.h"
#include "platform/automation/type_info.h"
#include "platform/automation/variant_convert.h"
#include "platform/scriptcontrol/vbscript/vb_date.h"
#include "platform/scriptcontrol/vbscript/vb_errors.h"
#include "platform/util/text.h"

namespace scriptcontrol::vbscript {

using automation::Currency;
using automation::Date;
using automation::Variant;
using automation::VarType;

namespace {

// A failed call of an object's member as the script sees it: errors the
// object raised in VBScript's own range (0x800A....) keep their number,
// the dispatch failures become the language's numbers, anything else
// keeps its result code and the object's description.
[[noreturn]] void ThrowDispatchFailure(automation::HRESULT hr) {
  std::optional<automation::ErrorInfo> info = automation::TakeErrorInfo();
  switch (hr) {
    case automation::DISP_E_MEMBERNOTFOUND:
    case automation::DISP_E_UNKNOWNNAME:
    case automation::E_NOTIMPL: Throw(kErrNoSuchMember);
    case automation::DISP_E_TYPEMISMATCH: Throw(kErrTypeMismatch);
    case automation::DISP_E_OVERFLOW: Throw(kErrOverflow);
    case automation::DISP_E_BADPARAMCOUNT: Throw(kErrWrongArgCount);
    case automation::DISP_E_PARAMNOTOPTIONAL: Throw(kErrNotOptional);
    case automation::DISP_E_BADINDEX: Throw(kErrSubscript);
    default: break;
  }
  if (info && info->code != 0 && info->code != hr && hr == automation::DISP_E_EXCEPTION) hr = info->code;
  int32_t number = hr;
  if ((static_cast<uint32_t>(hr) & 0xFFFF0000u) == 0x800A0000u) number = hr & 0xFFFF;
  std::string description = info && !info->description.empty() ? info->description
                            : number == hr                      ? automation::DescribeHResult(hr)
                                                                : std::string(ErrorText(number));
  throw VbError(number, std::move(description), info ? info->source : std::string());
}

automation::ComPtr<automation::IDispatch> DispatchOf(const Variant& v) {
  if (automation::IDispatch* d = v.Dispatch()) return automation::ComPtr<automation::IDispatch>(d);
  if (automation::IUnknown* u = v.UnknownPtr())
    return automation::ComPtr<automation::IUnknown>(u).As<automation::IDispatch>();
  return nullptr;
}

// The default member's value; objects it gives are followed in turn, a
// few levels deep, as a chain of default members reads.
Variant DefaultValue(const Variant& object) {
  Variant current = object;
  for (int depth = 0; depth < 8; ++depth) {
    automation::ComPtr<automation::IDispatch> d = DispatchOf(current);
    if (!d) Throw(kErrNoSuchMember);
    Variant result;
    automation::DispParams none;
    automation::HRESULT hr = d->Invoke(automation::DISPID_VALUE,
                                       automation::DISPATCH_PROPERTYGET | automation::DISPATCH_METHOD, none, &result);
    if (automation::Failed(hr)) ThrowDispatchFailure(hr);
    Variant value = result.Deref();
    if (!value.IsObject() || value.IsNothing()) return value;
    current = std::move(value);
  }
  Throw(kErrNoSuchMember);
}

std::optional<int64_t> ParseRadix(std::string_view digits, int base) {
  if (digits.empty()) return std::nullopt;
  uint64_t value = 0;
  for (char c : digits) {
    int digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else return std::nullopt;
    if (digit >= base) return std::nullopt;
    value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
    if (value > 0xFFFFFFFFu) return std::nullopt;
  }
  // Hexadecimal and octal numbers are 16- or 32-bit patterns: &HFFFF is -1.
  if (value >= 0x8000 && value <= 0xFFFF) return static_cast<int64_t>(value) - 0x10000;
  if (value >= 0x80000000u) return static_cast<int64_t>(value) - 0x100000000ll;
  return static_cast<int64_t>(value);
}

// A scalar (ValueOf's result, not Nothing) as a double; 94 for Null, 13
// for text that is no number and for arrays and error values.
double ScalarDouble(const Variant& v) {
  switch (v.Type()) {
    case VarType::Empty: return 0;
    case VarType::Null: Throw(kErrInvalidNull);
    case VarType::Bool: return *v.Get<bool>() ? -1 : 0;
    case VarType::Int8: return *v.Get<int8_t>();
    case VarType::Int16: return *v.Get<int16_t>();
    case VarType::Int32: return *v.Get<int32_t>();
    case VarType::Int64: return static_cast<double>(*v.Get<int64_t>());
    case VarType::UInt8: return *v.Get<uint8_t>();
    case VarType::UInt16: return *v.Get<uint16_t>();
    case VarType::UInt32: return *v.Get<uint32_t>();
    case VarType::Single: return *v.Get<float>();
    case VarType::Double: return *v.Get<double>();
    case VarType::Currency: return static_cast<double>(v.Get<Currency>()->scaled) / 10000.0;
    case VarType::Date: return v.Get<Date>()->days;
    case VarType::String: {
      std::optional<double> d = ParseVbNumber(*v.Get<std::string>());
      if (!d) Throw(kErrTypeMismatch);
      if (!std::isfinite(*d)) Throw(kErrOverflow);
      return *d;
    }
    default: Throw(kErrTypeMismatch);
  }
}

// Whole values exactly, others rounded half to even; 6 outside [lo, hi].
int64_t ScalarWhole(const Variant& v, int64_t lo, int64_t hi) {
  int64_t whole;
  switch (v.Type()) {
    case VarType::Int16: whole = *v.Get<int16_t>(); break;
    case VarType::Int32: whole = *v.Get<int32_t>(); break;
    case VarType::Int64: whole = *v.Get<int64_t>(); break;
    case VarType::UInt8: whole = *v.Get<uint8_t>(); break;
    case VarType::Currency: {
      // Half to even on the scaled value, exactly.
      int64_t s = v.Get<Currency>()->scaled;
      int64_t q = s / 10000, r = s % 10000;
      if (r > 5000 || (r == 5000 && q % 2 != 0)) ++q;
      if (r < -5000 || (r == -5000 && q % 2 != 0)) --q;
      whole = q;
      break;
    }
    default: {
      double d = std::nearbyint(ScalarDouble(v));
      if (!(d >= static_cast<double>(lo) && d <= static_cast<double>(hi))) Throw(kErrOverflow);
      whole = static_cast<int64_t>(d);
    }
  }
  if (whole < lo || whole > hi) Throw(kErrOverflow);
  return whole;
}

std::string ClassNameOf(automation::IDispatch* d) {
  const automation::InterfaceInfo* info = automation::TypeInfoOf(d);
  if (!info || info->Name().empty()) return "Object";
  std::string name = info->Name();
  // A class declared as a dual pair (interface "IName" documented as the
  // dispatch interface of "Name Object") reports the class's name.
  if (name.size() > 1 && name[0] == 'I' && info->Doc() == "Dispatch interface for " + name.substr(1) + " Object")
    return name.substr(1);
  if (name.size() > 1 && name[0] == '_') name.erase(0, 1);
  return name;
}

}  // namespace

Variant ValueOf(const Variant& v) {
  const Variant& value = v.Deref();
  if (!value.IsObject() || value.IsNothing()) return value;
  return DefaultValue(value);
}

Variant OperandValue(const Variant& v) {
  const Variant& value = v.Deref();
  if (value.IsNothing()) Throw(kErrObjectNotSet);
  if (!value.IsObject()) return value;
  return DefaultValue(value);
}

std::optional<double> ParseVbNumber(std::string_view text) {
  std::string t = kiv::Trim(text);
  if (t.empty()) return std::nullopt;
  if (t[0] == '&') {
    if (t.size() > 1 && (t[1] == 'h' || t[1] == 'H')) {
      std::optional<int64_t> v = ParseRadix(std::string_view(t).substr(2), 16);
      return v ? std::optional<double>(static_cast<double>(*v)) : std::nullopt;
    }
    size_t from = t.size() > 1 && (t[1] == 'o' || t[1] == 'O') ? 2 : 1;
    std::optional<int64_t> v = ParseRadix(std::string_view(t).substr(from), 8);
    return v ? std::optional<double>(static_cast<double>(*v)) : std::nullopt;
  }
  // Rebuild the number without group separators for strtod, checking the
  // shape as we go: sign, digits (commas between them), point, digits,
  // exponent.
  std::string clean;
  size_t i = 0;
  if (t[i] == '+' || t[i] == '-') clean += t[i++];
  size_t mantissaDigits = 0;
  for (; i < t.size() && ((t[i] >= '0' && t[i] <= '9') || (t[i] == ',' && mantissaDigits > 0)); ++i) {
    if (t[i] == ',') continue;
    clean += t[i];
    ++mantissaDigits;
  }
  if (i < t.size() && t[i] == '.') {
    clean += t[i++];
    for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i, ++mantissaDigits) clean += t[i];
  }
  if (mantissaDigits == 0) return std::nullopt;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E' || t[i] == 'd' || t[i] == 'D')) {
    clean += 'e';
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) clean += t[i++];
    size_t exponentDigits = 0;
    for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i, ++exponentDigits) clean += t[i];
    if (exponentDigits == 0) return std::nullopt;
  }
  if (i != t.size()) return std::nullopt;
  return std::strtod(clean.c_str(), nullptr);
}

std::optional<Date> ParseVbDate(std::string_view text) { return ParseDateText(text); }

std::string FormatVbNumber(double value, int digits) {
  if (value == 0) return "0";
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "Infinity" : "-Infinity";
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.*G", digits, value);
  return buffer;
}

std::string ToVbString(const Variant& v) {
  Variant x = OperandValue(v);
  switch (x.Type()) {
    case VarType::Empty: return std::string();
    case VarType::Null: Throw(kErrInvalidNull);
    case VarType::String: return *x.Get<std::string>();
    case VarType::Bool: return *x.Get<bool>() ? "True" : "False";
    case VarType::Single: return FormatVbNumber(*x.Get<float>(), 7);
    case VarType::Double: return FormatVbNumber(*x.Get<double>());
    case VarType::Currency: return automation::FormatCurrency(*x.Get<Currency>());
    case VarType::Date: return FormatGeneralDate(*x.Get<Date>());
    case VarType::Int8:
    case VarType::Int16:
    case VarType::Int32:
    case VarType::Int64:
    case VarType::UInt8:
    case VarType::UInt16:
    case VarType::UInt32: return std::to_string(static_cast<int64_t>(ScalarDouble(x)));
    default: Throw(kErrTypeMismatch);
  }
}

double ToVbDouble(const Variant& v) { return ScalarDouble(OperandValue(v)); }

int32_t ToVbLong(const Variant& v) {
  return static_cast<int32_t>(ScalarWhole(OperandValue(v), std::numeric_limits<int32_t>::min(),
                                          std::numeric_limits<int32_t>::max()));
}

int16_t ToVbInteger(const Variant& v) {
  return static_cast<int16_t>(ScalarWhole(OperandValue(v), std::numeric_limits<int16_t>::min(),
                                          std::numeric_limits<int16_t>::max()));
}

uint8_t ToVbByte(const Variant& v) { return static_cast<uint8_t>(ScalarWhole(OperandValue(v), 0, 255)); }

float ToVbSingle(const Variant& v) {
  double d = ToVbDouble(v);
  if (std::fabs(d) > static_cast<double>(std::numeric_limits<float>::max())) Throw(kErrOverflow);
  return static_cast<float>(d);
}

Currency ToVbCurrency(const Variant& v) {
  Variant x = OperandValue(v);
  if (const Currency* c = x.Get<Currency>()) return *c;
  double scaled = std::nearbyint(ScalarDouble(x) * 10000.0);
  // 2^63 as a double; the largest currency lies just below it.
  if (!(std::fabs(scaled) < 9223372036854775807.0)) Throw(kErrOverflow);
  return Currency{static_cast<int64_t>(scaled)};
}

bool ToVbBool(const Variant& v) {
  Variant x = OperandValue(v);
  if (const bool* b = x.Get<bool>()) return *b;
  if (const std::string* text = x.Get<std::string>()) {
    std::string t = kiv::Trim(*text);
    if (kiv::EqualsIgnoreCase(t, "true")) return true;
    if (kiv::EqualsIgnoreCase(t, "false")) return false;
    std::optional<double> d = ParseVbNumber(t);
    if (!d) Throw(kErrTypeMismatch);
    return *d != 0;
  }
  if (const Currency* c = x.Get<Currency>()) return c->scaled != 0;
  return ScalarDouble(x) != 0;
}

Date ToVbDate(const Variant& v) {
  Variant x = OperandValue(v);
  if (const Date* d = x.Get<Date>()) return *d;
  if (const std::string* text = x.Get<std::string>()) {
    std::optional<Date> d = ParseDateText(*text);
    if (!d) Throw(kErrTypeMismatch);
    return *d;
  }
  Date d{ScalarDouble(x)};
  if (!InVbDateRange(d)) Throw(kErrOverflow);
  return d;
}

bool IsVbNumeric(const Variant& v) {
  Variant x;
  try {
    x = ValueOf(v);
  } catch (const VbError& e) {
    // An object without a default value is simply not a number.
    if (e.Number() != kErrNoSuchMember) throw;
    return false;
  }
  switch (x.Type()) {
    case VarType::Empty:
    case VarType::Bool: return true;
    case VarType::String: {
      std::optional<double> d = ParseVbNumber(*x.Get<std::string>());
      return d && std::isfinite(*d);
    }
    default: return automation::IsNumericType(x.Type());
  }
}

std::string VbTypeName(const Variant& v) {
  const Variant& x = v.Deref();
  switch (x.Type()) {
    case VarType::Empty: return "Empty";
    case VarType::Null: return "Null";
    case VarType::Int16: return "Integer";
    case VarType::Int32: return "Long";
    case VarType::Single: return "Single";
    case VarType::Double: return "Double";
    case VarType::Currency: return "Currency";
    case VarType::Date: return "Date";
    case VarType::String: return "String";
    case VarType::Bool: return "Boolean";
    case VarType::UInt8: return "Byte";
    case VarType::Error: return "Error";
    case VarType::Array: return "Variant()";
    case VarType::Dispatch:
      if (x.IsNothing()) return "Nothing";
      return ClassNameOf(x.Dispatch());
    case VarType::Unknown: {
      if (x.IsNothing()) return "Nothing";
      automation::ComPtr<automation::IDispatch> d = DispatchOf(x);
      return d ? ClassNameOf(d.Get()) : "Unknown";
    }
    default: return automation::TypeName(x.Type());
  }
}

int32_t VbVarType(const Variant& v) {
  const Variant& x = v.Deref();
  if (x.IsObject()) {
    // An object with a default value reports that value's type.
    automation::ComPtr<automation::IDispatch> d = DispatchOf(x);
    if (!d) return static_cast<int32_t>(x.Type());
    Variant result;
    automation::DispParams none;
    if (automation::Failed(d->Invoke(automation::DISPID_VALUE,
                                     automation::DISPATCH_PROPERTYGET | automation::DISPATCH_METHOD, none, &result))) {
      // No default value: the failure is not the script's concern here.
      automation::ClearErrorInfo();
      return static_cast<int32_t>(VarType::Dispatch);
    }
    const Variant& value = result.Deref();
    return value.IsObject() ? static_cast<int32_t>(VarType::Dispatch) : VbVarType(value);
  }
  return static_cast<int32_t>(x.Type());
}

}  // namespace scriptcontrol::vbscript
