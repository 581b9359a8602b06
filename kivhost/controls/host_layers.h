// The host's layer functions as the control library uses them, found in
// the running program by name as the plug-in finds them. Outside a host
// (no such functions) every call does nothing. Layers are looked up by
// name on every use: the host numbers them by position, so an id goes
// stale when an earlier layer is removed.
#pragma once

#include <optional>
#include <string>

#include "kivhost/controls/graphics.h"
#include "platform/abi/kiv_types.h"

namespace kivcontrols::host {

void AddLayer(HWND hwnd, const std::string& name);
std::optional<uint32_t> FindLayer(HWND hwnd, const std::string& name);
void RemoveLayer(HWND hwnd, const std::string& name);
// Sets the layer's placement: `rect` against the reference size.
void Place(HWND hwnd, const std::string& name, const KivRect& rect, KivSize reference);
// Hands the picture to the host, which owns it from then on (released with
// the layer's next picture); null clears the layer's picture.
void ShowImage(HWND hwnd, const std::string& name, SurfacePtr picture);
void Capture(HWND hwnd, const std::string& name);
void ReleaseCapture(HWND hwnd);

}  // namespace kivcontrols::host
