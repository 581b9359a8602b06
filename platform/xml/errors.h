// The failures of the XML layer that callers tell apart: a malformed or
// unusable XPath expression, and a stylesheet that cannot be compiled or
// run. Both carry libxml2's / libxslt's own message text.
#pragma once

#include <stdexcept>
#include <string>

namespace xml {

class XPathError : public std::runtime_error {
 public:
  // position is the offset in the expression where libxml2 stopped, or -1.
  XPathError(const std::string& message, std::string expression, int position);

  const std::string& Expression() const { return expression_; }
  int Position() const { return position_; }

 private:
  std::string expression_;
  int position_;
};

class TransformError : public std::runtime_error {
 public:
  explicit TransformError(const std::string& message);
};

}  // namespace xml
