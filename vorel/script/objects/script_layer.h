// TKivScriptLayer: one layer of the desklet as scripts see it. Each lookup
// makes a new object bound to the desklet and the layer's record; the
// object does not keep the layer alive, and once the layer is deleted its
// members fail instead of touching the freed record. Setters that change
// the look draw the layer again at once unless this object's own lock is
// set; alpha, visibility and rotation go to the host directly.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/automation/dispatch_object.h"
#include "vorel/model/layer_record.h"

namespace vorel {

class TDeskletObject;

class TKivScriptLayer : public automation::DispatchObject<TKivScriptLayer> {
 public:
  static automation::ComPtr<TKivScriptLayer> Create(TDeskletObject& desklet, TLayerObject& layer);
  static const automation::DispatchTable<TKivScriptLayer>& Table();

  TKivScriptLayer(TDeskletObject* desklet, TLayerObject* layer);
  bool IsBound() const { return desklet_ && layer_ && !alive_.expired(); }
  // The record, for callers inside the plug-in; null once it is gone.
  TLayerObject* Record() const { return IsBound() ? layer_ : nullptr; }

  // Text fields of the record: stored, and drawn again when they change
  // what is shown.
  template <std::string TLayerObject::*Field>
  std::string GetText() const { return layer_->*Field; }
  template <std::string TLayerObject::*Field>
  void StoreText(std::string value) { layer_->*Field = std::move(value); }
  template <std::string TLayerObject::*Field>
  void PutTextAndRender(std::string value) {
    layer_->*Field = std::move(value);
    Render();
  }

  // 16-bit geometry with the 32-bit interface.
  template <int16_t TLayerObject::*Field>
  int32_t GetCoord() const { return layer_->*Field; }
  template <int16_t TLayerObject::*Field>
  void PutCoord(int32_t value);

  template <uint8_t TLayerObject::*Field>
  uint8_t GetByte() const { return layer_->*Field; }
  template <uint8_t TLayerObject::*Field>
  void PutByteAndRender(uint8_t value) {
    layer_->*Field = value;
    Render();
  }

  template <uint16_t Flag>
  bool GetFlag() const { return layer_->Has(Flag); }
  template <uint16_t Flag>
  void PutFlagAndRender(bool on) {
    layer_->Set(Flag, on);
    Render();
  }

  std::string GetFontColor() const;
  void PutFontColor(std::string text);
  int16_t GetFontSize() const { return layer_->FontSize; }
  void PutFontSize(int16_t size);
  std::string GetFontStyle() const;
  void PutFontStyle(std::string letters);
  bool GetFontAA() const;
  void PutFontAA(bool on);
  std::string GetFontAlignment() const;
  void PutFontAlignment(std::string letters);
  std::string GetCursor() const;
  void PutCursor(std::string text);
  uint8_t GetAlpha() const { return layer_->Alpha; }
  void PutAlpha(uint8_t alpha);
  void PutVisible(bool visible);
  int16_t GetRotation() const { return 0; }
  void PutRotation(int16_t angle);
  void SetColor(std::string text);
  automation::Variant GetClipSource() const;
  void PutClipSource(automation::Variant value);
  std::string GetTextValue() const;
  void PutTextValue(std::string text);
  std::string GetImage() const;
  void PutImage(std::string source);
  void PutClickable(bool clickable);
  int32_t GetImageWidth() const { return layer_->ImageWidth; }
  int32_t GetImageHeight() const { return layer_->ImageHeight; }
  std::string GetName() const { return layer_->Name; }

  void Redraw();
  void LockUpdates() { updatesLocked_ = true; }
  void UnlockUpdates() { updatesLocked_ = false; }
  void CaptureMouse();
  void UnCaptureMouse();
  void Slide(automation::Variant& start, automation::Variant& end, automation::Variant& step, int32_t delay,
             int32_t loop, bool async, std::string callback);
  void SlideShow(std::string images, int32_t delay, int32_t loop, bool async, std::string callback);

 private:
  void Render();
  // The redraw argument of the host calls: off while the desklet holds all
  // updates.
  bool HostRedraw() const;

  TDeskletObject* desklet_;
  TLayerObject* layer_;
  std::weak_ptr<const char> alive_;
  bool updatesLocked_ = false;
};

}  // namespace vorel
