#include "vorel/runtime/control_values.h"

#include "vorel/model/control_record.h"
#include "vorel/runtime/layer_source.h"
#include "vorel/runtime/source_transforms.h"
#include "vorel/runtime/variable_expansion.h"
#include "vorel/util/text_routines.h"

namespace vorel {

std::vector<TListItem> ParseListValues(std::string_view text) {
  std::vector<TListItem> items;
  for (const std::string& item : Split(text, ';', {.clearFirst = true, .skipEmpty = true})) {
    const size_t equals = item.find('=');
    if (equals == std::string::npos)
      items.push_back({item, item});
    else
      items.push_back({item.substr(0, equals), item.substr(equals + 1)});
  }
  return items;
}

int32_t FindListValue(const std::vector<TListItem>& items, std::string_view value) {
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i].value == value) return static_cast<int32_t>(i);
  return -1;
}

std::string ControlValueText(TDeskletObject& desklet, const TControlObject& control) {
  std::string text = ExpandVariables(desklet, control.Value);
  text = ApplyXmlSource(desklet, text);
  text = ApplyTextFileSource(desklet, text);
  if (const size_t marker = text.find(kTextMarker); marker != std::string::npos)
    text.erase(0, marker + kTextMarker.size());
  return text;
}

}  // namespace vorel
