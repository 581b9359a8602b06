#include "vorel/util/errors.h"

#include <array>
#include <string_view>

namespace vorel {

std::string HostFunctionNotFound(const std::string& name) {
  static constexpr std::array<std::string_view, 7> kProcedures = {
      "DeskletLayerSetIsClickThrough", "DeskletLayerSetNoAlphaBlendedHitTesting", "DeskletSetImageSetStatus",
      "DeskletLayerSetImageClipRect",  "DeskletLockInvalidating",                 "DeskletUnlockInvalidating",
      "DeskletInvalidateRect"};
  for (auto p : kProcedures)
    if (p == name) return "procedure " + name + " not found";
  return "function " + name + " not found";
}

std::string NotAnInteger(const std::string& text) { return "'" + text + "' is not a valid integer value"; }

int16_t CheckedInt16(int64_t value) {
  if (value < -32768 || value > 32767) throw KivError(errors::kRangeCheck);
  return static_cast<int16_t>(value);
}

uint32_t CheckedUInt32(int64_t value) {
  if (value < 0 || value > 0xFFFFFFFF) throw KivError(errors::kRangeCheck);
  return static_cast<uint32_t>(value);
}

void NotImplemented(const std::string& what) { throw KivError(what + ": " + errors::kNotImplemented); }

}  // namespace vorel
