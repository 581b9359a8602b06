// Bringing a control's host layer up to date: its placement (the control's
// rectangle, grown by the open list of a drop-down) and a freshly drawn
// picture. A control shows once it is in a container, neither it nor its
// container is locked, and it has a rectangle; changes made before then
// show at the unlock or the add.
#pragma once

#include "kivhost/controls/control_store.h"

namespace kivcontrols {

// Draws every control marked dirty that can show.
void PresentDirty(ControlStore& store);

// Where the control's layer goes while it shows as it is now, in the units
// of its rectangle; the drawing is this rectangle's size.
KivRect PlacementOf(const Control& c);

// Drops the control's picture from its layer (it left its container).
void ClearLayer(Control& c);

}  // namespace kivcontrols
