// The readers of the skin sections that build records for the runtime,
// gathered for the loader, which calls them in its fixed order: menus,
// layers, controls and data sources, each in its own file.
#pragma once

#include "platform/xml/document.h"
#include "vorel/load/control_reader.h"
#include "vorel/load/layer_reader.h"
#include "vorel/load/menu_reader.h"
#include "vorel/load/xml_source_reader.h"

