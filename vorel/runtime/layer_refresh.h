// Drawing many layers again at once: after new data (only the layers that
// show XML data), after a side changed its size (every layer, or those of
// one side). One layer that cannot be drawn is reported and the others
// are drawn all the same.
#pragma once

#include <cstdint>
#include <functional>

namespace vorel {

class TDeskletObject;
struct TLayerObject;

// Whether the layer or one of its child layers shows XML data.
bool IsDataBound(const TLayerObject& layer);

// Renders every layer the filter takes (every layer without one). Does
// nothing while the layers are being rendered already (a statement a
// layer ran asked for it).
void RerenderLayers(TDeskletObject& desklet, const std::function<bool(const TLayerObject&)>& which = {});

}  // namespace vorel
