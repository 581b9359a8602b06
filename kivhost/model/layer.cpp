#include "kivhost/model/layer.h"

#include "kivhost/image/host_image.h"

namespace kivhost {

LayerImage::LayerImage(cairo_surface_t* surface, KivHandle ownedHandle)
    : surface_(cairo_surface_reference(surface)), ownedHandle_(ownedHandle) {}

LayerImage::~LayerImage() {
  cairo_surface_destroy(surface_);
  if (ownedHandle_) KivImageRelease(ownedHandle_);
}

int LayerImage::Width() const { return cairo_image_surface_get_width(surface_); }
int LayerImage::Height() const { return cairo_image_surface_get_height(surface_); }

}  // namespace kivhost
