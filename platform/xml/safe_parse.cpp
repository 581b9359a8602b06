#include "platform/xml/safe_parse.h"

#include <libxml/parser.h>

#include <climits>
#include <memory>
#include <vector>

#include "platform/xml/error_capture.h"
#include "platform/xml/library_setup.h"

namespace xml::detail {
namespace {

// NOTE: no XML_PARSE_NOENT, DTDLOAD, DTDATTR, DTDVALID, XINCLUDE or HUGE:
// entity references stay references, external subsets and entities are
// never fetched, and libxml2's amplification limits stay on.
constexpr int kParseOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

struct ParserCtxtDeleter {
  void operator()(xmlParserCtxt* ctxt) const { xmlFreeParserCtxt(ctxt); }
};

bool IsXmlBlank(const xmlChar* text) {
  if (text == nullptr) return true;
  for (; *text != 0; ++text)
    if (*text != ' ' && *text != '\t' && *text != '\n' && *text != '\r') return false;
  return true;
}

void DropBlankText(xmlNode* root) {
  // (element, whitespace preserved) pairs still to visit
  std::vector<std::pair<xmlNode*, bool>> pending{{root, false}};
  while (!pending.empty()) {
    auto [element, preserveOuter] = pending.back();
    pending.pop_back();
    bool preserve = preserveOuter;
    if (xmlChar* space = xmlGetNsProp(element, BAD_CAST "space", XML_XML_NAMESPACE)) {
      if (xmlStrEqual(space, BAD_CAST "preserve")) preserve = true;
      if (xmlStrEqual(space, BAD_CAST "default")) preserve = false;
      xmlFree(space);
    }
    xmlNode* child = element->children;
    while (child != nullptr) {
      xmlNode* next = child->next;
      if (child->type == XML_ELEMENT_NODE) {
        pending.emplace_back(child, preserve);
      } else if (child->type == XML_TEXT_NODE && !preserve && IsXmlBlank(child->content)) {
        xmlUnlinkNode(child);
        xmlFreeNode(child);
      }
      child = next;
    }
  }
}

}  // namespace

ParseResult ParseBytes(std::string_view bytes, const char* url, bool textIsUtf8) {
  EnsureInitialised();
  ParseResult result;
  if (bytes.size() > static_cast<size_t>(INT_MAX)) {
    result.error = "document too large";
    return result;
  }
  ErrorCapture capture;
  SafeParseScope noExternalLoads;
  std::unique_ptr<xmlParserCtxt, ParserCtxtDeleter> ctxt(xmlNewParserCtxt());
  if (!ctxt) {
    result.error = "out of memory";
    return result;
  }
  int options = kParseOptions | (textIsUtf8 ? XML_PARSE_IGNORE_ENC : 0);
  DocPtr doc(xmlCtxtReadMemory(ctxt.get(), bytes.data(), static_cast<int>(bytes.size()), url,
                               textIsUtf8 ? "UTF-8" : nullptr, options));
  if (!doc || !ctxt->wellFormed || !ctxt->nsWellFormed) {
    result.error = capture.Describe("the document is not well-formed");
    return result;
  }
  xmlNode* root = xmlDocGetRootElement(doc.get());
  if (root == nullptr) {
    result.error = "the document has no root element";
    return result;
  }
  DropBlankText(root);
  result.doc = std::move(doc);
  return result;
}

}  // namespace xml::detail
