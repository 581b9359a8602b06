// Text fields and edit boxes: background, frame, selection, text, caret.
#include <algorithm>
#include <cmath>

#include "kivhost/controls/control_painter.h"
#include "kivhost/controls/field_view.h"

namespace kivcontrols {
namespace {

// The selection's rectangles, one per line it touches, in layout pixels.
void SelectionPath(cairo_t* cr, const TextLayout& layout, size_t start, size_t end) {
  const int first = layout.LineOf(start), last = layout.LineOf(end);
  for (int line = first; line <= last; ++line) {
    const TextLayout::LineBox box = layout.BoxOfLine(line);
    double x0 = box.x, x1 = box.x + box.width;
    if (line == first) x0 = layout.CaretAt(start).x;
    if (line == last) x1 = layout.CaretAt(end).x;
    // A line break inside the selection shows as a little room after the
    // line's text.
    else x1 += box.height / 4;
    if (x1 > x0) cairo_rectangle(cr, x0, box.y, x1 - x0, box.height);
  }
}

void PaintField(cairo_t* cr, Control& c) {
  auto view = FieldView::Make(c);
  if (!view) return;
  const double w = view->Width(), h = view->Height();
  FillRect(cr, 0, 0, w, h, c.backColor);
  FrameRect(cr, 0, 0, w, h, kBorderColour);

  cairo_save(cr);
  // An edit box shows whole lines only where its padding ends, so that a
  // line scrolled out does not peek in at the top.
  const double inset = c.kind == ControlKind::EditBox ? kFieldPadding : 1;
  cairo_rectangle(cr, 1, inset, w - 2, h - 2 * inset);
  cairo_clip(cr);
  cairo_translate(cr, view->OriginX(), view->OriginY());
  const TextLayout& layout = view->Layout();
  SetColour(cr, c.textColor);
  cairo_move_to(cr, 0, 0);
  pango_cairo_show_layout(cr, layout.Get());

  const TextEditor& e = c.editor;
  // NOTE: as with the system's own edit fields, a field without the focus
  // keeps its selection but does not show it.
  if (c.focused && e.HasSelection()) {
    // The selected part again, in the selection's colours, clipped to it.
    cairo_save(cr);
    SelectionPath(cr, layout, e.SelectionStart(), e.SelectionEnd());
    cairo_clip_preserve(cr);
    SetColour(cr, kSelectionColour);
    cairo_fill(cr);
    SetColour(cr, kSelectionTextColour);
    cairo_move_to(cr, 0, 0);
    pango_cairo_show_layout(cr, layout.Get());
    cairo_restore(cr);
  }
  if (c.focused) {
    const TextLayout::Caret caret = layout.CaretAt(e.Caret());
    FillRect(cr, std::floor(caret.x), caret.y, kCaretWidth, caret.height, c.textColor);
  }
  cairo_restore(cr);
}

}  // namespace

void PaintTextField(cairo_t* cr, Control& c) { PaintField(cr, c); }
void PaintEditBox(cairo_t* cr, Control& c) { PaintField(cr, c); }

}  // namespace kivcontrols
