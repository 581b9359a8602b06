// xml::Document is the system's XML document, in the role MSXML's
// DOMDocument plays: load a file, a text or a web address, query it with
// XPath, transform it with XSLT, change values and save it. Every document
// is read safely (no network beyond the address asked for, no DTDs, no
// entity substitution) and a document that fails to load is left empty
// rather than half-built. Whitespace-only text between
// elements is not kept, as in MSXML's default mode.
//
// Loading replaces the whole tree; Nodes taken from the old tree stay valid
// and keep showing the old content. A Document is used by one thread at a
// time; different Documents may be used on different threads at once.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/inet/download.h"
#include "platform/xml/node.h"

namespace xml {

namespace detail {
class Tree;
}

class Document {
 public:
  Document();
  ~Document();
  Document(Document&&) noexcept;
  Document& operator=(Document&&) noexcept;
  Document(const Document&) = delete;
  Document& operator=(const Document&) = delete;

  // Both return false, leave the document empty and set ParseError() when
  // the file cannot be read or the text is not a well-formed document.
  // Never throw. Load reads the encoding from the file; LoadXML takes UTF-8
  // text whatever its declaration says.
  bool Load(const std::string& path);
  bool LoadXML(std::string_view text);
  // Downloads the address into memory (inet::DownloadToMemory, agent
  // "Vorel_" + agentSuffix) and reads the body as Load reads a file: the
  // declaration or BOM gives the encoding, and the final address, after
  // redirects, is the document's base. Fails like Load, never throws, also
  // when the download fails or the status is not 2xx.
  bool LoadUrl(const std::string& url, const std::string& agentSuffix, const inet::DownloadOptions& options = {});
  // Reads a downloaded body as LoadUrl does, with baseUrl as its base; for
  // callers that make the download themselves.
  bool LoadBody(std::string_view bytes, const std::string& baseUrl);
  // Writes the serialised document, replacing the file in one step (a
  // temporary beside it, then rename). Throws std::runtime_error when the
  // document is empty or the file cannot be written.
  void Save(const std::string& path) const;
  void Clear();

  bool IsEmpty() const { return tree_ == nullptr; }
  // The serialised document (UTF-8, with its XML declaration), "" when empty.
  std::string Xml() const;
  // Why the last Load/LoadXML/LoadUrl failed, "" after a success.
  const std::string& ParseError() const { return parseError_; }

  // The document node as a context for queries; null when empty.
  Node DocumentNode() const;
  std::vector<Node> SelectNodes(std::string_view xpath) const;
  Node SelectSingleNode(std::string_view xpath) const;

  // Transforms this document with the stylesheet and returns the result as
  // its output method serialises it (always UTF-8). Transforms may not
  // write files, create folders or use the network. Throws TransformError
  // when the stylesheet does not compile or the transform fails. An empty
  // document transforms as a document without content.
  std::string TransformNode(const Document& stylesheet) const;
  // The string value of the XPath expression with the document node as
  // context, as xsl:value-of gives it; nullopt for an empty document or
  // an expression plain XPath cannot evaluate (malformed, or using what
  // only XSLT defines). Never throws for the expression.
  std::optional<std::string> StringValue(std::string_view xpath) const;

  // The node for a path, made when missing. mode 0 (the only mode): the
  // first node the XPath selects when there is one; otherwise the path
  // must be simple -- element names separated by "/", optionally starting
  // with "/" and optionally ending with "@attribute", e.g. "/root/a/b" or
  // "root/a/@id" -- and each missing element (or the attribute, empty) is
  // created under the first existing match of the steps before it, the
  // root element too when the document is empty. Throws XPathError for a
  // malformed path and std::runtime_error for a path the simple form cannot
  // create (predicates, "//", axes, a second root element) or another mode.
  Node FindOrCreateNode(std::string_view path, int mode = 0);

 private:
  // Parses into the tree; on failure sets parseError_ and returns false.
  bool Parse(std::string_view bytes, const char* url, bool textIsUtf8);

  std::shared_ptr<detail::Tree> tree_;
  std::string parseError_;
};

}  // namespace xml
