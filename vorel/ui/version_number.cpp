#include "vorel/ui/version_number.h"

namespace vorel {

std::optional<uint64_t> VersionNumber(std::string_view text) {
  uint64_t number = 0;
  int parts = 0;
  size_t start = 0;
  while (true) {
    const size_t dot = text.find('.', start);
    const std::string_view part = text.substr(start, dot == std::string_view::npos ? text.npos : dot - start);
    if (part.empty() || part.size() > 3) return std::nullopt;
    uint64_t value = 0;
    for (char c : part) {
      if (c < '0' || c > '9') return std::nullopt;
      value = value * 10 + static_cast<uint64_t>(c - '0');
    }
    number = number * 1000 + value;
    if (++parts > 4) return std::nullopt;
    if (dot == std::string_view::npos) break;
    start = dot + 1;
  }
  if (parts != 4) return std::nullopt;
  return number;
}

}  // namespace vorel
