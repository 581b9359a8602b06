#include "vorel/host/desklet_object.h"

#include "platform/util/text.h"
#include "platform/win/ini_file.h"
#include "platform/win/win_services.h"
#include "platform/xml/document.h"
#include "vorel/host/control_library.h"
#include "vorel/host/host_api.h"
#include "vorel/host/plugin_module.h"
#include "vorel/util/paths.h"
#include "vorel/runtime/folder_cache.h"
#include "vorel/runtime/statement_runner.h"
#include "vorel/script/script_engine.h"
#include "vorel/script/event_sink.h"
#include "vorel/script/objects/vorel_main.h"
#include "vorel/util/date_time.h"
#include "vorel/util/errors.h"

namespace vorel {

namespace {

// Runs a clean-up step of destruction; a failing host call must not stop
// the rest of the clean-up.
template <typename Fn>
void Quietly(Fn&& fn) {
  try {
    fn();
  } catch (...) {
  }
}

// ActiveSide: a decimal integer in 0..255, anything else 0.
uint8_t ParseActiveSide(const std::string& text) {
  std::string t = kiv::Trim(text);
  if (t.empty()) return 0;
  size_t i = (t[0] == '+' || t[0] == '-') ? 1 : 0;
  if (i == t.size() || t.size() - i > 4) return 0;
  long value = 0;
  for (; i < t.size(); ++i) {
    if (t[i] < '0' || t[i] > '9') return 0;
    value = value * 10 + (t[i] - '0');
  }
  if (t[0] == '-') value = -value;
  return (value >= 0 && value <= 255) ? static_cast<uint8_t>(value) : 0;
}

}  // namespace

TDeskletObject::TDeskletObject(HWND window, HMODULE module) {
  skinDocument = std::make_shared<xml::Document>();
  firstFlag = false;
  try {
    scriptEngine = CreateScriptEngine(*this);
  } catch (...) {
    // A desklet without scripting still shows its skin.
    scriptEngine.reset();
  }
  updatesLocked = false;
  timerPassRunning = false;
  controlContainer = 0;
  controlResources = 0;
  pressedLayerId = kNoLayerId;
  createdAt = NowAsDateTime();
  fetching = false;
  flipping = false;
  loading = false;
  secondsThread = std::make_unique<TSecsThread>(nullptr);
  folderCache = std::make_unique<TFolderCache>();
  if (window == 0 || module == 0) throw KivError(errors::kConstructorPre);
  skinPath.clear();
  windowHandle = window;
  hostInstance = module;
  host::DeskletSetImageSetStatus(windowHandle, 0);
  host::DeskletActivateExtendedDragDrop(windowHandle);
  if (!CheckInvariant()) throw KivError(errors::kConstructorInvariant);
}

TDeskletObject::~TDeskletObject() {
  destroying = true;
  skinDocument.reset();
  Quietly([&] { RunStatement(*this, onDestroy); });
  errorLog.clear();
  secondsThread.reset();
  // Workers only post; messages for this desklet that arrive meanwhile are
  // dropped (destroying), the others go on being dispatched.
  threads.StopAll([] { win::PumpMessages(); });
  timers.clear();
  eventSinks.clear();
  for (auto& layer : layers) layer->Children.clear();
  layers.clear();
  menus.clear();
  controls.clear();
  if (controlContainer != 0) Quietly([&] { controls::KivFreeControlContainer(controlContainer); });
  if (controlResources != 0) Quietly([&] { controls::KivFreeResources(controlResources); });
  // Scripts that still hold the main object see it unbound from here on.
  if (mainObject) mainObject->Unbind();
  scriptEngine.reset();
  mainObject = nullptr;
  parameters.clear();
}

void TDeskletObject::ReadFromIni(const std::string& iniFile, const std::string& section) {
  win::IniEntries entries = win::ReadIniSection(iniFile, section);
  activeSide = 0;
  std::string storedSkin;
  for (const auto& [key, value] : entries) {
    if (kiv::EqualsIgnoreCase(key, "ActiveSide") && !value.empty()) activeSide = ParseActiveSide(value);
    if (kiv::EqualsIgnoreCase(key, "SkinPath")) storedSkin = value;
  }
  initialSide = activeSide;
  skinPath = PluginFolder() + NormalisePath(storedSkin);
  for (const auto& [key, value] : entries) {
    if (kiv::EqualsIgnoreCase(key, "SkinPath") || kiv::EqualsIgnoreCase(key, "ActiveSide")) continue;
    auto p = std::make_unique<TParameter>();
    p->Name = key;
    p->Value = value;
    p->Persist = true;
    parameters.push_back(std::move(p));
  }
  if (!CheckInvariant()) throw KivError(errors::kReadFromIniInvariant);
}

void TDeskletObject::SaveToIni(const std::string& iniFile, const std::string& section) {
  win::IniEntries entries;
  entries.emplace_back("ActiveSide", std::to_string(activeSide));
  entries.emplace_back("SkinPath", RelativeSkinPath(skinPath, PluginFolder()));
  for (const auto& p : parameters)
    if (p->Persist) entries.emplace_back(p->Name, p->Value);
  win::WriteIniStrings(iniFile, section, entries);
  if (!CheckInvariant()) throw KivError(errors::kSaveToIniInvariant);
}

TLayerObject* TDeskletObject::FindLayerById(uint32_t id) {
  for (auto& l : layers)
    if (l->Id == id) return l.get();
  return nullptr;
}

TLayerObject* TDeskletObject::FindLayerByName(const std::string& name) {
  for (auto& l : layers)
    if (l->Name == name) return l.get();
  return nullptr;
}

TLayerObject* TDeskletObject::FindLayerByKey(const std::string& key) {
  for (auto& l : layers)
    if (l->KeyBind == key) return l.get();
  return nullptr;
}

TLayerObject* TDeskletObject::FindLayerAt(size_t position) {
  return position < layers.size() ? layers[position].get() : nullptr;
}

TControlObject* TDeskletObject::FindControl(const std::string& name) {
  for (auto& c : controls)
    if (c->Name == name) return c.get();
  return nullptr;
}

}  // namespace vorel
