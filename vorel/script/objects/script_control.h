// TKivScriptControl: one control of the desklet as scripts see it. Each
// lookup makes a new object bound to the desklet and the control's record;
// it does not keep the control alive, and once the control is deleted its
// members do nothing and give empty results. Setters store into the record
// and push it to the control library at once unless this object's own lock
// is set; what the user changes (text, position, selection) is asked of
// the library, which holds it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/automation/dispatch_object.h"
#include "vorel/model/control_record.h"

namespace vorel {

class TDeskletObject;

class TKivScriptControl : public automation::DispatchObject<TKivScriptControl> {
 public:
  static automation::ComPtr<TKivScriptControl> Create(TDeskletObject& desklet, TControlObject& control);
  static const automation::DispatchTable<TKivScriptControl>& Table();

  TKivScriptControl(TDeskletObject* desklet, TControlObject* control);
  bool IsBound() const { return desklet_ && control_ && !alive_.expired(); }

  template <std::string TControlObject::*Field>
  std::string GetText() const { return control_->*Field; }
  template <std::string TControlObject::*Field>
  void StoreText(std::string value) { control_->*Field = std::move(value); }
  template <std::string TControlObject::*Field>
  void PutTextAndUpdate(std::string value) {
    control_->*Field = std::move(value);
    Update();
  }
  // 16-bit fields through the 32-bit interface.
  template <int16_t TControlObject::*Field>
  int32_t GetNumber() const { return control_->*Field; }
  template <int16_t TControlObject::*Field>
  void PutNumber(int32_t value);

  std::string GetFontColor() const;
  void PutFontColor(std::string text);
  std::string GetFontBGColor() const;
  void PutFontBGColor(std::string text);
  std::string GetFontStyle() const;
  void PutFontStyle(std::string letters);
  uint8_t GetCtrlSide() const { return control_->CtrlSide; }
  void PutCtrlSide(uint8_t side);

  std::string GetValue() const;
  std::string GetDisplay() const;
  std::string GetSelectValue(int32_t index) const;
  std::string GetSelDisplayValue(int32_t index) const;
  int32_t GetNewIndex() const;
  int32_t GetIndex() const;
  void PutIndex(int32_t index);

  int32_t GetScrollBarSize() const;
  void PutScrollBarSize(int32_t size);
  bool GetReadOnly() const;
  void PutReadOnly(bool on);
  bool GetPasswordMode() const;
  void PutPasswordMode(bool on);
  bool GetVisible() const { return control_->Visible; }
  void PutVisible(bool visible);

  void Redraw();
  void LockUpdates() { updatesLocked_ = true; }
  void UnlockUpdates() { updatesLocked_ = false; }

 private:
  void Update();
  // KivSendMessage to the control; 0 without a library control.
  int32_t Ask(uint32_t code, WPARAM wParam = 0, LPARAM lParam = 0) const;
  std::string LibraryText() const;

  TDeskletObject* desklet_;
  TControlObject* control_;
  std::weak_ptr<const char> alive_;
  bool updatesLocked_ = false;
};

}  // namespace vorel
