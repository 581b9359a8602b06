#include "vorel/skin/layer_attributes.h"

#include <string>

#include "platform/util/text.h"
#include "vorel/skin/color_names.h"
#include "vorel/skin/cursor_names.h"
#include "vorel/skin/skin_reading.h"
#include "vorel/util/text_routines.h"

namespace vorel {

std::optional<uint32_t> ColorFromText(std::string_view text) {
  if (kiv::StartsWith(text, "cl")) return ColorFromName(text);
  if (kiv::StartsWith(text, "$") || kiv::StartsWith(text, "#")) {
    const std::optional<int32_t> web = TryReadInt("$" + std::string(text.substr(1)));
    if (!web || *web < 0) return std::nullopt;
    const uint32_t v = static_cast<uint32_t>(*web);
    return ((v >> 16) & 0xFF) | (v & 0xFF00) | ((v & 0xFF) << 16);
  }
  return 0u;
}

uint8_t FontStyleFromText(std::string_view text, bool antialias) {
  uint8_t style = 0;
  if (text.find('B') != std::string_view::npos) style |= StyleBold;
  if (text.find('I') != std::string_view::npos) style |= StyleItalic;
  if (text.find('U') != std::string_view::npos) style |= StyleUnderline;
  if (text.find('S') != std::string_view::npos) style |= StyleStrikeout;
  if (antialias) style |= StyleAntiAlias;
  return style;
}

uint8_t FontAlignFromText(std::string_view text) {
  if (text.empty()) return AlignLeft | AlignTop;
  static constexpr std::pair<char, uint8_t> kLetters[] = {
      {'L', AlignLeft}, {'C', AlignCenter}, {'R', AlignRight}, {'T', AlignTop}, {'M', AlignMiddle}, {'B', AlignBottom}};
  uint8_t align = 0;
  for (auto [letter, bit] : kLetters)
    if (text.find(letter) != std::string_view::npos) align |= bit;
  return align;
}

std::optional<uint16_t> CursorFromText(std::string_view text) {
  if (kiv::StartsWith(text, "cr")) {
    const std::optional<int16_t> number = CursorNumberFromName(text);
    if (!number) return std::nullopt;
    return static_cast<uint16_t>(*number);
  }
  if (kiv::StartsWith(text, "IDC")) return static_cast<uint16_t>(CursorFromName(text));
  const std::optional<int32_t> number = TryReadInt(text);
  if (!number) return std::nullopt;
  // NOTE: the field is 16 bits wide; larger numbers keep their low bits, as
  // the record has always stored them.
  return static_cast<uint16_t>(*number);
}

std::array<int32_t, 4> ClipSourceFromText(std::string_view text) {
  std::array<int32_t, 4> clip{0, 0, 0, 0};
  if (text.empty()) return clip;
  const std::vector<std::string> parts = Split(text, ',');
  if (parts.size() != 4) return clip;
  for (size_t i = 0; i < 4; ++i) {
    const std::optional<int32_t> value = TryReadInt(kiv::Trim(parts[i]));
    if (!value) return {0, 0, 0, 0};
    clip[i] = *value;
  }
  return clip;
}

}  // namespace vorel
