#include "vorel/load/skin_loader.h"

#include <chrono>
#include <thread>

#include "platform/util/text.h"
#include "vorel/model/desklet.h"
#include "vorel/host/host_api.h"
#include "vorel/runtime/statement_runner.h"
#include "vorel/script/objects/vorel_main.h"
#include "vorel/model/script_engine.h"
#include "vorel/load/section_readers.h"
#include "vorel/load/timer_reader.h"
#include "vorel/runtime/timer_control.h"
#include "vorel/load/sides_and_parameters.h"
#include "vorel/skin/skin_reading.h"
#include "vorel/util/errors.h"
#include "vorel/util/paths.h"

namespace vorel {

namespace {

// True when the element has a child element or text that is not blank.
bool HasContent(const xml::Node& element) {
  if (!element) return false;
  if (!element.SelectNodes("*").empty()) return true;
  for (const auto& text : element.SelectNodes("text()"))
    if (!kiv::IsBlank(text.Text())) return true;
  return false;
}

std::string Setting(const xml::Node& d, const char* name, const char* fallback = "") {
  return GetNodeText(d, name, kCrLf, fallback);
}

std::unique_ptr<TSkinInfo> BuildSkinInfo(const std::string& skinPath, const xml::Node& doc) {
  return std::make_unique<TSkinInfo>(
      skinPath, GetNodeText(doc, "//skininfo/name", kCrLf, ""), GetNodeText(doc, "//skininfo/author", kCrLf, ""),
      GetNodeText(doc, "//skininfo/notes", kCrLf, ""),
      static_cast<uint32_t>(IntDef(GetNodeText(doc, "//skininfo/version", kCrLf, ""), 1)));
}

void ShowFallback(TDeskletObject& d) {
  try {
    host::DeskletSetImageFile(d.windowHandle, "");
    host::DeskletSetImageFile(d.windowHandle, kFallbackImage);
  } catch (...) {
    // A host without the call shows what it shows.
    d.errorLog.Report(std::current_exception(), kFallbackImage);
  }
}

// The scripts' root object, made once per desklet and bound to it. Changing
// the language starts a fresh engine, so the object is added on every
// load; adding a name again replaces it.
void AddMainObject(TDeskletObject& d) {
  if (!d.scripting.mainObject) d.scripting.mainObject = TVorelMain::Create(d).As<automation::IDispatch>();
  if (!d.scripting.scriptEngine) return;
  d.scripting.scriptEngine->AddObject("kiv", d.scripting.mainObject.Get(), true);
  d.scripting.scriptEngine->AddObject("this", d.scripting.mainObject.Get(), true);
}

// The file name alone, which names the skin in the error log.
std::string FileName(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

void ReadDeskletSettingsIn(TDeskletObject& d, const xml::Node& desklet) {
  const HWND hwnd = d.windowHandle;
  host::DeskletSetAlpha(hwnd, IntInRange(Setting(desklet, "alpha", "255"), 255, 0, 255));
  host::DeskletSetLabel(hwnd, Setting(desklet, "label"));
  host::DeskletSetSubLabel(hwnd, Setting(desklet, "sublabel"));

  const std::string skinFolder = FolderOf(d.settings.skinPath);
  const std::string resources = kiv::Trim(NormalisePath(Setting(desklet, "resources")));
  if (!resources.empty()) d.settings.resourcePath = WithTrailingSlash(skinFolder + resources);
  const std::string ctrlResources = kiv::Trim(NormalisePath(Setting(desklet, "ctrlresources")));
  d.settings.controlPath = ctrlResources.empty() ? skinFolder + "controls/" : WithTrailingSlash(skinFolder + ctrlResources);

  if (d.scripting.scriptEngine) {
    d.scripting.scriptEngine->SetLanguage("JScript");
    const std::string language = Setting(desklet, "language", "JScript");
    if (language == "JScript" || language == "VBScript") d.scripting.scriptEngine->SetLanguage(language);
  }

  d.settings.onKeyPress = Setting(desklet, "onkeypress");
  d.settings.onCreate = Setting(desklet, "oncreate");
  d.settings.onDestroy = Setting(desklet, "ondestroy");
  d.settings.onBeforeFlip = Setting(desklet, "onbeforeflip");
  d.settings.onAfterFlip = Setting(desklet, "onafterflip");
  d.settings.onDropFile = Setting(desklet, "ondropfile");
  d.settings.onMouseEnter = Setting(desklet, "onmouseenter");
  d.settings.onMouseExit = Setting(desklet, "onmouseexit");
  d.settings.onMouseMove = Setting(desklet, "onmousemove");
  d.settings.onMouseScroll = Setting(desklet, "onmousescroll");
  d.settings.onSelect = Setting(desklet, "onselect");
  d.settings.onDeselect = Setting(desklet, "ondeselect");
  d.settings.userName = Setting(desklet, "username");
  d.settings.password = Setting(desklet, "password");
  d.settings.proxy = Setting(desklet, "proxy");
  d.settings.useOwnTemp = !ReadBool(Setting(desklet, "@usewintmp"));
  d.settings.initialSide = static_cast<uint8_t>(IntInRange(Setting(desklet, "initialside", "0"), 0, 0, 255));
  d.settings.keyPressAnim = IntDef(Setting(desklet, "keypressanim", "100"), 100);

  AddMainObject(d);

  const std::string script = NormalisePath(Setting(desklet, "script"));
  if (!script.empty() && d.scripting.scriptEngine) {
    const std::string path = d.settings.resourcePath + script;
    TErrorLog::Scope file(d.errorLog, "script " + script);
    if (FileExists(path)) d.scripting.scriptEngine->AddCodeFromFile(path);
  }
}

}  // namespace

void ReadDeskletSettings(TDeskletObject& d, const xml::Node& desklet) {
  // NOTE: without desklet settings there is no main object either, so the
  // skin's statements cannot reach "kiv"; a statement that tries is
  // reported in the error log.
  if (!HasContent(desklet)) return;
  d.errorLog.Within("desklet settings", [&] { ReadDeskletSettingsIn(d, desklet); });
}

std::unique_ptr<TSkinInfo> LoadSkin(TDeskletObject& d, const std::string& fileName, bool fresh, bool wantInfo) {
  using namespace std::chrono_literals;
  std::unique_ptr<TSkinInfo> info;

  d.settings.skinPath = NormalisePath(fileName);
  d.settings.resourcePath = FolderOf(d.settings.skinPath);
  std::shared_ptr<xml::Document> document = CreateXMLDocument();
  if (fresh) d.sideState.activeSide = 0;
  d.sideState.previousSide = d.sideState.activeSide;
  d.nextLayerNumber = 1;
  d.loading = true;
  if (!document) {
    d.loading = false;
    return info;
  }

  bool failed = false;
  TErrorLog::Scope scope(d.errorLog, "skin " + FileName(d.settings.skinPath));
  try {
    if (!FileExists(d.settings.skinPath)) throw KivError("skin file not found: " + d.settings.skinPath);
    // A document that does not parse loads empty; it then has no side and
    // fails below. What the parser said is what the author needs, so it
    // goes into the log first.
    if (!document->Load(d.settings.skinPath))
      d.errorLog.Report({0, kSkinWarningSource, "the skin does not parse: " + document->ParseError(), 0, 0, ""});
    const xml::Node doc = document->DocumentNode();
    if (wantInfo) info = BuildSkinInfo(d.settings.skinPath, doc);
    host::DeskletLayerSetImage(d.windowHandle, 0, false, 0, false);
    d.settings.skinName = GetNodeText(doc, "//skininfo/name", kCrLf, "");
    d.errorLog.Within("parameters", [&] { ReadParameters(d, doc.SelectSingleNode("skindata/parameters")); });
    d.errorLog.Within("sides", [&] { ReadSides(d, doc.SelectSingleNode("skindata/sides"), fresh); });
    ReadDeskletSettings(d, doc.SelectSingleNode("skindata/desklet"));

    if (fresh) d.sideState.activeSide = d.settings.initialSide;
    d.sideState.previousSide = d.sideState.activeSide;
    if (d.sideState.sides.empty()) throw KivError("skin has no side");
    if (d.sideState.activeSide >= d.sideState.sides.size()) {
      d.sideState.activeSide = 0;
      d.sideState.previousSide = 0;
    }
    d.sideState.currentSide = d.sideState.sides[d.sideState.activeSide];
    d.sideState.changeToSide = d.sideState.activeSide;

    d.errorLog.Within("xmls", [&] { ReadXmlSources(d, doc.SelectSingleNode("//skindata/xmls")); });
    // NOTE: data fetching has just started on a worker; the pause gives a
    // cached document the chance to be there for the first drawing. Without
    // data sources there is nothing to wait for.
    if (!d.data.xmlSources.empty()) std::this_thread::sleep_for(100ms);
    d.errorLog.Within("menus", [&] { ReadMenus(d, doc.SelectSingleNode("skindata/menus")); });
    d.errorLog.Within("timers", [&] { ReadTimers(d, doc.SelectSingleNode("skindata/timers")); });
    d.errorLog.Within("layers", [&] { ReadLayers(d, doc.SelectSingleNode("//skindata")); });
    d.errorLog.Within("controls", [&] { ReadControls(d, doc.SelectSingleNode("//skindata")); });
    if (d.data.xmlSources.empty()) host::DeskletRedraw(d.windowHandle);
  } catch (...) {
    d.errorLog.Report(std::current_exception());
    ShowFallback(d);
    failed = true;
  }

  d.loading = false;
  document.reset();
  if (!failed) {
    try {
      StartTimersAfterLoad(d);
    } catch (...) {
      d.errorLog.Report(std::current_exception());
    }
  }
  RunStatement(d, d.settings.onCreate);
  return info;
}

}  // namespace vorel
