// Text fields and edit boxes: the caret by mouse and keys, typing, and the
// callbacks for changed text (129) and Enter (120). An edit box breaks
// lines with "\r\n", the text a script reads back with 115.
#include <algorithm>

#include "kivhost/controls/control_input.h"
#include "kivhost/controls/field_view.h"

namespace kivcontrols {
namespace {

void Moved(Control& c) {
  c.revealCaret = true;
  c.dirty = true;
}

void Changed(Control& c, Notices& notices) {
  Moved(c);
  notices.push_back({c.handle, kTextChanged});
}

// Up and Down by the lines as drawn (wrapped), keeping the caret's x.
void MoveLines(Control& c, int lines, bool shift) {
  auto view = FieldView::Make(c);
  if (!view) return;
  const TextLayout& layout = view->Layout();
  const size_t caret = c.editor.Caret();
  const int line = layout.LineOf(caret);
  const int target = line + lines;
  if (target < 0) c.editor.SetCaret(0, shift);
  else if (target >= layout.LineCount()) c.editor.SetCaret(c.editor.Text().size(), shift);
  else c.editor.SetCaret(layout.IndexOnLine(target, layout.CaretAt(caret).x), shift);
}

}  // namespace

void FieldMouseDown(Control& c, Point p, bool shift) {
  auto view = FieldView::Make(c);
  if (!view) return;
  c.editor.SetCaret(view->IndexAt(p.x, p.y), shift);
  Moved(c);
}

void FieldMouseDrag(Control& c, Point p) { FieldMouseDown(c, p, true); }

bool FieldKeyDown(Control& c, uint32_t key, bool shift, Notices& notices) {
  TextEditor& e = c.editor;
  const bool multi = c.kind == ControlKind::EditBox;
  switch (key) {
    case kVkLeft: e.Left(shift); break;
    case kVkRight: e.Right(shift); break;
    case kVkHome: e.Home(shift); break;
    case kVkEnd: e.End(shift); break;
    case kVkUp:
      if (!multi) return false;
      MoveLines(c, -1, shift);
      break;
    case kVkDown:
      if (!multi) return false;
      MoveLines(c, 1, shift);
      break;
    case kVkPrior:
    case kVkNext: {
      if (!multi) return false;
      auto view = FieldView::Make(c);
      const int page = view ? view->VisibleLines() : 1;
      MoveLines(c, key == kVkPrior ? -page : page, shift);
      break;
    }
    case kVkDelete:
      if (e.Delete()) Changed(c, notices);
      return true;
    default: return false;
  }
  Moved(c);
  return true;
}

bool FieldCharacter(Control& c, char32_t ch, Notices& notices) {
  TextEditor& e = c.editor;
  if (ch == kVkBack) {
    if (e.Backspace()) Changed(c, notices);
    return true;
  }
  if (ch == kVkReturn) {
    if (c.kind == ControlKind::EditBox && e.Insert(u"\r\n")) Changed(c, notices);
    notices.push_back({c.handle, kEnterKey});
    return true;
  }
  if (ch < 0x20 || ch == 0x7F || ch > 0x10FFFF || (ch >= 0xD800 && ch <= 0xDFFF)) return false;
  std::u16string unit;
  if (ch >= 0x10000) {
    unit.push_back(static_cast<char16_t>(0xD800 + ((ch - 0x10000) >> 10)));
    unit.push_back(static_cast<char16_t>(0xDC00 + ((ch - 0x10000) & 0x3FF)));
  } else {
    unit.push_back(static_cast<char16_t>(ch));
  }
  if (e.Insert(unit)) Changed(c, notices);
  return true;
}

bool FieldWheel(Control& c, int lines) {
  if (c.kind != ControlKind::EditBox) return false;
  if (ScrollLines(c, lines)) c.dirty = true;
  return true;
}

}  // namespace kivcontrols
