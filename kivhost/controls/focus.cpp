#include "kivhost/controls/focus.h"

#include <algorithm>

#include "kivhost/controls/control_input.h"

namespace kivcontrols {

bool KeepsFocus(const Control& c) {
  return c.kind == ControlKind::TextField || c.kind == ControlKind::EditBox || c.kind == ControlKind::DropDown ||
         c.kind == ControlKind::ScrollBar;
}

void SetFocus(ControlStore& store, Container& container, KivHandle target, Notices& notices) {
  if (container.focused == target) return;
  if (Control* old = store.FindControl(container.focused)) {
    old->focused = false;
    old->dirty = true;
    if (old->open) CloseList(*old);
    notices.push_back({old->handle, kFocusOut});
  }
  container.focused = 0;
  if (Control* now = store.FindControl(target); now && now->container == container.handle) {
    container.focused = target;
    now->focused = true;
    now->dirty = true;
    notices.push_back({target, kFocusIn});
  }
}

KivHandle NextFocus(ControlStore& store, const Container& container, bool backwards) {
  std::vector<KivHandle> ring;
  for (KivHandle h : container.controls)
    if (const Control* c = store.FindControl(h); c && KeepsFocus(*c)) ring.push_back(h);
  if (ring.empty()) return 0;
  auto at = std::find(ring.begin(), ring.end(), container.focused);
  if (at == ring.end()) return backwards ? ring.back() : ring.front();
  const size_t i = static_cast<size_t>(at - ring.begin());
  return backwards ? ring[(i + ring.size() - 1) % ring.size()] : ring[(i + 1) % ring.size()];
}

Control* Focused(ControlStore& store, const Container& container) {
  Control* c = store.FindControl(container.focused);
  return c && c->container == container.handle ? c : nullptr;
}

}  // namespace kivcontrols
