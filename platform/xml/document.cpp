#include "platform/xml/document.h"

#include <libxml/tree.h>

#include <fcntl.h>

#include <cerrno>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/util/atomic_file.h"
#include "platform/xml/error_capture.h"
#include "platform/xml/node_access.h"
#include "platform/xml/node_path.h"
#include "platform/xml/safe_parse.h"
#include "platform/xml/tree.h"
#include "platform/xml/xpath_query.h"
#include "platform/xml/xslt_transform.h"

namespace xml {
namespace {

std::string Serialise(xmlDoc* doc) {
  detail::ErrorCapture quiet;
  xmlChar* text = nullptr;
  int size = 0;
  xmlDocDumpFormatMemoryEnc(doc, &text, &size, "UTF-8", 1);
  if (text == nullptr) throw std::runtime_error("xml: the document cannot be serialised");
  std::string result(reinterpret_cast<const char*>(text), static_cast<size_t>(size));
  xmlFree(text);
  return result;
}

}  // namespace

Document::Document() = default;
Document::~Document() = default;
Document::Document(Document&&) noexcept = default;
Document& Document::operator=(Document&&) noexcept = default;

namespace {

// The file's bytes, read in one go at its known size (a file that grows
// meanwhile is read on to its end). Null, or what went wrong.
const char* ReadWholeFile(const std::string& path, std::string& bytes) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return "cannot open";
  struct stat info{};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return "cannot read";
  }
  bytes.resize(static_cast<size_t>(info.st_size) + 1);
  size_t used = 0;
  for (;;) {
    if (used == bytes.size()) bytes.resize(bytes.size() * 2);
    const ssize_t n = ::read(fd, bytes.data() + used, bytes.size() - used);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ::close(fd);
      return "cannot read";
    }
    if (n == 0) break;
    used += static_cast<size_t>(n);
  }
  ::close(fd);
  bytes.resize(used);
  return nullptr;
}

}  // namespace

bool Document::Parse(std::string_view bytes, const char* url, bool textIsUtf8) {
  detail::ParseResult parsed = detail::ParseBytes(bytes, url, textIsUtf8);
  if (!parsed.doc) {
    parseError_ = parsed.error;
    return false;
  }
  tree_ = std::make_shared<detail::Tree>(std::move(parsed.doc));
  return true;
}

bool Document::Load(const std::string& path) {
  tree_.reset();
  parseError_.clear();
  try {
    std::string bytes;
    if (const char* failure = ReadWholeFile(path, bytes)) {
      parseError_ = std::string(failure) + " \"" + path + "\"";
      return false;
    }
    return Parse(bytes, path.c_str(), false);
  } catch (const std::exception& e) {  // out of memory and the like
    tree_.reset();
    parseError_ = e.what();
    return false;
  }
}

bool Document::LoadXML(std::string_view text) {
  tree_.reset();
  parseError_.clear();
  try {
    return Parse(text, nullptr, true);
  } catch (const std::exception& e) {
    tree_.reset();
    parseError_ = e.what();
    return false;
  }
}

bool Document::LoadUrl(const std::string& url, const std::string& agentSuffix, const inet::DownloadOptions& options) {
  tree_.reset();
  parseError_.clear();
  try {
    const inet::MemoryDownload download = inet::DownloadToMemory(url, agentSuffix, options);
    if (!download.result.Succeeded()) {
      parseError_ = "HTTP status " + std::to_string(download.result.status) + " from \"" + download.result.finalUrl + "\"";
      return false;
    }
    return LoadBody(download.body, download.result.finalUrl);
  } catch (const std::exception& e) {  // the download failed, or out of memory
    tree_.reset();
    parseError_ = e.what();
    return false;
  }
}

bool Document::LoadBody(std::string_view bytes, const std::string& baseUrl) {
  tree_.reset();
  parseError_.clear();
  try {
    return Parse(bytes, baseUrl.c_str(), false);
  } catch (const std::exception& e) {  // out of memory
    tree_.reset();
    parseError_ = e.what();
    return false;
  }
}

std::optional<std::string> Document::StringValue(std::string_view xpath) const {
  return detail::StringValueWithXPath(tree_, xpath);
}

void Document::Save(const std::string& path) const {
  if (tree_ == nullptr) throw std::runtime_error("xml: cannot save \"" + path + "\": the document is empty");
  const std::string bytes = Serialise(tree_->Doc());
  try {
    kiv::ReplaceFileContent(path, bytes);
  } catch (const std::runtime_error& e) {
    throw std::runtime_error("xml: cannot save \"" + path + "\": " + e.what());
  }
}

void Document::Clear() {
  tree_.reset();
  parseError_.clear();
}

std::string Document::Xml() const {
  if (tree_ == nullptr) return {};
  return Serialise(tree_->Doc());
}

Node Document::DocumentNode() const {
  if (tree_ == nullptr) return Node();
  return detail::NodeAccess::Make(tree_, reinterpret_cast<xmlNode*>(tree_->Doc()));
}

std::vector<Node> Document::SelectNodes(std::string_view xpath) const {
  return DocumentNode().SelectNodes(xpath);
}

Node Document::SelectSingleNode(std::string_view xpath) const {
  return DocumentNode().SelectSingleNode(xpath);
}

std::string Document::TransformNode(const Document& stylesheet) const {
  return detail::TransformWithStylesheet(tree_.get(), stylesheet.tree_.get());
}

Node Document::FindOrCreateNode(std::string_view path, int mode) {
  if (mode != 0) throw std::runtime_error("xml: FindOrCreateNode mode " + std::to_string(mode) + " is not implemented");
  if (Node found = SelectSingleNode(path)) return found;
  return detail::CreateSimplePath(tree_, path);
}

}  // namespace xml
