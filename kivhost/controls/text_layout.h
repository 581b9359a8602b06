// TextLayout: a control's text laid out by Pango in the control's font, and
// the translation between the UTF-16 positions the editor keeps and the
// layout's UTF-8 byte indices. Drawing and mouse handling both measure
// through it, so a click lands on the character that was drawn there.
// Coordinates are layout pixels, (0,0) at the layout's top left.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "kivhost/controls/graphics.h"

namespace kivcontrols {

struct Control;

struct TextStyle {
  std::string face;      // empty: the default face
  double pixels = 12;    // font size in pixels
  uint32_t style = 0;    // 1 bold, 2 italic, 4 underline, 8 strike-out
};

// The control's font: its face and size in points at 96 dots per inch; no
// size set gives 9 points, at double size for the kinds the plug-in draws
// doubled (text fields and edit boxes).
TextStyle StyleOf(const Control& control);

class TextLayout {
 public:
  // `wrapWidth` <= 0 keeps each line whole; password shows one bullet for
  // each character.
  TextLayout(const TextStyle& style, const std::u16string& text, bool password, double wrapWidth, bool singleLine);

  PangoLayout* Get() const { return layout_.get(); }

  struct Caret {
    double x = 0, y = 0, height = 0;
  };
  Caret CaretAt(size_t pos) const;
  // The caret position nearest to the point.
  size_t IndexAt(double x, double y) const;
  // The caret position on a line nearest to x.
  size_t IndexOnLine(int line, double x) const;
  int LineOf(size_t pos) const;
  // A line's logical box.
  struct LineBox {
    double x = 0, y = 0, width = 0, height = 0;
  };
  LineBox BoxOfLine(int line) const;
  int LineCount() const;
  double LineHeight() const;
  double Width() const;
  double Height() const;

  int ByteOf(size_t pos) const;
  size_t PositionOf(int byte) const;

 private:
  PangoContextPtr context_;
  LayoutPtr layout_;
  std::string shown_;
  std::vector<int> byteAt_;  // for every UTF-16 offset, one past the end too
};

}  // namespace kivcontrols
