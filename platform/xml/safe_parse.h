// Parsing untrusted bytes into a tree, the one way every document of the
// system is read: no network, no DTD loading, no entity substitution, the
// parser's default size limits, no output on stderr. Whitespace-only text
// nodes are dropped (outside xml:space="preserve"), as the MSXML DOM does by
// default, so "has child nodes" means an element or real text.
#pragma once

#include <string>
#include <string_view>

#include "platform/xml/tree.h"

namespace xml::detail {

struct ParseResult {
  DocPtr doc;         // null on failure
  std::string error;  // why, when doc is null
};

// textIsUtf8: the bytes are UTF-8 whatever the XML declaration says (text
// handed over in memory); otherwise the declaration and BOM decide (files).
// url, when not null, becomes the document's base URI.
ParseResult ParseBytes(std::string_view bytes, const char* url, bool textIsUtf8);

}  // namespace xml::detail
