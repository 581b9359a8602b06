// Running an XSLT 1.0 stylesheet with libxslt under locked-down security
// preferences (no file writes, no folder creation, no network).
#pragma once

#include <string>

#include "platform/xml/tree.h"

namespace xml::detail {

// source may be null (an empty document). Throws TransformError.
std::string TransformWithStylesheet(const Tree* source, const Tree* stylesheet);

}  // namespace xml::detail
