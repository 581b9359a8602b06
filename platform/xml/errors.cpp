#include "platform/xml/errors.h"

#include <utility>

namespace xml {

XPathError::XPathError(const std::string& message, std::string expression, int position)
    : std::runtime_error(message), expression_(std::move(expression)), position_(position) {}

TransformError::TransformError(const std::string& message) : std::runtime_error(message) {}

}  // namespace xml
