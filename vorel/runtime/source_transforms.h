// The source forms that rewrite a layer's source text before it is drawn:
// "!SCRIPT:" (an expression's value), "!XML..." (text looked up in the
// skin's data sources) and "!TXTFILE:" (lines of a text file). Each returns
// the source unchanged when its form does not apply.
#pragma once

#include <string>

namespace vorel {

class TDeskletObject;

// The expression after the marker, evaluated by the desklet's script
// engine; empty without an engine. Evaluation errors go to the caller.
std::string ApplyScriptSource(TDeskletObject& desklet, const std::string& source);

// "!XML", "!XMLTXT", "!XMLTRANS" or "!XMLTRANSTXT", ":" and a reference
// such as 0[/rss/channel/title][' - '][/rss/channel/item/title].
std::string ApplyXmlSource(TDeskletObject& desklet, const std::string& source);
// The text a reference gives; `transforming` lookups go through the data
// sources' stylesheet evaluation. Several values are joined by `separator`
// unless the reference names its own ("[!s;]").
std::string LookUpXmlReference(TDeskletObject& desklet, const std::string& reference, bool transforming,
                               const std::string& separator = "\r\n");

// "!TXTFILE:" file ["|" first line ["|" line count]] becomes a "!TXT:"
// source with the file's lines.
std::string ApplyTextFileSource(TDeskletObject& desklet, const std::string& source);

}  // namespace vorel
