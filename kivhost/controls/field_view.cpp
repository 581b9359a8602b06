#include "kivhost/controls/field_view.h"

#include <algorithm>
#include <cmath>

#include "kivhost/controls/control_geometry.h"

namespace kivcontrols {

std::optional<FieldView> FieldView::Make(Control& c) {
  const Box box = ClosedBox(c);
  if (box.width <= 0 || box.height <= 0) return std::nullopt;
  const bool multi = c.kind == ControlKind::EditBox;
  const double inner = std::max(1.0, box.width - 2 * kFieldPadding);
  FieldView view(TextLayout(StyleOf(c), c.editor.Text(), c.password, multi ? inner : 0, !multi), box.width, box.height);
  if (multi) {
    PangoAlignment align = PANGO_ALIGN_LEFT;
    if (c.alignment & 4) align = PANGO_ALIGN_RIGHT;
    else if (c.alignment & 2) align = PANGO_ALIGN_CENTER;
    pango_layout_set_alignment(view.layout_.Get(), align);
  }
  view.Place(c);
  return view;
}

int FieldView::VisibleLines() const {
  return std::max(1, static_cast<int>((height_ - 2 * kFieldPadding) / layout_.LineHeight()));
}

void FieldView::Place(Control& c) {
  const TextLayout::Caret caret = layout_.CaretAt(c.editor.Caret());
  if (c.kind == ControlKind::EditBox) {
    const int caretLine = layout_.LineOf(c.editor.Caret());
    const int visible = VisibleLines();
    const int last = std::max(0, layout_.LineCount() - visible);
    c.topLine = std::clamp(c.topLine, 0, last);
    if (c.revealCaret) {
      if (caretLine < c.topLine) c.topLine = caretLine;
      if (caretLine >= c.topLine + visible) c.topLine = caretLine - visible + 1;
      c.revealCaret = false;
    }
    originX_ = kFieldPadding;
    originY_ = kFieldPadding - c.topLine * layout_.LineHeight();
    return;
  }
  // A text field: the text centred upright, and sideways so that the
  // caret shows; text that fits is placed by the alignment instead.
  const double inner = width_ - 2 * kFieldPadding - kCaretWidth;
  const double textWidth = layout_.Width();
  originY_ = std::floor((height_ - layout_.Height()) / 2);
  if (textWidth <= inner) {
    c.scrollX = 0;
    double offset = 0;
    if (c.alignment & 4) offset = inner - textWidth;
    else if (c.alignment & 2) offset = (inner - textWidth) / 2;
    originX_ = kFieldPadding + std::floor(offset);
  } else {
    c.scrollX = std::clamp(c.scrollX, 0.0, textWidth - inner);
    if (c.revealCaret) {
      if (caret.x < c.scrollX) c.scrollX = caret.x;
      if (caret.x > c.scrollX + inner) c.scrollX = caret.x - inner;
    }
    c.scrollX = std::floor(c.scrollX);
    originX_ = kFieldPadding - c.scrollX;
  }
  c.revealCaret = false;
  c.firstVisible = static_cast<int32_t>(layout_.IndexAt(c.scrollX, 0));
}

bool ScrollLines(Control& c, int lines) {
  auto view = FieldView::Make(c);
  if (!view) return false;
  const int last = std::max(0, view->Layout().LineCount() - view->VisibleLines());
  const int top = std::clamp(c.topLine + lines, 0, last);
  if (top == c.topLine) return false;
  c.topLine = top;
  return true;
}

}  // namespace kivcontrols
