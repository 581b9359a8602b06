// The numbers and texts of JScript's own run-time errors that the
// built-ins and the value conversions raise, beside the ones the control
// reports for every engine (script_error.h). JScriptError is a failure the
// script sees as an error of a particular kind (TypeError, RangeError), so
// that `e instanceof TypeError` holds as it does in JScript.
#pragma once

#include <js/ErrorReport.h>

#include <cstdint>
#include <string>

#include "platform/automation/automation_error.h"

namespace scriptcontrol::jscript {

inline constexpr int32_t kSubscriptErrorNumber = static_cast<int32_t>(0x800A0009u);
inline constexpr int32_t kOutOfMemoryErrorNumber = static_cast<int32_t>(0x800A0007u);
inline constexpr int32_t kVBArrayExpectedNumber = static_cast<int32_t>(0x800A1395u);
inline constexpr int32_t kEnumeratorExpectedNumber = static_cast<int32_t>(0x800A1397u);
inline constexpr int32_t kObjectExpectedNumber = static_cast<int32_t>(0x800A138Fu);

inline constexpr const char* kSubscriptErrorText = "Subscript out of range";
inline constexpr const char* kOutOfMemoryErrorText = "Out of memory";
inline constexpr const char* kVBArrayExpectedText = "VBArray expected";
inline constexpr const char* kEnumeratorExpectedText = "Enumerator object expected";
inline constexpr const char* kObjectExpectedText = "Object expected";
inline constexpr const char* kNotSupportedText = "Object doesn't support this property or method";

class JScriptError : public automation::AutomationError {
 public:
  JScriptError(JSExnType kind, automation::HRESULT number, const std::string& text)
      : automation::AutomationError(number, text), kind_(kind) {}
  JSExnType Kind() const { return kind_; }

 private:
  JSExnType kind_;
};

}  // namespace scriptcontrol::jscript
