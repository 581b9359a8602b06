#include "vorel/model/desklet.h"

#include <mutex>
#include <unordered_set>

#include "platform/util/text.h"
#include "platform/win/ini_file.h"
#include "platform/win/win_services.h"
#include "vorel/host/host_api.h"
#include "vorel/host/plugin_module.h"
#include "vorel/model/folder_cache.h"
#include "vorel/util/date_time.h"
#include "vorel/util/errors.h"
#include "vorel/util/paths.h"

namespace vorel {

namespace {

// Every desklet alive in the process, for callbacks that come back with a
// desklet's address long after they were handed out.
std::mutex liveLock;
std::unordered_set<const TDeskletObject*>& LiveDesklets() {
  static std::unordered_set<const TDeskletObject*> live;
  return live;
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
  if (window == 0 || module == 0) throw KivError(errors::kConstructorPre);
  windowHandle = window;
  hostInstance = module;
  errorLog.SetWindow(window);
  createdAt = NowAsDateTime();
  try {
    scripting.scriptEngine = CreateScriptEngine(errorLog);
  } catch (...) {
    // A desklet without scripting still shows its skin; the log says why
    // its statements do nothing.
    errorLog.Report(std::current_exception(), "creating the script engine");
  }
  timing.secondsThread = std::make_unique<TSecsThread>(window, nullptr);
  folderCache = std::make_unique<TFolderCache>();
  host::DeskletSetImageSetStatus(windowHandle, 0);
  host::DeskletActivateExtendedDragDrop(windowHandle);
  if (!CheckInvariant()) throw KivError(errors::kConstructorInvariant);
  std::lock_guard guard(liveLock);
  LiveDesklets().insert(this);
}

bool TDeskletObject::IsLive(const void* desklet) {
  std::lock_guard guard(liveLock);
  return LiveDesklets().contains(static_cast<const TDeskletObject*>(desklet));
}

TDeskletObject::~TDeskletObject() {
  {
    std::lock_guard guard(liveLock);
    LiveDesklets().erase(this);
  }
  // Workers only post; they end before the records they were started for.
  StopTicker();
  threads.StopAll([] { win::PumpMessages(); });
  for (auto& layer : layers) layer->Children.clear();
}

void TDeskletObject::ReadFromIni(const std::string& iniFile, const std::string& section) {
  win::IniEntries entries = win::ReadIniSection(iniFile, section);
  sideState.activeSide = 0;
  std::string storedSkin;
  for (const auto& [key, value] : entries) {
    if (kiv::EqualsIgnoreCase(key, "ActiveSide") && !value.empty()) sideState.activeSide = ParseActiveSide(value);
    if (kiv::EqualsIgnoreCase(key, "SkinPath")) storedSkin = value;
  }
  settings.initialSide = sideState.activeSide;
  settings.skinPath = PluginFolder() + NormalisePath(storedSkin);
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
  entries.emplace_back("ActiveSide", std::to_string(sideState.activeSide));
  entries.emplace_back("SkinPath", RelativeSkinPath(settings.skinPath, PluginFolder()));
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

void TDeskletObject::StopTicker() {
  if (!timing.secondsThread) return;
  timing.secondsThread->TerminateAndWait();
  if (std::exception_ptr failure = timing.secondsThread->TakeFailure()) errorLog.Report(failure);
  timing.secondsThread.reset();
}

std::vector<TLayerRef> TDeskletObject::LayerSnapshot() const {
  std::vector<TLayerRef> refs;
  refs.reserve(layers.size());
  for (const auto& l : layers) refs.push_back({l.get(), l->lifetime});
  return refs;
}

TLayerObject* TDeskletObject::FindLayerAt(size_t position) {
  return position < layers.size() ? layers[position].get() : nullptr;
}

TControlObject* TDeskletObject::FindControl(const std::string& name) {
  for (auto& c : controlState.controls)
    if (c->Name == name) return c.get();
  return nullptr;
}

}  // namespace vorel
