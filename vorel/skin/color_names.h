// The colour names skins write ("clRed", "clBtnFace" ...) and their values
// in COLORREF layout (red in the low byte). System colours are stored as
// their index plus kSystemColorFlag and become a real colour only when drawn.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace vorel {

inline constexpr uint32_t kSystemColorFlag = 0xFF000000;

// The value of a colour name, compared without regard to case.
std::optional<uint32_t> ColorFromName(std::string_view name);
// The first name of a value ("clRed" for 255), if it has one.
std::optional<std::string_view> NameOfColor(uint32_t value);
// A stored colour as red, green and blue in COLORREF layout: system colours
// are looked up, other values keep their low 24 bits.
uint32_t ColorToRgb(uint32_t value);

}  // namespace vorel
