// Which layer of a desklet a point is on: the topmost visible layer that is
// not click-through, whose rectangle holds the point, and whose picture is
// not fully transparent there (any pixel counts for a layer hit-tested
// without alpha). A captured layer takes every point.
#pragma once

#include <optional>

#include "kivhost/model/desklet.h"

namespace kivhost {

std::optional<uint32_t> HitTest(const HostDesklet& desklet, double x, double y);

}  // namespace kivhost
