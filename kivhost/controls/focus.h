// Focus within a container: at most one control has it, and keyboard
// messages go there. Text fields, edit boxes, drop-down lists and scroll
// bars keep the focus; an image button holds it only while pressed; labels
// never take it. Tab walks the controls that keep the focus in the order
// they were added to the container.
#pragma once

#include "kivhost/controls/control_store.h"
#include "kivhost/controls/notices.h"

namespace kivcontrols {

bool KeepsFocus(const Control& c);

// Moves the focus to `target` (0: to none), queuing 11 for the control
// losing it and then 10 for the one getting it; nothing when it stays. A
// drop-down list losing the focus closes.
void SetFocus(ControlStore& store, Container& container, KivHandle target, Notices& notices);

// The control Tab (or Shift+Tab) moves to from the focused one; 0 when the
// container has none that keeps the focus.
KivHandle NextFocus(ControlStore& store, const Container& container, bool backwards);

// The container's focused control, null for none.
Control* Focused(ControlStore& store, const Container& container);

}  // namespace kivcontrols
