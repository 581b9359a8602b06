#include "kivhost/desktop/layer_shell.h"

#include <gdk/gdkwayland.h>
#include <gtk-layer-shell/gtk-layer-shell.h>

namespace kivhost {

bool LayerShellInUse() {
  GdkDisplay* display = gdk_display_get_default();
  return display && GDK_IS_WAYLAND_DISPLAY(display) && gtk_layer_is_supported();
}

void MakeLayerWindow(GtkWindow* window) {
  gtk_layer_init_for_window(window);
  gtk_layer_set_namespace(window, "kivhost-desklet");
  gtk_layer_set_anchor(window, GTK_LAYER_SHELL_EDGE_LEFT, TRUE);
  gtk_layer_set_anchor(window, GTK_LAYER_SHELL_EDGE_TOP, TRUE);
  gtk_layer_set_keyboard_mode(window, GTK_LAYER_SHELL_KEYBOARD_MODE_ON_DEMAND);
}

void PlaceLayerWindow(GtkWindow* window, int left, int top) {
  gtk_layer_set_margin(window, GTK_LAYER_SHELL_EDGE_LEFT, left);
  gtk_layer_set_margin(window, GTK_LAYER_SHELL_EDGE_TOP, top);
}

void StackLayerWindow(GtkWindow* window, Stacking stacking) {
  // NOTE: the bottom layer, not the background: wallpapers are background
  // surfaces, and one drawn after the desklets would hide them. Among
  // other windows is not a place a layer surface can take; it stays below.
  gtk_layer_set_layer(window, stacking == Stacking::Above ? GTK_LAYER_SHELL_LAYER_TOP : GTK_LAYER_SHELL_LAYER_BOTTOM);
}

}  // namespace kivhost
