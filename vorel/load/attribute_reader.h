// AttributeReader: one skin element's attributes read by the conversions
// the record fields use: raw or variable-expanded text, 16-bit and byte
// numbers in range, booleans and colours. Layers, child layers and
// controls read their elements through it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/xml/document.h"
#include "vorel/runtime/variable_expansion.h"
#include "vorel/skin/layer_attributes.h"
#include "vorel/skin/skin_reading.h"

namespace vorel {

class TDeskletObject;

class AttributeReader {
 public:
  AttributeReader(TDeskletObject& desklet, const xml::Node& element) : desklet_(desklet), element_(element) {}

  std::string Raw(const char* name, const std::string& defaultText = "") const {
    return GetNodeText(element_, std::string("@") + name, kCrLf, defaultText);
  }
  std::string Expanded(const char* name, const std::string& defaultText = "") const {
    return ExpandVariables(desklet_, Raw(name, defaultText));
  }
  int16_t Int16(const char* name, int32_t defaultValue) const {
    return static_cast<int16_t>(IntInRange(Expanded(name), defaultValue, -32768, 32767));
  }
  uint8_t Byte(const char* name, int32_t defaultValue) const {
    return static_cast<uint8_t>(IntInRange(Expanded(name), defaultValue, 0, 255));
  }
  bool Bool(const char* name, const char* defaultText) const { return ReadBool(Expanded(name, defaultText)); }
  // Leaves the colour as it is when the text does not convert.
  void Color(const char* name, uint32_t& color) const {
    const std::string text = Expanded(name);
    if (text.empty()) return;
    if (const std::optional<uint32_t> value = ColorFromText(text)) color = *value;
  }
  // The font face ("Arial" when empty) and size of layers and controls.
  template <typename Record>
  void Font(Record& r) const {
    r.FontName = Expanded("fontname");
    if (r.FontName.empty()) r.FontName = "Arial";
    r.FontSize = Int16("fontsize", 8);
  }

 private:
  TDeskletObject& desklet_;
  const xml::Node& element_;
};

}  // namespace vorel
