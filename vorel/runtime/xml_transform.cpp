#include "vorel/runtime/xml_transform.h"

#include <optional>

#include "platform/util/text.h"
#include "platform/xml/document.h"
#include "vorel/util/errors.h"
#include "vorel/util/paths.h"

namespace vorel {

namespace {

constexpr std::string_view kFileMarker = "!FILE:";

// The text as the value of an attribute in double quotes.
std::string AttributeText(const std::string& text) {
  std::string escaped;
  for (char c : text) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '"': escaped += "&quot;"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

// The value as the stylesheet's XML output writes it in a text node.
std::string TextAsXmlOutput(const std::string& text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      case '\r': escaped += "&#13;"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

}  // namespace

std::string ValueOfStylesheet(const std::string& xpath) {
  // NOTE: the expression is escaped, so that one with a double quote or a
  // "<" in it (//a[@b="x"]) is read as written instead of breaking, or
  // adding to, the stylesheet.
  return "<?xml version=\"1.0\"?>\r\n"
         "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">\r\n"
         "<xsl:template match=\"/\">\r\n"
         "<xsl:value-of select=\"" + AttributeText(xpath) + "\"/>\r\n"
         "</xsl:template>\r\n"
         "</xsl:stylesheet>";
}

std::string TransformXML(const xml::Document& document, const std::string& selector, const std::string& baseFolder) {
  // NOTE: the stylesheet made from an expression outputs the expression's
  // string value, which XPath alone gives some ten times faster than a
  // transform (libxslt numbers the whole document each time). What XPath
  // alone cannot evaluate, the stylesheet does, and reports.
  if (!selector.starts_with(kFileMarker))
    if (const std::optional<std::string> value = document.StringValue(selector))
      return kiv::Trim(TextAsXmlOutput(*value));
  xml::Document stylesheet;
  if (selector.starts_with(kFileMarker)) {
    const std::string path = ResolveSkinFile(baseFolder, std::string_view(selector).substr(kFileMarker.size()));
    if (!FileExists(path)) return "";
    if (!stylesheet.Load(path)) throw KivError("the stylesheet " + path + " does not load: " + stylesheet.ParseError());
  } else if (!stylesheet.LoadXML(ValueOfStylesheet(selector))) {
    throw KivError("the stylesheet for \"" + selector + "\" does not load: " + stylesheet.ParseError());
  }
  std::string output = document.TransformNode(stylesheet);
  if (output.starts_with("<?xml")) {
    const size_t end = output.find("?>");
    if (end != std::string::npos) output.erase(0, end + 2);
  }
  return kiv::Trim(output);
}

}  // namespace vorel
