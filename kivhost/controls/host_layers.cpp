#include "kivhost/controls/host_layers.h"

#include <dlfcn.h>

#include <memory>

#include "kivhost/image/host_image.h"
#include "platform/abi/desklet_api.h"

namespace kivcontrols::host {
namespace {

template <class Fn>
Fn HostFunction(const char* name) {
  return reinterpret_cast<Fn>(dlsym(RTLD_DEFAULT, name));
}

#define HOST_FN(name) static const auto name##Fn = HostFunction<decltype(&::name)>(#name)

}  // namespace

void AddLayer(HWND hwnd, const std::string& name) {
  HOST_FN(DeskletLayerAdd);
  if (DeskletLayerAddFn) DeskletLayerAddFn(hwnd, name.c_str());
}

std::optional<uint32_t> FindLayer(HWND hwnd, const std::string& name) {
  HOST_FN(DeskletLayerGetLayer);
  if (!DeskletLayerGetLayerFn) return std::nullopt;
  BOOL32 found = kFalse;
  const uint32_t id = DeskletLayerGetLayerFn(hwnd, name.c_str(), &found);
  return found ? std::optional<uint32_t>(id) : std::nullopt;
}

void RemoveLayer(HWND hwnd, const std::string& name) {
  HOST_FN(DeskletLayerRemove);
  if (!DeskletLayerRemoveFn) return;
  if (auto id = FindLayer(hwnd, name)) DeskletLayerRemoveFn(hwnd, *id, kTrue);
}

void Place(HWND hwnd, const std::string& name, const KivRect& rect, KivSize reference) {
  HOST_FN(DeskletLayerSetPlacement);
  if (!DeskletLayerSetPlacementFn) return;
  KivRect r = rect;
  if (auto id = FindLayer(hwnd, name)) DeskletLayerSetPlacementFn(hwnd, *id, kFalse, kTrue, &r, reference.cx, reference.cy);
}

void ShowImage(HWND hwnd, const std::string& name, SurfacePtr picture) {
  HOST_FN(DeskletLayerSetImage);
  if (!DeskletLayerSetImageFn) return;
  auto id = FindLayer(hwnd, name);
  if (!id) return;
  if (!picture) return DeskletLayerSetImageFn(hwnd, *id, kTrue, 0, kFalse);
  auto image = std::make_unique<kivimg::HostImage>();
  image->surface = picture.release();
  // From here the host owns the image: it releases it with KivImageRelease
  // when the layer gets another picture or goes.
  DeskletLayerSetImageFn(hwnd, *id, kTrue, reinterpret_cast<KivHandle>(image.release()), kTrue);
}

void Capture(HWND hwnd, const std::string& name) {
  HOST_FN(DeskletLayerSetCapture);
  if (!DeskletLayerSetCaptureFn) return;
  if (auto id = FindLayer(hwnd, name)) DeskletLayerSetCaptureFn(hwnd, *id);
}

void ReleaseCapture(HWND hwnd) {
  HOST_FN(DeskletLayerReleaseCapture);
  if (DeskletLayerReleaseCaptureFn) DeskletLayerReleaseCaptureFn(hwnd);
}

}  // namespace kivcontrols::host
