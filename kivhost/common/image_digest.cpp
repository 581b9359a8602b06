#include "kivhost/common/image_digest.h"

#include <glib.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace kivlib {

std::string SurfaceSha256(cairo_surface_t* surface) {
  if (!surface || cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) return {};
  cairo_surface_flush(surface);
  const int width = cairo_image_surface_get_width(surface);
  const int height = cairo_image_surface_get_height(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  std::unique_ptr<GChecksum, decltype(&g_checksum_free)> sum(g_checksum_new(G_CHECKSUM_SHA256), g_checksum_free);
  std::vector<unsigned char> row(static_cast<size_t>(width) * 4);
  for (int y = 0; y < height && data; ++y) {
    auto* px = reinterpret_cast<const uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
    for (int x = 0; x < width; ++x) {
      const uint32_t p = px[x];
      const uint32_t a = p >> 24;
      auto straight = [a](uint32_t c) { return a == 0 ? 0u : (c * 255 + a / 2) / a; };
      row[x * 4 + 0] = static_cast<unsigned char>(straight((p >> 16) & 0xFF));
      row[x * 4 + 1] = static_cast<unsigned char>(straight((p >> 8) & 0xFF));
      row[x * 4 + 2] = static_cast<unsigned char>(straight(p & 0xFF));
      row[x * 4 + 3] = static_cast<unsigned char>(a);
    }
    g_checksum_update(sum.get(), row.data(), static_cast<gssize>(row.size()));
  }
  return g_checksum_get_string(sum.get());
}

std::string SurfaceJson(cairo_surface_t* surface) {
  if (!surface) return "null";
  return "{\"width\":" + std::to_string(cairo_image_surface_get_width(surface)) +
         ",\"height\":" + std::to_string(cairo_image_surface_get_height(surface)) + ",\"sha256\":\"" +
         SurfaceSha256(surface) + "\"}";
}

}  // namespace kivlib
