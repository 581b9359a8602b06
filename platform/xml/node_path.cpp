#include "platform/xml/node_path.h"

#include <libxml/tree.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/xml/error_capture.h"
#include "platform/xml/node_access.h"
#include "platform/xml/xml_chars.h"

namespace xml::detail {
namespace {

struct Step {
  std::string name;
  bool attribute = false;
};

[[noreturn]] void ThrowNotSimple(std::string_view path, const std::string& why) {
  throw std::runtime_error("xml: cannot create the nodes of \"" + std::string(path) + "\": " + why);
}

std::vector<Step> ParseSimplePath(std::string_view path) {
  std::string_view rest = path;
  if (!rest.empty() && rest.front() == '/') rest.remove_prefix(1);
  if (rest.empty()) ThrowNotSimple(path, "no element named");
  std::vector<Step> steps;
  while (true) {
    size_t slash = rest.find('/');
    std::string_view text = rest.substr(0, slash);
    Step step;
    if (!text.empty() && text.front() == '@') {
      step.attribute = true;
      text.remove_prefix(1);
    }
    if (!IsLocalName(text)) ThrowNotSimple(path, "only plain element names and a last @attribute can be created");
    step.name = std::string(text);
    if (step.attribute && slash != std::string_view::npos) ThrowNotSimple(path, "an attribute can only be the last step");
    steps.push_back(std::move(step));
    if (slash == std::string_view::npos) break;
    rest.remove_prefix(slash + 1);
  }
  if (steps.front().attribute) ThrowNotSimple(path, "the document node has no attributes");
  return steps;
}

bool HasName(const xmlNode* node, const std::string& name) {
  return node->ns == nullptr && node->name != nullptr &&
         name == reinterpret_cast<const char*>(node->name);
}

xmlNode* FirstChildElement(xmlNode* parent, const std::string& name) {
  for (xmlNode* child = parent->children; child != nullptr; child = child->next)
    if (child->type == XML_ELEMENT_NODE && HasName(child, name)) return child;
  return nullptr;
}

const xmlChar* Chars(const std::string& text) { return reinterpret_cast<const xmlChar*>(text.c_str()); }

}  // namespace

Node CreateSimplePath(std::shared_ptr<Tree>& tree, std::string_view path) {
  std::vector<Step> steps = ParseSimplePath(path);
  ErrorCapture quiet;
  if (tree == nullptr) {
    DocPtr doc(xmlNewDoc(BAD_CAST "1.0"));
    if (!doc) throw std::runtime_error("xml: out of memory");
    tree = std::make_shared<Tree>(std::move(doc));
  }
  xmlDoc* doc = tree->Doc();
  xmlNode* current = reinterpret_cast<xmlNode*>(doc);
  for (const Step& step : steps) {
    if (step.attribute) {
      for (xmlAttr* attr = current->properties; attr != nullptr; attr = attr->next)
        if (attr->ns == nullptr && step.name == reinterpret_cast<const char*>(attr->name))
          return NodeAccess::Make(tree, reinterpret_cast<xmlNode*>(attr));
      xmlAttr* created = xmlSetNsProp(current, nullptr, Chars(step.name), BAD_CAST "");
      if (created == nullptr) throw std::runtime_error("xml: out of memory");
      return NodeAccess::Make(tree, reinterpret_cast<xmlNode*>(created));
    }
    xmlNode* next = FirstChildElement(current, step.name);
    if (next == nullptr) {
      if (current == reinterpret_cast<xmlNode*>(doc)) {
        if (xmlNode* root = xmlDocGetRootElement(doc))
          ThrowNotSimple(path, "the document already has the root element \"" +
                                   std::string(reinterpret_cast<const char*>(root->name)) + "\"");
        next = xmlNewDocNode(doc, nullptr, Chars(step.name), nullptr);
        if (next == nullptr) throw std::runtime_error("xml: out of memory");
        xmlDocSetRootElement(doc, next);
      } else {
        // NOTE: content null: xmlNewChild would parse entity references in it.
        next = xmlNewChild(current, nullptr, Chars(step.name), nullptr);
        if (next == nullptr) throw std::runtime_error("xml: out of memory");
      }
    }
    current = next;
  }
  return NodeAccess::Make(tree, current);
}

}  // namespace xml::detail
