// HostImage: the picture behind an image handle of the host's image
// library. It holds a reference to the plug-in bitmap's own cairo surface,
// so making a host image copies no pixels; the host composites straight
// from it. The handle that crosses the plug-in boundary is the address of
// a HostImage, checked by its tag before use.
#pragma once

#include <cairo.h>

#include <cstdint>

#include "platform/abi/kiv_types.h"

namespace kivimg {

struct HostImage {
  static constexpr uint32_t kTag = 0x4B494D47;  // "KIMG"
  uint32_t tag = kTag;
  cairo_surface_t* surface = nullptr;  // one reference owned
};

// The image behind a handle, or null for 0 or a handle that is not ours.
inline const HostImage* ImageFromHandle(KivHandle handle) {
  auto* image = reinterpret_cast<const HostImage*>(handle);
  return image && image->tag == HostImage::kTag ? image : nullptr;
}

}  // namespace kivimg

extern "C" {
// The host's own way to release an image it owns (auto-delete); the same
// as DeleteCPPBMP.
void KivImageRelease(KivHandle image);
}
