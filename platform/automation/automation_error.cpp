#include "platform/automation/automation_error.h"

namespace automation {

AutomationError::AutomationError(HRESULT code, const std::string& message)
    : std::runtime_error(message), code_(code) {}

AutomationError::AutomationError(HRESULT code)
    : std::runtime_error(DescribeHResult(code)), code_(code) {}

void ThrowRangeError() { throw AutomationError(E_UNEXPECTED, kRangeCheckError); }

void ThrowIntegerOverflow() { throw AutomationError(E_UNEXPECTED, kIntegerOverflow); }

void ThrowInvalidInteger(const std::string& text) {
  throw AutomationError(E_UNEXPECTED, "'" + text + "' is not a valid integer value");
}

void ThrowConversionError(const std::string& fromType, const std::string& toType) {
  throw AutomationError(E_UNEXPECTED,
                        "Could not convert variant of type (" + fromType + ") into type (" + toType + ")");
}

}  // namespace automation
