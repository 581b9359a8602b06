// TokenText: a text whose "%name%" tokens are being replaced one name at a
// time, as variable expansion does it. It keeps the positions of the
// text's "%" signs: a token whose name holds no "%" lies between two
// neighbouring signs, so finding it compares a few pieces instead of
// searching the characters. A filter over the pieces between neighbours
// lets most names be passed over without looking at the text at all.
//
// Replace(name, value) gives exactly ReplaceAll(text, "%name%", value):
// the first occurrence is replaced again and again, so an occurrence formed
// by a value and its neighbours is replaced too.
#pragma once

#include <bitset>
#include <concepts>
#include <cstdint>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vorel {

class TokenText {
 public:
  explicit TokenText(std::string_view text);

  bool HasPercent() const { return !percents_.empty(); }
  const std::string& Text() const { return text_; }
  std::string Take() { return std::move(text_); }

  // Replaces "%name%" by the value that lookup() makes; lookup is only
  // called when the token is there.
  template <std::invocable Lookup>
  void Replace(std::string_view name, Lookup lookup) {
    if (HasSign(name)) {
      if (text_.find("%" + std::string(name) + "%") != std::string::npos) ReplaceByText(name, lookup());
      return;
    }
    if (!pieces_[Hash(name)]) return;
    const size_t first = FindPiece(name, 0);
    if (first != kNone) ReplaceFrom(name, lookup(), first);
  }
  void Replace(std::string_view name, std::string_view value) {
    Replace(name, [&] { return value; });
  }

 private:
  static constexpr size_t kNone = static_cast<size_t>(-1);
  static constexpr size_t kBits = 4096;

  // NOTE: only the length and the two characters at each end are mixed
  // in: cheap for every piece of the text, and names that differ nowhere
  // else are rare. A collision only costs one look at the signs.
  // NOTE: names are short, and a call to memchr per name costs more than
  // the loop over its characters.
  [[gnu::always_inline]] static bool HasSign(std::string_view s) {
    bool sign = false;
    for (char c : s) sign |= c == '%';
    return sign;
  }
  [[gnu::always_inline]] static size_t Hash(std::string_view s) {
    const size_t n = s.size();
    if (n == 0) return 0;
    const auto c = [&](size_t i) -> uint64_t { return static_cast<unsigned char>(s[i]); };
    uint64_t h = n * 0x100000001b3ull + (c(0) | c(n > 1 ? 1 : 0) << 8 | c(n > 1 ? n - 2 : 0) << 16 | c(n - 1) << 24);
    h *= 0x9E3779B97F4A7C15ull;
    return static_cast<size_t>(h >> 52) % kBits;
  }
  // The index i of the first pair of neighbouring signs (i, i + 1) at or
  // after `from` with exactly `name` between them.
  size_t FindPiece(std::string_view name, size_t from) const;
  void ReplaceFrom(std::string_view name, std::string_view value, size_t pair);
  // Replaces the token that starts at sign `pair` and updates the signs and
  // the filter for the pieces around the value.
  void ReplaceAt(size_t pair, std::string_view value);
  // The plain replace-all, for names with "%" and values holding their own
  // token; the signs and the filter are rebuilt after it.
  void ReplaceByText(std::string_view name, std::string_view value);
  void Index();
  void AddPieces(size_t fromSign, size_t toSign);

  std::string text_;
  std::vector<size_t> percents_;
  // NOTE: pieces that a replacement removed stay in the filter; a stale bit
  // costs one needless look at the signs, clearing it would cost a rebuild.
  std::bitset<kBits> pieces_;
};

}  // namespace vorel
