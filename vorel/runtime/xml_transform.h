// Reading a text out of XML data through XSLT, as "!XMLTRANS" sources and
// the XML object do: a stylesheet file named by the skin, or an XPath
// expression whose string value a one-template stylesheet gives.
#pragma once

#include <string>

namespace xml { class Document; }

namespace vorel {

// The stylesheet of "!FILE:NAME" (NAME taken relative to baseFolder; a
// missing file gives "") or the one made from the XPath expression, applied
// to the document. The output loses its XML declaration and its leading and
// trailing blanks. Raises for an expression or stylesheet that does not
// compile and for a transform that fails.
std::string TransformXML(const xml::Document& document, const std::string& selector, const std::string& baseFolder);

// The stylesheet whose output is the string value of the expression.
std::string ValueOfStylesheet(const std::string& xpath);

}  // namespace vorel
