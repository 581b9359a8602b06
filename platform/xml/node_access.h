// The bridge between the public Node handle and the libxml2 node it wraps,
// for the code of this folder only.
#pragma once

#include <libxml/tree.h>

#include <memory>

#include "platform/xml/node.h"
#include "platform/xml/tree.h"

namespace xml::detail {

struct NodeAccess {
  static Node Make(const std::shared_ptr<Tree>& tree, xmlNode* node) {
    if (node == nullptr) return Node();
    return Node(tree, node);
  }
  static xmlNode* Raw(const Node& node) { return node.node_; }
  static const std::shared_ptr<Tree>& TreeOf(const Node& node) { return node.tree_; }
};

}  // namespace xml::detail
