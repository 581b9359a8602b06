// Flipping the desklet to another side. The host animates the change from
// one side's layers to the other's (DeskletFlip) and calls back when it is
// done; the skin's before-flip statement runs before the host is asked and
// its after-flip statement from the callback. Requests come from "!FLIP:"
// clicks and from the main object's FlipTo, which writes "!FILE:" and the
// side number.
#pragma once

#include <string>

namespace vorel {

class TDeskletObject;

// The six characters of the request's prefix are passed over; the rest is
// the side to show. Nothing happens for the side shown, or for a side
// without visible layers or controls. Raises KivError for a side number
// that is not an integer in 0..255, before anything changed.
void RequestFlip(TDeskletObject& desklet, const std::string& request);

// The completion callback handed to the host with the desklet as its data.
// Runs the after-flip statement; a desklet destroyed meanwhile is left
// alone.
void OnFlipCompleted(void* desklet);

}  // namespace vorel
