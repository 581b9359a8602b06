// xml::Node is a handle to one node of a parsed document: an element, an
// attribute, a text-like node or the document itself, as MSXML's IXMLDOMNode
// is for the system. A Node keeps the tree it belongs to alive, so it never
// dangles: not when its Document loads another file, not when the node is
// cut out of the tree by SetText on an ancestor. A default-constructed
// Node is null; queries on it find nothing and changes to it throw.
//
// All text is UTF-8. A Node and its tree are used by one thread at a time.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct _xmlNode;

namespace xml {

namespace detail {
class Tree;
struct NodeAccess;
}  // namespace detail

enum class NodeType { Element, Attribute, Text, CData, Comment, ProcessingInstruction, Document, Other };

class Node {
 public:
  Node() = default;
  Node(const Node& other);
  Node(Node&& other) noexcept;
  Node& operator=(Node other) noexcept;
  ~Node();

  explicit operator bool() const { return node_ != nullptr; }
  friend bool operator==(const Node& a, const Node& b) { return a.node_ == b.node_; }

  NodeType Type() const;
  // The qualified name; "#text", "#cdata-section", "#comment", "#document"
  // for the unnamed kinds; "" for a null node.
  std::string Name() const;
  // The XPath string value: the concatenated text of all descendants for an
  // element or the document, the value of an attribute, the content of a
  // text node.
  std::string Text() const;
  // Element: replaces all children with one text node (none for ""). An
  // attribute or text-like node gets the value. Characters XML cannot hold
  // become U+FFFD. Throws std::runtime_error on the document or a null node.
  void SetText(std::string_view text);

  // XPath 1.0 relative to this node, results in document order (elements,
  // attributes, text and other nodes; namespace nodes are left out).
  // A malformed expression throws XPathError, also on a null node.
  std::vector<Node> SelectNodes(std::string_view xpath) const;
  // The text (string value) of every node SelectNodes would give, and
  // their number.
  std::vector<std::string> SelectTexts(std::string_view xpath) const;
  size_t CountMatches(std::string_view xpath) const;
  // The first match in document order, or a null Node.
  Node SelectSingleNode(std::string_view xpath) const;

  bool HasChildNodes() const;
  // An element's attribute by qualified name; nullopt when absent or when
  // this is not an element.
  std::optional<std::string> Attribute(std::string_view name) const;
  // Creates or replaces an attribute of an element. A prefixed name needs
  // its prefix declared in scope. Throws std::runtime_error for a bad name
  // or a node that is not an element.
  void SetAttribute(std::string_view name, std::string_view value);

  // The node serialised as XML ("" for a null node).
  std::string Xml() const;

 private:
  friend struct detail::NodeAccess;
  Node(std::shared_ptr<detail::Tree> tree, _xmlNode* node);

  std::shared_ptr<detail::Tree> tree_;
  _xmlNode* node_ = nullptr;
};

}  // namespace xml
