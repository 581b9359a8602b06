// The page the plug-in adds to the host's properties dialog for a desklet,
// and its dialog procedure, which keeps one TFMPropertySheet per desklet
// while the host's dialog shows the page.
#pragma once

#include "platform/abi/kiv_types.h"

namespace vorel {

class TDeskletObject;

// A property-sheet page titled "Vorel" from dialog template 100, with the
// desklet as the page's parameter.
HPROPSHEETPAGE CreatePropertyPage(TDeskletObject& desklet);

// The desklet is going: its page, if one is open, stops answering and
// forgets it (the check box's state is kept as the page's closing would).
void ClosePropertyPage(TDeskletObject& desklet);

// Whether the desklet's page is open (for tests).
bool HasOpenPropertyPage(const TDeskletObject& desklet);

}  // namespace vorel
