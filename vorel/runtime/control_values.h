// The texts a control shows: its value text with variables, XML data and
// text files put in (ControlValueText), and the items of a drop-down list's
// list-values text, each a display part and a value part.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorel {

class TDeskletObject;
struct TControlObject;

struct TListItem {
  std::string display;  // the text before the first "="
  std::string value;    // the text after it; the whole item when it has none
};

// The items of a list-values text: split at ";" without empty pieces.
std::vector<TListItem> ParseListValues(std::string_view text);

// The position of the first item whose value part is the value; -1 when
// none is.
int32_t FindListValue(const std::vector<TListItem>& items, std::string_view value);

// The control's value expanded, its "!XML" reference and "!TXTFILE:"
// reference replaced by their texts, and cut to what follows "!TXT:".
std::string ControlValueText(TDeskletObject& desklet, const TControlObject& control);

}  // namespace vorel
