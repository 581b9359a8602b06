#include "kivhost/controls/control_geometry.h"

#include <algorithm>
#include <cmath>

#include "kivhost/controls/text_layout.h"

namespace kivcontrols {

Box ClosedBox(const Control& c) {
  if (!c.rect) return {};
  return {static_cast<double>(std::max(0, c.rect->right - c.rect->left)),
          static_cast<double>(std::max(0, c.rect->bottom - c.rect->top))};
}

ScrollBarParts ScrollBarPartsOf(const Control& c) {
  const Box box = ClosedBox(c);
  ScrollBarParts p;
  p.width = box.width;
  p.height = box.height;
  p.positions = std::max(1, c.scrollSize);
  p.arrow = std::min(box.width, box.height / 3);
  p.trackTop = p.arrow;
  p.trackBottom = box.height - p.arrow;
  const double track = std::max(0.0, p.trackBottom - p.trackTop);
  // Long enough to take hold of even with many positions.
  const double minimum = std::min(track, std::max(6.0, box.width / 2));
  p.thumbLength = std::max(track / p.positions, minimum);
  const double travel = track - p.thumbLength;
  const int32_t pos = ClampPosition(c, c.scrollPos);
  p.thumbTop = p.trackTop + (p.positions > 1 ? travel * pos / (p.positions - 1) : 0);
  return p;
}

int32_t PositionForThumb(const ScrollBarParts& p, double thumbTop) {
  const double travel = p.trackBottom - p.trackTop - p.thumbLength;
  if (travel <= 0 || p.positions <= 1) return 0;
  const double at = std::clamp((thumbTop - p.trackTop) / travel, 0.0, 1.0);
  return static_cast<int32_t>(std::lround(at * (p.positions - 1)));
}

int32_t PageOf(const Control& c) { return std::max(1, std::max(1, c.scrollSize) / 10); }

int32_t ClampPosition(const Control& c, int32_t pos) { return std::clamp(pos, 0, std::max(1, c.scrollSize) - 1); }

DropDownParts DropDownPartsOf(const Control& c) {
  const Box box = ClosedBox(c);
  DropDownParts p;
  p.width = box.width;
  p.boxHeight = box.height;
  p.button = std::min(box.height, box.width / 2);
  const TextLayout probe(StyleOf(c), u"Ag", false, 0, true);
  p.rowHeight = std::max(4.0, std::ceil(probe.Height()) + 4);
  p.rows = static_cast<int>(std::min<size_t>(c.items.size(), kMaxListRows));
  if (c.open && c.openUpward) {
    p.listTop = 0;
    p.boxTop = p.listHeight();
  } else {
    p.boxTop = 0;
    p.listTop = box.height;
  }
  return p;
}

int32_t ItemAt(const Control& c, const DropDownParts& p, double x, double y) {
  if (!c.open || x < 0 || x >= p.width) return -1;
  const double inList = y - p.listTop - 1;
  if (inList < 0 || inList >= p.rows * p.rowHeight) return -1;
  const int32_t index = c.listTop + static_cast<int32_t>(inList / p.rowHeight);
  return index < static_cast<int32_t>(c.items.size()) ? index : -1;
}

}  // namespace kivcontrols
