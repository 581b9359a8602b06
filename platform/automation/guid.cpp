#include "platform/automation/guid.h"

#include <cstdio>

namespace automation {

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads 2*bytes hex digits at pos into value.
bool ReadHex(std::string_view text, size_t& pos, int bytes, uint64_t& value) {
  value = 0;
  for (int i = 0; i < bytes * 2; ++i) {
    if (pos >= text.size()) return false;
    int digit = HexValue(text[pos++]);
    if (digit < 0) return false;
    value = value * 16 + static_cast<uint64_t>(digit);
  }
  return true;
}

bool Expect(std::string_view text, size_t& pos, char c) {
  if (pos >= text.size() || text[pos] != c) return false;
  ++pos;
  return true;
}

}  // namespace

std::string ToString(const Guid& g) {
  char text[40];
  std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.data1, g.data2,
                g.data3, g.data4[0], g.data4[1], g.data4[2], g.data4[3], g.data4[4], g.data4[5], g.data4[6],
                g.data4[7]);
  return text;
}

std::optional<Guid> ParseGuid(std::string_view text) {
  bool braces = !text.empty() && text.front() == '{';
  if (braces) {
    if (text.size() < 2 || text.back() != '}') return std::nullopt;
    text = text.substr(1, text.size() - 2);
  }
  if (text.size() != 36) return std::nullopt;
  Guid g;
  size_t pos = 0;
  uint64_t v = 0;
  if (!ReadHex(text, pos, 4, v)) return std::nullopt;
  g.data1 = static_cast<uint32_t>(v);
  if (!Expect(text, pos, '-') || !ReadHex(text, pos, 2, v)) return std::nullopt;
  g.data2 = static_cast<uint16_t>(v);
  if (!Expect(text, pos, '-') || !ReadHex(text, pos, 2, v)) return std::nullopt;
  g.data3 = static_cast<uint16_t>(v);
  if (!Expect(text, pos, '-')) return std::nullopt;
  for (int i = 0; i < 8; ++i) {
    if (i == 2 && !Expect(text, pos, '-')) return std::nullopt;
    if (!ReadHex(text, pos, 1, v)) return std::nullopt;
    g.data4[static_cast<size_t>(i)] = static_cast<uint8_t>(v);
  }
  return g;
}

size_t GuidHash::operator()(const Guid& g) const {
  size_t h = std::hash<uint32_t>{}(g.data1);
  h = h * 31 + g.data2;
  h = h * 31 + g.data3;
  for (uint8_t b : g.data4) h = h * 31 + b;
  return h;
}

}  // namespace automation
