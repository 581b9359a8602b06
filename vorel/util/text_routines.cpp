#include "vorel/util/text_routines.h"

#include <algorithm>

namespace vorel {

void Split(std::string_view text, std::vector<std::string>& list, char delimiter, SplitOptions options) {
  if (options.clearFirst) list.clear();
  const size_t n = text.size();
  constexpr size_t kUnset = std::string_view::npos;
  size_t start = kUnset;
  for (size_t i = 0; i < n; ++i) {
    const char c = text[i];
    bool separates = false;
    if (c == delimiter) separates = !options.skipEmpty || !(i == n - 1 || text[i + 1] == delimiter);
    if (separates) {
      if (start != kUnset) {
        list.emplace_back(text.substr(start, i - start));
        start = kUnset;
      } else if (!options.skipEmpty) {
        list.emplace_back();
      }
      if (i == n - 1) list.emplace_back();
    } else if (start == kUnset && c != delimiter) {
      start = i;
    }
    if (options.atFirstOnly && !list.empty() && start != kUnset) break;
  }
  if (start != kUnset) list.emplace_back(text.substr(start));
}

std::vector<std::string> Split(std::string_view text, char delimiter, SplitOptions options) {
  std::vector<std::string> list;
  Split(text, list, delimiter, options);
  return list;
}

namespace {

std::string ReplaceOnePass(std::string_view text, std::string_view search, std::string_view replacement) {
  std::string out;
  size_t from = 0;
  for (size_t at; (at = text.find(search, from)) != std::string_view::npos; from = at + search.size()) {
    out.append(text.substr(from, at - from));
    out.append(replacement);
  }
  out.append(text.substr(from));
  return out;
}

}  // namespace

void ReplaceAllInPlace(std::string& text, std::string_view search, std::string_view replacement, size_t first) {
  if (search.empty()) return;
  if (replacement.find(search) != std::string_view::npos) {
    text = ReplaceOnePass(text, search, replacement);
    return;
  }
  // After a replacement at p, the next first occurrence cannot start before
  // p - |search| + 1: everything earlier is unchanged and held none.
  size_t from = first;
  // NOTE: rewriting with one rule can in principle grow without end even
  // when the replacement does not contain the search text ("ab" -> "bbaa");
  // the text is not allowed to grow past a bound. Every replacement that
  // does not feed itself uses up at least one character of the original
  // text, so an honest rewrite stays within length times replacement.
  const size_t limit = text.size() * std::max<size_t>(replacement.size(), 1) + 4096;
  for (;;) {
    size_t at = text.find(search, from);
    if (at == std::string::npos) break;
    text.replace(at, search.size(), replacement);
    if (text.size() > limit) break;
    from = at >= search.size() - 1 ? at - (search.size() - 1) : 0;
  }
}

std::string ReplaceAll(std::string_view text, std::string_view search, std::string_view replacement) {
  std::string result(text);
  ReplaceAllInPlace(result, search, replacement, 0);
  return result;
}

}  // namespace vorel
