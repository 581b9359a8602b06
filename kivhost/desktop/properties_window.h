// A desklet's properties dialog as a GTK dialog: a notebook with a tab for
// each page the plug-in added, each page's items (frames, the log text,
// buttons, check boxes) placed where the page put them, and a "Close"
// button. Pressing an item tells the page; the dialog then shows what the
// page changed. It runs modally, the host's queue running meanwhile.
#pragma once

#include "kivhost/loop/session.h"

namespace kivhost {

// Shows the desklet's open properties dialog until the user closes it.
void ShowPropertiesWithGtk(Host& host, Session& session, HWND desklet);

// Closes every properties dialog shown now, as its "Close" button would:
// for a kivhost asked to end while one is open.
void CloseShownProperties();

}  // namespace kivhost
