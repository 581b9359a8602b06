// A stand-in for the host's image library that reports a version below the
// one the plug-in needs, and counts the images it is asked to make.
#include <atomic>
#include <cstdint>

#include "platform/abi/controls_api.h"

namespace {
std::atomic<int32_t> created{0};
}  // namespace

extern "C" {

__attribute__((visibility("default"))) int32_t GetDllVersion() { return 99; }

__attribute__((visibility("default"))) KivHandle CreateCPPImageFromGpImage(void*) {
  ++created;
  return 0;
}

__attribute__((visibility("default"))) void DeleteCPPBMP(KivHandle, int32_t) {}

// How many images the plug-in asked for; read by the test.
__attribute__((visibility("default"))) int32_t OutdatedImagesCreated() { return created; }

}  // extern "C"
