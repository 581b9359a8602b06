#include "platform/xml/xml_chars.h"

#include <libxml/tree.h>

#include "platform/util/utf8.h"

namespace xml::detail {
namespace {

bool IsAllowedAscii(unsigned char c) { return c >= 0x20 || c == '\t' || c == '\n' || c == '\r'; }

bool IsPlainAscii(std::string_view text) {
  for (unsigned char c : text)
    if (c >= 0x80 || !IsAllowedAscii(c)) return false;
  return true;
}

bool NulFree(std::string_view text) { return text.find('\0') == std::string_view::npos; }

}  // namespace

std::string ToXmlText(std::string_view text) {
  if (IsPlainAscii(text)) return std::string(text);
  std::u16string wide = kiv::Utf8ToUtf16(text);  // invalid bytes -> U+FFFD
  for (size_t i = 0; i < wide.size(); ++i) {
    char16_t& c = wide[i];
    bool high = c >= 0xD800 && c <= 0xDBFF;
    bool low = c >= 0xDC00 && c <= 0xDFFF;
    if (high && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF) {
      ++i;  // a valid pair
      continue;
    }
    if (high || low || c == 0xFFFE || c == 0xFFFF || (c < 0x80 && !IsAllowedAscii(static_cast<unsigned char>(c))))
      c = 0xFFFD;
  }
  return kiv::Utf16ToUtf8(wide);
}

bool IsQualifiedName(std::string_view name) {
  if (name.empty() || !NulFree(name)) return false;
  std::string copy(name);
  return xmlValidateQName(reinterpret_cast<const xmlChar*>(copy.c_str()), 0) == 0;
}

bool IsLocalName(std::string_view name) {
  if (name.empty() || !NulFree(name)) return false;
  std::string copy(name);
  return xmlValidateNCName(reinterpret_cast<const xmlChar*>(copy.c_str()), 0) == 0;
}

}  // namespace xml::detail
