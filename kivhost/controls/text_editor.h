// TextEditor: the text of a text field or edit box with its caret and
// selection, and the edits a user makes on it. Positions are UTF-16
// offsets, the units the plug-in reads the text in; a position never falls
// inside a surrogate pair or between the "\r" and "\n" of a line break.
// Nothing here knows how the text is drawn, so line movement that depends
// on wrapping is left to the caller (SetCaret with a position it found).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kivcontrols {

class TextEditor {
 public:
  // Replaces the whole text; the caret goes to its end, the selection is
  // dropped.
  void SetText(std::u16string text);
  const std::u16string& Text() const { return text_; }

  size_t Caret() const { return caret_; }
  size_t Anchor() const { return anchor_; }
  size_t SelectionStart() const { return caret_ < anchor_ ? caret_ : anchor_; }
  size_t SelectionEnd() const { return caret_ < anchor_ ? anchor_ : caret_; }
  bool HasSelection() const { return caret_ != anchor_; }

  // Moves the caret to the nearest boundary at or before `pos`; with
  // `extend` the anchor stays, so the selection grows or shrinks.
  void SetCaret(size_t pos, bool extend);
  void SelectAll();

  // Edits; each gives true when the text changed. A read-only editor
  // refuses them all. Typing replaces the selection.
  bool Insert(std::u16string_view text);
  bool Backspace();
  bool Delete();

  // Caret movement. Without `extend`, Left and Right on a selection
  // collapse it to its start or end, as the common edit controls do.
  void Left(bool extend);
  void Right(bool extend);
  // Start and end of the caret's line; a single-line editor has one line.
  void Home(bool extend);
  void End(bool extend);
  // Previous and next line at the same column, lines as the text breaks
  // them (no wrapping).
  void Up(bool extend);
  void Down(bool extend);

  // Lines as the text breaks them: "\r\n", "\n" and a lone "\r" each end
  // one.
  size_t LineCount() const;
  size_t LineOf(size_t pos) const;
  size_t LineStart(size_t line) const;
  size_t LineEnd(size_t line) const;  // before the line break
  size_t ColumnOf(size_t pos) const { return pos - LineStart(LineOf(pos)); }

  // True when a caret may stand at `pos`.
  bool IsBoundary(size_t pos) const;
  size_t PreviousBoundary(size_t pos) const;
  size_t NextBoundary(size_t pos) const;

  bool readOnly = false;

 private:
  void EraseSelection();
  void Collapse(size_t pos) { caret_ = anchor_ = pos; }

  std::u16string text_;
  size_t caret_ = 0;
  size_t anchor_ = 0;
};

}  // namespace kivcontrols
