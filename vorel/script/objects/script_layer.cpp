#include "vorel/script/objects/script_layer.h"

#include <array>

#include "platform/automation/variant_convert.h"
#include "vorel/model/desklet.h"
#include "vorel/host/host_api.h"
#include "vorel/runtime/layer_animation.h"
#include "vorel/runtime/layer_source.h"
#include "vorel/runtime/render_layer.h"
#include "vorel/script/objects/layer_property_texts.h"
#include "vorel/skin/layer_attributes.h"
#include "vorel/typelib/vorel_type_library.h"
#include "vorel/util/errors.h"

namespace vorel {

namespace {

// Each of the three coordinates of a slide as four integers, read the way
// the first one is given.
std::array<int32_t, 4> SlideCoordinates(const automation::Variant& value, bool asText) {
  const automation::Variant& v = value.Deref();
  if (asText) return ClipFromVariant(automation::Variant(automation::ToString(v)));
  return ClipFromVariant(v);
}

}  // namespace

TKivScriptLayer::TKivScriptLayer(TDeskletObject* desklet, TLayerObject* layer)
    : desklet_(desklet), layer_(layer), alive_(layer ? std::weak_ptr<const char>(layer->lifetime) : std::weak_ptr<const char>()) {}

automation::ComPtr<TKivScriptLayer> TKivScriptLayer::Create(TDeskletObject& desklet, TLayerObject& layer) {
  return automation::MakeObject<TKivScriptLayer>(&desklet, &layer);
}

const automation::DispatchTable<TKivScriptLayer>& TKivScriptLayer::Table() {
  using T = TKivScriptLayer;
  using L = TLayerObject;
  constexpr auto Get = automation::MemberKind::PropertyGet;
  constexpr auto Put = automation::MemberKind::PropertyPut;
  constexpr auto Method = automation::MemberKind::Method;
  static const automation::DispatchTable<T> table =
      automation::DispatchTable<T>(VorelInterface("IKivScriptLayer"))
          .Source("KivScriptLayer")
          .Implement("Src", Get, &T::GetText<&L::Src>)
          .Implement("Src", Put, &T::PutTextAndRender<&L::Src>)
          .Implement("dsrc", Get, &T::GetText<&L::DSrc>)
          .Implement("dsrc", Put, &T::PutTextAndRender<&L::DSrc>)
          .Implement("msrc", Get, &T::GetText<&L::MSrc>)
          .Implement("msrc", Put, &T::PutTextAndRender<&L::MSrc>)
          .Implement("onMouseClick", Get, &T::GetText<&L::OnClick>)
          .Implement("onMouseClick", Put, &T::StoreText<&L::OnClick>)
          .Implement("OnMouseEnter", Get, &T::GetText<&L::OnMouseEnter>)
          .Implement("OnMouseEnter", Put, &T::StoreText<&L::OnMouseEnter>)
          .Implement("OnMouseExit", Get, &T::GetText<&L::OnMouseExit>)
          .Implement("OnMouseExit", Put, &T::StoreText<&L::OnMouseExit>)
          .Implement("FontName", Get, &T::GetText<&L::FontName>)
          .Implement("FontName", Put, &T::PutTextAndRender<&L::FontName>)
          .Implement("FontColor", Get, &T::GetFontColor)
          .Implement("FontColor", Put, &T::PutFontColor)
          .Implement("FontSize", Get, &T::GetFontSize)
          .Implement("FontSize", Put, &T::PutFontSize)
          .Implement("FontStyle", Get, &T::GetFontStyle)
          .Implement("FontStyle", Put, &T::PutFontStyle)
          .Implement("FontAlignment", Get, &T::GetFontAlignment)
          .Implement("FontAlignment", Put, &T::PutFontAlignment)
          .Implement("Cursor", Get, &T::GetCursor)
          .Implement("Cursor", Put, &T::PutCursor)
          .Implement("X", Get, &T::GetCoord<&L::X>)
          .Implement("X", Put, &T::PutCoord<&L::X>)
          .Implement("Y", Get, &T::GetCoord<&L::Y>)
          .Implement("Y", Put, &T::PutCoord<&L::Y>)
          .Implement("Data", Get, &T::GetText<&L::Data>)
          .Implement("Data", Put, &T::StoreText<&L::Data>)
          .Implement("Width", Get, &T::GetCoord<&L::Width>)
          .Implement("Width", Put, &T::PutCoord<&L::Width>)
          .Implement("Height", Get, &T::GetCoord<&L::Height>)
          .Implement("Height", Put, &T::PutCoord<&L::Height>)
          .Implement("OffSetX", Get, &T::GetCoord<&L::OffSetX>)
          .Implement("OffSetX", Put, &T::PutCoord<&L::OffSetX>)
          .Implement("OffSetY", Get, &T::GetCoord<&L::OffSetY>)
          .Implement("OffSetY", Put, &T::PutCoord<&L::OffSetY>)
          .Implement("Slide", Method, &T::Slide)
          .Implement("Redraw", Method, &T::Redraw)
          .Implement("Name", Get, &T::GetName)
          .Implement("LayerSide", Get, &T::GetByte<&L::LayerSide>)
          .Implement("LayerSide", Put, &T::PutByteAndRender<&L::LayerSide>)
          .Implement("OnMouseScroll", Get, &T::GetText<&L::OnMouseScroll>)
          .Implement("OnMouseScroll", Put, &T::StoreText<&L::OnMouseScroll>)
          .Implement("onMouseDown", Get, &T::GetText<&L::OnMouseDown>)
          .Implement("onMouseDown", Put, &T::StoreText<&L::OnMouseDown>)
          .Implement("onMouseUp", Get, &T::GetText<&L::OnMouseUp>)
          .Implement("onMouseUp", Put, &T::StoreText<&L::OnMouseUp>)
          .Implement("KeyBind", Get, &T::GetText<&L::KeyBind>)
          .Implement("KeyBind", Put, &T::StoreText<&L::KeyBind>)
          .Implement("Alpha", Get, &T::GetAlpha)
          .Implement("Alpha", Put, &T::PutAlpha)
          .Implement("Down", Get, &T::GetFlag<Down>)
          .Implement("Down", Put, &T::PutFlagAndRender<Down>)
          .Implement("OnMouseRightClick", Get, &T::GetText<&L::OnMouseRightClick>)
          .Implement("OnMouseRightClick", Put, &T::StoreText<&L::OnMouseRightClick>)
          .Implement("FontAA", Get, &T::GetFontAA)
          .Implement("FontAA", Put, &T::PutFontAA)
          .Implement("MaskValue", Get, &T::GetByte<&L::MaskValue>)
          .Implement("MaskValue", Put, &T::PutByteAndRender<&L::MaskValue>)
          .Implement("Visible", Get, &T::GetFlag<Visible>)
          .Implement("Visible", Put, &T::PutVisible)
          .Implement("MaskMinValue", Get, &T::GetByte<&L::MaskMinValue>)
          .Implement("MaskMinValue", Put, &T::PutByteAndRender<&L::MaskMinValue>)
          .Implement("Rotation", Get, &T::GetRotation)
          .Implement("Rotation", Put, &T::PutRotation)
          .Implement("SetColor", Method, &T::SetColor)
          .Implement("ClipSource", Get, &T::GetClipSource)
          .Implement("ClipSource", Put, &T::PutClipSource)
          .Implement("LockUpdates", Method, &T::LockUpdates)
          .Implement("UnlockUpdates", Method, &T::UnlockUpdates)
          .Implement("Text", Get, &T::GetTextValue)
          .Implement("Text", Put, &T::PutTextValue)
          .Implement("Image", Get, &T::GetImage)
          .Implement("Image", Put, &T::PutImage)
          .Implement("SlideShow", Method, &T::SlideShow)
          .Implement("CaptureMouse", Method, &T::CaptureMouse)
          .Implement("UnCaptureMouse", Method, &T::UnCaptureMouse)
          .Implement("CenterSrc", Get, &T::GetFlag<CenterSrc>)
          .Implement("CenterSrc", Put, &T::PutFlagAndRender<CenterSrc>)
          .Implement("Clickable", Put, &T::PutClickable)
          .Implement("Scale", Get, &T::GetFlag<Scale>)
          .Implement("Scale", Put, &T::PutFlagAndRender<Scale>)
          .Implement("ScaleProportional", Get, &T::GetFlag<ScaleProportional>)
          .Implement("ScaleProportional", Put, &T::PutFlagAndRender<ScaleProportional>)
          .Implement("ImageHeight", Get, &T::GetImageHeight)
          .Implement("ImageWidth", Get, &T::GetImageWidth)
          .Implement("TextResize", Get, &T::GetFlag<TextResize>)
          .Implement("TextResize", Put, &T::PutFlagAndRender<TextResize>);
  return table;
}

template <int16_t TLayerObject::*Field>
void TKivScriptLayer::PutCoord(int32_t value) {
  if (value < -32768 || value > 32767) throw KivError(errors::kRangeCheck);
  layer_->*Field = static_cast<int16_t>(value);
  Render();
}

void TKivScriptLayer::Render() {
  if (!updatesLocked_) RenderLayer(*desklet_, *layer_, TLook::Normal, true, true);
}

bool TKivScriptLayer::HostRedraw() const { return !desklet_->updatesLocked; }

std::string TKivScriptLayer::GetFontColor() const { return ColorToScriptText(layer_->FontColor); }

void TKivScriptLayer::PutFontColor(std::string text) {
  layer_->FontColor = ColorFromScriptText(text);
  Render();
}

void TKivScriptLayer::PutFontSize(int16_t size) {
  layer_->FontSize = size;
  Render();
}

std::string TKivScriptLayer::GetFontStyle() const { return FontStyleToText(layer_->FontStyle); }

void TKivScriptLayer::PutFontStyle(std::string letters) {
  layer_->FontStyle = FontStyleFromText(letters, (layer_->FontStyle & StyleAntiAlias) != 0);
  Render();
}

bool TKivScriptLayer::GetFontAA() const { return (layer_->FontStyle & StyleAntiAlias) != 0; }

void TKivScriptLayer::PutFontAA(bool on) {
  layer_->FontStyle = on ? (layer_->FontStyle | StyleAntiAlias) : (layer_->FontStyle & ~StyleAntiAlias);
}

std::string TKivScriptLayer::GetFontAlignment() const { return FontAlignToText(layer_->FontAlign); }

void TKivScriptLayer::PutFontAlignment(std::string letters) {
  layer_->FontAlign = FontAlignFromText(letters);
  Render();
}

std::string TKivScriptLayer::GetCursor() const { return CursorToScriptText(layer_->Cursor); }

void TKivScriptLayer::PutCursor(std::string text) { layer_->Cursor = CursorFromScriptText(text); }

void TKivScriptLayer::PutAlpha(uint8_t alpha) {
  layer_->Alpha = alpha;
  if (!updatesLocked_) host::DeskletLayerSetAlpha(desklet_->windowHandle, layer_->Id, HostRedraw(), alpha);
}

void TKivScriptLayer::PutVisible(bool visible) {
  layer_->Set(Visible, visible);
  if (!updatesLocked_) host::DeskletLayerSetVisibility(desklet_->windowHandle, layer_->Id, HostRedraw(), visible);
}

void TKivScriptLayer::PutRotation(int16_t angle) {
  if (!updatesLocked_) host::DeskletLayerSetRotation(desklet_->windowHandle, layer_->Id, HostRedraw(), angle);
}

void TKivScriptLayer::SetColor(std::string text) {
  layer_->ImageColor = ColorFromScriptText(text);
  Render();
}

automation::Variant TKivScriptLayer::GetClipSource() const { return ClipToVariant(layer_->ClipSource); }

void TKivScriptLayer::PutClipSource(automation::Variant value) {
  layer_->ClipSource = ClipFromVariant(value);
  Render();
}

std::string TKivScriptLayer::GetTextValue() const {
  const size_t at = layer_->Src.find(kTextMarker);
  return at == std::string::npos ? "" : layer_->Src.substr(at + kTextMarker.size());
}

void TKivScriptLayer::PutTextValue(std::string text) {
  layer_->Src = std::string(kTextMarker) + text;
  Render();
}

std::string TKivScriptLayer::GetImage() const {
  return layer_->Src.find('!') == std::string::npos ? "" : layer_->Src;
}

void TKivScriptLayer::PutImage(std::string source) {
  layer_->Src = std::move(source);
  Render();
}

void TKivScriptLayer::PutClickable(bool clickable) {
  host::DeskletLayerSetIsClickThrough(desklet_->windowHandle, layer_->Id, !clickable);
}

void TKivScriptLayer::Redraw() {
  RenderLayer(*desklet_, *layer_, TLook::Normal, true, true);
  updatesLocked_ = false;
}

void TKivScriptLayer::CaptureMouse() { host::DeskletLayerSetCapture(desklet_->windowHandle, layer_->Id); }

void TKivScriptLayer::UnCaptureMouse() { host::DeskletLayerReleaseCapture(desklet_->windowHandle); }

void TKivScriptLayer::Slide(automation::Variant& start, automation::Variant& end, automation::Variant& step,
                            int32_t delay, int32_t loop, bool async, std::string callback) {
  const automation::Variant& first = start.Deref();
  const bool asText = first.Type() == automation::VarType::String;
  if (!asText && !first.IsArray()) return;
  TSlideRequest request{SlideCoordinates(start, asText), SlideCoordinates(end, asText), SlideCoordinates(step, asText),
                        delay, loop, async, std::move(callback)};
  StartLayerSlide(*desklet_, *layer_, request);
}

void TKivScriptLayer::SlideShow(std::string images, int32_t delay, int32_t loop, bool async, std::string callback) {
  StartLayerSlideShow(*desklet_, *layer_, TSlideShowRequest{std::move(images), delay, loop, async, std::move(callback)});
}

}  // namespace vorel
