#include "vorel/runtime/side_flip.h"

#include <vector>

#include "vorel/host/host_api.h"
#include "vorel/runtime/control_apply.h"
#include "vorel/model/desklet.h"
#include "vorel/runtime/image_ops.h"
#include "vorel/runtime/side_layout.h"
#include "vorel/runtime/statement_runner.h"
#include "vorel/skin/skin_reading.h"
#include "vorel/util/errors.h"

namespace vorel {

namespace {

constexpr size_t kPrefixLength = 6;  // "!FLIP:" or "!FILE:"

uint8_t TargetSide(const TDeskletObject& desklet, const std::string& request) {
  if (request.size() <= kPrefixLength) return desklet.sideState.activeSide;
  const int32_t side = ReadInt(request.substr(kPrefixLength));
  if (side < 0 || side > 255) throw KivError(errors::kRangeCheck);
  return static_cast<uint8_t>(side);
}

// The desklet's size scaled from one side's size to the other's, so that
// a zoomed desklet keeps its zoom.
KivSize ZoomedSize(KivSize now, KivSize from, KivSize to) {
  auto scale = [](int32_t length, int32_t fromLength, int32_t toLength) {
    // NOTE: a side without size gives nothing to scale by; the target's
    // own size is taken then.
    if (fromLength == 0) return toLength;
    return RoundHalfEven(static_cast<double>(toLength) * length / fromLength);
  };
  return {scale(now.cx, from.cx, to.cx), scale(now.cy, from.cy, to.cy)};
}

}  // namespace

void RequestFlip(TDeskletObject& desklet, const std::string& request) {
  TSideState& sides = desklet.sideState;
  const uint8_t target = TargetSide(desklet, request);
  const uint8_t shown = sides.activeSide;
  if (target == shown) return;

  const HWND window = desklet.windowHandle;
  KivSize now = host::DeskletGetSize(window);
  const KivSize from = SideSize(desklet, shown), to = SideSize(desklet, target);
  const bool resize = from.cx != to.cx || from.cy != to.cy;
  KivSize after = resize ? ZoomedSize(now, from, to) : now;

  std::vector<uint32_t> oldLayers = SideLayers(desklet, shown);
  std::vector<uint32_t> newLayers = SideLayers(desklet, target);
  if (newLayers.empty()) return;

  FlipParams params{};
  params.useLayers = 1;
  params.oldSize = resize ? &now : nullptr;
  params.oldLayers = oldLayers.data();
  params.oldLayerCount = static_cast<int32_t>(oldLayers.size());
  params.newSize = resize ? &after : nullptr;
  params.newLayers = newLayers.data();
  params.newLayerCount = static_cast<int32_t>(newLayers.size());
  params.direction = shown < target ? 1 : 0;
  params.callback = &OnFlipCompleted;
  params.callbackData = &desklet;

  // The target side's controls show their values as they are now.
  RefreshControlValues(desklet, target, false);
  sides.changeToSide = target;
  RunStatement(desklet, desklet.settings.onBeforeFlip);
  host::DeskletFlip(window, &params);

  sides.activeSide = target;
  if (!sides.sides.empty()) sides.currentSide = target < sides.sides.size() ? sides.sides[target] : sides.sides[0];
  // NOTE: the close point is in the new side's coordinates, so it is given
  // with the desklet's size after the flip, which is what a zoomed
  // desklet's host scales it by.
  host::DeskletSetClosePoint(window, SideClosePoint(desklet, target), after.cx, after.cy);
}

void OnFlipCompleted(void* data) {
  if (!TDeskletObject::IsLive(data)) return;
  TDeskletObject& desklet = *static_cast<TDeskletObject*>(data);
  if (desklet.destroying) return;
  RunStatement(desklet, desklet.settings.onAfterFlip);
}

}  // namespace vorel
