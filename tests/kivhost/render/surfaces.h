// Pictures for host model tests: solid or half-transparent surfaces made
// directly with cairo, and pixel reads of a composite.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <memory>

#include "kivhost/model/layer.h"

namespace hosttest {

// A width by height surface of one premultiplied ARGB colour.
inline cairo_surface_t* SolidSurface(int width, int height, uint32_t premultipliedArgb) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  unsigned char* data = cairo_image_surface_get_data(s);
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(data + y * cairo_image_surface_get_stride(s));
    for (int x = 0; x < width; ++x) row[x] = premultipliedArgb;
  }
  cairo_surface_mark_dirty(s);
  return s;
}

inline std::shared_ptr<kivhost::LayerImage> Picture(cairo_surface_t* s) {
  auto image = std::make_shared<kivhost::LayerImage>(s, 0);
  cairo_surface_destroy(s);  // the picture holds its own reference
  return image;
}

inline uint32_t PixelAt(cairo_surface_t* s, int x, int y) {
  cairo_surface_flush(s);
  const unsigned char* data = cairo_image_surface_get_data(s);
  return reinterpret_cast<const uint32_t*>(data + y * cairo_image_surface_get_stride(s))[x];
}

}  // namespace hosttest
