// Image buttons (their pictures, or a plain button with a caption when the
// pictures are missing) and labels.
#include <cmath>

#include "kivhost/controls/control_painter.h"
#include "kivhost/controls/text_layout.h"
#include "platform/util/utf8.h"

namespace kivcontrols {
namespace {

// Shows text in the control's font, placed in the box by the alignment
// bits the layers use: 1 left, 2 centre, 4 right; 8 top, 16 middle,
// 32 bottom. No horizontal bit means left, no vertical bit top.
void AlignedText(cairo_t* cr, const Control& c, const std::u16string& text, double w, double h, uint32_t colour,
                 int32_t alignment) {
  const TextLayout layout(StyleOf(c), text, false, w, false);
  PangoAlignment align = PANGO_ALIGN_LEFT;
  if (alignment & 4) align = PANGO_ALIGN_RIGHT;
  else if (alignment & 2) align = PANGO_ALIGN_CENTER;
  pango_layout_set_alignment(layout.Get(), align);
  double y = 0;
  if (alignment & 32) y = h - layout.Height();
  else if (alignment & 16) y = (h - layout.Height()) / 2;
  cairo_save(cr);
  cairo_rectangle(cr, 0, 0, w, h);
  cairo_clip(cr);
  SetColour(cr, colour);
  cairo_move_to(cr, 0, std::floor(y));
  pango_cairo_show_layout(cr, layout.Get());
  cairo_restore(cr);
}

}  // namespace

std::string ButtonBaseName(const Control& c) {
  return c.editor.Text().empty() ? c.name : kiv::Utf16ToUtf8(c.editor.Text());
}

void PaintImageButton(cairo_t* cr, Control& c, const std::string& resourceFolder) {
  const Box box = ClosedBox(c);
  const std::string base = ButtonBaseName(c);
  const auto state = c.pressed && c.hover ? ImageCache::State::Down
                     : c.hover            ? ImageCache::State::Hover
                                          : ImageCache::State::Normal;
  if (cairo_surface_t* picture = c.images.Get(resourceFolder, base, state)) {
    const int pw = cairo_image_surface_get_width(picture), ph = cairo_image_surface_get_height(picture);
    if (pw <= 0 || ph <= 0) return;
    cairo_save(cr);
    cairo_scale(cr, box.width / pw, box.height / ph);
    cairo_set_source_surface(cr, picture, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_paint(cr);
    cairo_restore(cr);
    return;
  }
  const bool down = c.pressed && c.hover;
  Bevel(cr, 0, 0, box.width, box.height, down);
  cairo_save(cr);
  if (down) cairo_translate(cr, 1, 1);
  AlignedText(cr, c, kiv::Utf8ToUtf16(base), box.width, box.height, c.textColor, 2 | 16);
  cairo_restore(cr);
}

void PaintLabel(cairo_t* cr, const Control& c) {
  const Box box = ClosedBox(c);
  FillRect(cr, 0, 0, box.width, box.height, c.backColor);
  AlignedText(cr, c, c.editor.Text(), box.width, box.height, c.textColor, c.alignment);
}

}  // namespace kivcontrols
