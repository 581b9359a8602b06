// Which window system desklets are shown on, and how.
#pragma once

#include <string>

namespace kivhost {

// DISPLAY (X11) or WAYLAND_DISPLAY names one.
bool HasDisplay();

// Whether the Wayland compositor named by WAYLAND_DISPLAY offers the layer
// shell, which lets desklets sit below other windows at a place of their
// choosing. False without a Wayland compositor.
bool WaylandOffersLayerShell();

// The GDK backends to allow, best first: Wayland where the compositor
// offers the layer shell; otherwise X11 (XWayland under Wayland), since
// ordinary Wayland windows cannot place themselves.
std::string DesktopBackends();

}  // namespace kivhost
