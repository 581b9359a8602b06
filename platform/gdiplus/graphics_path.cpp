// Rectangle outlines collected as cairo paths, and text kept laid out until
// its glyph outlines are wanted.
#include "platform/gdiplus/graphics_path.h"

#include <cmath>

#include "platform/gdiplus/text_layout.h"

namespace gdiplus {

namespace {

struct ContextFree {
  void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};

// NOTE: laying text out needs a context but draws nothing. The surface is
// unbounded on purpose: cairo drops every glyph whose origin lies more than
// ten em outside its target's extents, and on a small scratch image that
// once cut off the right-hand part of centred and right-aligned text. A
// recording surface without extents has no edges and records nothing here;
// its identity transform keeps the layout in pixels.
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
  TextPart part;
  part.layout = detail::CreateTextLayout(cr.get(), text, font, layoutRect.width, format.Alignment());
  detail::LayoutOrigin(part.layout.get(), layoutRect, format, part.x, part.y);

  const bool bounded = layoutRect.height > 0;
  const double bottom = static_cast<double>(layoutRect.y) + layoutRect.height;
  PangoLayoutIter* iter = pango_layout_get_iter(part.layout.get());
  do {
    PangoRectangle logical{};
    pango_layout_iter_get_line_extents(iter, nullptr, &logical);
    if (bounded && part.y + static_cast<double>(logical.y) / PANGO_SCALE >= bottom) break;
    ++part.lineCount;
  } while (pango_layout_iter_next_line(iter));
  pango_layout_iter_free(iter);
  if (part.lineCount > 0) parts_.emplace_back(std::move(part));
}

void GraphicsPath::AddRectangle(const RectF& rect) {
  if (!(std::isfinite(rect.x) && std::isfinite(rect.y) && std::isfinite(rect.width) && std::isfinite(rect.height))) {
    return;
  }
  auto cr = ScratchContext();
  cairo_rectangle(cr.get(), rect.x, rect.y, rect.width, rect.height);
  parts_.emplace_back(PathPtr(cairo_copy_path(cr.get())));
}

void GraphicsPath::AppendText(cairo_t* cr, const TextPart& text) {
  PangoLayoutIter* iter = pango_layout_get_iter(text.layout.get());
  for (int line = 0; line < text.lineCount; ++line) {
    PangoRectangle logical{};
    pango_layout_iter_get_line_extents(iter, nullptr, &logical);
    const double baseline = text.y + static_cast<double>(pango_layout_iter_get_baseline(iter)) / PANGO_SCALE;
    cairo_move_to(cr, text.x + static_cast<double>(logical.x) / PANGO_SCALE, baseline);
    pango_cairo_layout_line_path(cr, pango_layout_iter_get_line_readonly(iter));
    if (!pango_layout_iter_next_line(iter)) break;
  }
  pango_layout_iter_free(iter);
}

void GraphicsPath::AppendTo(cairo_t* cr) const {
  for (const auto& part : parts_) {
    if (const auto* path = std::get_if<PathPtr>(&part)) {
      cairo_append_path(cr, path->get());
    } else {
      AppendText(cr, std::get<TextPart>(part));
    }
  }
}

}  // namespace gdiplus
