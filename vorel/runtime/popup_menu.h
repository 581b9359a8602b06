// Showing a skin's pop-up menu at the mouse position.
#pragma once

#include <cstdint>

namespace vorel {

class TDeskletObject;

// Shows the first menu with that id; false when there is none or it has no
// items (nothing is shown then).
bool ShowSkinMenu(TDeskletObject& desklet, uint8_t id);

}  // namespace vorel
