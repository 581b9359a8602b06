#include "vorel/runtime/image_ops.h"

#include <algorithm>
#include <cfenv>
#include <cmath>

#include "platform/gdiplus/graphics.h"
#include "platform/gdiplus/pixel.h"
#include "vorel/model/layer_record.h"
#include "vorel/skin/color_names.h"

namespace vorel {

int32_t RoundHalfEven(double value) {
  // NOTE: the default floating-point environment rounds to nearest with
  // ties to even; nearbyint uses it without raising inexact.
  return static_cast<int32_t>(std::nearbyint(value));
}

DrawnRect ScaledPlacement(int32_t w, int32_t h, int32_t width, int32_t height, uint16_t layerFlags) {
  const bool scale = (layerFlags & Scale) != 0;
  const bool proportional = (layerFlags & ScaleProportional) != 0;
  const bool center = (layerFlags & CenterSrc) != 0;
  DrawnRect r;
  if (scale && !proportional) return {0, 0, width, height};
  if (scale) {
    if (w <= h) {
      r.height = height;
      r.width = RoundHalfEven(static_cast<double>(height) * w / h);
    } else {
      r.width = width;
      r.height = RoundHalfEven(static_cast<double>(width) * h / w);
    }
  } else {
    r.width = w;
    r.height = h;
  }
  if (center) {
    r.x = RoundHalfEven((width - r.width) / 2.0);
    r.y = RoundHalfEven((height - r.height) / 2.0);
  }
  return r;
}

std::unique_ptr<gdiplus::Bitmap> ScaleIntoLayer(const gdiplus::Bitmap& image, int32_t width, int32_t height,
                                                uint16_t layerFlags) {
  auto target = std::make_unique<gdiplus::Bitmap>(width, height);
  const DrawnRect r = ScaledPlacement(image.Width(), image.Height(), width, height, layerFlags);
  gdiplus::Graphics g(*target);
  g.SetInterpolationMode(gdiplus::InterpolationMode::HighQualityBicubic);
  g.DrawImage(image, static_cast<float>(r.x), static_cast<float>(r.y), static_cast<float>(r.width),
              static_cast<float>(r.height));
  return target;
}

void Recolor(gdiplus::Bitmap& image, uint32_t color) {
  // A system colour's stored value is its index with a flag, not a colour.
  const uint32_t rgb = ColorToRgb(color);
  const uint32_t r = rgb & 0xFF, g = (rgb >> 8) & 0xFF, b = (rgb >> 16) & 0xFF;
  gdiplus::PixelAccess pixels(image);
  for (int y = 0; y < pixels.Height(); ++y) {
    uint32_t* row = pixels.Row(y);
    for (int x = 0; x < pixels.Width(); ++x) {
      const uint32_t a = gdiplus::AlphaOf(row[x]);
      if (a != 0) row[x] = gdiplus::Premultiply(gdiplus::MakeArgb(a, r, g, b));
    }
  }
}

double MaskLuminance(uint32_t argb) {
  const double l = 0.2999 * gdiplus::RedOf(argb) + 0.587 * gdiplus::GreenOf(argb) + 0.114 * gdiplus::BlueOf(argb);
  return std::min(l, 255.0);
}

void ApplyMask(gdiplus::Bitmap& image, const gdiplus::Bitmap& mask, uint8_t minValue, uint8_t maxValue) {
  const int width = std::min(image.Width(), mask.Width());
  const int height = std::min(image.Height(), mask.Height());
  gdiplus::PixelAccess pixels(image);
  for (int y = 0; y < height; ++y) {
    uint32_t* row = pixels.Row(y);
    const uint32_t* maskRow = mask.Row(y);
    for (int x = 0; x < width; ++x) {
      if (gdiplus::AlphaOf(maskRow[x]) == 0) continue;
      const double l = MaskLuminance(gdiplus::Unpremultiply(maskRow[x]));
      if (l < minValue || l > maxValue) row[x] = 0;
    }
  }
}

std::unique_ptr<gdiplus::Bitmap> ComposeImages(const std::vector<std::unique_ptr<gdiplus::Bitmap>>& images,
                                               bool vertical) {
  if (images.empty()) return nullptr;
  int maxWidth = 0, maxHeight = 0;
  for (const auto& image : images) {
    maxWidth = std::max(maxWidth, image->Width());
    maxHeight = std::max(maxHeight, image->Height());
  }
  const int count = static_cast<int>(images.size());
  auto strip = vertical ? std::make_unique<gdiplus::Bitmap>(maxWidth, maxHeight * count)
                        : std::make_unique<gdiplus::Bitmap>(maxWidth * count, maxHeight);
  gdiplus::Graphics g(*strip);
  int offset = 0;
  for (const auto& image : images) {
    if (vertical) {
      g.DrawImage(*image, 0, static_cast<float>(offset));
      offset += image->Height();
    } else {
      g.DrawImage(*image, static_cast<float>(offset), 0);
      offset += image->Width();
    }
  }
  return strip;
}

}  // namespace vorel
