#include "vorel/runtime/control_apply.h"

#include <algorithm>
#include <optional>

#include "platform/util/text.h"
#include "platform/util/utf8.h"
#include "vorel/host/control_library.h"
#include "vorel/host/host_api.h"
#include "vorel/model/desklet.h"
#include "vorel/runtime/control_notifications.h"
#include "vorel/runtime/control_values.h"
#include "vorel/runtime/side_layout.h"
#include "vorel/runtime/variable_expansion.h"
#include "vorel/skin/color_names.h"
#include "vorel/skin/skin_reading.h"
#include "vorel/util/errors.h"

namespace vorel {

namespace {

using namespace controls;

// Holds one of the library's locks and gives it back on every way out. A
// failure to unlock on the way out of a failed update is reported, not
// raised over the failure that is on its way.
class LibraryLock {
 public:
  using Unlock = void (*)(KivHandle);
  LibraryLock(void (*lock)(KivHandle), Unlock unlock, KivHandle handle, TErrorLog& log)
      : unlock_(unlock), handle_(handle), log_(log) {
    lock(handle);
  }
  ~LibraryLock() {
    if (!held_) return;
    try {
      unlock_(handle_);
    } catch (...) {
      log_.Report(std::current_exception());
    }
  }
  LibraryLock(const LibraryLock&) = delete;
  LibraryLock& operator=(const LibraryLock&) = delete;

  void Release() {
    held_ = false;
    unlock_(handle_);
  }

 private:
  Unlock unlock_;
  KivHandle handle_;
  TErrorLog& log_;
  bool held_ = true;
};

int32_t SendText(KivHandle control, uint32_t code, WPARAM wParam, const std::string& text) {
  const std::u16string wide = kiv::Utf8ToUtf16(text);
  return KivSendMessage(control, code, wParam, reinterpret_cast<LPARAM>(wide.c_str()));
}

LPARAM Argb(uint32_t color) {
  const uint32_t rgb = ColorToRgb(color);
  const uint32_t r = rgb & 0xFF, g = (rgb >> 8) & 0xFF, b = (rgb >> 16) & 0xFF;
  return static_cast<LPARAM>(0xFF000000u | (r << 16) | (g << 8) | b);
}

KivFontRecord FontRecord(const TControlObject& c) {
  KivFontRecord font{};
  const std::u16string face = kiv::Utf8ToUtf16(c.FontName);
  std::copy_n(face.begin(), std::min<size_t>(face.size(), std::size(font.faceName)), font.faceName);
  font.style = c.FontStyle;
  return font;
}

void SendFont(const TControlObject& c, int32_t size) {
  // NOTE: a negative size cannot be a font's size in points; the update
  // stops here rather than hand the library a size it would misread.
  if (size < 0) throw KivError(errors::kRangeCheck);
  KivFontRecord font = FontRecord(c);
  font.sizeInt = size;
  KivSendMessage(c.Handle, kFont, 0, reinterpret_cast<LPARAM>(&font));
}

// A signed message argument as the word the library takes: -1 stays -1.
WPARAM Index(int32_t index) { return static_cast<WPARAM>(static_cast<intptr_t>(index)); }

// Selects the list item whose value part is the value text, looking its
// display part up in the control as the library holds the items.
void SelectListValue(const TControlObject& c, const std::vector<TListItem>& items, const std::string& value) {
  const int32_t at = FindListValue(items, value);
  if (at < 0) return;
  const int32_t index = SendText(c.Handle, kFindItem, 0, items[static_cast<size_t>(at)].display);
  KivSendMessage(c.Handle, kSelectItem, Index(index), 0);
}

void ApplyValue(TDeskletObject& d, const TControlObject& c) {
  if (c.CtrlType == kDropDownListType) {
    KivSendMessage(c.Handle, kClearItems, 0, 0);
    if (c.ListValues.empty()) return;
    const std::vector<TListItem> items = ParseListValues(ExpandVariables(d, c.ListValues));
    for (const TListItem& item : items) SendText(c.Handle, kAddItem, 0, item.display);
    const std::string value = ExpandVariables(d, c.Value);
    if (value.empty())
      KivSendMessage(c.Handle, kSelectItem, Index(-1), 0);
    else
      SelectListValue(c, items, value);
  } else if (c.CtrlType == kScrollBarType) {
    if (c.Value.empty()) return;
    // A value that is not a whole number leaves the position as it is.
    if (const std::optional<int32_t> position = TryReadInt(ControlValueText(d, c)))
      KivSendMessage(c.Handle, kSetScrollPos, Index(*position), 0);
  } else {
    SendText(c.Handle, kSetText, 0, ControlValueText(d, c));
  }
}

}  // namespace

void ApplyControl(TDeskletObject& d, TControlObject& c) {
  TControlState& state = d.controlState;
  if (state.controlResources == 0) {
    state.controlResources = KivCreateResources(d.settings.controlPath);
    state.controlContainer = KivCreateControlContainer(d.windowHandle, state.controlResources);
  }
  // NOTE: whether the library control is made is the record's own
  // Created flag: making a second one for a record would leave the first
  // on the desklet with nothing left that could free it.
  const bool make = !c.Created;

  LibraryLock container(&KivLockContainer, &KivUnlockContainer, state.controlContainer, d.errorLog);
  if (make) {
    c.Handle = KivCreateControl(state.controlContainer, c.Name, c.CtrlType);
    c.Created = true;
    c.NewIndex = -1;
  }
  KivRect rect{c.X, c.Y, c.X + c.Width, c.Y + c.Height};
  KivSize reference = SideSize(d, c.CtrlSide);

  LibraryLock control(&KivLockControl, &KivUnlockControl, c.Handle, d.errorLog);
  const bool text = IsTextControl(c);
  if (c.CtrlType == kDropDownListType) {
    KivFontRecord font = FontRecord(c);
    font.sizeFloat = static_cast<float>(c.FontSize);
    KivSendMessage(c.Handle, kListFont, 0, reinterpret_cast<LPARAM>(&font));
  } else if (!text) {
    SendFont(c, c.FontSize);
  }
  int32_t alignment = c.FontAlign;
  KivSendMessage(c.Handle, kAlignment, 0, reinterpret_cast<LPARAM>(&alignment));
  KivSendMessage(c.Handle, kTextColor, 0, Argb(c.FontColor));
  KivSendMessage(c.Handle, kBackColor, 0, Argb(c.FontBg));
  if (text) {
    // Text controls draw at twice the size and are shown scaled down, which
    // keeps small text sharp; their font grows with them.
    rect = {rect.left * 2, rect.top * 2, rect.right * 2, rect.bottom * 2};
    reference = {reference.cx * 2, reference.cy * 2};
    if (c.FontSize < 0) throw KivError(errors::kRangeCheck);
    SendFont(c, c.FontSize * 2);
  }
  KivSendMessage(c.Handle, kPlace, reinterpret_cast<WPARAM>(&rect), reinterpret_cast<LPARAM>(&reference));

  uint32_t layerId = 0;
  const bool hasLayer = host::DeskletLayerGetLayer(d.windowHandle, c.Name, layerId);
  c.LayerId = hasLayer ? layerId : 0;
  // NOTE: without a host layer there is nothing to show or hide; layer 0
  // would be some other layer of the desklet.
  if (hasLayer)
    host::DeskletLayerSetVisibility(d.windowHandle, layerId, false, c.Visible && c.CtrlSide == d.sideState.activeSide);
  if (c.CtrlType == kScrollBarType) KivSendMessage(c.Handle, kSetScrollSize, Index(c.ScrollBarSize), 0);
  ApplyValue(d, c);
  if (text) KivSendMessage(c.Handle, kSetPassword, c.Password ? 1 : 0, 0);
  KivSendMessage(c.Handle, kSetReadOnly, c.ReadOnly ? 1 : 0, 0);

  control.Release();
  KivAddControlToContainer(state.controlContainer, c.Handle);
  KivSendMessage(c.Handle, kAdded, 0, 0);
  container.Release();
  RegisterControlNotifications(c);
  host::DeskletInvalidateRect(d.windowHandle, rect, reference, true);
}

void RefreshControlValues(TDeskletObject& d, uint8_t side, bool xmlOnly) {
  // Statements the library runs while a value is set may add or delete
  // controls: the list is walked by name, as it was.
  std::vector<std::string> names;
  for (const auto& c : d.controlState.controls)
    if (c->CtrlSide == side && c->Created) names.push_back(c->Name);
  for (const std::string& name : names) {
    TControlObject* c = d.FindControl(name);
    if (!c || c->CtrlSide != side || !c->Created) continue;
    if (c->CtrlType == kDropDownListType) {
      const std::string value = ExpandVariables(d, c->Value);
      if (value.empty())
        KivSendMessage(c->Handle, kSelectItem, 0, 0);
      else
        SelectListValue(*c, ParseListValues(ExpandVariables(d, c->ListValues)), value);
    } else if (IsTextControl(*c)) {
      if (xmlOnly && !kiv::StartsWith(c->Value, "!XML")) continue;
      SendText(c->Handle, kSetText, 0, ControlValueText(d, *c));
    }
  }
}

}  // namespace vorel
