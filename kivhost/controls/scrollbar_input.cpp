// Vertical scroll bars: the arrows step by one, the track by a page, the
// thumb follows the pointer while dragged; Up/Down, PageUp/PageDown and
// Home/End do the same from the keyboard. Every move the user makes calls
// 206.
#include "kivhost/controls/control_geometry.h"
#include "kivhost/controls/control_input.h"

namespace kivcontrols {
namespace {

void MoveTo(Control& c, int32_t pos, Notices& notices) {
  pos = ClampPosition(c, pos);
  if (pos == c.scrollPos) return;
  c.scrollPos = pos;
  c.dirty = true;
  notices.push_back({c.handle, kScrolled});
}

}  // namespace

void ScrollBy(Control& c, int32_t delta, Notices& notices) { MoveTo(c, ClampPosition(c, c.scrollPos) + delta, notices); }

void ScrollBarMouseDown(Control& c, Point p, Notices& notices) {
  const ScrollBarParts parts = ScrollBarPartsOf(c);
  if (p.y < parts.arrow) return ScrollBy(c, -1, notices);
  if (p.y >= parts.height - parts.arrow) return ScrollBy(c, 1, notices);
  if (p.y < parts.thumbTop) return ScrollBy(c, -PageOf(c), notices);
  if (p.y >= parts.thumbTop + parts.thumbLength) return ScrollBy(c, PageOf(c), notices);
  c.drag = Control::Drag::Thumb;
  c.dragOffset = p.y - parts.thumbTop;
  c.dirty = true;
}

void ScrollBarDrag(Control& c, Point p, Notices& notices) {
  const ScrollBarParts parts = ScrollBarPartsOf(c);
  MoveTo(c, PositionForThumb(parts, p.y - c.dragOffset), notices);
}

bool ScrollBarKeyDown(Control& c, uint32_t key, Notices& notices) {
  switch (key) {
    case kVkUp: ScrollBy(c, -1, notices); return true;
    case kVkDown: ScrollBy(c, 1, notices); return true;
    case kVkPrior: ScrollBy(c, -PageOf(c), notices); return true;
    case kVkNext: ScrollBy(c, PageOf(c), notices); return true;
    case kVkHome: MoveTo(c, 0, notices); return true;
    case kVkEnd: MoveTo(c, std::max(1, c.scrollSize) - 1, notices); return true;
    default: return false;
  }
}

}  // namespace kivcontrols
