#include "vorel/skin/skin_loader.h"

#include <chrono>
#include <thread>

#include "platform/util/text.h"
#include "vorel/host/desklet_object.h"
#include "vorel/host/host_api.h"
#include "vorel/runtime/statement_runner.h"
#include "vorel/script/objects/vorel_main.h"
#include "vorel/script/script_engine.h"
#include "vorel/skin/section_readers.h"
#include "vorel/skin/sides_and_parameters.h"
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
  }
}

// The scripts' root object, made once per desklet. Changing the language
// starts a fresh engine, so the object is added on every load; adding a
// name again replaces it.
void AddMainObject(TDeskletObject& d) {
  if (!d.scriptEngine) return;
  if (!d.mainObject) d.mainObject = TVorelMain::Create(d);
  d.scriptEngine->AddObject("kiv", d.mainObject.Get(), true);
  d.scriptEngine->AddObject("this", d.mainObject.Get(), true);
}

}  // namespace

void ReadDeskletSettings(TDeskletObject& d, const xml::Node& desklet) {
  // NOTE: a skin without desklet settings still has statements on its
  // layers, and they reach the desklet through the main object.
  if (!HasContent(desklet)) return AddMainObject(d);
  const HWND hwnd = d.windowHandle;
  host::DeskletSetAlpha(hwnd, IntInRange(Setting(desklet, "alpha", "255"), 255, 0, 255));
  host::DeskletSetLabel(hwnd, Setting(desklet, "label"));
  host::DeskletSetSubLabel(hwnd, Setting(desklet, "sublabel"));

  const std::string skinFolder = FolderOf(d.skinPath);
  const std::string resources = kiv::Trim(NormalisePath(Setting(desklet, "resources")));
  if (!resources.empty()) d.resourcePath = WithTrailingSlash(skinFolder + resources);
  const std::string ctrlResources = kiv::Trim(NormalisePath(Setting(desklet, "ctrlresources")));
  d.controlPath = ctrlResources.empty() ? skinFolder + "controls/" : WithTrailingSlash(skinFolder + ctrlResources);

  if (d.scriptEngine) {
    d.scriptEngine->SetLanguage("JScript");
    const std::string language = Setting(desklet, "language", "JScript");
    if (language == "JScript" || language == "VBScript") d.scriptEngine->SetLanguage(language);
  }

  d.onKeyPress = Setting(desklet, "onkeypress");
  d.onCreate = Setting(desklet, "oncreate");
  d.onDestroy = Setting(desklet, "ondestroy");
  d.onBeforeFlip = Setting(desklet, "onbeforeflip");
  d.onAfterFlip = Setting(desklet, "onafterflip");
  d.onDropFile = Setting(desklet, "ondropfile");
  d.onMouseEnter = Setting(desklet, "onmouseenter");
  d.onMouseExit = Setting(desklet, "onmouseexit");
  d.onMouseMove = Setting(desklet, "onmousemove");
  d.onMouseScroll = Setting(desklet, "onmousescroll");
  d.onSelect = Setting(desklet, "onselect");
  d.onDeselect = Setting(desklet, "ondeselect");
  d.userName = Setting(desklet, "username");
  d.password = Setting(desklet, "password");
  d.proxy = Setting(desklet, "proxy");
  d.useOwnTemp = !ReadBool(Setting(desklet, "@usewintmp"));
  d.initialSide = static_cast<uint8_t>(IntInRange(Setting(desklet, "initialside", "0"), 0, 0, 255));
  d.keyPressAnim = IntDef(Setting(desklet, "keypressanim", "100"), 100);

  AddMainObject(d);

  const std::string script = NormalisePath(Setting(desklet, "script"));
  if (!script.empty() && d.scriptEngine) {
    const std::string path = d.resourcePath + script;
    if (FileExists(path)) d.scriptEngine->AddCodeFromFile(path);
  }
}

std::unique_ptr<TSkinInfo> LoadSkin(TDeskletObject& d, const std::string& fileName, bool fresh, bool wantInfo) {
  using namespace std::chrono_literals;
  std::unique_ptr<TSkinInfo> info;

  d.skinPath = NormalisePath(fileName);
  d.resourcePath = FolderOf(d.skinPath);
  std::shared_ptr<xml::Document> document = CreateXMLDocument();
  if (fresh) d.activeSide = 0;
  d.previousSide = d.activeSide;
  d.nextLayerNumber = 1;
  d.loading = true;
  if (!document) {
    d.loading = false;
    return info;
  }

  bool failed = false;
  try {
    if (!FileExists(d.skinPath)) throw KivError("skin file not found: " + d.skinPath);
    // A document that does not parse loads empty; it then has no side and
    // fails below.
    document->Load(d.skinPath);
    const xml::Node doc = document->DocumentNode();
    if (wantInfo) info = BuildSkinInfo(d.skinPath, doc);
    host::DeskletLayerSetImage(d.windowHandle, 0, false, 0, false);
    d.skinName = GetNodeText(doc, "//skininfo/name", kCrLf, "");
    ReadParameters(d, doc.SelectSingleNode("skindata/parameters"));
    ReadSides(d, doc.SelectSingleNode("skindata/sides"), fresh);
    ReadDeskletSettings(d, doc.SelectSingleNode("skindata/desklet"));

    if (fresh) d.activeSide = d.initialSide;
    d.previousSide = d.activeSide;
    if (d.sides.empty()) throw KivError("skin has no side");
    if (d.activeSide >= d.sides.size()) {
      d.activeSide = 0;
      d.previousSide = 0;
    }
    d.currentSide = d.sides[d.activeSide];
    d.changeToSide = d.activeSide;

    ReadXmlSources(d, doc.SelectSingleNode("//skindata/xmls"));
    // NOTE: data fetching has just started on a worker; the pause gives a
    // cached document the chance to be there for the first drawing. Without
    // data sources there is nothing to wait for.
    if (!d.xmlSources.empty()) std::this_thread::sleep_for(100ms);
    ReadMenus(d, doc.SelectSingleNode("skindata/menus"));
    ReadTimers(d, doc.SelectSingleNode("skindata/timers"));
    ReadLayers(d, doc.SelectSingleNode("//skindata"));
    ReadControls(d, doc.SelectSingleNode("//skindata"));
    if (d.xmlSources.empty()) host::DeskletRedraw(d.windowHandle);
  } catch (...) {
    ShowFallback(d);
    failed = true;
  }

  d.loading = false;
  document.reset();
  if (!failed) {
    try {
      StartTimersAfterLoad(d);
    } catch (...) {
    }
  }
  RunStatement(d, d.onCreate);
  return info;
}

}  // namespace vorel
