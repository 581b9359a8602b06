#include "platform/xml/xslt_transform.h"

#include <libxml/parser.h>
#include <libxslt/imports.h>
#include <libxslt/security.h>
#include <libxslt/transform.h>
#include <libxslt/xsltInternals.h>
#include <libxslt/xsltutils.h>

#include <memory>

#include "platform/util/text.h"
#include "platform/xml/error_capture.h"
#include "platform/xml/errors.h"
#include "platform/xml/library_setup.h"

namespace xml::detail {
namespace {

struct StylesheetDeleter {
  void operator()(xsltStylesheet* style) const { xsltFreeStylesheet(style); }
};
struct TransformContextDeleter {
  void operator()(xsltTransformContext* ctxt) const { xsltFreeTransformContext(ctxt); }
};
struct SecurityPrefsDeleter {
  void operator()(xsltSecurityPrefs* prefs) const { xsltFreeSecurityPrefs(prefs); }
};
struct XmlCharsDeleter {
  void operator()(xmlChar* text) const { xmlFree(text); }
};

// Documents read by document() get the same treatment as our own parses.
constexpr int kDocumentParseOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

std::unique_ptr<xsltSecurityPrefs, SecurityPrefsDeleter> LockedDownPrefs() {
  std::unique_ptr<xsltSecurityPrefs, SecurityPrefsDeleter> prefs(xsltNewSecurityPrefs());
  if (!prefs) throw TransformError("out of memory");
  for (xsltSecurityOption option : {XSLT_SECPREF_WRITE_FILE, XSLT_SECPREF_CREATE_DIRECTORY,
                                    XSLT_SECPREF_READ_NETWORK, XSLT_SECPREF_WRITE_NETWORK})
    xsltSetSecurityPrefs(prefs.get(), option, xsltSecurityForbid);
  return prefs;
}

// xsl:strip-space removes text nodes from the source document itself.
bool StripsSpace(xsltStylesheet* style) {
  for (xsltStylesheet* s = style; s != nullptr; s = xsltNextImport(s))
    if (s->stripSpaces != nullptr || s->stripAll == 1) return true;
  return false;
}

// Every string of ours is UTF-8, so the output is serialised as UTF-8 (and
// declared so) whatever encoding the stylesheet asks for.
void ForceUtf8Output(xsltStylesheet* style) {
  if (style->encoding == nullptr || kiv::EqualsIgnoreCase(reinterpret_cast<const char*>(style->encoding), "UTF-8"))
    return;
  xmlFree(style->encoding);
  style->encoding = xmlStrdup(BAD_CAST "UTF-8");
}

}  // namespace

std::string TransformWithStylesheet(const Tree* source, const Tree* stylesheet) {
  EnsureInitialised();
  if (stylesheet == nullptr) throw TransformError("the stylesheet document is empty");
  ErrorCapture capture;

  // The stylesheet takes ownership of the document it is compiled from and
  // changes it; compile a copy so the caller's document stays as it is.
  DocPtr styleDoc(xmlCopyDoc(stylesheet->Doc(), 1));
  if (!styleDoc) throw TransformError("out of memory");
  std::unique_ptr<xsltStylesheet, StylesheetDeleter> style(xsltParseStylesheetDoc(styleDoc.get()));
  if (!style) throw TransformError(capture.Describe("the document is not a valid stylesheet"));
  styleDoc.release();  // owned by style now
  if (style->errors != 0) throw TransformError(capture.Describe("the stylesheet has errors"));
  ForceUtf8Output(style.get());

  DocPtr inputCopy;
  xmlDoc* input = source != nullptr ? source->Doc() : nullptr;
  if (input == nullptr) {
    inputCopy.reset(xmlNewDoc(BAD_CAST "1.0"));
  } else if (StripsSpace(style.get())) {
    // NOTE: Nodes may point at the text nodes that stripping would free.
    inputCopy.reset(xmlCopyDoc(input, 1));
  }
  if (inputCopy) input = inputCopy.get();
  if (input == nullptr) throw TransformError("out of memory");

  auto prefs = LockedDownPrefs();
  std::unique_ptr<xsltTransformContext, TransformContextDeleter> ctxt(xsltNewTransformContext(style.get(), input));
  if (!ctxt) throw TransformError("out of memory");
  if (xsltSetCtxtSecurityPrefs(prefs.get(), ctxt.get()) != 0) throw TransformError("cannot set security preferences");
  xsltSetCtxtParseOptions(ctxt.get(), kDocumentParseOptions);
  xsltSetTransformErrorFunc(ctxt.get(), &capture, ErrorCapture::GenericHandler);

  DocPtr output(xsltApplyStylesheetUser(style.get(), input, nullptr, nullptr, nullptr, ctxt.get()));
  if (!output || ctxt->state == XSLT_STATE_ERROR || ctxt->state == XSLT_STATE_STOPPED)
    throw TransformError(capture.Describe("the transform failed"));

  xmlChar* raw = nullptr;
  int size = 0;
  if (xsltSaveResultToString(&raw, &size, output.get(), style.get()) != 0)
    throw TransformError(capture.Describe("the transform output cannot be serialised"));
  std::unique_ptr<xmlChar, XmlCharsDeleter> text(raw);
  if (!text || size <= 0) return {};
  return std::string(reinterpret_cast<const char*>(text.get()), static_cast<size_t>(size));
}

}  // namespace xml::detail
