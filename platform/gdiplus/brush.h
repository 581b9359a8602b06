// gdiplus::SolidBrush: one straight-alpha 0xAARRGGBB colour to fill with.
#pragma once

#include <cairo.h>

#include "platform/gdiplus/bitmap.h"

namespace gdiplus {

class SolidBrush {
 public:
  explicit SolidBrush(ARGB color) : color_(color) {}
  ARGB Color() const { return color_; }
  void SetColor(ARGB color) { color_ = color; }

  // Makes this brush the source of a cairo context.
  void Apply(cairo_t* cr) const {
    cairo_set_source_rgba(cr, ((color_ >> 16) & 0xFF) / 255.0, ((color_ >> 8) & 0xFF) / 255.0,
                          (color_ & 0xFF) / 255.0, (color_ >> 24) / 255.0);
  }

 private:
  ARGB color_;
};

}  // namespace gdiplus
