// Desklets on Wayland's layer shell: a layer surface anchored to the top
// left corner of its output, placed by its margins, below other windows
// (or above them), taking the keyboard only when clicked.
#pragma once

#include <gtk/gtk.h>

#include "kivhost/model/desklet.h"

namespace kivhost {

// Whether windows go on the layer shell: GDK runs on Wayland and the
// compositor offers it.
bool LayerShellInUse();

// Makes the window a layer surface; before it is shown.
void MakeLayerWindow(GtkWindow* window);
void PlaceLayerWindow(GtkWindow* window, int left, int top);
void StackLayerWindow(GtkWindow* window, Stacking stacking);

}  // namespace kivhost
