// AutomationError is the one exception of the automation layer: a failure
// with the result code a caller will see and the text that becomes the
// error description. Members throw it (or any std::exception) inside; the
// dispatch machinery turns it into an error result at the boundary.
#pragma once

#include <stdexcept>
#include <string>

#include "platform/automation/hresult.h"

namespace automation {

class AutomationError : public std::runtime_error {
 public:
  AutomationError(HRESULT code, const std::string& message);
  // A failure without a text of its own takes the standard description.
  explicit AutomationError(HRESULT code);

  HRESULT Code() const { return code_; }

 private:
  HRESULT code_;
};

// The fixed conversion and arithmetic failures members raise; all carry
// E_UNEXPECTED, as any other failure inside a member does.
[[noreturn]] void ThrowRangeError();
[[noreturn]] void ThrowIntegerOverflow();
[[noreturn]] void ThrowInvalidInteger(const std::string& text);
[[noreturn]] void ThrowConversionError(const std::string& fromType, const std::string& toType);

inline constexpr const char* kRangeCheckError = "Range check error";
inline constexpr const char* kIntegerOverflow = "Integer overflow";

}  // namespace automation
