// Creating the elements of a simple path ("/root/a/b", "root/a/@id") that
// are missing from a tree: the machinery behind Document::FindOrCreateNode.
#pragma once

#include <memory>
#include <string_view>

#include "platform/xml/node.h"
#include "platform/xml/tree.h"

namespace xml::detail {

// Walks the path from the document node, taking the first child element of
// each name and creating it when absent; a final "@name" step finds or
// creates that attribute. tree may be null (an empty document): a new one
// is made. Throws std::runtime_error when the path is not of the simple
// form or asks for a second root element.
Node CreateSimplePath(std::shared_ptr<Tree>& tree, std::string_view path);

}  // namespace xml::detail
