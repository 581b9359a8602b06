// The reading functions every skin section reader uses. All take a context
// node that may be null and never fail on a missing node or match; text is
// trimmed by the rule that every character of code 32 or below is a blank.
// Numbers and booleans are read by IntDef and ReadBool.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/xml/document.h"

namespace vorel {

// Every XML document of the plug-in: empty, synchronous, XPath selection.
std::shared_ptr<xml::Document> CreateXMLDocument();

inline constexpr const char* kCrLf = "\r\n";

// The texts of every node the path selects, joined with the separator and
// trimmed; the default when that is empty or there is no context node.
std::string GetNodeText(const xml::Node& context, const std::string& xpath, const std::string& separator,
                        const std::string& defaultText);
// The trimmed text of the index-th match (from 0), or the default.
std::string GetNodeTextAt(const xml::Node& context, const std::string& xpath, size_t index,
                          const std::string& defaultText);
size_t CountNodes(const xml::Node& context, const std::string& xpath);

// The trimmed texts of every match of one path, fetched once, for readers
// that take the index-th match again and again (the k-th element of a
// section takes the k-th match of each of its attributes).
class TNodeTexts {
 public:
  TNodeTexts(const xml::Node& context, const std::string& xpath);
  size_t Count() const { return texts_.size(); }
  // The trimmed text of the index-th match, or the default when there is
  // none or it is empty. NOTE: a copy, since callers pass literals as the
  // default and keep the result past the full expression.
  std::string At(size_t index, const std::string& defaultText) const;

 private:
  std::vector<std::string> texts_;
};

// A signed 32-bit integer: leading spaces, an optional sign, then decimal
// digits or hexadecimal digits after "$", "x", "X", "0x" or "0X"; nothing
// may follow. Empty text, or text that does not read, gives the default.
int32_t IntDef(std::string_view text, int32_t defaultValue);
// The same reading without a default.
std::optional<int32_t> TryReadInt(std::string_view text);
// The same reading that raises KivError("'TEXT' is not a valid integer
// value") for a text that does not read.
int32_t ReadInt(std::string_view text);

// The boolean conversion: a number is false for 0 and true otherwise;
// otherwise, compared without regard to case, "True", "T", "Yes", "Y" are
// true and "False", "F", "No", "N" and the empty text false. Any other text
// raises KivError("'TEXT' is not a valid boolean value").
bool ReadBool(std::string_view text);

// A number read with IntDef that must lie in [low, high]; raises "Range
// check error" otherwise.
int32_t IntInRange(std::string_view text, int32_t defaultValue, int32_t low, int32_t high);

}  // namespace vorel
