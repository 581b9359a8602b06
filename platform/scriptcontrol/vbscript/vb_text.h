// Text as VBScript sees it: strings counted and indexed in UTF-16 code
// units (our variants hold UTF-8), letter case mapped for the Latin,
// Greek and Cyrillic alphabets, and the two comparisons, binary (by code
// unit) and text (ignoring case).
#pragma once

#include <string>
#include <string_view>

namespace scriptcontrol::vbscript {

char16_t LowerUnit(char16_t c);
char16_t UpperUnit(char16_t c);
std::u16string LowerUnits(std::u16string_view text);
std::u16string UpperUnits(std::u16string_view text);

// -1, 0 or 1.
int CompareUnits(std::u16string_view a, std::u16string_view b, bool textCompare);
int CompareText(std::string_view a, std::string_view b, bool textCompare);

// The first place of what at or after start (0-based), or npos.
size_t FindUnits(std::u16string_view text, std::u16string_view what, size_t start, bool textCompare);

}  // namespace scriptcontrol::vbscript
