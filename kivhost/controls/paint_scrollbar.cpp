// Vertical scroll bars: an arrow button at each end, the track between and
// the thumb on it.
#include <algorithm>

#include "kivhost/controls/control_painter.h"

namespace kivcontrols {

void PaintScrollBar(cairo_t* cr, const Control& c) {
  const ScrollBarParts p = ScrollBarPartsOf(c);
  if (p.width <= 0 || p.height <= 0) return;
  FillRect(cr, 0, 0, p.width, p.height, kTrackColour);
  const bool dragging = c.drag == Control::Drag::Thumb;
  FillRect(cr, 1, p.thumbTop, p.width - 2, p.thumbLength, dragging ? kThumbDragColour : kThumbColour);
  Bevel(cr, 0, 0, p.width, p.arrow, false);
  Bevel(cr, 0, p.height - p.arrow, p.width, p.arrow, false);
  const double size = std::min(p.width, p.arrow) / 2;
  Arrow(cr, p.width / 2, p.arrow / 2, size, true, kArrowColour);
  Arrow(cr, p.width / 2, p.height - p.arrow / 2, size, false, kArrowColour);
}

}  // namespace kivcontrols
