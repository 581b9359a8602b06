#include "vorel/host/image_library.h"

#include "platform/win/win_services.h"
#include "vorel/util/errors.h"

namespace vorel {

ImageLibrary& ImageLibrary::Instance() {
  static ImageLibrary library;
  return library;
}

bool ImageLibrary::CheckVersion() {
  bool showWarning = false;
  {
    std::lock_guard lock(mutex_);
    auto version = library_.Function<decltype(::GetDllVersion)>("GetDllVersion");
    if (version && version() >= kMinImageLibraryVersion) return true;
    showWarning = !warned_;
    warned_ = true;
  }
  if (showWarning) win::MessageBox(0, errors::kImageLibraryOutdated, "Vorel", kMbOk);
  return false;
}

KivHandle ImageLibrary::CreateImage(void* bitmap) {
  std::lock_guard lock(mutex_);
  auto create = library_.Function<decltype(::CreateCPPImageFromGpImage)>("CreateCPPImageFromGpImage");
  if (!create) throw KivError(HostFunctionNotFound("CreateCPPImageFromGpImage"));
  return create(bitmap);
}

void ImageLibrary::DeleteImage(KivHandle image) {
  std::lock_guard lock(mutex_);
  if (auto del = library_.Function<decltype(::DeleteCPPBMP)>("DeleteCPPBMP")) del(image, 0);
}

}  // namespace vorel
