// Glyph and rectangle outlines collected as cairo paths.
#include "platform/gdiplus/graphics_path.h"

#include <cmath>

#include "platform/gdiplus/text_layout.h"

namespace gdiplus {

namespace {

struct ContextFree {
  void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};

// NOTE: building a path needs a context but draws nothing. The surface
// must be unbounded: cairo drops every glyph whose origin lies more than
// ten em outside the target's extents before it makes outlines, so on a
// small scratch image the right-hand part of centred or right-aligned text
// silently went missing (its underline, a plain rectangle, stayed whole).
// A recording surface without extents has no edges and records nothing
// here; its identity transform keeps outlines in pixels.
std::unique_ptr<cairo_t, ContextFree> ScratchContext() {
  cairo_surface_t* surface = cairo_recording_surface_create(CAIRO_CONTENT_ALPHA, nullptr);
  std::unique_ptr<cairo_t, ContextFree> cr(cairo_create(surface));
  cairo_surface_destroy(surface);
  return cr;
}

}  // namespace

void GraphicsPath::AddString(std::string_view text, const FontFamily& family, int style, float emSize,
                             const RectF& layoutRect, const StringFormat& format) {
  Font font(family, emSize, style);
  if (!font.IsValid() || text.empty()) return;
  auto cr = ScratchContext();
  detail::ApplyTextOptions(cr.get());
  detail::LayoutPtr layout =
      detail::CreateTextLayout(cr.get(), text, font, layoutRect.width, format.Alignment());
  double x = 0;
  double y = 0;
  detail::LayoutOrigin(layout.get(), layoutRect, format, x, y);

  const bool bounded = layoutRect.height > 0;
  const double bottom = static_cast<double>(layoutRect.y) + layoutRect.height;
  PangoLayoutIter* iter = pango_layout_get_iter(layout.get());
  do {
    PangoRectangle logical{};
    pango_layout_iter_get_line_extents(iter, nullptr, &logical);
    const double lineTop = y + static_cast<double>(logical.y) / PANGO_SCALE;
    if (bounded && lineTop >= bottom) break;
    const double baseline = y + static_cast<double>(pango_layout_iter_get_baseline(iter)) / PANGO_SCALE;
    cairo_move_to(cr.get(), x + static_cast<double>(logical.x) / PANGO_SCALE, baseline);
    pango_cairo_layout_line_path(cr.get(), pango_layout_iter_get_line_readonly(iter));
  } while (pango_layout_iter_next_line(iter));
  pango_layout_iter_free(iter);

  cairo_path_t* path = cairo_copy_path(cr.get());
  if (path->status == CAIRO_STATUS_SUCCESS && path->num_data > 0) {
    parts_.emplace_back(path);
  } else {
    cairo_path_destroy(path);
  }
}

void GraphicsPath::AddRectangle(const RectF& rect) {
  if (!(std::isfinite(rect.x) && std::isfinite(rect.y) && std::isfinite(rect.width) && std::isfinite(rect.height))) {
    return;
  }
  auto cr = ScratchContext();
  cairo_rectangle(cr.get(), rect.x, rect.y, rect.width, rect.height);
  parts_.emplace_back(cairo_copy_path(cr.get()));
}

void GraphicsPath::AppendTo(cairo_t* cr) const {
  for (const auto& part : parts_) cairo_append_path(cr, part.get());
}

}  // namespace gdiplus
