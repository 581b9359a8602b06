#include "vorel/runtime/side_layout.h"

#include "vorel/model/desklet.h"

namespace vorel {

namespace {

const TSideRecord* SideOf(const TDeskletObject& desklet, uint8_t side) {
  const std::vector<TSideRecord>& sides = desklet.sideState.sides;
  if (sides.empty()) return nullptr;
  return side < sides.size() ? &sides[side] : &sides[0];
}

}  // namespace

KivSize SideSize(const TDeskletObject& desklet, uint8_t side) {
  const TSideRecord* s = SideOf(desklet, side);
  return s ? KivSize{static_cast<int32_t>(s->Width), static_cast<int32_t>(s->Height)} : KivSize{0, 0};
}

KivPoint SideClosePoint(const TDeskletObject& desklet, uint8_t side) {
  const TSideRecord* s = SideOf(desklet, side);
  return s ? KivPoint{static_cast<int32_t>(s->CloseX), static_cast<int32_t>(s->CloseY)} : KivPoint{0, 0};
}

std::vector<uint32_t> SideLayers(const TDeskletObject& desklet, uint8_t side) {
  std::vector<uint32_t> ids;
  for (const auto& layer : desklet.layers)
    if (layer->LayerSide == side && layer->Has(Visible)) ids.push_back(layer->Id);
  for (const auto& control : desklet.controlState.controls)
    if (control->CtrlSide == side && control->Visible) ids.push_back(control->LayerId);
  return ids;
}

}  // namespace vorel
