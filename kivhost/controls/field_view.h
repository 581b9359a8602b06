// FieldView: the text of a text field or edit box as it shows in the
// control: laid out, and placed so that the caret stays in sight. A text
// field scrolls sideways by pixels; an edit box wraps at its width and
// scrolls by lines. Making a view brings the control's scroll state up to
// date with its caret.
#pragma once

#include <cstddef>
#include <optional>

#include "kivhost/controls/control_store.h"
#include "kivhost/controls/text_layout.h"

namespace kivcontrols {

class FieldView {
 public:
  // Null when the control has no usable rectangle.
  static std::optional<FieldView> Make(Control& c);

  const TextLayout& Layout() const { return layout_; }
  // Where the layout's (0,0) lies in the drawing.
  double OriginX() const { return originX_; }
  double OriginY() const { return originY_; }
  double Width() const { return width_; }
  double Height() const { return height_; }
  // Whole lines that fit an edit box, at least one.
  int VisibleLines() const;

  // The caret position under a point of the drawing.
  size_t IndexAt(double x, double y) const { return layout_.IndexAt(x - originX_, y - originY_); }

 private:
  FieldView(TextLayout layout, double width, double height) : layout_(std::move(layout)), width_(width), height_(height) {}
  void Place(Control& c);

  TextLayout layout_;
  double width_, height_;
  double originX_ = 0, originY_ = 0;
};

// Scrolls an edit box by lines (negative: towards the start), within its
// text; true when it moved.
bool ScrollLines(Control& c, int lines);

}  // namespace kivcontrols
