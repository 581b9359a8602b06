// Small text helpers shared by every layer. Trimming follows the classic
// rule of the system: every character with a code of 32 or below is a blank.
// Case-insensitive comparisons fold ASCII letters only.
#pragma once

#include <string>
#include <string_view>

namespace kiv {

std::string Trim(std::string_view text);
std::string TrimLeft(std::string_view text);
std::string TrimRight(std::string_view text);
bool IsBlank(std::string_view text);

std::string ToUpperAscii(std::string_view text);
std::string ToLowerAscii(std::string_view text);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
bool StartsWith(std::string_view text, std::string_view prefix);
bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix);
bool Contains(std::string_view text, std::string_view part);

}  // namespace kiv
