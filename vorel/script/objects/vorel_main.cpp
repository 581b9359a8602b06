#include "vorel/script/objects/vorel_main.h"

#include <chrono>
#include <thread>

#include "platform/util/utf8.h"
#include "platform/win/win_services.h"
#include "vorel/model/desklet.h"
#include "vorel/host/host_api.h"
#include "vorel/host/messages.h"
#include "platform/automation/automation_error.h"
#include "platform/automation/prog_id_registry.h"
#include "vorel/runtime/data_fetch.h"
#include "vorel/runtime/event_sinker.h"
#include "vorel/runtime/side_flip.h"
#include "vorel/runtime/layer_source.h"
#include "vorel/runtime/pixel_limits.h"
#include "vorel/runtime/popup_menu.h"
#include "vorel/runtime/source_transforms.h"
#include "vorel/runtime/timer_control.h"
#include "vorel/runtime/variable_expansion.h"
#include "vorel/script/objects/object_list.h"
#include "vorel/script/objects/script_layer.h"
#include "vorel/script/objects/vorel_io.h"
#include "vorel/script/objects/vorel_ui.h"
#include "vorel/typelib/vorel_type_library.h"
#include "vorel/util/errors.h"

namespace vorel {

namespace {

int32_t Checked32(int64_t value) {
  if (value < INT32_MIN || value > INT32_MAX) throw KivError(errors::kIntegerOverflow);
  return static_cast<int32_t>(value);
}

}  // namespace

automation::ComPtr<TVorelMain> TVorelMain::Create(TDeskletObject& desklet) {
  return automation::MakeObject<TVorelMain>(&desklet);
}

TVorelMain* TVorelMain::From(automation::IDispatch* object) { return dynamic_cast<TVorelMain*>(object); }

void TVorelMain::Unbind() {
  desklet_ = nullptr;
  layers_ = nullptr;
  timers_ = nullptr;
  parameters_ = nullptr;
  sides_ = nullptr;
  menus_ = nullptr;
  xmls_ = nullptr;
  // Scripts may hold the helpers themselves; they stop with the desklet.
  if (auto* io = dynamic_cast<TVorelIO*>(io_.Get())) io->Unbind();
  if (auto* ui = dynamic_cast<TVorelUI*>(ui_.Get())) ui->Unbind();
  io_ = nullptr;
  ui_ = nullptr;
}

const automation::DispatchTable<TVorelMain>& TVorelMain::Table() {
  using T = TVorelMain;
  using D = TSkinSettings;
  constexpr auto Get = automation::MemberKind::PropertyGet;
  constexpr auto Put = automation::MemberKind::PropertyPut;
  constexpr auto Method = automation::MemberKind::Method;
  static const automation::DispatchTable<T> table =
      automation::DispatchTable<T>(VorelInterface("IVorelMain"))
          .Source("VorelMain")
          .Implement("alert", Method, &T::Alert)
          .Implement("DeskletLabel", Get, &T::GetDeskletLabel)
          .Implement("DeskletLabel", Put, &T::PutDeskletLabel)
          .Implement("DeskletRotation", Get, &T::GetDeskletRotation)
          .Implement("DeskletRotation", Put, &T::PutDeskletRotation)
          .Implement("DeskletAlpha", Get, &T::GetDeskletAlpha)
          .Implement("DeskletAlpha", Put, &T::PutDeskletAlpha)
          .Implement("DeskletWidth", Get, &T::GetDeskletWidth)
          .Implement("DeskletWidth", Put, &T::PutDeskletWidth)
          .Implement("DeskletHeight", Get, &T::GetDeskletHeight)
          .Implement("DeskletHeight", Put, &T::PutDeskletHeight)
          .Implement("Refresh", Method, &T::Refresh)
          .Implement("Redraw", Method, &T::Redraw)
          .Implement("ConvertToValue", Method, &T::ConvertToValue)
          .Implement("ForceXDataFetch", Method, &T::ForceXDataFetch)
          .Implement("SetSubLabel", Method, &T::SetSubLabel)
          .Implement("Invalidate", Method, &T::Invalidate)
          .Implement("GetMouseScrollValue", Method, &T::GetMouseScrollValue)
          .Implement("GetMouseXPos", Method, &T::GetMouseXPos)
          .Implement("GetMouseYPos", Method, &T::GetMouseYPos)
          .Implement("DeskletXPos", Get, &T::GetDeskletXPos)
          .Implement("DeskletXPos", Put, &T::PutDeskletXPos)
          .Implement("DeskletYPos", Get, &T::GetDeskletYPos)
          .Implement("DeskletYPos", Put, &T::PutDeskletYPos)
          .Implement("MultiMedia", Method, &T::MultiMedia)
          .Implement("SetMultiMediaWindow", Method, &T::SetMultiMediaWindow)
          .Implement("GetDroppedFileName", Method, &T::GetDroppedFileName)
          .Implement("Sleep", Method, &T::Sleep)
          .Implement("OnCreate", Get, &T::GetStatement<&D::onCreate>)
          .Implement("OnCreate", Put, &T::PutStatement<&D::onCreate>)
          .Implement("OnDestroy", Get, &T::GetStatement<&D::onDestroy>)
          .Implement("OnDestroy", Put, &T::PutStatement<&D::onDestroy>)
          .Implement("OnBeforeFlip", Get, &T::GetStatement<&D::onBeforeFlip>)
          .Implement("OnBeforeFlip", Put, &T::PutStatement<&D::onBeforeFlip>)
          .Implement("OnAfterFlip", Get, &T::GetStatement<&D::onAfterFlip>)
          .Implement("OnAfterFlip", Put, &T::PutStatement<&D::onAfterFlip>)
          .Implement("OnDropFile", Get, &T::GetStatement<&D::onDropFile>)
          .Implement("OnDropFile", Put, &T::PutStatement<&D::onDropFile>)
          .Implement("OnMouseEnter", Get, &T::GetStatement<&D::onMouseEnter>)
          .Implement("OnMouseEnter", Put, &T::PutStatement<&D::onMouseEnter>)
          .Implement("OnMouseExit", Get, &T::GetStatement<&D::onMouseExit>)
          .Implement("OnMouseExit", Put, &T::PutStatement<&D::onMouseExit>)
          .Implement("OnMouseMove", Get, &T::GetStatement<&D::onMouseMove>)
          .Implement("OnMouseMove", Put, &T::PutStatement<&D::onMouseMove>)
          .Implement("OnMouseScroll", Get, &T::GetStatement<&D::onMouseScroll>)
          .Implement("OnMouseScroll", Put, &T::PutStatement<&D::onMouseScroll>)
          .Implement("OnSelect", Get, &T::GetStatement<&D::onSelect>)
          .Implement("OnSelect", Put, &T::PutStatement<&D::onSelect>)
          .Implement("OnDeselect", Get, &T::GetStatement<&D::onDeselect>)
          .Implement("OnDeselect", Put, &T::PutStatement<&D::onDeselect>)
          .Implement("SkinName", Get, &T::GetSkinName)
          .Implement("OnKeyDown", Get, &T::GetStatement<&D::onKeyPress>)
          .Implement("OnKeyDown", Put, &T::PutStatement<&D::onKeyPress>)
          .Implement("GetKeyStr", Method, &T::GetKeyStr)
          .Implement("GetKeyVal", Method, &T::GetKeyVal)
          .Implement("Layers", Get, &T::GetLayers)
          .Implement("Timers", Get, &T::GetTimers)
          .Implement("Controls", Get, &T::GetControls)
          .Implement("Parameters", Get, &T::GetParameters)
          .Implement("Sides", Get, &T::GetSides)
          .Implement("Menus", Get, &T::GetMenus)
          .Implement("XMLS", Get, &T::GetXmls)
          .Implement("IO", Get, &T::GetIO)
          .Implement("UI", Get, &T::GetUI)
          .Implement("EnableTimers", Method, &T::EnableTimers)
          .Implement("CreateObject", Method, &T::CreateObject)
          .Implement("ConnectObject", Method, &T::ConnectObject)
          .Implement("DisconnectObject", Method, &T::DisconnectObject)
          .Implement("LockAllUpdates", Method, &T::LockAllUpdates)
          .Implement("UnlockAllUpdates", Method, &T::UnlockAllUpdates)
          .Implement("GetCurrentSide", Method, &T::GetCurrentSide)
          .Implement("PopupMenu", Method, &T::PopupMenu)
          .Implement("GetActiveLayer", Method, &T::GetActiveLayer)
          .Implement("GetLayerMouseXPos", Method, &T::GetLayerMouseXPos)
          .Implement("GetLayerMouseYPos", Method, &T::GetLayerMouseYPos)
          .Implement("GetChangeToSide", Method, &T::GetChangeToSide)
          .Implement("FlipTo", Method, &T::FlipTo);
  return table;
}

template <std::string TSkinSettings::*Field>
std::string TVorelMain::GetStatement() const {
  return desklet_->settings.*Field;
}

template <std::string TSkinSettings::*Field>
void TVorelMain::PutStatement(std::string statement) {
  desklet_->settings.*Field = std::move(statement);
}

void TVorelMain::Post(uint32_t message, uintptr_t wParam) {
  win::PostMessage(desklet_->windowHandle, message, wParam, 0);
}

void TVorelMain::Alert(std::string message) {
  win::MessageBox(desklet_->windowHandle, message, desklet_->settings.skinName.empty() ? "Vorel" : desklet_->settings.skinName,
                  kMbOk);
}

std::string TVorelMain::GetDeskletLabel() const { return host::DeskletGetLabel(desklet_->windowHandle); }

void TVorelMain::PutDeskletLabel(std::string label) {
  host::DeskletSetLabelW(desklet_->windowHandle, kiv::Utf8ToUtf16(label));
}

int32_t TVorelMain::GetDeskletRotation() const { return host::DeskletGetRotation(desklet_->windowHandle); }

void TVorelMain::PutDeskletRotation(int32_t rotation) { host::DeskletSetRotation(desklet_->windowHandle, rotation); }

uint8_t TVorelMain::GetDeskletAlpha() const {
  const int32_t alpha = host::DeskletGetAlpha(desklet_->windowHandle);
  if (alpha < 0 || alpha > 255) throw KivError(errors::kRangeCheck);
  return static_cast<uint8_t>(alpha);
}

void TVorelMain::PutDeskletAlpha(uint8_t alpha) { host::DeskletSetAlpha(desklet_->windowHandle, alpha); }

int32_t TVorelMain::GetDeskletWidth() const { return host::DeskletGetSize(desklet_->windowHandle).cx; }

void TVorelMain::PutDeskletWidth(int32_t width) {
  KivSize size = host::DeskletGetSize(desklet_->windowHandle);
  size.cx = width;
  if (std::optional<std::string> problem = WindowSizeProblem(size.cx, size.cy)) throw KivError(*problem);
  host::DeskletSetSize(desklet_->windowHandle, size);
}

int32_t TVorelMain::GetDeskletHeight() const { return host::DeskletGetSize(desklet_->windowHandle).cy; }

void TVorelMain::PutDeskletHeight(int32_t height) {
  KivSize size = host::DeskletGetSize(desklet_->windowHandle);
  size.cy = height;
  if (std::optional<std::string> problem = WindowSizeProblem(size.cx, size.cy)) throw KivError(*problem);
  host::DeskletSetSize(desklet_->windowHandle, size);
}

int32_t TVorelMain::GetDeskletXPos() const { return host::DeskletGetRect(desklet_->windowHandle).left; }

void TVorelMain::PutDeskletXPos(int32_t x) {
  KivRect rect = host::DeskletGetRect(desklet_->windowHandle);
  rect.right = Checked32(int64_t{rect.right} + x - rect.left);
  rect.left = x;
  host::DeskletMove(desklet_->windowHandle, rect, false);
}

int32_t TVorelMain::GetDeskletYPos() const { return host::DeskletGetRect(desklet_->windowHandle).top; }

void TVorelMain::PutDeskletYPos(int32_t y) {
  KivRect rect = host::DeskletGetRect(desklet_->windowHandle);
  rect.bottom = Checked32(int64_t{rect.bottom} + y - rect.top);
  rect.top = y;
  host::DeskletMove(desklet_->windowHandle, rect, false);
}

void TVorelMain::SetSubLabel(std::string text) {
  host::DeskletSetSubLabelW(desklet_->windowHandle, kiv::Utf8ToUtf16(text));
}

void TVorelMain::Refresh() {
  desklet_->updatesLocked = false;
  host::DeskletUnlockInvalidating(desklet_->windowHandle, false);
  Post(MSG_REDRAW, 0);
}

void TVorelMain::Redraw(bool xmlOnly) {
  desklet_->updatesLocked = false;
  host::DeskletUnlockInvalidating(desklet_->windowHandle, false);
  Post(MSG_REFRESH_LAYERS, xmlOnly ? 1 : 0);
}

void TVorelMain::Invalidate(bool full) { Post(MSG_INVALIDATE, full ? 1 : 0); }

void TVorelMain::LockAllUpdates() {
  desklet_->updatesLocked = true;
  host::DeskletLockInvalidating(desklet_->windowHandle);
}

void TVorelMain::UnlockAllUpdates() {
  desklet_->updatesLocked = false;
  host::DeskletUnlockInvalidating(desklet_->windowHandle, false);
}

std::string TVorelMain::ConvertToValue(std::string value) {
  TDeskletObject& d = *desklet_;
  std::string text = ExpandVariables(d, value);
  text = ApplyXmlSource(d, text);
  text = ApplyTextFileSource(d, text);
  text = ApplyScriptSource(d, text);
  const size_t at = text.find(kTextMarker);
  return at == std::string::npos ? text : text.substr(at + kTextMarker.size());
}

void TVorelMain::ForceXDataFetch() { ForceDataFetch(*desklet_); }

int32_t TVorelMain::GetMouseScrollValue() const { return desklet_->input.wheelScrolls; }
int32_t TVorelMain::GetMouseXPos() const { return desklet_->input.mouseX; }
int32_t TVorelMain::GetMouseYPos() const { return desklet_->input.mouseY; }
int32_t TVorelMain::GetLayerMouseXPos() const { return desklet_->input.layerMouseX; }
int32_t TVorelMain::GetLayerMouseYPos() const { return desklet_->input.layerMouseY; }
std::string TVorelMain::GetDroppedFileName() const { return desklet_->input.droppedFile; }
std::string TVorelMain::GetKeyStr() const { return desklet_->input.lastKey; }
int32_t TVorelMain::GetKeyVal() const { return desklet_->input.lastKeyCode; }
int32_t TVorelMain::GetCurrentSide() const { return desklet_->sideState.activeSide; }
uint8_t TVorelMain::GetChangeToSide() const { return desklet_->sideState.changeToSide; }
std::string TVorelMain::GetSkinName() const { return desklet_->settings.skinName; }

automation::Variant TVorelMain::GetActiveLayer() {
  if (desklet_->input.currentLayerId == kNoLayerId) return automation::Variant::Nothing();
  TLayerObject* layer = desklet_->FindLayerById(desklet_->input.currentLayerId);
  if (!layer) return automation::Variant::Nothing();
  return automation::Variant(TKivScriptLayer::Create(*desklet_, *layer).As<automation::IDispatch>());
}

automation::Variant TVorelMain::GetTimers() {
  if (!timers_) timers_ = TKivObjectList::Create(*desklet_, TListKind::Timers).As<automation::IDispatch>();
  return automation::Variant(timers_);
}

automation::Variant TVorelMain::GetControls() {
  return automation::Variant(TKivObjectList::Create(*desklet_, TListKind::Controls).As<automation::IDispatch>());
}

automation::Variant TVorelMain::GetParameters() {
  if (!parameters_) parameters_ = TKivObjectList::Create(*desklet_, TListKind::Parameters).As<automation::IDispatch>();
  return automation::Variant(parameters_);
}

automation::Variant TVorelMain::GetSides() {
  if (!sides_) sides_ = TKivObjectList::Create(*desklet_, TListKind::Sides).As<automation::IDispatch>();
  return automation::Variant(sides_);
}

automation::Variant TVorelMain::GetMenus() {
  if (!menus_) menus_ = TKivObjectList::Create(*desklet_, TListKind::Menus).As<automation::IDispatch>();
  return automation::Variant(menus_);
}

automation::Variant TVorelMain::GetXmls() {
  if (!xmls_) xmls_ = TKivObjectList::Create(*desklet_, TListKind::XmlSources).As<automation::IDispatch>();
  return automation::Variant(xmls_);
}

automation::Variant TVorelMain::GetIO() {
  if (!io_) io_ = TVorelIO::Create(*desklet_).As<automation::IDispatch>();
  return automation::Variant(io_);
}

automation::Variant TVorelMain::GetUI() {
  if (!ui_) ui_ = TVorelUI::Create(*desklet_).As<automation::IDispatch>();
  return automation::Variant(ui_);
}

void TVorelMain::EnableTimers(bool enable) { vorel::EnableTimers(*desklet_, enable); }

automation::Variant TVorelMain::CreateObject(std::string progId, std::string eventPrefix, bool autoCreate) {
  if (progId.empty()) return automation::Variant::Nothing();
  // NOTE: there is no table of running objects to attach to, so asking
  // for a running instance fails as finding none would.
  if (!autoCreate)
    throw automation::AutomationError(automation::MK_E_UNAVAILABLE, automation::CannotCreateObjectMessage(progId));
  automation::ComPtr<automation::IDispatch> object = automation::ProgIdRegistry::Instance().Create(progId);
  if (!eventPrefix.empty()) ConnectEvents(*desklet_, object.Get(), progId, eventPrefix);
  return automation::Variant(object);
}

namespace {

// The object a by-reference argument holds; null for anything else.
automation::ComPtr<automation::IDispatch> HeldObject(const automation::Variant& value) {
  const automation::Variant& held = value.Deref();
  return held.Type() == automation::VarType::Dispatch ? automation::ToDispatch(held)
                                                       : automation::ComPtr<automation::IDispatch>();
}

}  // namespace

void TVorelMain::ConnectObject(automation::Variant& object, std::string eventPrefix) {
  if (eventPrefix.empty()) return;
  ConnectEvents(*desklet_, HeldObject(object).Get(), "", eventPrefix);
}

void TVorelMain::DisconnectObject(automation::Variant& object) {
  const automation::ComPtr<automation::IDispatch> held = HeldObject(object);
  if (held) DisconnectEvents(*desklet_, held.Get());
}

automation::Variant TVorelMain::GetLayers() {
  if (!layers_) layers_ = TKivObjectList::Create(*desklet_, TListKind::Layers).As<automation::IDispatch>();
  return automation::Variant(layers_);
}

void TVorelMain::MultiMedia(std::string fileName, uint8_t command) {
  const std::string path = desklet_->settings.resourcePath + fileName;
  switch (command) {
    case 0:
    case 100: win::PlaySound("", kSndSync); break;
    case 1: win::PlaySound(path, kSndAsync); break;
    case 2: win::PlaySound(path, kSndAsync | kSndLoop); break;
    case 3: win::PlaySound(path, kSndSync); break;
    default: break;
  }
}

void TVorelMain::SetMultiMediaWindow(int32_t, int32_t, int32_t, int32_t) {}

void TVorelMain::Sleep(uint32_t milliseconds) {
  if (milliseconds >= 0x80000000u) throw KivError(errors::kRangeCheck);
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void TVorelMain::PopupMenu(uint8_t menuId) { ShowSkinMenu(*desklet_, menuId); }

void TVorelMain::FlipTo(uint8_t side) { RequestFlip(*desklet_, "!FILE:" + std::to_string(side)); }

}  // namespace vorel
