#include "vorel/runtime/token_text.h"

#include <algorithm>
#include <cstring>

#include "vorel/util/text_routines.h"

namespace vorel {

TokenText::TokenText(std::string_view text) : text_(text) { Index(); }

void TokenText::Index() {
  percents_.clear();
  pieces_.reset();
  for (size_t i = text_.find('%'); i != std::string::npos; i = text_.find('%', i + 1)) percents_.push_back(i);
  AddPieces(0, percents_.size());
}

void TokenText::AddPieces(size_t fromSign, size_t toSign) {
  toSign = std::min(toSign, percents_.size());
  for (size_t i = fromSign; i + 1 < toSign; ++i)
    pieces_.set(Hash(std::string_view(text_).substr(percents_[i] + 1, percents_[i + 1] - percents_[i] - 1)));
}

size_t TokenText::FindPiece(std::string_view name, size_t from) const {
  for (size_t i = from; i + 1 < percents_.size(); ++i) {
    const size_t start = percents_[i] + 1;
    if (percents_[i + 1] - start == name.size() && std::memcmp(text_.data() + start, name.data(), name.size()) == 0)
      return i;
  }
  return kNone;
}

void TokenText::ReplaceFrom(std::string_view name, std::string_view value, size_t pair) {
  if (value.find('%') != std::string_view::npos && value.find("%" + std::string(name) + "%") != std::string_view::npos)
    return ReplaceByText(name, value);
  // The same bound on growth as the plain replace-all.
  const size_t limit = text_.size() * std::max<size_t>(value.size(), 1) + 4096;
  while (pair != kNone) {
    ReplaceAt(pair, value);
    if (text_.size() > limit) break;
    // Pieces before the sign in front of the value are unchanged and held
    // no token; the one starting at that sign now ends inside or after it.
    pair = FindPiece(name, pair > 0 ? pair - 1 : 0);
  }
}

void TokenText::ReplaceAt(size_t pair, std::string_view value) {
  const size_t begin = percents_[pair];
  const size_t length = percents_[pair + 1] - begin + 1;
  text_.replace(begin, length, value);

  const auto at = percents_.begin() + static_cast<std::ptrdiff_t>(pair);
  auto next = percents_.erase(at, at + 2);
  for (auto it = next; it != percents_.end(); ++it) *it = *it - length + value.size();
  size_t signsInValue = 0;
  for (size_t i = value.find('%'); i != std::string_view::npos; i = value.find('%', i + 1), ++signsInValue)
    next = percents_.insert(next, begin + i) + 1;

  // The pieces that changed: from the sign before the value to the first
  // one after it.
  AddPieces(pair > 0 ? pair - 1 : 0, pair + signsInValue + 1);
}

void TokenText::ReplaceByText(std::string_view name, std::string_view value) {
  text_ = ReplaceAll(text_, "%" + std::string(name) + "%", value);
  Index();
}

}  // namespace vorel
