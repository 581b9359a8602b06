// The in-process automation server exports. Until the class factories of
// the object model are registered, every request fails honestly.
#include <cstdint>

#define VOREL_EXPORT extern "C" __attribute__((visibility("default")))

namespace {
constexpr int32_t kClassNotAvailable = static_cast<int32_t>(0x80040111);  // CLASS_E_CLASSNOTAVAILABLE
constexpr int32_t kSFalse = 1;
constexpr int32_t kNotImplemented = static_cast<int32_t>(0x80004001);  // E_NOTIMPL
}  // namespace

VOREL_EXPORT int32_t DllGetClassObject(const void*, const void*, void** object) {
  if (object) *object = nullptr;
  return kClassNotAvailable;
}

VOREL_EXPORT int32_t DllCanUnloadNow() { return kSFalse; }
VOREL_EXPORT int32_t DllRegisterServer() { return kNotImplemented; }
VOREL_EXPORT int32_t DllUnregisterServer() { return kNotImplemented; }
