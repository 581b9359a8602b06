#include "vorel/runtime/kiv_gp_bitmap.h"

#include "vorel/host/image_library.h"

namespace vorel {

TKivGPBitmap::TKivGPBitmap(std::unique_ptr<gdiplus::Bitmap> bitmap) : bitmap_(std::move(bitmap)) {}

TKivGPBitmap::~TKivGPBitmap() {
  if (handle_) ImageLibrary::Instance().DeleteImage(handle_);
}

KivHandle TKivGPBitmap::Handle() {
  // NOTE: the image library takes its own reference on the bitmap's pixel
  // storage, so the handle stays valid after this object and its bitmap
  // are gone.
  if (!handle_) handle_ = ImageLibrary::Instance().CreateImage(bitmap_.get());
  return handle_;
}

KivHandle TKivGPBitmap::ReleaseHandle() {
  const KivHandle handle = Handle();
  handle_ = 0;
  return handle;
}

}  // namespace vorel
