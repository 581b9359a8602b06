#include "vorel/runtime/side_list.h"

#include "vorel/model/desklet.h"
#include "vorel/runtime/control_list.h"
#include "vorel/runtime/layer_list.h"

namespace vorel {

size_t AddSide(TDeskletObject& d, const TSideRecord& side) {
  d.sideState.sides.push_back(side);
  return d.sideState.sides.size() - 1;
}

void DeleteSideAt(TDeskletObject& d, size_t position) {
  auto& sides = d.sideState.sides;
  if (position >= sides.size()) return;
  for (size_t i = d.layers.size(); i-- > 0;)
    if (i < d.layers.size() && d.layers[i]->LayerSide == position) DeleteLayerAt(d, i);
  DeleteControlsOfSide(d, static_cast<uint8_t>(position));
  sides.erase(sides.begin() + static_cast<std::ptrdiff_t>(position));
  RefreshHostIds(d);
}

}  // namespace vorel
