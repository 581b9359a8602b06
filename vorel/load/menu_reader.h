// Reads the skin's menus section into the desklet's menu records: each
// menu element with its items and their sub-items, in document order.
#pragma once

#include "platform/xml/document.h"
#include "vorel/model/menu_record.h"

namespace vorel {

class TDeskletObject;

// A menu id outside 0-255 or a showdefault that is not a boolean fails the
// whole load (it raises); a menu whose id is taken already is passed over.
void ReadMenus(TDeskletObject& desklet, const xml::Node& menusElement);

// Appends the element's menuitem children to the list, with their own
// sub-items at any depth. An item whose attributes do not read is reported
// and stands in the list as a grayed item without a name, statement or
// sub-items, so the items after it keep their positions.
void ReadMenuItems(TDeskletObject& desklet, const xml::Node& element, TMenuItemList& items);

}  // namespace vorel
