#include "platform/xml/xpath_query.h"

#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

#include <functional>
#include <string>

#include "platform/xml/error_capture.h"
#include "platform/xml/errors.h"
#include "platform/xml/library_setup.h"
#include "platform/xml/node_access.h"

namespace xml::detail {
namespace {

struct ContextDeleter {
  void operator()(xmlXPathContext* ctx) const { xmlXPathFreeContext(ctx); }
};
struct CompExprDeleter {
  void operator()(xmlXPathCompExpr* expr) const { xmlXPathFreeCompExpr(expr); }
};
struct ObjectDeleter {
  void operator()(xmlXPathObject* obj) const { xmlXPathFreeObject(obj); }
};

[[noreturn]] void ThrowXPathError(const ErrorCapture& capture, const std::string& expression,
                                  const char* fallback) {
  CapturedError first = capture.First();
  if (first.message.empty()) first.message = fallback;
  throw XPathError(first.message, expression, first.position);
}

bool IsNameChar(char c, bool first) {
  const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' ||
                      static_cast<unsigned char>(c) >= 0x80;
  return letter || (!first && ((c >= '0' && c <= '9') || c == '-' || c == '.'));
}

bool IsName(std::string_view text) {
  if (text.empty()) return false;
  for (size_t i = 0; i < text.size(); ++i)
    if (!IsNameChar(text[i], i == 0)) return false;
  return true;
}

// The steps of a path made only of child element names, perhaps ending in
// one attribute name ("param", "param/@name", "@id"); empty for any other
// expression, which then goes to libxml2's XPath.
// NOTE: skins are read with hundreds of such paths; walking the children
// directly gives the same nodes in the same (document) order without an
// XPath context per query.
std::vector<std::string_view> SimpleSteps(std::string_view xpath) {
  std::vector<std::string_view> steps;
  size_t start = 0;
  for (;;) {
    const size_t slash = xpath.find('/', start);
    std::string_view step = xpath.substr(start, slash == std::string_view::npos ? std::string_view::npos : slash - start);
    const bool last = slash == std::string_view::npos;
    const bool attribute = !step.empty() && step[0] == '@';
    if (!IsName(attribute ? step.substr(1) : step) || (attribute && !last)) return {};
    steps.push_back(step);
    if (last) return steps;
    start = slash + 1;
  }
}

bool NamedWithoutNamespace(const xmlChar* name, const xmlNs* ns, std::string_view wanted) {
  return ns == nullptr && name != nullptr && wanted == reinterpret_cast<const char*>(name);
}

// Walks the steps from `node`; false once firstOnly has been satisfied.
bool WalkSteps(xmlNode* node, const std::vector<std::string_view>& steps, size_t at, bool firstOnly,
               const std::function<void(xmlNode*)>& visit) {
  if (at == steps.size()) {
    visit(node);
    return !firstOnly;
  }
  const std::string_view step = steps[at];
  if (step[0] == '@') {
    if (node->type != XML_ELEMENT_NODE) return true;
    for (xmlAttr* attr = node->properties; attr != nullptr; attr = attr->next)
      if (NamedWithoutNamespace(attr->name, attr->ns, step.substr(1)))
        return WalkSteps(reinterpret_cast<xmlNode*>(attr), steps, at + 1, firstOnly, visit);
    return true;
  }
  for (xmlNode* child = node->children; child != nullptr; child = child->next) {
    if (child->type != XML_ELEMENT_NODE || !NamedWithoutNamespace(child->name, child->ns, step)) continue;
    if (!WalkSteps(child, steps, at + 1, firstOnly, visit)) return false;
  }
  return true;
}

}  // namespace

void ForEachXPathMatch(const std::shared_ptr<Tree>& tree, xmlNode* context, std::string_view xpath, bool firstOnly,
                       const std::function<void(xmlNode*)>& visit) {
  if (const std::vector<std::string_view> steps = SimpleSteps(xpath); !steps.empty()) {
    if (tree != nullptr && context != nullptr) WalkSteps(context, steps, 0, firstOnly, visit);
    return;
  }
  EnsureInitialised();
  std::string expression(xpath);
  if (expression.find('\0') != std::string::npos)
    throw XPathError("Invalid expression", expression, static_cast<int>(expression.find('\0')));

  ErrorCapture capture;
  std::unique_ptr<xmlXPathContext, ContextDeleter> ctx(
      xmlXPathNewContext(tree != nullptr ? tree->Doc() : nullptr));
  if (!ctx) throw XPathError("out of memory", expression, -1);
  // NOTE: no ctx->error: libxml2 hands that callback an error without its
  // message text; the thread's structured handler (the capture) gets it.

  std::unique_ptr<xmlXPathCompExpr, CompExprDeleter> compiled(
      xmlXPathCtxtCompile(ctx.get(), reinterpret_cast<const xmlChar*>(expression.c_str())));
  if (!compiled) ThrowXPathError(capture, expression, "Invalid expression");
  if (tree == nullptr || context == nullptr) return;

  ctx->node = context;
  std::unique_ptr<xmlXPathObject, ObjectDeleter> result(xmlXPathCompiledEval(compiled.get(), ctx.get()));
  if (!result || !capture.Empty()) ThrowXPathError(capture, expression, "XPath evaluation failed");
  if (result->type != XPATH_NODESET)
    throw XPathError("Expression does not evaluate to a node-set", expression, -1);

  xmlNodeSet* set = result->nodesetval;
  if (set == nullptr || set->nodeNr == 0) return;
  xmlXPathNodeSetSort(set);
  for (int i = 0; i < set->nodeNr; ++i) {
    xmlNode* node = set->nodeTab[i];
    // Namespace nodes are copies owned by the result set, not tree nodes.
    if (node == nullptr || node->type == XML_NAMESPACE_DECL) continue;
    visit(node);
    if (firstOnly) break;
  }
}

std::vector<Node> SelectWithXPath(const std::shared_ptr<Tree>& tree, xmlNode* context,
                                  std::string_view xpath, bool firstOnly) {
  std::vector<Node> nodes;
  ForEachXPathMatch(tree, context, xpath, firstOnly,
                    [&](xmlNode* node) { nodes.push_back(NodeAccess::Make(tree, node)); });
  return nodes;
}

std::vector<std::string> SelectTextsWithXPath(const std::shared_ptr<Tree>& tree, xmlNode* context,
                                              std::string_view xpath) {
  std::vector<std::string> texts;
  ForEachXPathMatch(tree, context, xpath, false, [&](xmlNode* node) {
    xmlChar* text = xmlXPathCastNodeToString(node);
    texts.emplace_back(text != nullptr ? reinterpret_cast<const char*>(text) : "");
    xmlFree(text);
  });
  return texts;
}

std::optional<std::string> StringValueWithXPath(const std::shared_ptr<Tree>& tree, std::string_view xpath) {
  if (tree == nullptr) return std::nullopt;
  const std::string expression(xpath);
  if (expression.find('\0') != std::string::npos) return std::nullopt;
  EnsureInitialised();
  // NOTE: failures are the caller's cue to ask XSLT instead, which reports
  // them; the capture keeps them off the console meanwhile.
  ErrorCapture capture;
  std::unique_ptr<xmlXPathContext, ContextDeleter> ctx(xmlXPathNewContext(tree->Doc()));
  if (!ctx) return std::nullopt;
  std::unique_ptr<xmlXPathCompExpr, CompExprDeleter> compiled(
      xmlXPathCtxtCompile(ctx.get(), reinterpret_cast<const xmlChar*>(expression.c_str())));
  if (!compiled) return std::nullopt;
  ctx->node = reinterpret_cast<xmlNode*>(tree->Doc());
  std::unique_ptr<xmlXPathObject, ObjectDeleter> result(xmlXPathCompiledEval(compiled.get(), ctx.get()));
  if (!result || !capture.Empty()) return std::nullopt;
  xmlChar* text = xmlXPathCastToString(result.get());
  if (text == nullptr) return std::nullopt;
  std::string value(reinterpret_cast<const char*>(text));
  xmlFree(text);
  return value;
}

}  // namespace xml::detail
