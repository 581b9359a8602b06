// Showing a skin's pop-up menu at the mouse position, owned by the
// desklet's window, and running what the user chose.
#pragma once

#include <cstdint>

#include "vorel/model/menu_record.h"

namespace vorel {

class TDeskletObject;

// Shows the first menu with that id; false when there is none or it has no
// items (nothing is shown then). The before-popup statement runs first;
// then the chosen item's statement, or the host's command when the host's
// desklet menu is shown below the items; the after-popup statement runs
// last, also when the menu was closed without a choice.
bool ShowSkinMenu(TDeskletObject& desklet, uint8_t id);

// The number of items a menu shows, every sub-item at any depth counted
// and a parent too: the items take the commands 1 to this number.
int32_t CountMenuItems(const TMenuItemList& items);

}  // namespace vorel
