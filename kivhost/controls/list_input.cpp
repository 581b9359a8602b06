// Drop-down lists. Closed and focused, Up/Down/Home/End propose the
// neighbouring, first or last item; F4 or Space opens the list. Open, the
// keys and the pointer move the highlight, Enter or a click picks, Escape,
// F4 or a click on the box closes without picking. Every pick goes through
// callback 311 first, which may change the index it selects.
#include <algorithm>

#include "kivhost/controls/control_geometry.h"
#include "kivhost/controls/control_input.h"

namespace kivcontrols {
namespace {

int32_t ItemCount(const Control& c) { return static_cast<int32_t>(c.items.size()); }

// Keeps the highlighted row among those shown.
void RevealHighlight(Control& c) {
  const int32_t rows = std::min<int32_t>(ItemCount(c), kMaxListRows);
  c.listTop = std::clamp(c.listTop, 0, std::max(0, ItemCount(c) - rows));
  if (c.highlighted < 0) return;
  if (c.highlighted < c.listTop) c.listTop = c.highlighted;
  if (c.highlighted >= c.listTop + rows) c.listTop = c.highlighted - rows + 1;
}

void Propose(Control& c, int32_t index, Notices& notices) {
  if (ItemCount(c) == 0) return;
  index = std::clamp(index, 0, ItemCount(c) - 1);
  if (index != c.selected) notices.push_back({c.handle, kSelecting, index});
}

void Pick(Control& c, int32_t index, Notices& notices) {
  CloseList(c);
  if (index >= 0) notices.push_back({c.handle, kSelecting, index});
}

}  // namespace

void OpenList(Control& c) {
  if (c.open) return;
  c.open = true;
  c.highlighted = c.selected;
  c.listTop = 0;
  RevealHighlight(c);
  // Down when the list fits below the box within the reference height,
  // else up when it fits above, else down all the same.
  const double list = DropDownPartsOf(c).listHeight();
  c.openUpward = c.rect && c.sideSize && c.sideSize->cy > 0 && c.rect->bottom + list > c.sideSize->cy &&
                 c.rect->top - list >= 0;
  c.dirty = true;
}

void CloseList(Control& c) {
  if (!c.open) return;
  c.open = false;
  c.openUpward = false;
  c.dirty = true;
}

void SelectItem(Control& c, int32_t index) {
  c.selected = index >= 0 && index < ItemCount(c) ? index : -1;
  c.highlighted = c.selected;
  c.dirty = true;
}

void ListMouseDown(Control& c, Point p, Notices& notices) {
  if (!c.open) return OpenList(c);
  const DropDownParts parts = DropDownPartsOf(c);
  const int32_t item = ItemAt(c, parts, p.x, p.y);
  if (item >= 0) Pick(c, item, notices);
  else CloseList(c);
}

void ListMouseMove(Control& c, Point p) {
  if (!c.open) return;
  const int32_t item = ItemAt(c, DropDownPartsOf(c), p.x, p.y);
  if (item >= 0 && item != c.highlighted) {
    c.highlighted = item;
    c.dirty = true;
  }
}

bool ListKeyDown(Control& c, uint32_t key, Notices& notices) {
  if (key == kVkF4) {
    if (c.open) CloseList(c);
    else OpenList(c);
    return true;
  }
  if (!c.open) {
    switch (key) {
      case kVkUp: Propose(c, c.selected < 0 ? 0 : c.selected - 1, notices); return true;
      case kVkDown: Propose(c, c.selected + 1, notices); return true;
      case kVkHome: Propose(c, 0, notices); return true;
      case kVkEnd: Propose(c, ItemCount(c) - 1, notices); return true;
      default: return false;
    }
  }
  const int32_t page = kMaxListRows;
  int32_t h = c.highlighted;
  switch (key) {
    case kVkUp: h = h < 0 ? 0 : h - 1; break;
    case kVkDown: h = h + 1; break;
    case kVkPrior: h = h - page; break;
    case kVkNext: h = h < 0 ? page - 1 : h + page; break;
    case kVkHome: h = 0; break;
    case kVkEnd: h = ItemCount(c) - 1; break;
    default: return false;
  }
  if (ItemCount(c) > 0) {
    c.highlighted = std::clamp(h, 0, ItemCount(c) - 1);
    RevealHighlight(c);
    c.dirty = true;
  }
  return true;
}

bool ListCharacter(Control& c, char32_t ch, Notices& notices) {
  if (ch == kVkReturn && c.open) {
    Pick(c, c.highlighted, notices);
    return true;
  }
  if (ch == kVkEscape && c.open) {
    CloseList(c);
    return true;
  }
  if (ch == U' ' && !c.open) {
    OpenList(c);
    return true;
  }
  return false;
}

bool ListWheel(Control& c, int steps) {
  if (!c.open) return false;
  const int32_t rows = std::min<int32_t>(ItemCount(c), kMaxListRows);
  const int32_t top = std::clamp(c.listTop + steps, 0, std::max(0, ItemCount(c) - rows));
  if (top != c.listTop) {
    c.listTop = top;
    c.dirty = true;
  }
  return true;
}

}  // namespace kivcontrols
