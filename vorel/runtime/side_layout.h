// What the desklet's sides give the code that flips, slides and places
// layers: each side's size and close-button point, and the host layers
// that belong to it. A side index beyond the table reads side 0; a skin
// without sides reads zeros.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/abi/kiv_types.h"

namespace vorel {

class TDeskletObject;

KivSize SideSize(const TDeskletObject& desklet, uint8_t side);
KivPoint SideClosePoint(const TDeskletObject& desklet, uint8_t side);

// The host layer ids of the side: its visible layers in layer order, then
// its visible controls in control order.
std::vector<uint32_t> SideLayers(const TDeskletObject& desklet, uint8_t side);

}  // namespace vorel
