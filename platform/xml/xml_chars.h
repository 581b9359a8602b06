// Making caller text safe to store in a tree: XML 1.0 allows only some
// characters, and text that breaks the rule would serialise into a
// document that no parser reads back.
#pragma once

#include <string>
#include <string_view>

namespace xml::detail {

// Invalid UTF-8 and characters that XML 1.0 forbids (controls other than
// tab, CR and LF; U+FFFE, U+FFFF) become U+FFFD.
std::string ToXmlText(std::string_view text);

// A qualified name as elements and attributes may carry ("a", "p:a").
bool IsQualifiedName(std::string_view name);
// A name without prefix.
bool IsLocalName(std::string_view name);

}  // namespace xml::detail
