#include "vorel/runtime/layer_list.h"

#include <memory>

#include "vorel/model/desklet.h"
#include "vorel/host/host_api.h"
#include "vorel/skin/layer_attributes.h"

namespace vorel {

TLayerObject& AddLayer(TDeskletObject& d, const std::string& name, const std::string& source, int16_t x, int16_t y,
                       uint8_t side) {
  if (TLayerObject* existing = d.FindLayerByName(name)) return *existing;
  auto layer = std::make_unique<TLayerObject>();
  layer->Name = name.empty() ? "LID-" + std::to_string(d.nextLayerNumber) + "-" + std::to_string(side) : name;
  layer->Id = host::DeskletLayerAdd(d.windowHandle, layer->Name);
  layer->Src = source;
  layer->X = x;
  layer->Y = y;
  layer->LayerSide = side;
  layer->FontStyle = StyleAntiAlias;
  layer->Cursor = 0;
  layer->Set(Visible, side == d.sideState.activeSide);
  ++d.nextLayerNumber;
  d.layers.push_back(std::move(layer));
  return *d.layers.back();
}

void DeleteLayerAt(TDeskletObject& d, size_t position) {
  if (position >= d.layers.size()) return;
  // NOTE: the pressed, entered and current layer are kept as host ids,
  // which renumber; they must follow their layers, and a deleted layer is
  // none of them any more.
  uint32_t* remembered[] = {&d.input.pressedLayerId, &d.input.enteredLayerId, &d.input.currentLayerId};
  const TLayerObject* before[3];
  for (size_t i = 0; i < 3; ++i) before[i] = *remembered[i] == kNoLayerId ? nullptr : d.FindLayerById(*remembered[i]);

  TLayerObject& layer = *d.layers[position];
  for (size_t i = 0; i < 3; ++i)
    if (before[i] == &layer) before[i] = nullptr;
  layer.Children.clear();
  host::DeskletLayerRemove(d.windowHandle, layer.Id, !d.updatesLocked);
  d.layers.erase(d.layers.begin() + static_cast<std::ptrdiff_t>(position));
  RefreshHostIds(d);
  for (size_t i = 0; i < 3; ++i)
    if (*remembered[i] != kNoLayerId) *remembered[i] = before[i] ? before[i]->Id : kNoLayerId;
}

void RefreshHostIds(TDeskletObject& d) {
  uint32_t id = 0;
  for (auto& layer : d.layers)
    if (host::DeskletLayerGetLayer(d.windowHandle, layer->Name, id)) layer->Id = id;
  for (auto& control : d.controlState.controls)
    if (host::DeskletLayerGetLayer(d.windowHandle, control->Name, id)) control->LayerId = id;
}

}  // namespace vorel
