// Drop-down lists: the closed box with the chosen item and the arrow
// button, and while open the list of items with the highlighted one.
#include <cmath>

#include "kivhost/controls/control_painter.h"
#include "kivhost/controls/text_layout.h"

namespace kivcontrols {
namespace {

constexpr double kTextInset = 3;

void ItemText(cairo_t* cr, const Control& c, const std::u16string& text, double x, double y, double w, double h,
              uint32_t colour) {
  const TextLayout layout(StyleOf(c), text, false, 0, true);
  pango_layout_set_ellipsize(layout.Get(), PANGO_ELLIPSIZE_END);
  pango_layout_set_width(layout.Get(), static_cast<int>(std::max(1.0, w - 2 * kTextInset) * PANGO_SCALE));
  cairo_save(cr);
  cairo_rectangle(cr, x, y, w, h);
  cairo_clip(cr);
  SetColour(cr, colour);
  cairo_move_to(cr, x + kTextInset, y + std::floor((h - layout.Height()) / 2));
  pango_cairo_show_layout(cr, layout.Get());
  cairo_restore(cr);
}

}  // namespace

void PaintDropDown(cairo_t* cr, Control& c) {
  const DropDownParts p = DropDownPartsOf(c);
  if (p.width <= 0 || p.boxHeight <= 0) return;
  const double y = p.boxTop, h = p.boxHeight, textWidth = p.width - p.button;
  FillRect(cr, 0, y, p.width, h, c.backColor);
  const bool chosen = c.selected >= 0 && c.selected < static_cast<int32_t>(c.items.size());
  // A focused closed list marks its item as a focused field does.
  const bool marked = c.focused && !c.open;
  if (marked) FillRect(cr, 2, y + 2, textWidth - 3, h - 4, kSelectionColour);
  if (chosen)
    ItemText(cr, c, c.items[c.selected], 1, y + 1, textWidth - 1, h - 2, marked ? kSelectionTextColour : c.textColor);
  FrameRect(cr, 0, y, p.width, h, kBorderColour);
  Bevel(cr, p.width - p.button, y, p.button, h, c.open);
  Arrow(cr, p.width - p.button / 2, y + h / 2, p.button / 3, false, kArrowColour);
  if (!c.open) return;

  FillRect(cr, 0, p.listTop, p.width, p.listHeight(), c.backColor);
  for (int row = 0; row < p.rows; ++row) {
    const int32_t index = c.listTop + row;
    if (index >= static_cast<int32_t>(c.items.size())) break;
    const double rowY = p.listTop + 1 + row * p.rowHeight;
    const bool lit = index == c.highlighted;
    if (lit) FillRect(cr, 1, rowY, p.width - 2, p.rowHeight, kSelectionColour);
    ItemText(cr, c, c.items[index], 1, rowY, p.width - 2, p.rowHeight, lit ? kSelectionTextColour : c.textColor);
  }
  FrameRect(cr, 0, p.listTop, p.width, p.listHeight(), kBorderColour);
}

}  // namespace kivcontrols
