// The host's image library, which turns the plug-in's bitmaps into images
// that host layers show. One per process, loaded at first use.
#pragma once

#include <mutex>

#include "platform/abi/controls_api.h"
#include "vorel/host/shared_library.h"

namespace vorel {

class ImageLibrary {
 public:
  static ImageLibrary& Instance();

  // True when the library is at least the version the plug-in needs. The
  // first failed check in the process shows the "outdated" message box.
  bool CheckVersion();
  // A host image made from the bitmap (a gdiplus::Bitmap*); 0 on failure.
  KivHandle CreateImage(void* bitmap);
  void DeleteImage(KivHandle image);

 private:
  ImageLibrary() : library_(kImageLibraryFile) {}

  std::mutex mutex_;
  SharedLibrary library_;
  bool warned_ = false;
};

}  // namespace vorel
