// Helpers for the GDI+ stand-in tests: ink bounding boxes, and image files
// written on the spot (gdk-pixbuf's savers, and a small GIF writer since
// gdk-pixbuf cannot write GIF).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/gdiplus/bitmap.h"

namespace gdiplus_test {

// Bounding box of the pixels whose alpha is above minAlpha; right and
// bottom are exclusive. Empty when no pixel qualifies.
struct InkBox {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool Empty() const { return right <= left || bottom <= top; }
  double CenterX() const { return (left + right) / 2.0; }
  double CenterY() const { return (top + bottom) / 2.0; }
};
InkBox FindInk(const gdiplus::Bitmap& bitmap, uint32_t minAlpha = 0);

// Writes a width by height image whose straight-alpha colour at (x, y) is
// pixel(x, y) with gdk-pixbuf's saver for type ("png", "bmp", "jpeg", "ico").
// Without alpha the pixel's alpha is ignored. Returns false on failure.
bool SaveWithPixbuf(const std::string& path, const std::string& type, int width, int height, bool withAlpha,
                    const std::function<uint32_t(int, int)>& pixel);

// Writes a GIF89a with the given palette (at most 128 colours, 0x00RRGGBB)
// and one palette index per pixel, row by row; transparentIndex < 0 means no
// transparent colour.
bool WriteGif(const std::string& path, int width, int height, const std::vector<uint32_t>& palette,
              const std::vector<uint8_t>& indices, int transparentIndex);

}  // namespace gdiplus_test
