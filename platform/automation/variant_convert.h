// Conversions of variants to the C++ types members take, with the system's
// fixed failures: a value outside the target's range fails with "Range
// check error", text that is no integer with "'%s' is not a valid integer
// value", and anything that has no conversion (Null, an omitted argument,
// an array) with "Could not convert variant of type (%s) into type (%s)".
// Floating values become integers by rounding half to even. By-reference
// variants convert the value they refer to; an object converts through its
// default member (DISPID_VALUE).
#pragma once

#include <cstdint>
#include <string>

#include "platform/automation/dispatch.h"
#include "platform/automation/variant.h"

namespace automation {

int8_t ToInt8(const Variant& v);
int16_t ToInt16(const Variant& v);
int32_t ToInt32(const Variant& v);
int64_t ToInt64(const Variant& v);
uint8_t ToUInt8(const Variant& v);
uint16_t ToUInt16(const Variant& v);
uint32_t ToUInt32(const Variant& v);
double ToDouble(const Variant& v);
float ToSingle(const Variant& v);
bool ToBool(const Variant& v);
std::string ToString(const Variant& v);
Date ToDate(const Variant& v);
Currency ToCurrency(const Variant& v);
// Empty and Nothing give null.
ComPtr<IDispatch> ToDispatch(const Variant& v);

// The value converted to another type; VarType::Variant gives the
// dereferenced value itself.
Variant ChangeType(const Variant& v, VarType type);

// Half to even; a value that is not finite or beyond 64 bits fails with
// "Range check error".
int64_t RoundHalfEven(double value);

// 15 significant digits, as the system writes floating values ("0.1",
// "1E20", "1.5E-7", "NAN", "INF").
std::string FormatDouble(double value);
// Up to four decimals ("12.5").
std::string FormatCurrency(Currency value);
// "YYYY-MM-DD", "HH:MM:SS" or both, leaving out a zero date or time part.
std::string FormatDate(Date value);

}  // namespace automation
