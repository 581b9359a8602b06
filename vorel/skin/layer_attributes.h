// The conversions of a layer's attribute texts into record fields: colours,
// font style and alignment letters, cursors and clip rectangles. Layers,
// child layers and controls read their attributes through these, and the
// script-visible layer and control objects accept the same texts.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace vorel {

// Bits of TLayerObject::FontStyle.
enum FontStyleBits : uint8_t { StyleBold = 1, StyleItalic = 2, StyleUnderline = 4, StyleStrikeout = 8, StyleAntiAlias = 16 };
// Bits of TLayerObject::FontAlign.
enum FontAlignBits : uint8_t { AlignLeft = 1, AlignCenter = 2, AlignRight = 4, AlignTop = 8, AlignMiddle = 16, AlignBottom = 32 };

// A colour text: "cl" and a colour name, or "$"/"#" and RRGGBB in web order
// (stored red-low), or any other text, which is black. Null means the
// field keeps its default: an unknown name, or hexadecimal digits that do
// not read or read negative. The prefix test is case-sensitive.
std::optional<uint32_t> ColorFromText(std::string_view text);

// The sum of the letters B, I, U and S found anywhere (case-sensitive),
// plus StyleAntiAlias when antialias is on.
uint8_t FontStyleFromText(std::string_view text, bool antialias);

// The sum of the letters L, C, R, T, M and B; 9 (left and top) for an empty
// text, 0 for a text without any of them.
uint8_t FontAlignFromText(std::string_view text);

// A cursor text: "cr" and a library cursor name, "IDC" and a system cursor
// name, or a decimal number; null when it does not convert.
std::optional<uint16_t> CursorFromText(std::string_view text);

// "left,top,right,bottom"; anything but four integers gives all zero.
std::array<int32_t, 4> ClipSourceFromText(std::string_view text);

}  // namespace vorel
