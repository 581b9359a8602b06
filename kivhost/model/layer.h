// HostLayer: one layer of a desklet as the host keeps it: what the plug-in
// set through the layer functions, nothing derived.
#pragma once

#include <cairo.h>

#include <memory>
#include <optional>
#include <string>

#include "platform/abi/kiv_types.h"

namespace kivhost {

// A rectangle given against a reference size; the host scales it to the
// size it is used at.
struct RefRect {
  KivRect rect{};
  int32_t refWidth = 0;
  int32_t refHeight = 0;
};

// A picture a layer shows: one reference on the image's cairo surface.
// When the host owns the image handle (auto-delete), it releases the
// handle with the picture.
class LayerImage {
 public:
  LayerImage(cairo_surface_t* surface, KivHandle ownedHandle);
  ~LayerImage();
  LayerImage(const LayerImage&) = delete;
  LayerImage& operator=(const LayerImage&) = delete;

  cairo_surface_t* Surface() const { return surface_; }
  int Width() const;
  int Height() const;

 private:
  cairo_surface_t* surface_;
  KivHandle ownedHandle_;
};

struct HostLayer {
  std::string name;
  bool visible = true;
  int32_t alpha = 255;
  int32_t rotation = 0;
  int32_t saturation = 100;
  std::shared_ptr<LayerImage> image;
  std::optional<RefRect> placement;
  std::optional<RefRect> clip;
  bool clickThrough = false;
  bool fullHitTest = false;  // hit testing without alpha
};

}  // namespace kivhost
