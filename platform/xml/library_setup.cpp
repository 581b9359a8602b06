#include "platform/xml/library_setup.h"

#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/uri.h>
#include <libxslt/documents.h>
#include <libxslt/security.h>
#include <libxslt/xslt.h>
#include <libxslt/xsltutils.h>

#include <cstring>
#include <mutex>

#include "platform/xml/error_capture.h"

namespace xml::detail {
namespace {

thread_local int tl_safeParseDepth = 0;

xmlExternalEntityLoader g_previousEntityLoader = nullptr;
xsltDocLoaderFunc g_previousXsltLoader = nullptr;

xmlParserInputPtr GuardedEntityLoader(const char* url, const char* id, xmlParserCtxtPtr ctxt) {
  if (tl_safeParseDepth > 0) return nullptr;
  return g_previousEntityLoader(url, id, ctxt);
}

// Only plain paths and file: URIs may be read by stylesheets.
bool IsLocalUri(const xmlChar* uri) {
  if (uri == nullptr) return false;
  xmlURIPtr parsed = xmlParseURI(reinterpret_cast<const char*>(uri));
  if (parsed == nullptr) return true;  // not a URI at all: a file name
  bool local = parsed->scheme == nullptr || std::strcmp(parsed->scheme, "file") == 0;
  xmlFreeURI(parsed);
  return local;
}

// libxslt loads documents (document(), xsl:import, xsl:include) with
// entity substitution and DTD loading on; strip those and forbid the
// network whatever the caller asked for.
xmlDocPtr GuardedXsltLoader(const xmlChar* uri, xmlDictPtr dict, int options, void* ctxt,
                            xsltLoadType type) {
  if (!IsLocalUri(uri)) return nullptr;
  options &= ~(XML_PARSE_NOENT | XML_PARSE_DTDLOAD | XML_PARSE_DTDATTR | XML_PARSE_DTDVALID |
               XML_PARSE_XINCLUDE | XML_PARSE_HUGE);
  options |= XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
  return g_previousXsltLoader(uri, dict, options, ctxt, type);
}

void Initialise() {
  xmlInitParser();
  xsltInit();

  g_previousEntityLoader = xmlGetExternalEntityLoader();
  xmlSetExternalEntityLoader(GuardedEntityLoader);
  g_previousXsltLoader = xsltDocDefaultLoader;
  xsltSetLoaderFunc(GuardedXsltLoader);

  // libxslt's error channel is one process-wide pointer; route it to the
  // capture of the calling thread so that nothing reaches stderr.
  xsltSetGenericErrorFunc(nullptr, ErrorCapture::GenericHandler);
  xsltSetGenericDebugFunc(nullptr, ErrorCapture::GenericHandler);

  // Compile-time loads (xsl:import, xsl:include) are checked against the
  // default preferences; per-transform preferences cover run time.
  xsltSecurityPrefsPtr defaults = xsltNewSecurityPrefs();
  if (defaults != nullptr) {
    xsltSetSecurityPrefs(defaults, XSLT_SECPREF_WRITE_FILE, xsltSecurityForbid);
    xsltSetSecurityPrefs(defaults, XSLT_SECPREF_CREATE_DIRECTORY, xsltSecurityForbid);
    xsltSetSecurityPrefs(defaults, XSLT_SECPREF_READ_NETWORK, xsltSecurityForbid);
    xsltSetSecurityPrefs(defaults, XSLT_SECPREF_WRITE_NETWORK, xsltSecurityForbid);
    xsltSetDefaultSecurityPrefs(defaults);  // NOTE: lives for the process
  }
}

// NOTE: initialising while the library is being loaded, before any thread
// of ours exists, keeps other libxml2 users of the process from racing the
// first xmlInitParser; the call_once below still covers static-order cases.
struct InitialiseAtLoad {
  InitialiseAtLoad() { EnsureInitialised(); }
} g_initialiseAtLoad;

}  // namespace

void EnsureInitialised() {
  static std::once_flag once;
  std::call_once(once, Initialise);
}

SafeParseScope::SafeParseScope() { ++tl_safeParseDepth; }
SafeParseScope::~SafeParseScope() { --tl_safeParseDepth; }

}  // namespace xml::detail
