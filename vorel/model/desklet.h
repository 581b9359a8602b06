// TDeskletObject: one desklet that the host created with this plug-in. The
// host keeps its address as the opaque instance pointer of every export
// call. It owns the desklet's records, each kept by the module that changes
// it: the input state (exports, event dispatch), the skin settings (the
// loader), the sides (side reader, flipping), the layers (layer reader,
// layers collection), scripting (engine, main object, event sinks), data
// sources, timers, controls, layer animations, menus and parameters; and the error log that
// every failure is reported to. It reads and writes the desklet's settings.
//
// Destruction frees what the desklet owns and nothing else: the ordered
// teardown that runs statements and calls the host is DestroyDesklet's.
//
// Invariant: windowHandle and hostInstance are both non-zero.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/abi/kiv_types.h"
#include "vorel/model/animation_state.h"
#include "vorel/model/control_state.h"
#include "vorel/model/data_state.h"
#include "vorel/model/error_log.h"
#include "vorel/model/input_state.h"
#include "vorel/model/layer_record.h"
#include "vorel/model/menu_record.h"
#include "vorel/model/parameter_record.h"
#include "vorel/model/scripting.h"
#include "vorel/model/side_state.h"
#include "vorel/model/skin_settings.h"
#include "vorel/model/timer_state.h"
#include "vorel/model/worker_threads.h"

namespace vorel {

class TFolderCache;

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
  // Stops and frees the one-second ticker, reporting a failure it ended
  // with.
  void StopTicker();
  // The layers as they are now, to walk while statements may change them.
  std::vector<TLayerRef> LayerSnapshot() const;

  bool CheckInvariant() const { return windowHandle != 0 && hostInstance != 0; }
  // Whether the address is a desklet that exists now: for host callbacks
  // that carry a desklet's address and may come after it was destroyed.
  static bool IsLive(const void* desklet);

  // Identity and lifecycle.
  HWND windowHandle = 0;
  HMODULE hostInstance = 0;
  double createdAt = 0;
  bool loading = false;
  // Set while the instance is being destroyed: messages that arrive for it
  // meanwhile are dropped.
  bool destroying = false;

  // Declared first of the records so that it is destroyed last: anything
  // torn down after it may still report.
  TErrorLog errorLog;
  TInputState input;
  TSkinSettings settings;
  TSideState sideState;
  TScripting scripting;
  TDataState data;
  TTimerState timing;
  TControlState controlState;
  TAnimationState animations;

  // The layers in drawing order, and what the layer list keeps with them.
  std::vector<std::unique_ptr<TLayerObject>> layers;
  int32_t nextLayerNumber = 1;
  bool updatesLocked = false;

  std::vector<std::unique_ptr<TMenu>> menus;
  // Shared with the script objects that stand for them: a parameter the
  // scripts delete from the list lives on for objects that still hold it.
  std::vector<std::shared_ptr<TParameter>> parameters;

  TThreadList threads{errorLog};
  // Special folders looked up by variable expansion, cached per desklet.
  std::unique_ptr<TFolderCache> folderCache;
};

// The instance behind an export's opaque pointer.
inline TDeskletObject* AsDesklet(void* instance) { return static_cast<TDeskletObject*>(instance); }

}  // namespace vorel
