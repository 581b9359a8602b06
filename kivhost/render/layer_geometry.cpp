#include "kivhost/render/layer_geometry.h"

#include <cmath>

namespace kivhost {

FRect ScaleRefRect(const RefRect& r, int toWidth, int toHeight) {
  const double sx = r.refWidth > 0 ? static_cast<double>(toWidth) / r.refWidth : 1.0;
  const double sy = r.refHeight > 0 ? static_cast<double>(toHeight) / r.refHeight : 1.0;
  return {r.rect.left * sx, r.rect.top * sy, (r.rect.right - r.rect.left) * sx, (r.rect.bottom - r.rect.top) * sy};
}

FRect LayerBounds(const HostLayer& layer, KivSize deskletSize) {
  if (layer.placement) return ScaleRefRect(*layer.placement, deskletSize.cx, deskletSize.cy);
  return {0, 0, static_cast<double>(deskletSize.cx), static_cast<double>(deskletSize.cy)};
}

FRect ImageSourceRect(const HostLayer& layer) {
  if (!layer.image) return {};
  const int w = layer.image->Width(), h = layer.image->Height();
  if (layer.clip) return ScaleRefRect(*layer.clip, w, h);
  return {0, 0, static_cast<double>(w), static_cast<double>(h)};
}

std::optional<PixelPos> ImagePixelAt(const HostLayer& layer, KivSize deskletSize, double px, double py) {
  const FRect bounds = LayerBounds(layer, deskletSize);
  const FRect source = ImageSourceRect(layer);
  if (!bounds.Contains(px, py) || bounds.width <= 0 || bounds.height <= 0 || source.width <= 0 ||
      source.height <= 0)
    return std::nullopt;
  const double ix = source.x + (px - bounds.x) * source.width / bounds.width;
  const double iy = source.y + (py - bounds.y) * source.height / bounds.height;
  const int x = static_cast<int>(std::floor(ix)), y = static_cast<int>(std::floor(iy));
  if (x < 0 || y < 0 || x >= layer.image->Width() || y >= layer.image->Height()) return std::nullopt;
  return PixelPos{x, y};
}

}  // namespace kivhost
