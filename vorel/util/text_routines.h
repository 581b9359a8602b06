// The two text routines the whole plug-in shares: splitting a text at a
// delimiter into a list, and replacing every occurrence of a text. Their
// behaviour at the edges (empty pieces, doubled delimiters) shapes how
// attribute lists are read, so every reader goes through these.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorel {

struct SplitOptions {
  bool clearFirst = true;
  // A delimiter that ends the text or is followed by another delimiter does
  // not separate; no empty pieces are made.
  bool skipEmpty = false;
  // Stops after the first piece: the rest of the text is the second piece.
  bool atFirstOnly = false;
};

void Split(std::string_view text, std::vector<std::string>& list, char delimiter, SplitOptions options = {});
std::vector<std::string> Split(std::string_view text, char delimiter, SplitOptions options = {});

// Replaces the first occurrence of `search` again and again, searching the
// whole current text each round, so an occurrence formed by a replacement
// and its neighbours is replaced too ("abb", "ab" -> "a" gives "a").
// NOTE: a replacement that contains the search text would never end under
// that rule; such a replacement is made in one left-to-right pass instead,
// each occurrence of the original text replaced once.
// A rewrite that would grow past kMaxRewrittenLength (or past the length
// honest replacing can reach) stops there.
std::string ReplaceAll(std::string_view text, std::string_view search, std::string_view replacement);
inline constexpr size_t kMaxRewrittenLength = 16u << 20;
// The same on the text itself, for a caller that knows no occurrence starts
// before `first`.
void ReplaceAllInPlace(std::string& text, std::string_view search, std::string_view replacement, size_t first = 0);

}  // namespace vorel
