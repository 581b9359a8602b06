#include "kivhost/render/hit_test.h"

#include <cstdint>

#include "kivhost/render/layer_geometry.h"

namespace kivhost {
namespace {

bool OpaqueAt(const HostLayer& layer, KivSize size, double x, double y) {
  auto pixel = ImagePixelAt(layer, size, x, y);
  if (!pixel) return false;
  cairo_surface_t* s = layer.image->Surface();
  cairo_surface_flush(s);
  const unsigned char* data = cairo_image_surface_get_data(s);
  if (!data) return false;
  const auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<ptrdiff_t>(pixel->y) * cairo_image_surface_get_stride(s));
  return (row[pixel->x] >> 24) != 0;
}

}  // namespace

std::optional<uint32_t> HitTest(const HostDesklet& desklet, double x, double y) {
  if (desklet.Captured()) return desklet.Captured();
  const KivSize size = desklet.Size();
  const auto& layers = desklet.Layers();
  for (size_t i = layers.size(); i-- > 0;) {
    const HostLayer& layer = layers[i];
    if (!layer.visible || layer.clickThrough) continue;
    if (!LayerBounds(layer, size).Contains(x, y)) continue;
    if (layer.fullHitTest || OpaqueAt(layer, size, x, y)) return static_cast<uint32_t>(i);
  }
  return std::nullopt;
}

}  // namespace kivhost
