// UTF-8 and UTF-16 text: conversions for the places where the interfaces
// are wide, and cutting that never splits a UTF-8 sequence.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kiv {

// Invalid input bytes become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);
// A null pointer gives the empty string.
std::string Utf16ToUtf8(const char16_t* text);

// Appends one code point as UTF-8.
void AppendUtf8(std::string& out, char32_t codePoint);

// Number of code points.
size_t Utf8Length(std::string_view text);
// The longest prefix of at most maxBytes bytes that ends on a whole sequence.
std::string Utf8Prefix(std::string_view text, size_t maxBytes);
// The first maxChars code points.
std::string Utf8Left(std::string_view text, size_t maxChars);

}  // namespace kiv
