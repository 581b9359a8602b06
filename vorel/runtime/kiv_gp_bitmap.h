// TKivGPBitmap: a layer image on its way to the host. It owns the drawn
// bitmap and, once made, the host image handle that the image library
// built from it; destroying it releases that handle, unless it was handed
// to the host with auto-delete, after which the host owns handle and
// picture.
#pragma once

#include <memory>

#include "platform/abi/kiv_types.h"
#include "platform/gdiplus/bitmap.h"

namespace vorel {

class TKivGPBitmap {
 public:
  explicit TKivGPBitmap(std::unique_ptr<gdiplus::Bitmap> bitmap);
  ~TKivGPBitmap();
  TKivGPBitmap(const TKivGPBitmap&) = delete;
  TKivGPBitmap& operator=(const TKivGPBitmap&) = delete;

  gdiplus::Bitmap& Image() { return *bitmap_; }

  // The host image of the bitmap, made at the first call; 0 when the image
  // library could not make one.
  KivHandle Handle();
  // Gives the handle up: the caller passes it to the host with auto-delete.
  KivHandle ReleaseHandle();

 private:
  std::unique_ptr<gdiplus::Bitmap> bitmap_;
  KivHandle handle_ = 0;
};

}  // namespace vorel
