// Conversions between straight-alpha 0xAARRGGBB colours (the GDI+ way of
// speaking about colour) and the premultiplied words that cairo stores.
// Both directions round to nearest (pixman's compositing rounds the same
// way; cairo's own solid colours are truncated and may be one step lower).
#pragma once

#include <cstdint>

namespace gdiplus {

namespace detail {
// unpremultiplyTable[a * 256 + c]: the straight channel for premultiplied
// channel c under alpha a (row 0 is all zero).
extern const uint8_t* const unpremultiplyTable;
}  // namespace detail

constexpr uint32_t AlphaOf(uint32_t argb) { return argb >> 24; }
constexpr uint32_t RedOf(uint32_t argb) { return (argb >> 16) & 0xFF; }
constexpr uint32_t GreenOf(uint32_t argb) { return (argb >> 8) & 0xFF; }
constexpr uint32_t BlueOf(uint32_t argb) { return argb & 0xFF; }
constexpr uint32_t MakeArgb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
  return (a << 24) | (r << 16) | (g << 8) | b;
}

// round(c * a / 255) for c, a in 0..255, without a division.
constexpr uint32_t MulDiv255(uint32_t c, uint32_t a) {
  uint32_t t = c * a + 0x80;
  return ((t >> 8) + t) >> 8;
}

constexpr uint32_t Premultiply(uint32_t argb) {
  uint32_t a = AlphaOf(argb);
  if (a == 255) return argb;
  if (a == 0) return 0;
  return MakeArgb(a, MulDiv255(RedOf(argb), a), MulDiv255(GreenOf(argb), a), MulDiv255(BlueOf(argb), a));
}

inline uint32_t Unpremultiply(uint32_t premultiplied) {
  uint32_t a = AlphaOf(premultiplied);
  if (a == 255) return premultiplied;
  if (a == 0) return 0;
  const uint8_t* row = detail::unpremultiplyTable + a * 256;
  return MakeArgb(a, row[RedOf(premultiplied)], row[GreenOf(premultiplied)], row[BlueOf(premultiplied)]);
}

}  // namespace gdiplus
