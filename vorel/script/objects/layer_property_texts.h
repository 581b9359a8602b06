// The texts through which scripts read and write a layer's colour, font
// style, alignment, cursor and clip rectangle. Unlike the skin's attribute
// readers, which keep a default for a text they cannot read, these fail
// with the conversion or range error the script then sees.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/automation/variant.h"

namespace vorel {

// "cl" and a colour name (or a decimal COLORREF), "$"/"#" and RRGGBB in web
// order, anything else black.
uint32_t ColorFromScriptText(const std::string& text);
// The colour's name, else "$" and the COLORREF as eight lower-case digits.
std::string ColorToScriptText(uint32_t color);

// The letters B, I, U, S of the set bits (the anti-alias bit is not shown).
std::string FontStyleToText(uint8_t style);
// The letters L, C, R, T, M, B of the set bits.
std::string FontAlignToText(uint8_t align);

// A "cr..." or "IDC_..." name or a decimal number in 16 bits.
uint16_t CursorFromScriptText(const std::string& text);
// Empty for a layer without a cursor, else its name or decimal number.
std::string CursorToScriptText(uint16_t cursor);

// A comma-separated text of at least four parts or an array of at least
// four elements; any other value gives four zeros.
std::array<int32_t, 4> ClipFromVariant(const automation::Variant& value);
automation::Variant ClipToVariant(const std::array<int32_t, 4>& clip);

}  // namespace vorel
