// Plain value types and modes of the GDI+ stand-in: rectangles and sizes in
// float pixels, and the drawing modes a Graphics or StringFormat takes.
#pragma once

#include <cstdint>

namespace gdiplus {

struct RectF {
  float x = 0;
  float y = 0;
  float width = 0;
  float height = 0;
};

struct SizeF {
  float width = 0;
  float height = 0;
};

// Style bits of a Font, as GDI+ numbers them.
enum FontStyle : int {
  FontStyleRegular = 0,
  FontStyleBold = 1,
  FontStyleItalic = 2,
  FontStyleUnderline = 4,
  FontStyleStrikeout = 8,
};
constexpr int kFontStyleMask = 15;

enum class StringAlignment { Near, Center, Far };

enum class SmoothingMode { None, AntiAlias };

enum class InterpolationMode { NearestNeighbor, Bilinear, HighQualityBicubic };

// How overlapping outlines of a path are filled: Alternate is even-odd
// (the GDI+ default), Winding is non-zero.
enum class FillMode { Alternate, Winding };

}  // namespace gdiplus
