#include "vorel/runtime/side_resize.h"

#include <cmath>
#include <limits>

#include "vorel/host/host_api.h"
#include "vorel/model/desklet.h"
#include "vorel/runtime/layer_refresh.h"
#include "vorel/util/errors.h"

namespace vorel {

namespace {

// Rounded to the nearest integer, halves to even; a result that is no
// 32-bit number fails.
int32_t RoundToInt32(double value) {
  const double rounded = std::nearbyint(value);
  if (!std::isfinite(rounded) || rounded < std::numeric_limits<int32_t>::min() ||
      rounded > std::numeric_limits<int32_t>::max())
    throw KivError(errors::kRangeCheck);
  return static_cast<int32_t>(rounded);
}

int32_t CheckedAdd(int32_t a, int32_t b) {
  int32_t sum = 0;
  if (__builtin_add_overflow(a, b, &sum)) throw KivError(errors::kIntegerOverflow);
  return sum;
}

// How much larger the window is drawn than the side: the window's length
// over the side's. NOTE: a side without length gives nothing to scale by;
// the window is taken at 1:1 then.
double ScaleOf(int32_t window, uint32_t side) { return side == 0 ? 1.0 : static_cast<double>(window) / side; }

KivRect RectAt(KivPoint at, int32_t width, int32_t height) {
  return {at.x, at.y, CheckedAdd(at.x, width), CheckedAdd(at.y, height)};
}

}  // namespace

void SetSideLength(TDeskletObject& d, uint8_t index, TSideLength length, uint32_t value) {
  TSideState& state = d.sideState;
  if (index >= state.sides.size()) return;
  TSideRecord& side = state.sides[index];
  if (index != state.activeSide) {
    (length == TSideLength::Width ? side.Width : side.Height) = value;
    return;
  }
  const KivSize size = host::DeskletGetSize(d.windowHandle);
  const double across = ScaleOf(size.cx, side.Width), down = ScaleOf(size.cy, side.Height);
  TSideRecord changed = side;
  (length == TSideLength::Width ? changed.Width : changed.Height) = value;
  // Worked out before anything changes: a size that does not fit leaves
  // the side as it was.
  const KivRect rect = RectAt(host::DeskletGetPosition(d.windowHandle), RoundToInt32(changed.Width * across),
                              RoundToInt32(changed.Height * down));
  side = changed;
  host::DeskletMove(d.windowHandle, rect, false);
  RerenderLayers(d);
  host::DeskletUnlockInvalidating(d.windowHandle, false);
  host::DeskletRedraw(d.windowHandle);
}

void ResetSide(TDeskletObject& d, uint8_t index) {
  TSideState& state = d.sideState;
  if (index != state.activeSide || index >= state.sides.size()) return;
  const TSideRecord side = state.sides[index];
  const TSideRecord& now = state.currentSide;
  if (side.Width != now.Width || side.Height != now.Height) {
    const KivSize size = host::DeskletGetSize(d.windowHandle);
    // The scale in ten-thousandths, as the desklet's size was last set.
    const int32_t across = RoundToInt32(ScaleOf(size.cx, now.Width) * 10000);
    const int32_t down = RoundToInt32(ScaleOf(size.cy, now.Height) * 10000);
    const KivRect rect = RectAt(host::DeskletGetPosition(d.windowHandle),
                                RoundToInt32(static_cast<double>(side.Width) * across / 10000),
                                RoundToInt32(static_cast<double>(side.Height) * down / 10000));
    host::DeskletMove(d.windowHandle, rect, false);
    RerenderLayers(d, [index](const TLayerObject& layer) { return layer.LayerSide == index; });
    host::DeskletRedraw(d.windowHandle);
  }
  if (side.CloseX != now.CloseX || side.CloseY != now.CloseY)
    host::DeskletSetClosePoint(d.windowHandle, {static_cast<int32_t>(side.CloseX), static_cast<int32_t>(side.CloseY)},
                               static_cast<int32_t>(side.Width), static_cast<int32_t>(side.Height));
  state.currentSide = side;
}

}  // namespace vorel
