// Text laid out the GDI+ way with Pango, shared by Graphics (DrawString,
// MeasureString) and GraphicsPath (AddString): UTF-8 text (invalid bytes
// shown as U+FFFD), "\r\n" and "\n" breaking lines, wrapping at word
// boundaries to the layout rectangle's width (a word wider than the line
// breaks between characters), aligned in the rectangle by a StringFormat.
// A rectangle width or height of 0 or less means "unbounded" in that
// direction, and Center/Far then align on the rectangle's edge, as in GDI+.
#pragma once

#include <cairo.h>
#include <pango/pangocairo.h>

#include <memory>
#include <string_view>

#include "platform/gdiplus/font.h"
#include "platform/gdiplus/string_format.h"
#include "platform/gdiplus/types.h"

namespace gdiplus::detail {

struct GObjectUnref {
  void operator()(void* object) const { g_object_unref(object); }
};
using LayoutPtr = std::unique_ptr<PangoLayout, GObjectUnref>;

// Fixed font rendering settings (grey antialiasing, no hinting, unhinted
// metrics), so text looks and measures the same at every size and machine.
void ApplyTextOptions(cairo_t* cr);

// A layout of the text for drawing on cr; maxWidth <= 0 means no wrapping.
LayoutPtr CreateTextLayout(cairo_t* cr, std::string_view text, const Font& font, float maxWidth,
                           StringAlignment alignment);

// Where the layout's top-left goes so that it sits in rect as format says.
void LayoutOrigin(PangoLayout* layout, const RectF& rect, const StringFormat& format, double& x, double& y);

// The layout's logical size in pixels.
SizeF LayoutSize(PangoLayout* layout);

}  // namespace gdiplus::detail
