// TDeskletObject: the state of one desklet that the host created with this
// plug-in. The host keeps its address as the opaque instance pointer of
// every export call. It owns every record list of the desklet (layers,
// controls, timers, parameters, menus, data sources), its script engine and
// its worker threads, and it reads and writes the desklet's settings.
//
// Invariant: windowHandle and hostInstance are both non-zero.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/abi/kiv_types.h"
#include "platform/automation/com_ptr.h"
#include "vorel/host/kiv_thread.h"
#include "vorel/skin/control_record.h"
#include "vorel/skin/layer_record.h"
#include "vorel/skin/menu_record.h"
#include "vorel/skin/parameter_record.h"
#include "vorel/skin/side_record.h"
#include "vorel/skin/timer_record.h"
#include "vorel/skin/xml_source_record.h"

namespace xml { class Document; }

namespace vorel {

class TScriptEngine;
class TEventSink;
class TVorelMain;
class TFolderCache;

// NOTE: the host numbers its layers from 0, so 0 is the first layer and
// cannot also mean "no layer" for the pressed, entered and current layer.
inline constexpr uint32_t kNoLayerId = 0xFFFFFFFF;

class TDeskletObject {
 public:
  TDeskletObject(HWND window, HMODULE module);
  ~TDeskletObject();
  TDeskletObject(const TDeskletObject&) = delete;
  TDeskletObject& operator=(const TDeskletObject&) = delete;

  HWND WindowHandle() const { return windowHandle; }

  // Settings in the host's INI file and section.
  void ReadFromIni(const std::string& iniFile, const std::string& section);
  void SaveToIni(const std::string& iniFile, const std::string& section);

  TLayerObject* FindLayerById(uint32_t id);
  TLayerObject* FindLayerByName(const std::string& name);
  TLayerObject* FindLayerByKey(const std::string& key);
  TLayerObject* FindLayerAt(size_t position);
  TControlObject* FindControl(const std::string& name);

  bool CheckInvariant() const { return windowHandle != 0 && hostInstance != 0; }

  // --- fields, in the order the rest of the plug-in knows them ---
  std::shared_ptr<xml::Document> skinDocument;
  bool firstFlag = false;
  std::vector<std::unique_ptr<TEventSink>> eventSinks;
  double createdAt = 0;
  TThreadList threads;
  std::atomic<bool> fetching{false};
  bool flipping = false;
  std::unique_ptr<TScriptEngine> scriptEngine;
  // The scripts' root object, made by the first skin load.
  automation::ComPtr<TVorelMain> mainObject;
  int32_t nextLayerNumber = 1;
  HWND windowHandle = 0;
  HMODULE hostInstance = 0;
  bool loading = false;
  std::vector<std::string> errorLog;
  bool updatesLocked = false;
  std::atomic<bool> timerPassRunning{false};
  uint32_t enteredLayerId = kNoLayerId;
  uint32_t pressedLayerId = kNoLayerId;
  uint32_t currentLayerId = kNoLayerId;
  std::string droppedFile;
  uint8_t activeSide = 0;
  uint8_t previousSide = 0;
  uint8_t changeToSide = 0;
  TSideRecord currentSide;
  int32_t wheelScrolls = 0;
  int32_t mouseX = 0, mouseY = 0;
  int32_t layerMouseX = 0, layerMouseY = 0;
  std::string lastKey;
  int32_t lastKeyCode = 0;
  std::vector<std::unique_ptr<TMenu>> menus;
  std::vector<std::unique_ptr<TLayerObject>> layers;
  std::vector<std::unique_ptr<TControlObject>> controls;
  KivHandle controlResources = 0;
  KivHandle controlContainer = 0;
  std::string skinName;
  std::string skinPath;
  std::string resourcePath;
  std::string controlPath;
  std::string onKeyPress, onCreate, onDestroy, onBeforeFlip, onAfterFlip, onDropFile, onMouseEnter, onMouseExit,
      onMouseMove, onMouseScroll, onSelect, onDeselect;
  std::string userName, password, proxy;
  bool useOwnTemp = true;
  int32_t keyPressAnim = 100;
  std::vector<TSideRecord> sides;
  std::vector<TXMLInfo> xmlSources;
  std::vector<std::unique_ptr<TTimerInfo>> timers;
  std::vector<std::unique_ptr<TParameter>> parameters;
  uint8_t initialSide = 0;
  std::unique_ptr<TSecsThread> secondsThread;
  // Set while the instance is being destroyed: messages that arrive for it
  // meanwhile are dropped.
  bool destroying = false;
  // Special folders looked up by variable expansion, cached per desklet.
  std::unique_ptr<TFolderCache> folderCache;
};

// The instance behind an export's opaque pointer.
inline TDeskletObject* AsDesklet(void* instance) { return static_cast<TDeskletObject*>(instance); }

}  // namespace vorel
