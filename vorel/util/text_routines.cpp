#include "vorel/util/text_routines.h"

#include <algorithm>

namespace vorel {

void Split(std::string_view text, std::vector<std::string>& list, char delimiter, SplitOptions options) {
  if (options.clearFirst) list.clear();
  // Pieces already in a list the caller filled do not count as the first.
  const size_t before = list.size();
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
    if (options.atFirstOnly && list.size() > before && start != kUnset) break;
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
  if (search.empty() || first >= text.size()) return;
  if (replacement.find(search) != std::string_view::npos) {
    text = ReplaceOnePass(text, search, replacement);
    return;
  }
  if (text.find(search, first) == std::string::npos) return;
  // Replacing the leftmost occurrence again and again is done in one sweep:
  // `done` never holds an occurrence, characters move into it one at a
  // time, and an occurrence completed by the newest character is the
  // leftmost one left in the text (all occurrences have the same length, so
  // the one that ends first starts first). It is taken off and its
  // replacement put in front of the characters still to come, where it is
  // read again like the rest. Each character costs one comparison of the
  // search text's length instead of a copy of the whole text.
  //
  // NOTE: rewriting with one rule can in principle grow without end even
  // when the replacement does not contain the search text ("ab" -> "bbaa");
  // the text is not allowed to grow past a bound. Every replacement that
  // does not feed itself uses up at least one character of the original
  // text, so an honest rewrite stays within length times replacement; past
  // that, or past kMaxRewrittenLength, the rewriting stops where it is.
  const size_t honest = text.size() * std::max<size_t>(replacement.size(), 1) + 4096;
  const size_t limit = std::min(honest, std::max(text.size(), kMaxRewrittenLength));
  std::string done(text, 0, first);
  // The characters still to read, in reverse, so that putting a replacement
  // in front of them is an append.
  std::string ahead(text.rbegin(), text.rend() - static_cast<std::ptrdiff_t>(first));
  const std::string reversedReplacement(replacement.rbegin(), replacement.rend());
  const size_t n = search.size();
  while (!ahead.empty()) {
    done.push_back(ahead.back());
    ahead.pop_back();
    if (done.size() < n || done.back() != search.back() ||
        std::string_view(done).substr(done.size() - n) != search)
      continue;
    if (done.size() - n + ahead.size() + replacement.size() > limit) break;
    done.resize(done.size() - n);
    ahead.append(reversedReplacement);
  }
  done.append(ahead.rbegin(), ahead.rend());
  text = std::move(done);
}

std::string ReplaceAll(std::string_view text, std::string_view search, std::string_view replacement) {
  std::string result(text);
  ReplaceAllInPlace(result, search, replacement, 0);
  return result;
}

}  // namespace vorel
