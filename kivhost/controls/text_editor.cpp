#include "kivhost/controls/text_editor.h"

#include <algorithm>

namespace kivcontrols {
namespace {

bool IsHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool IsBreak(char16_t c) { return c == u'\r' || c == u'\n'; }

}  // namespace

void TextEditor::SetText(std::u16string text) {
  text_ = std::move(text);
  Collapse(text_.size());
}

bool TextEditor::IsBoundary(size_t pos) const {
  if (pos == 0 || pos >= text_.size()) return pos <= text_.size();
  const char16_t before = text_[pos - 1], after = text_[pos];
  if (IsHigh(before) && IsLow(after)) return false;
  return !(before == u'\r' && after == u'\n');
}

size_t TextEditor::PreviousBoundary(size_t pos) const {
  pos = std::min(pos, text_.size());
  if (pos == 0) return 0;
  --pos;
  while (pos > 0 && !IsBoundary(pos)) --pos;
  return pos;
}

size_t TextEditor::NextBoundary(size_t pos) const {
  if (pos >= text_.size()) return text_.size();
  ++pos;
  while (pos < text_.size() && !IsBoundary(pos)) ++pos;
  return pos;
}

void TextEditor::SetCaret(size_t pos, bool extend) {
  pos = std::min(pos, text_.size());
  while (!IsBoundary(pos)) --pos;
  caret_ = pos;
  if (!extend) anchor_ = pos;
}

void TextEditor::SelectAll() {
  anchor_ = 0;
  caret_ = text_.size();
}

void TextEditor::EraseSelection() {
  const size_t start = SelectionStart();
  text_.erase(start, SelectionEnd() - start);
  Collapse(start);
}

bool TextEditor::Insert(std::u16string_view text) {
  if (readOnly || (text.empty() && !HasSelection())) return false;
  EraseSelection();
  text_.insert(caret_, text);
  Collapse(caret_ + text.size());
  return true;
}

bool TextEditor::Backspace() {
  if (readOnly) return false;
  if (HasSelection()) {
    EraseSelection();
    return true;
  }
  if (caret_ == 0) return false;
  anchor_ = PreviousBoundary(caret_);
  EraseSelection();
  return true;
}

bool TextEditor::Delete() {
  if (readOnly) return false;
  if (HasSelection()) {
    EraseSelection();
    return true;
  }
  if (caret_ >= text_.size()) return false;
  anchor_ = NextBoundary(caret_);
  EraseSelection();
  return true;
}

void TextEditor::Left(bool extend) {
  if (!extend && HasSelection()) return Collapse(SelectionStart());
  SetCaret(PreviousBoundary(caret_), extend);
}

void TextEditor::Right(bool extend) {
  if (!extend && HasSelection()) return Collapse(SelectionEnd());
  SetCaret(NextBoundary(caret_), extend);
}

void TextEditor::Home(bool extend) { SetCaret(LineStart(LineOf(caret_)), extend); }
void TextEditor::End(bool extend) { SetCaret(LineEnd(LineOf(caret_)), extend); }

void TextEditor::Up(bool extend) {
  const size_t line = LineOf(caret_);
  if (line == 0) return SetCaret(0, extend);
  const size_t column = ColumnOf(caret_);
  SetCaret(std::min(LineStart(line - 1) + column, LineEnd(line - 1)), extend);
}

void TextEditor::Down(bool extend) {
  const size_t line = LineOf(caret_);
  if (line + 1 >= LineCount()) return SetCaret(text_.size(), extend);
  const size_t column = ColumnOf(caret_);
  SetCaret(std::min(LineStart(line + 1) + column, LineEnd(line + 1)), extend);
}

size_t TextEditor::LineCount() const { return LineOf(text_.size()) + 1; }

size_t TextEditor::LineOf(size_t pos) const {
  pos = std::min(pos, text_.size());
  size_t line = 0;
  for (size_t i = 0; i < pos; ++i) {
    if (text_[i] == u'\n' || (text_[i] == u'\r' && (i + 1 >= text_.size() || text_[i + 1] != u'\n'))) ++line;
  }
  return line;
}

size_t TextEditor::LineStart(size_t line) const {
  size_t i = 0;
  for (size_t seen = 0; seen < line && i < text_.size(); ++i) {
    if (text_[i] == u'\r' && i + 1 < text_.size() && text_[i + 1] == u'\n') ++i;
    if (IsBreak(text_[i])) ++seen;
  }
  return i;
}

size_t TextEditor::LineEnd(size_t line) const {
  size_t i = LineStart(line);
  while (i < text_.size() && !IsBreak(text_[i])) ++i;
  return i;
}

}  // namespace kivcontrols
