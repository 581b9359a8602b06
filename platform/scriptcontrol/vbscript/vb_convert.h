// Conversions with VBScript's rules, for the interpreter and the built-in
// functions: what CStr, CDbl, CLng, CBool and CDate give, which strings are
// numbers or dates, and the names TypeName and VarType report. They follow
// by-reference variants and read an object's default member
// (DISPID_VALUE). Failures throw VbError: 13 "Type mismatch" for a value
// that has no such conversion, 94 "Invalid use of Null", 6 "Overflow".
//
// Text is written as an English-locale (United States) system writes it:
// "True"/"False", dates "12/8/2026", "3:04:05 PM", "12/8/2026 3:04:05 PM",
// numbers with up to 15 significant digits ("0.1", "1E+20", "-1.5E-07").
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/automation/variant.h"

namespace scriptcontrol::vbscript {

// The value itself: by-reference variants followed, objects (not Nothing)
// replaced by their default member's value (438 when they have none).
// Nothing stays Nothing.
automation::Variant ValueOf(const automation::Variant& v);

// ValueOf for the places that need a value: Nothing fails with 91
// "Object variable not set".
automation::Variant OperandValue(const automation::Variant& v);

std::string ToVbString(const automation::Variant& v);  // CStr; Empty gives ""
double ToVbDouble(const automation::Variant& v);       // CDbl; Empty gives 0
int32_t ToVbLong(const automation::Variant& v);        // CLng; half to even
int16_t ToVbInteger(const automation::Variant& v);     // CInt
bool ToVbBool(const automation::Variant& v);           // CBool; "True"/"False" and numbers
uint8_t ToVbByte(const automation::Variant& v);        // CByte; half to even
float ToVbSingle(const automation::Variant& v);        // CSng
automation::Currency ToVbCurrency(const automation::Variant& v);  // CCur; four decimals, half to even
automation::Date ToVbDate(const automation::Variant& v);  // CDate

// The number a string reads as, VBScript's way (blanks around it, a sign,
// decimals, an exponent, "&H1F", "&O17"); nothing when it is no number.
std::optional<double> ParseVbNumber(std::string_view text);
// A date or time in the forms CDate reads ("12/8/2026", "2026-12-08",
// "8 Dec 2026", "15:04", "3:04 PM" and both together).
std::optional<automation::Date> ParseVbDate(std::string_view text);

// CStr's text of a floating value: "digits" significant digits (15 for
// Double, 7 for Single), exponent form beyond them ("1E+20", "1.5E-07").
std::string FormatVbNumber(double value, int digits = 15);

// IsNumeric: numbers, Empty, booleans and numeric strings.
bool IsVbNumeric(const automation::Variant& v);

// TypeName's and VarType's answers ("Integer", "String", "Variant()",
// "Nothing", an object's class name from its type information, "Object"
// when it has none; VarType 8204 for an array of variants).
std::string VbTypeName(const automation::Variant& v);
int32_t VbVarType(const automation::Variant& v);

}  // namespace scriptcontrol::vbscript
