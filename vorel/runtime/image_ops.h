// The pixel work of layer rendering: scaling an image into the layer's
// size, recolouring it into a silhouette, masking it by another image's
// brightness and placing several images in a strip. All work on
// gdiplus::Bitmap and never touch the host.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gdiplus/bitmap.h"

namespace vorel {

// Nearest integer, ties to the even one (12.5 gives 12, 13.5 gives 14).
int32_t RoundHalfEven(double value);

struct DrawnRect {
  int32_t x = 0, y = 0, width = 0, height = 0;
  bool operator==(const DrawnRect&) const = default;
};

// Where an image of w by h lands in a width by height layer image, by the
// layer's Scale, ScaleProportional and CenterSrc flags.
DrawnRect ScaledPlacement(int32_t w, int32_t h, int32_t width, int32_t height, uint16_t layerFlags);

// A new transparent width by height image with `image` drawn into its
// ScaledPlacement (high-quality interpolation).
std::unique_ptr<gdiplus::Bitmap> ScaleIntoLayer(const gdiplus::Bitmap& image, int32_t width, int32_t height,
                                                uint16_t layerFlags);

// Every pixel that is not fully transparent takes the colour and keeps its
// alpha. The colour is a layer's stored colour: a COLORREF (red in the low
// byte) or a system colour, which is drawn in its current RGB.
void Recolor(gdiplus::Bitmap& image, uint32_t color);

// The mask's luminance 0.2999 R + 0.587 G + 0.114 B (at most 255) at each
// pixel decides: the image pixel stays where the mask pixel is fully
// transparent or minValue <= L <= maxValue, and is made transparent
// otherwise. Pixels beyond the mask's size stay.
void ApplyMask(gdiplus::Bitmap& image, const gdiplus::Bitmap& mask, uint8_t minValue, uint8_t maxValue);
double MaskLuminance(uint32_t argb);

// The images one after another at their own sizes, top to bottom when
// vertical, left to right otherwise, in cells of the largest width and
// height. Null for an empty list.
std::unique_ptr<gdiplus::Bitmap> ComposeImages(const std::vector<std::unique_ptr<gdiplus::Bitmap>>& images,
                                               bool vertical);

}  // namespace vorel
