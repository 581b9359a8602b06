#include "vorel/skin/skin_reading.h"

#include <array>
#include <cerrno>
#include <cstdlib>

#include "platform/util/text.h"
#include "vorel/util/errors.h"

namespace vorel {

std::shared_ptr<xml::Document> CreateXMLDocument() { return std::make_shared<xml::Document>(); }

std::string GetNodeText(const xml::Node& context, const std::string& xpath, const std::string& separator,
                        const std::string& defaultText) {
  if (!context) return defaultText;
  // NOTE: texts rather than Nodes: a Node per match registers a handle with
  // its tree and each Text() sets up an error capture, which on a long
  // list of matches costs about as much as the query itself.
  std::string joined;
  bool first = true;
  for (const std::string& text : context.SelectTexts(xpath)) {
    if (!first) joined += separator;
    joined += text;
    first = false;
  }
  std::string trimmed = kiv::Trim(joined);
  return trimmed.empty() ? defaultText : trimmed;
}

std::string GetNodeTextAt(const xml::Node& context, const std::string& xpath, size_t index,
                          const std::string& defaultText) {
  return TNodeTexts(context, xpath).At(index, defaultText);
}

TNodeTexts::TNodeTexts(const xml::Node& context, const std::string& xpath) {
  if (!context) return;
  texts_ = context.SelectTexts(xpath);
  for (std::string& text : texts_) text = kiv::Trim(text);
}

std::string TNodeTexts::At(size_t index, const std::string& defaultText) const {
  if (index >= texts_.size() || texts_[index].empty()) return defaultText;
  return texts_[index];
}

size_t CountNodes(const xml::Node& context, const std::string& xpath) {
  return context ? context.CountMatches(xpath) : 0;
}

std::optional<int32_t> TryReadInt(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int base = 10;
  if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i >= text.size()) return std::nullopt;
  uint64_t value = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    int digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else return std::nullopt;
    value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
    if (value > 0xFFFFFFFFull) return std::nullopt;
  }
  if (base == 16) {
    // Hexadecimal gives the 32-bit pattern, so $FFFFFFFF reads as -1.
    int64_t v = static_cast<int32_t>(static_cast<uint32_t>(value));
    if (negative) v = -v;
    if (v < INT32_MIN || v > INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(v);
  }
  const int64_t signedValue = negative ? -static_cast<int64_t>(value) : static_cast<int64_t>(value);
  if (signedValue < INT32_MIN || signedValue > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(signedValue);
}

int32_t ReadInt(std::string_view text) {
  const std::optional<int32_t> value = TryReadInt(text);
  if (!value) throw KivError(NotAnInteger(std::string(text)));
  return *value;
}

int32_t IntDef(std::string_view text, int32_t defaultValue) {
  if (text.empty()) return defaultValue;
  return TryReadInt(text).value_or(defaultValue);
}

int32_t IntInRange(std::string_view text, int32_t defaultValue, int32_t low, int32_t high) {
  int32_t v = IntDef(text, defaultValue);
  if (v < low || v > high) throw KivError(errors::kRangeCheck);
  return v;
}

namespace {

// The word lists of the boolean conversion, fixed for the life of the
// library.
constexpr std::array<std::string_view, 4> kTrueWords = {"True", "T", "Yes", "Y"};
constexpr std::array<std::string_view, 5> kFalseWords = {"False", "F", "No", "N", ""};

std::optional<double> ReadNumber(std::string_view text) {
  if (auto i = TryReadInt(text)) return *i;
  std::string s = kiv::Trim(text);
  if (s.empty()) return std::nullopt;
  char* end = nullptr;
  errno = 0;
  double d = std::strtod(s.c_str(), &end);
  if (end != s.c_str() + s.size() || errno == ERANGE) return std::nullopt;
  return d;
}

}  // namespace

bool ReadBool(std::string_view text) {
  if (auto n = ReadNumber(text)) return *n != 0;
  for (auto w : kTrueWords)
    if (kiv::EqualsIgnoreCase(text, w)) return true;
  for (auto w : kFalseWords)
    if (kiv::EqualsIgnoreCase(text, w)) return false;
  throw KivError("'" + std::string(text) + "' is not a valid boolean value");
}

}  // namespace vorel
