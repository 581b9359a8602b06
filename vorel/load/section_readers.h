// The readers of the skin sections that build records for the runtime:
// menus, layers and controls (timers and data sources have their own).
// The loader calls them in its fixed order.
#pragma once

#include "platform/xml/document.h"
#include "vorel/load/layer_reader.h"
#include "vorel/load/xml_source_reader.h"

namespace vorel {

class TDeskletObject;

void ReadMenus(TDeskletObject& desklet, const xml::Node& menusElement);
void ReadControls(TDeskletObject& desklet, const xml::Node& root);

}  // namespace vorel
