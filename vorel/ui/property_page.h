// The page the plug-in adds to the host's properties dialog for a desklet.
#pragma once

#include "platform/abi/kiv_types.h"

namespace vorel {

class TDeskletObject;

// A property-sheet page titled "Vorel" from dialog template 100, with the
// desklet as the page's parameter.
HPROPSHEETPAGE CreatePropertyPage(TDeskletObject& desklet);

}  // namespace vorel
