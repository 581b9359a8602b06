// The readers of the skin sections that build records for the runtime,
// gathered for the loader, which calls them in its fixed order: menus
// here; layers, controls and data sources in their own files.
#pragma once

#include "platform/xml/document.h"
#include "vorel/load/control_reader.h"
#include "vorel/load/layer_reader.h"
#include "vorel/load/xml_source_reader.h"

namespace vorel {

class TDeskletObject;

void ReadMenus(TDeskletObject& desklet, const xml::Node& menusElement);

}  // namespace vorel
