// Whether there is a window system to show desklets on.
#pragma once

namespace kivhost {

// DISPLAY (X11) or WAYLAND_DISPLAY names one.
bool HasDisplay();

}  // namespace kivhost
