#include "vorel/script/objects/layer_property_texts.h"

#include <cstdio>
#include <utility>
#include <vector>

#include "platform/automation/variant_convert.h"
#include "platform/util/text.h"
#include "vorel/skin/color_names.h"
#include "vorel/skin/cursor_names.h"
#include "vorel/skin/layer_attributes.h"
#include "vorel/model/layer_record.h"
#include "vorel/skin/skin_reading.h"
#include "vorel/util/errors.h"
#include "vorel/util/text_routines.h"

namespace vorel {

namespace {

std::string Letters(uint8_t bits, std::initializer_list<std::pair<char, uint8_t>> letters) {
  std::string out;
  for (auto [letter, bit] : letters)
    if (bits & bit) out += letter;
  return out;
}

}  // namespace

uint32_t ColorFromScriptText(const std::string& text) {
  if (kiv::StartsWith(text, "cl")) {
    if (std::optional<uint32_t> named = ColorFromName(text)) return *named;
    return static_cast<uint32_t>(ReadInt(text));
  }
  if (kiv::StartsWith(text, "$") || kiv::StartsWith(text, "#")) {
    const int32_t web = ReadInt("$" + text.substr(1));
    if (web < 0) throw KivError(errors::kRangeCheck);
    const uint32_t v = static_cast<uint32_t>(web);
    return ((v >> 16) & 0xFF) | (v & 0xFF00) | ((v & 0xFF) << 16);
  }
  return 0;
}

std::string ColorToScriptText(uint32_t color) {
  if (std::optional<std::string_view> name = NameOfColor(color)) return std::string(*name);
  char digits[16];
  std::snprintf(digits, sizeof digits, "$%08x", color);
  return digits;
}

std::string FontStyleToText(uint8_t style) {
  return Letters(style, {{'B', StyleBold}, {'I', StyleItalic}, {'U', StyleUnderline}, {'S', StyleStrikeout}});
}

std::string FontAlignToText(uint8_t align) {
  return Letters(align, {{'L', AlignLeft}, {'C', AlignCenter}, {'R', AlignRight}, {'T', AlignTop},
                         {'M', AlignMiddle}, {'B', AlignBottom}});
}

uint16_t CursorFromScriptText(const std::string& text) {
  if (std::optional<int16_t> named = CursorNumberFromName(text)) return static_cast<uint16_t>(*named);
  if (kiv::StartsWith(kiv::ToUpperAscii(text), "IDC_")) {
    const int32_t system = CursorFromName(text);
    if (system != 0) return static_cast<uint16_t>(system);
  }
  const int32_t number = ReadInt(text);
  // Either reading of the 16 bits: -22 or 65514, 32512 and up.
  if (number < -32768 || number > 65535) throw KivError(errors::kRangeCheck);
  return static_cast<uint16_t>(number);
}

std::string CursorToScriptText(uint16_t cursor) {
  if (cursor == kNoCursor) return "";
  const auto number = static_cast<int16_t>(cursor);
  if (std::optional<std::string_view> name = NameOfCursor(number)) return std::string(*name);
  // System cursors (32512 and up) read back as the number they were given.
  return std::to_string(number);
}

std::array<int32_t, 4> ClipFromVariant(const automation::Variant& value) {
  std::array<int32_t, 4> clip{0, 0, 0, 0};
  const automation::Variant& v = value.Deref();
  if (v.Type() == automation::VarType::String) {
    const std::vector<std::string> parts = Split(automation::ToString(v), ',');
    if (parts.size() < 4) return clip;
    for (size_t i = 0; i < 4; ++i) {
      const std::string part = kiv::Trim(parts[i]);
      clip[i] = part.empty() ? 0 : ReadInt(part);
    }
  } else if (const automation::VariantArray* array = v.Array()) {
    // NOTE: an array of fewer than four elements leaves the rest zero
    // rather than reading past its end.
    const auto& items = array->Items();
    for (size_t i = 0; i < 4 && i < items.size(); ++i) clip[i] = automation::ToInt32(items[i]);
  }
  return clip;
}

automation::Variant ClipToVariant(const std::array<int32_t, 4>& clip) {
  return automation::Variant(automation::VariantArray({clip[0], clip[1], clip[2], clip[3]}));
}

}  // namespace vorel
