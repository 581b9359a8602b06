// Pango layouts for GDI+-style text.
#include "platform/gdiplus/text_layout.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "platform/util/utf8.h"

namespace gdiplus::detail {

namespace {

// Pango needs valid UTF-8 without NULs; anything else is repaired here
// rather than handed on.
std::string CleanText(std::string_view text) {
  std::string clean;
  if (g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr)) {
    clean.assign(text);
  } else {
    clean = kiv::Utf16ToUtf8(kiv::Utf8ToUtf16(text));
  }
  std::erase(clean, '\0');
  return clean;
}

PangoAlignment ToPango(StringAlignment alignment) {
  switch (alignment) {
    case StringAlignment::Center:
      return PANGO_ALIGN_CENTER;
    case StringAlignment::Far:
      return PANGO_ALIGN_RIGHT;
    case StringAlignment::Near:
      break;
  }
  return PANGO_ALIGN_LEFT;
}

double AlignOffset(StringAlignment alignment, double extent, double used) {
  switch (alignment) {
    case StringAlignment::Center:
      return (extent - used) / 2;
    case StringAlignment::Far:
      return extent - used;
    case StringAlignment::Near:
      break;
  }
  return 0;
}

}  // namespace

void ApplyTextOptions(cairo_t* cr) {
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_subpixel_order(options, CAIRO_SUBPIXEL_ORDER_DEFAULT);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
}

LayoutPtr CreateTextLayout(cairo_t* cr, std::string_view text, const Font& font, float maxWidth,
                           StringAlignment alignment) {
  LayoutPtr layout(pango_cairo_create_layout(cr));
  PangoContext* context = pango_layout_get_context(layout.get());
  // NOTE: unrounded glyph positions keep measured widths proportional to the
  // font size; rounding them makes small text jump by whole pixels.
  pango_context_set_round_glyph_positions(context, FALSE);
  pango_layout_set_font_description(layout.get(), font.Description());
  const std::string clean = CleanText(text);
  pango_layout_set_text(layout.get(), clean.data(), static_cast<int>(clean.size()));
  if (std::isfinite(maxWidth) && maxWidth > 0) {
    pango_layout_set_width(layout.get(), static_cast<int>(std::lround(std::min(maxWidth, 1e6f) * PANGO_SCALE)));
    pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD_CHAR);
  }
  pango_layout_set_alignment(layout.get(), ToPango(alignment));
  if (font.IsUnderline() || font.IsStrikeout()) {
    PangoAttrList* attributes = pango_attr_list_new();
    if (font.IsUnderline()) pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    if (font.IsStrikeout()) pango_attr_list_insert(attributes, pango_attr_strikethrough_new(TRUE));
    pango_layout_set_attributes(layout.get(), attributes);
    pango_attr_list_unref(attributes);
  }
  return layout;
}

void LayoutOrigin(PangoLayout* layout, const RectF& rect, const StringFormat& format, double& x, double& y) {
  const SizeF size = LayoutSize(layout);
  x = rect.x;
  y = rect.y;
  // With a width the layout aligns its own lines; without one the whole
  // block is placed on the rectangle's left edge, centre or right edge.
  if (!(rect.width > 0)) x += AlignOffset(format.Alignment(), 0, size.width);
  y += AlignOffset(format.LineAlignment(), rect.height > 0 ? rect.height : 0, size.height);
}

SizeF LayoutSize(PangoLayout* layout) {
  PangoRectangle logical{};
  pango_layout_get_extents(layout, nullptr, &logical);
  return {static_cast<float>(logical.width) / PANGO_SCALE, static_cast<float>(logical.height) / PANGO_SCALE};
}

}  // namespace gdiplus::detail

