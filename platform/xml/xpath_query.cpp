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

}  // namespace

void ForEachXPathMatch(const std::shared_ptr<Tree>& tree, xmlNode* context, std::string_view xpath, bool firstOnly,
                       const std::function<void(xmlNode*)>& visit) {
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

}  // namespace xml::detail
