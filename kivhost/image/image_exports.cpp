// libkivimg.so: turns the plug-in's gdiplus bitmaps into host images
// without copying their pixels.
#include <cairo.h>

#include <memory>
#include <string>

#include "kivhost/common/image_digest.h"
#include "kivhost/common/library_trace.h"
#include "kivhost/image/host_image.h"
#include "platform/abi/controls_api.h"
#include "platform/gdiplus/bitmap.h"

#define KIVIMG_EXPORT extern "C" __attribute__((visibility("default")))

namespace {
constexpr int32_t kVersion = 110;

std::string Describe(KivHandle handle) {
  if (!kivlib::TraceActive()) return "null";
  const auto* image = kivimg::ImageFromHandle(handle);
  return image ? kivlib::SurfaceJson(image->surface) : "null";
}

void Release(KivHandle handle) {
  auto* image = const_cast<kivimg::HostImage*>(kivimg::ImageFromHandle(handle));
  if (!image) return;
  std::unique_ptr<kivimg::HostImage> owner(image);
  cairo_surface_destroy(image->surface);
  image->tag = 0;
}
}  // namespace

KIVIMG_EXPORT int32_t GetDllVersion() {
  kivlib::LibraryCall call("GetDllVersion", 0, "[]");
  call.Result(std::to_string(kVersion));
  return kVersion;
}

KIVIMG_EXPORT KivHandle CreateCPPImageFromGpImage(void* gpImage) {
  kivlib::LibraryCall call("CreateCPPImageFromGpImage", 0, "[]");
  KivHandle handle = 0;
  if (gpImage) {
    auto* bitmap = static_cast<gdiplus::Bitmap*>(gpImage);
    auto image = std::make_unique<kivimg::HostImage>();
    image->surface = cairo_surface_reference(bitmap->Surface());
    handle = reinterpret_cast<KivHandle>(image.release());
  }
  call.Result(Describe(handle));
  return handle;
}

KIVIMG_EXPORT void DeleteCPPBMP(KivHandle image, int32_t reserved) {
  kivlib::LibraryCall call("DeleteCPPBMP", 0, "[" + Describe(image) + "," + std::to_string(reserved) + "]");
  Release(image);
}

KIVIMG_EXPORT void KivImageRelease(KivHandle image) { Release(image); }
