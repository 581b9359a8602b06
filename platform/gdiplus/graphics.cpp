// Graphics operations on a bitmap's cairo surface.
#include "platform/gdiplus/graphics.h"

#include <cmath>
#include <memory>
#include <stdexcept>

#include "platform/gdiplus/text_layout.h"

namespace gdiplus {

namespace {

bool Finite(float a, float b, float c, float d) {
  return std::isfinite(a) && std::isfinite(b) && std::isfinite(c) && std::isfinite(d);
}

cairo_filter_t FilterFor(InterpolationMode mode) {
  switch (mode) {
    case InterpolationMode::NearestNeighbor:
      return CAIRO_FILTER_NEAREST;
    case InterpolationMode::HighQualityBicubic:
      // NOTE: cairo's best filter is a separable cubic/Lanczos convolution
      // that also averages properly when shrinking, which bilinear does not.
      return CAIRO_FILTER_BEST;
    case InterpolationMode::Bilinear:
      break;
  }
  return CAIRO_FILTER_BILINEAR;
}

// Keeps the context's state changes local to one operation.
class SavedState {
 public:
  explicit SavedState(cairo_t* cr) : cr_(cr) { cairo_save(cr_); }
  ~SavedState() { cairo_restore(cr_); }
  SavedState(const SavedState&) = delete;
  SavedState& operator=(const SavedState&) = delete;

 private:
  cairo_t* cr_;
};

}  // namespace

Graphics::Graphics(Bitmap& target) : cr_(cairo_create(target.Surface())) {
  if (cairo_status(cr_) != CAIRO_STATUS_SUCCESS) {
    cairo_destroy(cr_);
    throw std::runtime_error("cannot draw on this bitmap");
  }
  detail::ApplyTextOptions(cr_);
}

Graphics::~Graphics() {
  cairo_surface_flush(cairo_get_target(cr_));
  cairo_destroy(cr_);
}

void Graphics::Clear(ARGB color) {
  SavedState state(cr_);
  cairo_set_operator(cr_, CAIRO_OPERATOR_SOURCE);
  SolidBrush(color).Apply(cr_);
  cairo_paint(cr_);
}

void Graphics::DrawImage(const Bitmap& image, float x, float y, float width, float height) {
  if (!Finite(x, y, width, height) || !(width > 0) || !(height > 0)) return;
  // NOTE: drawing a surface onto itself reads pixels it has already
  // written; a copy keeps the source intact.
  std::unique_ptr<Bitmap> copy;
  const Bitmap* source = &image;
  if (image.Surface() == cairo_get_target(cr_)) {
    copy = image.Clone();
    source = copy.get();
  }
  SavedState state(cr_);
  cairo_rectangle(cr_, x, y, width, height);
  cairo_clip(cr_);
  cairo_translate(cr_, x, y);
  cairo_scale(cr_, static_cast<double>(width) / source->Width(), static_cast<double>(height) / source->Height());
  cairo_set_source_surface(cr_, source->Surface(), 0, 0);
  cairo_pattern_t* pattern = cairo_get_source(cr_);
  cairo_pattern_set_filter(pattern, FilterFor(interpolation_));
  cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
  cairo_paint(cr_);
}

void Graphics::DrawImage(const Bitmap& image, float x, float y) {
  DrawImage(image, x, y, static_cast<float>(image.Width()), static_cast<float>(image.Height()));
}

void Graphics::FillRectangle(const SolidBrush& brush, const RectF& rect) {
  if (!Finite(rect.x, rect.y, rect.width, rect.height)) return;
  SavedState state(cr_);
  cairo_set_antialias(cr_, smoothing_ == SmoothingMode::AntiAlias ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
  cairo_rectangle(cr_, rect.x, rect.y, rect.width, rect.height);
  brush.Apply(cr_);
  cairo_fill(cr_);
}

void Graphics::DrawString(std::string_view text, const Font& font, const RectF& layoutRect,
                          const StringFormat& format, const SolidBrush& brush) {
  if (!font.IsValid() || text.empty() || !Finite(layoutRect.x, layoutRect.y, layoutRect.width, layoutRect.height)) {
    return;
  }
  SavedState state(cr_);
  if (layoutRect.width > 0 || layoutRect.height > 0) {
    // An unbounded direction gets a clip far larger than any bitmap.
    constexpr double kFar = 1e7;
    const double left = layoutRect.width > 0 ? layoutRect.x : -kFar;
    const double top = layoutRect.height > 0 ? layoutRect.y : -kFar;
    const double width = layoutRect.width > 0 ? layoutRect.width : 2 * kFar;
    const double height = layoutRect.height > 0 ? layoutRect.height : 2 * kFar;
    cairo_rectangle(cr_, left, top, width, height);
    cairo_clip(cr_);
  }
  detail::LayoutPtr layout = detail::CreateTextLayout(cr_, text, font, layoutRect.width, format.Alignment());
  double x = 0;
  double y = 0;
  detail::LayoutOrigin(layout.get(), layoutRect, format, x, y);
  brush.Apply(cr_);
  cairo_move_to(cr_, x, y);
  pango_cairo_show_layout(cr_, layout.get());
}

SizeF Graphics::MeasureString(std::string_view text, const Font& font) const {
  return MeasureString(text, font, 0);
}

SizeF Graphics::MeasureString(std::string_view text, const Font& font, float maxWidth) const {
  if (!font.IsValid() || text.empty()) return {};
  detail::LayoutPtr layout = detail::CreateTextLayout(cr_, text, font, maxWidth, StringAlignment::Near);
  return detail::LayoutSize(layout.get());
}

void Graphics::FillPath(const SolidBrush& brush, const GraphicsPath& path) {
  if (path.IsEmpty()) return;
  SavedState state(cr_);
  cairo_new_path(cr_);
  path.AppendTo(cr_);
  cairo_set_fill_rule(cr_, path.GetFillMode() == FillMode::Winding ? CAIRO_FILL_RULE_WINDING
                                                                     : CAIRO_FILL_RULE_EVEN_ODD);
  cairo_set_antialias(cr_, smoothing_ == SmoothingMode::AntiAlias ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
  brush.Apply(cr_);
  cairo_fill(cr_);
}

}  // namespace gdiplus
