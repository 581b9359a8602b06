// XPath 1.0 selection over a tree with libxml2: errors become XPathError
// with libxml2's message, results come back as Node handles in document
// order.
#pragma once

#include <libxml/tree.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/xml/node.h"
#include "platform/xml/tree.h"

namespace xml::detail {

// The expression is always compiled, so a malformed one throws even when
// there is no context (tree or context null); then nothing is selected.
// firstOnly stops at the first node in document order.
std::vector<Node> SelectWithXPath(const std::shared_ptr<Tree>& tree, xmlNode* context,
                                  std::string_view xpath, bool firstOnly);
// Calls visit with every match in document order.
void ForEachXPathMatch(const std::shared_ptr<Tree>& tree, xmlNode* context, std::string_view xpath, bool firstOnly,
                       const std::function<void(xmlNode*)>& visit);
// The string value of every match, in document order, without making a
// Node handle for each.
std::vector<std::string> SelectTextsWithXPath(const std::shared_ptr<Tree>& tree, xmlNode* context,
                                              std::string_view xpath);

// The XPath string() of the expression with the document node as its
// context; nullopt when plain XPath cannot evaluate it (malformed, or using
// what only XSLT defines, such as current() or a bound prefix).
std::optional<std::string> StringValueWithXPath(const std::shared_ptr<Tree>& tree, std::string_view xpath);

}  // namespace xml::detail
