// The lookup table behind Unpremultiply.
#include "platform/gdiplus/pixel.h"

#include <array>

namespace gdiplus::detail {

namespace {

using Table = std::array<uint8_t, 256 * 256>;

constexpr Table BuildTable() {
  Table table{};
  for (uint32_t a = 1; a < 256; ++a) {
    for (uint32_t c = 0; c < 256; ++c) {
      // A premultiplied channel above its alpha is malformed input; it is
      // clamped instead of wrapping.
      uint32_t value = (c * 255 + a / 2) / a;
      table[a * 256 + c] = static_cast<uint8_t>(value > 255 ? 255 : value);
    }
  }
  return table;
}

// NOTE: built at compile time, so it is ready before any static
// initialiser of another file could convert a colour.
constexpr Table kTable = BuildTable();

}  // namespace

const uint8_t* const unpremultiplyTable = kTable.data();

}  // namespace gdiplus::detail
