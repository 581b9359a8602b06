#include "vorel/runtime/layer_effects.h"

#include <chrono>
#include <cmath>
#include <limits>
#include <thread>
#include <vector>

#include "platform/util/text.h"
#include "vorel/host/host_api.h"
#include "vorel/model/desklet.h"
#include "vorel/runtime/layer_animation.h"
#include "vorel/skin/skin_reading.h"
#include "vorel/util/calc_express.h"
#include "vorel/util/errors.h"
#include "vorel/util/text_routines.h"

namespace vorel {

namespace {

constexpr std::string_view kPrefix = "!EFFECT:";
constexpr size_t kSlideFields = 14;
constexpr int32_t kSlidePause = 10;

using Fields = std::vector<std::string>;

// A numeric field: absent takes the default; otherwise it must read as an
// integer within the range.
int32_t NumberField(const Fields& fields, size_t index, int32_t fallback, int32_t low, int32_t high) {
  if (index >= fields.size() || fields[index].empty()) return fallback;
  const int32_t value = ReadInt(fields[index]);
  if (value < low || value > high) throw KivError(errors::kRangeCheck);
  return value;
}

TLayerObject& TargetLayer(TDeskletObject& desklet, TLayerObject& own, const Fields& fields) {
  if (fields.size() < 2 || kiv::EqualsIgnoreCase(fields[1], "SELF")) return own;
  if (TLayerObject* named = desklet.FindLayerByName(fields[1])) return *named;
  throw KivError("there is no layer \"" + fields[1] + "\" to run the effect on");
}

// Steps the layer's opacity towards the goal, showing each step.
void Fade(TDeskletObject& desklet, TLayerObject& layer, const Fields& fields, bool show) {
  const int32_t goal = NumberField(fields, 2, 255, 0, 255);
  int32_t step = NumberField(fields, 3, 255, 0, 255);
  const int32_t pause = NumberField(fields, 4, 0, 0, std::numeric_limits<int32_t>::max());
  // NOTE: a step of 0 would never arrive; it goes to the goal in one step,
  // as the default step does.
  if (step == 0) step = 255;
  int32_t opacity = layer.Alpha;
  if (show ? opacity >= goal : opacity <= goal) return;
  const HWND window = desklet.windowHandle;
  const KivRect rect{layer.X, layer.Y, layer.X + layer.Width, layer.Y + layer.Height};
  const KivSize size = host::DeskletGetSize(window);
  while (opacity != goal) {
    opacity = show ? std::min(opacity + step, goal) : std::max(opacity - step, goal);
    host::DeskletLayerSetAlpha(window, layer.Id, false, opacity);
    host::DeskletInvalidateRect(window, rect, size, true);
    layer.Alpha = static_cast<uint8_t>(opacity);
    if (pause > 0) std::this_thread::sleep_for(std::chrono::milliseconds(pause));
  }
}

// The twelve rectangle values of a slide, each formula evaluated over the
// layer's present geometry.
std::array<int32_t, 12> SlideValues(const TLayerObject& layer, const Fields& fields) {
  TCalcExpress calc;
  calc.SetVariables({"x", "y", "width", "height", "offsetx", "offsety"});
  const std::array<double, 6> geometry{double(layer.X),      double(layer.Y),       double(layer.Width),
                                       double(layer.Height), double(layer.OffSetX), double(layer.OffSetY)};
  std::array<int32_t, 12> values{};
  for (size_t i = 0; i < values.size(); ++i) {
    calc.SetFormula(fields[2 + i]);
    const double value = std::nearbyint(calc.Calculate(geometry));
    if (!(value >= std::numeric_limits<int32_t>::min() && value <= std::numeric_limits<int32_t>::max()))
      throw KivError(errors::kRangeCheck);
    values[i] = static_cast<int32_t>(value);
  }
  return values;
}

void Slide(TDeskletObject& desklet, TLayerObject& layer, const Fields& fields) {
  if (fields.size() < kSlideFields) return;
  const std::array<int32_t, 12> v = SlideValues(layer, fields);
  TSlideRequest request;
  request.start = {v[0], v[1], v[2], v[3]};
  request.end = {v[4], v[5], v[6], v[7]};
  request.step = {v[8], v[9], v[10], v[11]};
  request.delay = NumberField(fields, kSlideFields, kSlidePause, 0, std::numeric_limits<int32_t>::max());
  request.loop = 1;
  request.async = false;
  StartLayerSlide(desklet, layer, request);
}

}  // namespace

void RunEffect(TDeskletObject& desklet, TLayerObject& own, const std::string& statement) {
  if (statement.size() <= kPrefix.size()) return;
  const Fields fields = Split(statement.substr(kPrefix.size()), ',', {.clearFirst = true, .skipEmpty = true});
  if (fields.empty()) return;
  const std::string& kind = fields[0];
  const bool show = kiv::EqualsIgnoreCase(kind, "SHOW");
  if (show || kiv::EqualsIgnoreCase(kind, "HIDE")) {
    Fade(desklet, TargetLayer(desklet, own, fields), fields, show);
  } else if (kiv::EqualsIgnoreCase(kind, "SLIDE")) {
    if (fields.size() >= kSlideFields) Slide(desklet, TargetLayer(desklet, own, fields), fields);
  }
}

}  // namespace vorel
