#include "kivhost/render/compositor.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <numbers>

#include "kivhost/render/layer_geometry.h"

namespace kivhost {
namespace {

using SurfacePtr = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;

void PaintStretched(cairo_t* cr, cairo_surface_t* surface, const FRect& source, const FRect& target, double alpha,
                    int rotation) {
  if (source.width <= 0 || source.height <= 0 || target.width <= 0 || target.height <= 0) return;
  cairo_save(cr);
  if (rotation % 360 != 0) {
    const double cx = target.x + target.width / 2, cy = target.y + target.height / 2;
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, rotation * std::numbers::pi / 180.0);
    cairo_translate(cr, -cx, -cy);
  }
  cairo_translate(cr, target.x, target.y);
  cairo_scale(cr, target.width / source.width, target.height / source.height);
  cairo_set_source_surface(cr, surface, -source.x, -source.y);
  // NOTE: the layer's rectangle is filled rather than clipped to and
  // painted: one pass over its pixels, no clip mask.
  cairo_rectangle(cr, 0, 0, source.width, source.height);
  // NOTE: unscaled, unturned layers are drawn pixel for pixel; scaled or
  // rotated ones land between pixels and are filtered, or their edges
  // would be jagged.
  const bool scaled = std::abs(target.width - source.width) > 1e-9 || std::abs(target.height - source.height) > 1e-9;
  const bool smooth = scaled || rotation % 360 != 0;
  cairo_pattern_set_filter(cairo_get_source(cr), smooth ? CAIRO_FILTER_GOOD : CAIRO_FILTER_NEAREST);
  // NOTE: the rectangle bounds the layer; padding keeps a stretched
  // picture's edge pixels from fading into the transparency beyond it.
  cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
  if (alpha >= 1.0) {
    cairo_fill(cr);
  } else {
    cairo_clip(cr);
    cairo_paint_with_alpha(cr, alpha);
  }
  cairo_restore(cr);
}

}  // namespace

cairo_surface_t* ApplySaturation(cairo_surface_t* source, int saturation) {
  const int w = cairo_image_surface_get_width(source), h = cairo_image_surface_get_height(source);
  cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cairo_surface_flush(source);
  const unsigned char* in = cairo_image_surface_get_data(source);
  unsigned char* dst = cairo_image_surface_get_data(out);
  const int inStride = cairo_image_surface_get_stride(source), outStride = cairo_image_surface_get_stride(out);
  const double s = std::max(saturation, 0) / 100.0;
  for (int y = 0; y < h; ++y) {
    auto* src = reinterpret_cast<const uint32_t*>(in + static_cast<ptrdiff_t>(y) * inStride);
    auto* row = reinterpret_cast<uint32_t*>(dst + static_cast<ptrdiff_t>(y) * outStride);
    for (int x = 0; x < w; ++x) {
      const uint32_t p = src[x];
      const uint32_t a = p >> 24;
      if (a == 0) {
        row[x] = 0;
        continue;
      }
      // The chroma is scaled on the straight colour: on premultiplied values
      // the clamp to 255 would let a faint pixel shine brighter than its alpha.
      const double unpremultiply = 255.0 / a;
      double c[3] = {((p >> 16) & 0xFF) * unpremultiply, ((p >> 8) & 0xFF) * unpremultiply, (p & 0xFF) * unpremultiply};
      const double luma = SaturationLuma(c[0], c[1], c[2]);
      uint32_t packed = a << 24;
      for (int i = 0; i < 3; ++i) {
        const double straight = std::clamp(luma + (c[i] - luma) * s, 0.0, 255.0);
        packed |= static_cast<uint32_t>(std::lround(straight * a / 255.0)) << (16 - 8 * i);
      }
      row[x] = packed;
    }
  }
  cairo_surface_mark_dirty(out);
  return out;
}

// The desklet's own picture, stretched over the whole desklet.
void PaintDeskletImage(cairo_t* cr, cairo_surface_t* deskletImage, KivSize size) {
  if (!deskletImage) return;
  const FRect whole{0, 0, static_cast<double>(cairo_image_surface_get_width(deskletImage)),
                    static_cast<double>(cairo_image_surface_get_height(deskletImage))};
  PaintStretched(cr, deskletImage, whole, {0, 0, double(size.cx), double(size.cy)}, 1.0, 0);
}

void CompositeDesklet(cairo_t* cr, const HostDesklet& desklet, cairo_surface_t* deskletImage) {
  const KivSize size = desklet.Size();
  PaintDeskletImage(cr, deskletImage, size);
  for (const HostLayer& layer : desklet.Layers()) {
    if (!layer.visible || !layer.image || layer.alpha <= 0) continue;
    const FRect source = ImageSourceRect(layer);
    const FRect target = LayerBounds(layer, size);
    const double alpha = std::min(layer.alpha, 255) / 255.0;
    if (layer.saturation != 100) {
      SurfacePtr filtered(ApplySaturation(layer.image->Surface(), layer.saturation), cairo_surface_destroy);
      PaintStretched(cr, filtered.get(), source, target, alpha, layer.rotation);
    } else {
      PaintStretched(cr, layer.image->Surface(), source, target, alpha, layer.rotation);
    }
  }
}

void CompositeHitMask(cairo_t* cr, const HostDesklet& desklet, cairo_surface_t* deskletImage) {
  const KivSize size = desklet.Size();
  PaintDeskletImage(cr, deskletImage, size);
  for (const HostLayer& layer : desklet.Layers()) {
    if (!layer.visible || layer.clickThrough) continue;
    const FRect target = LayerBounds(layer, size);
    if (layer.fullHitTest) {
      cairo_save(cr);
      cairo_set_source_rgba(cr, 0, 0, 0, 1);
      cairo_rectangle(cr, target.x, target.y, target.width, target.height);
      cairo_fill(cr);
      cairo_restore(cr);
    } else if (layer.image) {
      PaintStretched(cr, layer.image->Surface(), ImageSourceRect(layer), target, 1.0, layer.rotation);
    }
  }
}

cairo_surface_t* RenderDesklet(const HostDesklet& desklet, cairo_surface_t* deskletImage) {
  const KivSize size = desklet.Size();
  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::max(1, size.cx), std::max(1, size.cy));
  cairo_t* cr = cairo_create(surface);
  CompositeDesklet(cr, desklet, deskletImage);
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  return surface;
}

}  // namespace kivhost
