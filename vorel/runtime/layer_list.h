// Adding and deleting layers while the desklet runs, as the layers
// collection of the scripts does it. The host numbers its layers by
// position, so every removal is followed by reading each remaining layer's
// identifier again by name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vorel {

class TDeskletObject;
struct TLayerObject;

// The layer of that name, or a new one appended to the layer list with a
// host layer of its own. An empty name becomes "LID-<counter>-<side>". The
// new layer is not drawn until a property set or a redraw renders it.
TLayerObject& AddLayer(TDeskletObject& desklet, const std::string& name, const std::string& source, int16_t x,
                       int16_t y, uint8_t side);

// Removes the layer at the position from the host and the list and frees
// its record; then refreshes the host identifiers.
void DeleteLayerAt(TDeskletObject& desklet, size_t position);

// Reads every layer's and every control's host identifier again by name;
// one the host does not find keeps its old value.
void RefreshHostIds(TDeskletObject& desklet);

}  // namespace vorel
