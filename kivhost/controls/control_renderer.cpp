#include "kivhost/controls/control_renderer.h"

#include <cmath>

#include "kivhost/controls/control_geometry.h"
#include "kivhost/controls/control_painter.h"
#include "kivhost/controls/host_layers.h"

namespace kivcontrols {
namespace {

bool CanShow(ControlStore& store, const Control& c) {
  const Container* owner = store.FindContainer(c.container);
  return owner && owner->lockDepth == 0 && c.lockDepth == 0 && c.rect;
}

bool SameRect(const KivRect& a, const KivRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

void Present(ControlStore& store, Control& c) {
  const KivRect place = PlacementOf(c);
  const KivSize reference = c.sideSize.value_or(KivSize{0, 0});
  if (!c.shownPlacement || !SameRect(*c.shownPlacement, place)) {
    host::Place(c.hwnd, c.name, place, reference);
    c.shownPlacement = place;
  }
  c.drawWidth = place.right - place.left;
  c.drawHeight = place.bottom - place.top;
  const Container* owner = store.FindContainer(c.container);
  SurfacePtr picture = PaintControl(c, c.drawWidth, c.drawHeight, owner ? store.ResourceFolder(*owner) : "");
  host::ShowImage(c.hwnd, c.name, std::move(picture));
}

}  // namespace

KivRect PlacementOf(const Control& c) {
  KivRect r = c.rect.value_or(KivRect{0, 0, 0, 0});
  if (c.kind == ControlKind::DropDown && c.open) {
    const auto extra = static_cast<int32_t>(std::ceil(DropDownPartsOf(c).listHeight()));
    if (c.openUpward) r.top -= extra;
    else r.bottom += extra;
  }
  return r;
}

void PresentDirty(ControlStore& store) {
  for (auto& [handle, c] : store.controls) {
    if (!c.dirty || !CanShow(store, c)) continue;
    c.dirty = false;
    Present(store, c);
  }
}

void ClearLayer(Control& c) {
  host::ShowImage(c.hwnd, c.name, nullptr);
  c.shownPlacement.reset();
  c.dirty = true;
}

}  // namespace kivcontrols
