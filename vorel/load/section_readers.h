// The readers of the skin sections that build records for the runtime:
// data sources, menus, layers and controls (timers have their own reader).
// The loader calls them in its fixed order.
#pragma once

#include "platform/xml/document.h"
#include "vorel/load/layer_reader.h"

namespace vorel {

class TDeskletObject;

void ReadXmlSources(TDeskletObject& desklet, const xml::Node& xmlsElement);
void ReadMenus(TDeskletObject& desklet, const xml::Node& menusElement);
void ReadControls(TDeskletObject& desklet, const xml::Node& root);

}  // namespace vorel
