#include "platform/xml/node.h"

#include <libxml/tree.h>
#include <libxml/xpath.h>

#include <stdexcept>
#include <utility>

#include "platform/xml/error_capture.h"
#include "platform/xml/tree.h"
#include "platform/xml/xml_chars.h"
#include "platform/xml/xpath_query.h"

namespace xml {
namespace {

const xmlChar* Chars(const std::string& text) { return reinterpret_cast<const xmlChar*>(text.c_str()); }

std::string TakeString(xmlChar* text) {
  if (text == nullptr) return {};
  std::string result(reinterpret_cast<const char*>(text));
  xmlFree(text);
  return result;
}

std::string QualifiedName(const xmlChar* name, const xmlNs* ns) {
  std::string result;
  if (ns != nullptr && ns->prefix != nullptr) {
    result = reinterpret_cast<const char*>(ns->prefix);
    result += ':';
  }
  if (name != nullptr) result += reinterpret_cast<const char*>(name);
  return result;
}

xmlAttr* FindAttribute(xmlNode* element, std::string_view name) {
  for (xmlAttr* attr = element->properties; attr != nullptr; attr = attr->next)
    if (QualifiedName(attr->name, attr->ns) == name) return attr;
  return nullptr;
}

[[noreturn]] void ThrowNull(const char* what) {
  throw std::runtime_error(std::string("xml: ") + what + " on a null node");
}

}  // namespace

Node::Node(std::shared_ptr<detail::Tree> tree, _xmlNode* node) : tree_(std::move(tree)), node_(node) {
  tree_->AddHandle(node_);
}

Node::Node(const Node& other) : tree_(other.tree_), node_(other.node_) {
  if (tree_) tree_->AddHandle(node_);
}

Node::Node(Node&& other) noexcept : tree_(std::move(other.tree_)), node_(std::exchange(other.node_, nullptr)) {}

Node& Node::operator=(Node other) noexcept {
  std::swap(tree_, other.tree_);
  std::swap(node_, other.node_);
  return *this;
}

Node::~Node() {
  if (tree_) tree_->RemoveHandle(node_);
}

NodeType Node::Type() const {
  if (node_ == nullptr) return NodeType::Other;
  switch (node_->type) {
    case XML_ELEMENT_NODE: return NodeType::Element;
    case XML_ATTRIBUTE_NODE: return NodeType::Attribute;
    case XML_TEXT_NODE: return NodeType::Text;
    case XML_CDATA_SECTION_NODE: return NodeType::CData;
    case XML_COMMENT_NODE: return NodeType::Comment;
    case XML_PI_NODE: return NodeType::ProcessingInstruction;
    case XML_DOCUMENT_NODE: return NodeType::Document;
    default: return NodeType::Other;
  }
}

std::string Node::Name() const {
  if (node_ == nullptr) return {};
  switch (node_->type) {
    case XML_TEXT_NODE: return "#text";
    case XML_CDATA_SECTION_NODE: return "#cdata-section";
    case XML_COMMENT_NODE: return "#comment";
    case XML_DOCUMENT_NODE: return "#document";
    case XML_ELEMENT_NODE:
    case XML_ATTRIBUTE_NODE: return QualifiedName(node_->name, node_->ns);
    default: return node_->name != nullptr ? reinterpret_cast<const char*>(node_->name) : "";
  }
}

std::string Node::Text() const {
  if (node_ == nullptr) return {};
  detail::ErrorCapture quiet;
  return TakeString(xmlXPathCastNodeToString(node_));
}

void Node::SetText(std::string_view text) {
  if (node_ == nullptr) ThrowNull("SetText");
  std::string value = detail::ToXmlText(text);
  detail::ErrorCapture quiet;
  switch (node_->type) {
    case XML_ELEMENT_NODE: {
      while (node_->children != nullptr) tree_->Retire(node_->children);
      if (!value.empty()) {
        xmlNode* child = xmlNewDocTextLen(node_->doc, Chars(value), static_cast<int>(value.size()));
        if (child == nullptr || xmlAddChild(node_, child) == nullptr) throw std::runtime_error("xml: out of memory");
      }
      return;
    }
    case XML_ATTRIBUTE_NODE: {
      auto* attr = reinterpret_cast<xmlAttr*>(node_);
      // Attribute children are never handed out as Nodes, so they may go.
      if (xmlSetNsProp(attr->parent, attr->ns, attr->name, Chars(value)) == nullptr)
        throw std::runtime_error("xml: cannot set the attribute value");
      return;
    }
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE:
    case XML_COMMENT_NODE:
    case XML_PI_NODE:
      // For these kinds libxml2 stores the content as given, no parsing.
      xmlNodeSetContent(node_, Chars(value));
      return;
    default:
      throw std::runtime_error("xml: cannot set the text of a " + Name() + " node");
  }
}

std::vector<Node> Node::SelectNodes(std::string_view xpath) const {
  return detail::SelectWithXPath(tree_, node_, xpath, false);
}

std::vector<std::string> Node::SelectTexts(std::string_view xpath) const {
  return detail::SelectTextsWithXPath(tree_, node_, xpath);
}

size_t Node::CountMatches(std::string_view xpath) const {
  size_t count = 0;
  detail::ForEachXPathMatch(tree_, node_, xpath, false, [&](xmlNode*) { ++count; });
  return count;
}

Node Node::SelectSingleNode(std::string_view xpath) const {
  std::vector<Node> found = detail::SelectWithXPath(tree_, node_, xpath, true);
  return found.empty() ? Node() : std::move(found.front());
}

bool Node::HasChildNodes() const {
  if (node_ == nullptr) return false;
  if (node_->type == XML_ATTRIBUTE_NODE || node_->type == XML_ELEMENT_NODE || node_->type == XML_DOCUMENT_NODE)
    return node_->children != nullptr;
  return false;
}

std::optional<std::string> Node::Attribute(std::string_view name) const {
  if (node_ == nullptr || node_->type != XML_ELEMENT_NODE) return std::nullopt;
  xmlAttr* attr = FindAttribute(node_, name);
  if (attr == nullptr) return std::nullopt;
  detail::ErrorCapture quiet;
  return TakeString(xmlNodeGetContent(reinterpret_cast<xmlNode*>(attr)));
}

void Node::SetAttribute(std::string_view name, std::string_view value) {
  if (node_ == nullptr) ThrowNull("SetAttribute");
  if (node_->type != XML_ELEMENT_NODE) throw std::runtime_error("xml: attributes can only be set on elements");
  if (!detail::IsQualifiedName(name)) throw std::runtime_error("xml: invalid attribute name \"" + std::string(name) + "\"");
  std::string text = detail::ToXmlText(value);
  detail::ErrorCapture quiet;
  xmlAttr* result = nullptr;
  if (xmlAttr* existing = FindAttribute(node_, name)) {
    result = xmlSetNsProp(node_, existing->ns, existing->name, Chars(text));
  } else {
    std::string qualified(name);
    size_t colon = qualified.find(':');
    if (colon == std::string::npos) {
      result = xmlSetNsProp(node_, nullptr, Chars(qualified), Chars(text));
    } else {
      std::string prefix = qualified.substr(0, colon);
      std::string local = qualified.substr(colon + 1);
      xmlNs* ns = xmlSearchNs(node_->doc, node_, Chars(prefix));
      if (ns == nullptr) throw std::runtime_error("xml: undeclared namespace prefix \"" + prefix + "\"");
      result = xmlSetNsProp(node_, ns, Chars(local), Chars(text));
    }
  }
  if (result == nullptr) throw std::runtime_error("xml: cannot set attribute \"" + std::string(name) + "\"");
}

std::string Node::Xml() const {
  if (node_ == nullptr) return {};
  detail::ErrorCapture quiet;
  if (node_->type == XML_DOCUMENT_NODE) {
    xmlChar* text = nullptr;
    int size = 0;
    xmlDocDumpFormatMemoryEnc(reinterpret_cast<xmlDoc*>(node_), &text, &size, "UTF-8", 1);
    std::string result(text != nullptr ? reinterpret_cast<const char*>(text) : "", text != nullptr ? size : 0);
    xmlFree(text);
    return result;
  }
  std::unique_ptr<xmlBuffer, void (*)(xmlBuffer*)> buffer(xmlBufferCreate(), xmlBufferFree);
  if (!buffer) return {};
  if (node_->type == XML_ATTRIBUTE_NODE) {
    // xmlNodeDump writes an attribute with its leading blank.
    auto* attr = reinterpret_cast<xmlAttr*>(node_);
    std::string value = TakeString(xmlNodeGetContent(node_));
    xmlAttrSerializeTxtContent(buffer.get(), node_->doc, attr, Chars(value));
    return Name() + "=\"" + reinterpret_cast<const char*>(xmlBufferContent(buffer.get())) + "\"";
  }
  xmlNodeDump(buffer.get(), node_->doc, node_, 0, 0);
  return reinterpret_cast<const char*>(xmlBufferContent(buffer.get()));
}

}  // namespace xml
