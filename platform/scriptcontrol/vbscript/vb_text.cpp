#include "platform/scriptcontrol/vbscript/vb_text.h"

#include <algorithm>

#include "platform/util/utf8.h"

namespace scriptcontrol::vbscript {

namespace {

// Latin Extended-A pairs capitals and small letters by code parity, but
// the parity flips in 0139..0148 and 0179..017E.
bool LatinExtendedUpper(char16_t c) {
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return c % 2 == 1;
  return c % 2 == 0;
}

bool InLatinExtendedPairs(char16_t c) {
  return (c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x139 && c <= 0x148) ||
         (c >= 0x14A && c <= 0x177) || (c >= 0x179 && c <= 0x17E);
}

}  // namespace

char16_t LowerUnit(char16_t c) {
  if (c < 0x80) return c >= 'A' && c <= 'Z' ? static_cast<char16_t>(c + 32) : c;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 32);
  if (c == 0x178) return 0xFF;
  if (InLatinExtendedPairs(c)) return LatinExtendedUpper(c) ? static_cast<char16_t>(c + 1) : c;
  if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return static_cast<char16_t>(c + 32);
  if (c >= 0x410 && c <= 0x42F) return static_cast<char16_t>(c + 32);
  if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 80);
  return c;
}

char16_t UpperUnit(char16_t c) {
  if (c < 0x80) return c >= 'a' && c <= 'z' ? static_cast<char16_t>(c - 32) : c;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 32);
  if (c == 0xFF) return 0x178;
  if (InLatinExtendedPairs(c)) return LatinExtendedUpper(c) ? c : static_cast<char16_t>(c - 1);
  if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return static_cast<char16_t>(c - 32);
  if (c >= 0x430 && c <= 0x44F) return static_cast<char16_t>(c - 32);
  if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 80);
  return c;
}

std::u16string LowerUnits(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& c : out) c = LowerUnit(c);
  return out;
}

std::u16string UpperUnits(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& c : out) c = UpperUnit(c);
  return out;
}

int CompareUnits(std::u16string_view a, std::u16string_view b, bool textCompare) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    char16_t x = textCompare ? LowerUnit(a[i]) : a[i];
    char16_t y = textCompare ? LowerUnit(b[i]) : b[i];
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

int CompareText(std::string_view a, std::string_view b, bool textCompare) {
  if (!textCompare) {
    // UTF-8 orders by code point, which differs from UTF-16 order only
    // where supplementary characters meet E000..FFFF.
    bool plain = true;
    for (unsigned char c : a) plain = plain && c < 0xEE;
    for (unsigned char c : b) plain = plain && c < 0xEE;
    if (plain) {
      int r = a.compare(b);
      return r < 0 ? -1 : (r > 0 ? 1 : 0);
    }
  }
  return CompareUnits(kiv::Utf8ToUtf16(a), kiv::Utf8ToUtf16(b), textCompare);
}

size_t FindUnits(std::u16string_view text, std::u16string_view what, size_t start, bool textCompare) {
  if (start > text.size()) return std::u16string_view::npos;
  if (!textCompare) return text.find(what, start);
  std::u16string lowText = LowerUnits(text);
  std::u16string lowWhat = LowerUnits(what);
  return lowText.find(lowWhat, start);
}

}  // namespace scriptcontrol::vbscript
