#include "vorel/runtime/pixel_limits.h"

#include "vorel/model/desklet.h"

namespace vorel {

std::optional<std::string> PixelLimitProblem(const TDeskletObject& desklet, const TLayerObject& layer, int64_t width,
                                             int64_t height) {
  const int64_t pixels = width * height;
  const std::string size = std::to_string(width) + " by " + std::to_string(height) + " pixels";
  if (pixels > kMaxLayerPixels)
    return "the layer \"" + layer.Name + "\" asks for an image of " + size + ", more than the " +
           std::to_string(kMaxLayerPixels) + " a layer may have";
  int64_t others = 0;
  for (const auto& other : desklet.layers)
    if (other.get() != &layer) others += int64_t{other->ImageWidth} * other->ImageHeight;
  if (others + pixels > kMaxDeskletPixels)
    return "the layer \"" + layer.Name + "\" asks for an image of " + size + ", which with the other layers' " +
           std::to_string(others) + " is more than the " + std::to_string(kMaxDeskletPixels) +
           " pixels a desklet may have";
  return std::nullopt;
}

std::optional<std::string> WindowSizeProblem(int64_t width, int64_t height) {
  if (width * height <= kMaxWindowPixels) return std::nullopt;
  return "a desklet of " + std::to_string(width) + " by " + std::to_string(height) + " pixels is more than the " +
         std::to_string(kMaxWindowPixels) + " pixels a desklet's window may have";
}

}  // namespace vorel
