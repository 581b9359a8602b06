#include "vorel/script/objects/script_control.h"

#include <algorithm>
#include <vector>

#include "platform/util/utf8.h"
#include "vorel/host/control_library.h"
#include "vorel/host/host_api.h"
#include "vorel/model/desklet.h"
#include "vorel/runtime/control_apply.h"
#include "vorel/runtime/control_values.h"
#include "vorel/runtime/variable_expansion.h"
#include "vorel/script/objects/layer_property_texts.h"
#include "vorel/skin/layer_attributes.h"
#include "vorel/typelib/vorel_type_library.h"
#include "vorel/util/errors.h"

namespace vorel {

namespace {

// The list as scripts read it: expanded, every item a display and a value.
std::vector<TListItem> ExpandedList(TDeskletObject& d, const TControlObject& c) {
  return ParseListValues(ExpandVariables(d, c.ListValues));
}

}  // namespace

TKivScriptControl::TKivScriptControl(TDeskletObject* desklet, TControlObject* control)
    : desklet_(desklet),
      control_(control),
      alive_(control ? std::weak_ptr<const char>(control->lifetime) : std::weak_ptr<const char>()) {}

automation::ComPtr<TKivScriptControl> TKivScriptControl::Create(TDeskletObject& desklet, TControlObject& control) {
  return automation::MakeObject<TKivScriptControl>(&desklet, &control);
}

const automation::DispatchTable<TKivScriptControl>& TKivScriptControl::Table() {
  using T = TKivScriptControl;
  using C = TControlObject;
  constexpr auto Get = automation::MemberKind::PropertyGet;
  constexpr auto Put = automation::MemberKind::PropertyPut;
  constexpr auto Method = automation::MemberKind::Method;
  static const automation::DispatchTable<T> table =
      automation::DispatchTable<T>(VorelInterface("IKivScriptControl"))
          .Source("KivScriptControl")
          .Unbound(automation::UnboundRule::SucceedEmpty)
          .Implement("FontColor", Get, &T::GetFontColor)
          .Implement("FontColor", Put, &T::PutFontColor)
          .Implement("FontName", Get, &T::GetText<&C::FontName>)
          .Implement("FontName", Put, &T::PutTextAndUpdate<&C::FontName>)
          .Implement("FontStyle", Get, &T::GetFontStyle)
          .Implement("FontStyle", Put, &T::PutFontStyle)
          .Implement("X", Get, &T::GetNumber<&C::X>)
          .Implement("X", Put, &T::PutNumber<&C::X>)
          .Implement("Y", Get, &T::GetNumber<&C::Y>)
          .Implement("Y", Put, &T::PutNumber<&C::Y>)
          .Implement("Redraw", Method, &T::Redraw)
          .Implement("Height", Get, &T::GetNumber<&C::Height>)
          .Implement("Height", Put, &T::PutNumber<&C::Height>)
          .Implement("Width", Get, &T::GetNumber<&C::Width>)
          .Implement("Width", Put, &T::PutNumber<&C::Width>)
          .Implement("CtrlType", Get, &T::GetText<&C::CtrlType>)
          .Implement("Name", Get, &T::GetText<&C::Name>)
          .Implement("OnEnter", Get, &T::GetText<&C::OnEnter>)
          .Implement("OnEnter", Put, &T::StoreText<&C::OnEnter>)
          .Implement("OnExit", Get, &T::GetText<&C::OnExit>)
          .Implement("OnExit", Put, &T::StoreText<&C::OnExit>)
          .Implement("OnChange", Get, &T::GetText<&C::OnChange>)
          .Implement("OnChange", Put, &T::StoreText<&C::OnChange>)
          .Implement("OnKeyEnter", Get, &T::GetText<&C::OnKeyEnter>)
          .Implement("OnKeyEnter", Put, &T::StoreText<&C::OnKeyEnter>)
          .Implement("Value", Get, &T::GetValue)
          .Implement("Value", Put, &T::PutTextAndUpdate<&C::Value>)
          .Implement("Display", Get, &T::GetDisplay)
          .Implement("Display", Put, &T::PutTextAndUpdate<&C::Value>)
          .Implement("ListValues", Get, &T::GetText<&C::ListValues>)
          .Implement("ListValues", Put, &T::PutTextAndUpdate<&C::ListValues>)
          .Implement("GetSelectValue", Method, &T::GetSelectValue)
          .Implement("FontSize", Get, &T::GetNumber<&C::FontSize>)
          .Implement("FontSize", Put, &T::PutNumber<&C::FontSize>)
          .Implement("CtrlSide", Get, &T::GetCtrlSide)
          .Implement("CtrlSide", Put, &T::PutCtrlSide)
          .Implement("FontBGColor", Get, &T::GetFontBGColor)
          .Implement("FontBGColor", Put, &T::PutFontBGColor)
          .Implement("ScrollBarSize", Get, &T::GetScrollBarSize)
          .Implement("ScrollBarSize", Put, &T::PutScrollBarSize)
          .Implement("LockUpdates", Method, &T::LockUpdates)
          .Implement("Visible", Get, &T::GetVisible)
          .Implement("Visible", Put, &T::PutVisible)
          .Implement("UnlockUpdates", Method, &T::UnlockUpdates)
          .Implement("ReadOnly", Get, &T::GetReadOnly)
          .Implement("ReadOnly", Put, &T::PutReadOnly)
          .Implement("PasswordMode", Get, &T::GetPasswordMode)
          .Implement("PasswordMode", Put, &T::PutPasswordMode)
          .Implement("GetSelDisplayValue", Method, &T::GetSelDisplayValue)
          .Implement("NewIndex", Get, &T::GetNewIndex)
          .Implement("Index", Get, &T::GetIndex)
          .Implement("Index", Put, &T::PutIndex);
  return table;
}

void TKivScriptControl::Update() {
  if (!updatesLocked_) ApplyControl(*desklet_, *control_);
}

int32_t TKivScriptControl::Ask(uint32_t code, WPARAM wParam, LPARAM lParam) const {
  if (control_->Handle == 0) return code == controls::kGetSelected ? -1 : 0;
  return controls::KivSendMessage(control_->Handle, code, wParam, lParam);
}

std::string TKivScriptControl::LibraryText() const {
  const int32_t length = Ask(controls::kTextLength);
  if (length <= 0) return "";
  std::u16string text(static_cast<size_t>(length) + 1, u'\0');
  const int32_t copied = Ask(controls::kGetText, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(std::clamp(copied, 0, length)));
  return kiv::Utf16ToUtf8(text);
}

template <int16_t TControlObject::*Field>
void TKivScriptControl::PutNumber(int32_t value) {
  if (value < -32768 || value > 32767) throw KivError(errors::kRangeCheck);
  control_->*Field = static_cast<int16_t>(value);
  Update();
}

std::string TKivScriptControl::GetFontColor() const { return ColorToScriptText(control_->FontColor); }

void TKivScriptControl::PutFontColor(std::string text) {
  control_->FontColor = ColorFromScriptText(text);
  Update();
}

std::string TKivScriptControl::GetFontBGColor() const { return ColorToScriptText(control_->FontBg); }

void TKivScriptControl::PutFontBGColor(std::string text) {
  control_->FontBg = ColorFromScriptText(text);
  Update();
}

std::string TKivScriptControl::GetFontStyle() const { return FontStyleToText(control_->FontStyle); }

void TKivScriptControl::PutFontStyle(std::string letters) {
  control_->FontStyle = FontStyleFromText(letters, false);
  Update();
}

void TKivScriptControl::PutCtrlSide(uint8_t side) {
  control_->CtrlSide = side;
  Update();
}

std::string TKivScriptControl::GetValue() const {
  const TControlObject& c = *control_;
  if (IsTextControl(c)) return LibraryText();
  if (c.CtrlType == kScrollBarType) return std::to_string(Ask(controls::kGetScrollPos));
  const std::vector<TListItem> items = ExpandedList(*desklet_, c);
  const int32_t index = Ask(controls::kGetSelected);
  if (index < 0 || static_cast<size_t>(index) >= items.size()) return "";
  return items[static_cast<size_t>(index)].value;
}

std::string TKivScriptControl::GetDisplay() const {
  const TControlObject& c = *control_;
  if (c.CtrlType != kDropDownListType) return LibraryText();
  const std::vector<TListItem> items = ExpandedList(*desklet_, c);
  const int32_t index = Ask(controls::kGetSelected);
  if (index < 0 || static_cast<size_t>(index) >= items.size()) return "";
  return items[static_cast<size_t>(index)].display;
}

std::string TKivScriptControl::GetSelectValue(int32_t index) const {
  const std::vector<TListItem> items = ExpandedList(*desklet_, *control_);
  if (index < 0 || static_cast<size_t>(index) >= items.size()) return "";
  return items[static_cast<size_t>(index)].value;
}

std::string TKivScriptControl::GetSelDisplayValue(int32_t index) const {
  const std::vector<TListItem> items = ExpandedList(*desklet_, *control_);
  if (index < 0 || static_cast<size_t>(index) >= items.size()) return "";
  return items[static_cast<size_t>(index)].display;
}

int32_t TKivScriptControl::GetNewIndex() const {
  return control_->NewIndex != -1 ? control_->NewIndex : Ask(controls::kGetSelected);
}

int32_t TKivScriptControl::GetIndex() const { return Ask(controls::kGetSelected); }

void TKivScriptControl::PutIndex(int32_t index) {
  Ask(controls::kSelectItem, static_cast<WPARAM>(static_cast<intptr_t>(index)));
}

int32_t TKivScriptControl::GetScrollBarSize() const { return Ask(controls::kGetScrollSize); }

void TKivScriptControl::PutScrollBarSize(int32_t size) {
  control_->ScrollBarSize = size;
  Update();
}

bool TKivScriptControl::GetReadOnly() const { return Ask(controls::kGetReadOnly) != 0; }

void TKivScriptControl::PutReadOnly(bool on) {
  control_->ReadOnly = on;
  if (!updatesLocked_) Ask(controls::kSetReadOnly, on ? 1 : 0);
}

bool TKivScriptControl::GetPasswordMode() const { return Ask(controls::kGetPassword) != 0; }

void TKivScriptControl::PutPasswordMode(bool on) {
  control_->Password = on;
  if (!updatesLocked_) Ask(controls::kSetPassword, on ? 1 : 0);
}

void TKivScriptControl::PutVisible(bool visible) {
  control_->Visible = visible;
  if (updatesLocked_) return;
  // NOTE: the identifier is read again by name: a control whose host layer
  // was not there when it was last applied has none recorded, and layer 0
  // is some other layer.
  uint32_t id = 0;
  if (host::DeskletLayerGetLayer(desklet_->windowHandle, control_->Name, id))
    host::DeskletLayerSetVisibility(desklet_->windowHandle, id, false, visible);
}

void TKivScriptControl::Redraw() {
  ApplyControl(*desklet_, *control_);
  updatesLocked_ = false;
}

}  // namespace vorel
