// Version numbers as the update check compares them: a version a.b.c.d is
// the decimal number made of its four parts, each written with three
// digits (1.0.1.0 is 001 000 001 000, that is 1000001000).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace vorel {

// The version this plug-in is, as text and as a number.
inline constexpr const char* kRunningVersionText = "1.0.1.0";
inline constexpr uint64_t kRunningVersion = 1000001000;

// The number of a version text; nothing unless the text is exactly four
// parts of one to three decimal digits each, separated by ".": a part of
// 1000 would run into the part before it, and a version of fewer parts is
// one this comparison cannot place.
std::optional<uint64_t> VersionNumber(std::string_view text);

}  // namespace vorel
