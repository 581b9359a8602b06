// Where a layer lands on its desklet and which part of its picture it
// shows: rectangles given against reference sizes, scaled to the sizes in
// use now.
#pragma once

#include <optional>

#include "kivhost/model/layer.h"

namespace kivhost {

struct FRect {
  double x = 0, y = 0, width = 0, height = 0;
  bool Contains(double px, double py) const { return px >= x && py >= y && px < x + width && py < y + height; }
};

// The rectangle scaled from its reference size to `toWidth` by `toHeight`;
// a reference size of 0 means the rectangle is already in those units.
FRect ScaleRefRect(const RefRect& r, int toWidth, int toHeight);

// The layer's rectangle in desklet pixels: its placement, or the whole
// desklet without one.
FRect LayerBounds(const HostLayer& layer, KivSize deskletSize);

// The part of the layer's picture shown: its clip rectangle in picture
// pixels, or the whole picture. Empty without a picture.
FRect ImageSourceRect(const HostLayer& layer);

// The picture pixel under a desklet point, if the point is on the layer
// and maps into its picture.
struct PixelPos { int x, y; };
std::optional<PixelPos> ImagePixelAt(const HostLayer& layer, KivSize deskletSize, double px, double py);

}  // namespace kivhost
