// gdiplus::Graphics: drawing on a Bitmap (clear, scaled images, text,
// filled paths), a cairo context under a GDI+-shaped interface.
//
// Defaults follow GDI+: smoothing None (paths filled without
// antialiasing), bilinear interpolation. Text is always drawn with grey
// antialiasing and fixed hinting settings (see text_layout.h).
#pragma once

#include <cairo.h>

#include <string_view>

#include "platform/gdiplus/bitmap.h"
#include "platform/gdiplus/brush.h"
#include "platform/gdiplus/font.h"
#include "platform/gdiplus/graphics_path.h"
#include "platform/gdiplus/string_format.h"
#include "platform/gdiplus/types.h"

namespace gdiplus {

class Graphics {
 public:
  // The context holds its own reference on the bitmap's surface, so the
  // Graphics may outlive the Bitmap object.
  explicit Graphics(Bitmap& target);
  ~Graphics();
  Graphics(const Graphics&) = delete;
  Graphics& operator=(const Graphics&) = delete;

  void SetSmoothingMode(SmoothingMode mode) { smoothing_ = mode; }
  SmoothingMode GetSmoothingMode() const { return smoothing_; }
  void SetInterpolationMode(InterpolationMode mode) { interpolation_ = mode; }
  InterpolationMode GetInterpolationMode() const { return interpolation_; }

  // Every pixel becomes color (straight alpha), replacing what was there.
  void Clear(ARGB color);

  // Draws image scaled into the rectangle, composited over what is there.
  // Edge pixels are extended rather than faded into transparency, so a
  // scaled opaque image stays opaque up to its edges. An empty or
  // non-finite rectangle draws nothing.
  void DrawImage(const Bitmap& image, float x, float y, float width, float height);
  // At the image's own size.
  void DrawImage(const Bitmap& image, float x, float y);

  void FillRectangle(const SolidBrush& brush, const RectF& rect);

  // Text in layoutRect: wrapped to its width, placed by format, clipped to
  // the rectangle (a width or height of 0 or less leaves that direction
  // unbounded). An invalid font draws nothing.
  void DrawString(std::string_view text, const Font& font, const RectF& layoutRect, const StringFormat& format,
                  const SolidBrush& brush);

  // Logical size of the text on one line per paragraph (no wrapping), or
  // wrapped to maxWidth pixels. Zero for an invalid font.
  SizeF MeasureString(std::string_view text, const Font& font) const;
  SizeF MeasureString(std::string_view text, const Font& font, float maxWidth) const;

  // Fills the path's outlines with its fill mode; antialiased only with
  // SmoothingMode::AntiAlias.
  void FillPath(const SolidBrush& brush, const GraphicsPath& path);

  // The underlying context, for drawing that has no GDI+ counterpart here.
  cairo_t* Context() const { return cr_; }

 private:
  cairo_t* cr_;
  SmoothingMode smoothing_ = SmoothingMode::None;
  InterpolationMode interpolation_ = InterpolationMode::Bilinear;
};

}  // namespace gdiplus
