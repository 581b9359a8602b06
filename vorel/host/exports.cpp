// The plug-in's exported entry points. The host drives the plug-in only
// through these. Every body except the information, property-page and model
// exports and the seven desklet event exports runs inside a catch-all: no
// exception leaves the library; a failed call returns 0 (false, or a null
// instance).
#include <cstring>
#include <memory>

#include "platform/abi/plugin_api.h"
#include "platform/util/text.h"
#include "platform/util/utf8.h"
#include "platform/win/data_object.h"
#include "platform/win/win_services.h"
#include "vorel/host/control_library.h"
#include "vorel/host/desklet_object.h"
#include "vorel/host/host_api.h"
#include "vorel/host/messages.h"
#include "vorel/runtime/event_dispatch.h"
#include "vorel/runtime/statement_runner.h"
#include "vorel/runtime/window_messages.h"
#include "vorel/runtime/popup_menu.h"
#include "vorel/ui/property_page.h"

#define VOREL_EXPORT extern "C" __attribute__((visibility("default")))

using namespace vorel;

namespace {

template <typename T, typename Fn>
T Guarded(T failed, Fn&& body) {
  try {
    return body();
  } catch (...) {
    return failed;
  }
}

void CopyText(char* buffer, int32_t size, const char* text) {
  if (!buffer || size <= 0) return;
  std::string cut = kiv::Utf8Prefix(text, static_cast<size_t>(size - 1));
  std::memcpy(buffer, cut.data(), cut.size());
  buffer[cut.size()] = '\0';
}

// Runs a desklet-level statement: true when it is not blank, whatever it
// then does.
BOOL32 RunDeskletEvent(TDeskletObject& d, const std::string& statement) {
  if (kiv::IsBlank(statement)) return kFalse;
  RunStatement(d, statement);
  return kTrue;
}

TDeskletObject* Live(void* instance) {
  TDeskletObject* d = AsDesklet(instance);
  return (d && !d->destroying) ? d : nullptr;
}

BOOL32 FinishLayerEvent(TDeskletObject& d, uint32_t layerId, LayerEventKind kind, bool dispatch, bool controlUsed) {
  bool handled = false;
  if (dispatch) handled = DispatchLayerEvent(d, d.FindLayerById(layerId), kind);
  return ToBool32(handled || controlUsed);
}

constexpr uint32_t kControlLeft = 9;  // left button with Control: the host's own

// Down, up, enter and move: record the layer and the point, let the
// controls see the event first, then dispatch it to the skin.
template <typename Forward>
BOOL32 PointedLayerEvent(void* instance, uint32_t layerId, const KivPoint* pt, LayerEventKind kind, bool dispatch,
                         Forward forward) {
  return Guarded<BOOL32>(kFalse, [&] {
    TDeskletObject* d = Live(instance);
    if (!d) return kFalse;
    d->currentLayerId = layerId;
    if (pt) d->layerMouseX = pt->x, d->layerMouseY = pt->y;
    bool used = d->controlContainer != 0 && forward(d->controlContainer);
    return FinishLayerEvent(*d, layerId, kind, dispatch, used);
  });
}

}  // namespace

VOREL_EXPORT void OnGetInformation(char* name, char* author, int32_t* version, char* description) {
  CopyText(name, kInfoNameBuffer, "Vorel");
  CopyText(author, kInfoNameBuffer, "Brannock");
  CopyText(description, kInfoDescriptionBuffer,
           "A XML based scripting engine for Kivhost.  Scripting languages can be JavaScript or VBScript.");
  if (version) *version = 100;
}

VOREL_EXPORT void* OnCreate(HWND hwnd, HMODULE module, const char* iniFile, const char* iniSection) {
  return Guarded<void*>(nullptr, [&]() -> void* {
    auto d = std::make_unique<TDeskletObject>(hwnd, module);
    host::DeskletAsyncSetPointer(hwnd, d.get());
    host::DeskletLayerAdd(hwnd, "BG");
    if (iniFile && iniSection) {
      d->ReadFromIni(iniFile, iniSection);
      if (!d->skinPath.empty()) win::PostMessage(hwnd, MSG_LOAD_SKIN, 0, 0);
    }
    return d.release();
  });
}

VOREL_EXPORT void* OnCreateFromSkinW(HWND hwnd, HMODULE module, void*, const SkinInfoRecord* info) {
  return Guarded<void*>(nullptr, [&]() -> void* {
    auto d = std::make_unique<TDeskletObject>(hwnd, module);
    host::DeskletAsyncSetPointer(hwnd, d.get());
    d->skinPath = info ? kiv::Utf16ToUtf8(info->key) : std::string();
    win::PostMessage(hwnd, MSG_LOAD_SKIN, 1, 0);
    return d.release();
  });
}

VOREL_EXPORT int32_t OnDestroy(void* instance, HWND) {
  return Guarded<int32_t>(0, [&] {
    delete AsDesklet(instance);
    return 0;
  });
}

VOREL_EXPORT void OnSave(void* instance, const char* iniFile, const char* iniSection, BOOL32) {
  Guarded<int>(0, [&] {
    if (TDeskletObject* d = Live(instance); d && iniFile && iniSection) d->SaveToIni(iniFile, iniSection);
    return 0;
  });
}

VOREL_EXPORT BOOL32 OnSelect(void* instance) {
  TDeskletObject* d = Live(instance);
  return d ? RunDeskletEvent(*d, d->onSelect) : kFalse;
}

VOREL_EXPORT BOOL32 OnDeselect(void* instance) {
  TDeskletObject* d = Live(instance);
  return d ? RunDeskletEvent(*d, d->onDeselect) : kFalse;
}

VOREL_EXPORT BOOL32 OnMouseOn(void* instance) {
  TDeskletObject* d = Live(instance);
  return d ? RunDeskletEvent(*d, d->onMouseEnter) : kFalse;
}

VOREL_EXPORT BOOL32 OnMouseOut(void* instance) {
  TDeskletObject* d = Live(instance);
  if (!d) return kFalse;
  d->currentLayerId = kNoLayerId;
  return RunDeskletEvent(*d, d->onMouseExit);
}

VOREL_EXPORT BOOL32 OnMouseMove(void* instance, int32_t x, int32_t y) {
  TDeskletObject* d = Live(instance);
  if (!d) return kFalse;
  d->mouseX = x;
  d->mouseY = y;
  return RunDeskletEvent(*d, d->onMouseMove);
}

static BOOL32 DeskletWheel(void* instance, int32_t scrolls, int32_t x, int32_t y) {
  TDeskletObject* d = Live(instance);
  if (!d) return kFalse;
  d->wheelScrolls = scrolls;
  d->layerMouseX = x;
  d->layerMouseY = y;
  return RunDeskletEvent(*d, d->onMouseScroll);
}

VOREL_EXPORT BOOL32 OnMouseWheelForward(void* instance, uint32_t, int32_t scrolls, int32_t x, int32_t y) {
  return DeskletWheel(instance, scrolls, x, y);
}

VOREL_EXPORT BOOL32 OnMouseWheelBackward(void* instance, uint32_t, int32_t scrolls, int32_t x, int32_t y) {
  return DeskletWheel(instance, scrolls, x, y);
}

VOREL_EXPORT BOOL32 OnDrop(void* instance, win::IDataObject* data, int32_t, int32_t, int32_t, int32_t) {
  return Guarded<BOOL32>(kFalse, [&]() -> BOOL32 {
    win::DataObjectRef held(data);
    TDeskletObject* d = Live(instance);
    if (!d || !data || kiv::IsBlank(d->onDropFile)) return kFalse;
    win::FormatEtc format{win::kCfHdrop, win::kDvAspectContent, -1, win::kTymedHGlobal};
    if (data->QueryGetData(format) != win::kSOk) return kFalse;
    win::StgMedium medium;
    if (data->GetData(format, medium) != win::kSOk) return kFalse;
    struct Release {
      win::StgMedium& m;
      ~Release() { win::ReleaseStgMedium(m); }
    } release{medium};
    win::DropFiles* drop = win::GlobalLock(medium.hGlobal);
    const uint32_t count = win::DragQueryFile(drop, 0xFFFFFFFFu, nullptr, 0);
    for (uint32_t i = 0; i < count; ++i) {
      std::string name(win::DragQueryFile(drop, i, nullptr, 0) + 1, '\0');
      win::DragQueryFile(drop, i, name.data(), static_cast<uint32_t>(name.size()));
      name.resize(std::strlen(name.c_str()));
      d->droppedFile = kiv::Utf8Left(name, 260);
      RunStatement(*d, d->onDropFile);
    }
    win::GlobalUnlock(drop);
    return kTrue;
  });
}

VOREL_EXPORT int32_t OnAddPropertySheets(void* instance, int32_t pageCount) {
  TDeskletObject* d = Live(instance);
  if (!d) return 0;
  HPROPSHEETPAGE page = CreatePropertyPage(*d);
  try {
    host::DeskletAddPropertySheet(d->windowHandle, page);
  } catch (...) {
    // A host without property sheets keeps its page count.
    return pageCount;
  }
  return pageCount + 1;
}

VOREL_EXPORT int32_t OnProcessMessageEx(void* instance, HWND, uint32_t message, WPARAM wParam, LPARAM lParam,
                                        LRESULT* result) {
  Guarded<int>(0, [&] {
    TDeskletObject* d = Live(instance);
    if (!d) return 0;
    if (d->controlContainer != 0) controls::KivForwardMessage(d->controlContainer, message, wParam, lParam);
    HandleWindowMessage(*d, message, wParam, lParam, result);
    return 0;
  });
  return 0;
}

VOREL_EXPORT BOOL32 OnLayerMouseDown(void* instance, uint32_t layerId, const char* layerName, const KivPoint* pt,
                                     const KivSize* size, uint32_t flags) {
  return PointedLayerEvent(instance, layerId, pt, LayerEventKind::MouseDown, flags != kControlLeft,
                           [&](KivHandle c) { return controls::KivForwardMouseDown(c, layerId, layerName, pt, size, flags); });
}

VOREL_EXPORT BOOL32 OnLayerMouseUp(void* instance, uint32_t layerId, const char* layerName, const KivPoint* pt,
                                   const KivSize* size, uint32_t flags) {
  return PointedLayerEvent(instance, layerId, pt, LayerEventKind::MouseUp, flags != kControlLeft,
                           [&](KivHandle c) { return controls::KivForwardMouseUp(c, layerId, layerName, pt, size, flags); });
}

VOREL_EXPORT BOOL32 OnLayerMouseOn(void* instance, uint32_t layerId, const char* layerName, const KivPoint* pt,
                                   const KivSize* size) {
  return PointedLayerEvent(instance, layerId, pt, LayerEventKind::MouseEnter, true,
                           [&](KivHandle c) { return controls::KivForwardMouseOn(c, layerId, layerName, pt, size); });
}

VOREL_EXPORT BOOL32 OnLayerMouseMove(void* instance, uint32_t layerId, const char* layerName, const KivPoint* pt,
                                     const KivSize* size) {
  return PointedLayerEvent(instance, layerId, pt, LayerEventKind::MouseMove, true,
                           [&](KivHandle c) { return controls::KivForwardMouseMove(c, layerId, layerName, pt, size); });
}

VOREL_EXPORT BOOL32 OnLayerMouseOut(void* instance, uint32_t layerId, const char* layerName) {
  return Guarded<BOOL32>(kFalse, [&] {
    TDeskletObject* d = Live(instance);
    if (!d) return kFalse;
    d->currentLayerId = layerId;
    bool used = d->controlContainer != 0 && controls::KivForwardMouseOut(d->controlContainer, layerId, layerName);
    BOOL32 handled = FinishLayerEvent(*d, layerId, LayerEventKind::MouseExit, true, used);
    d->currentLayerId = kNoLayerId;
    return handled;
  });
}

static BOOL32 LayerWheel(void* instance, uint32_t layerId, const char* layerName, const KivPoint* pt,
                         const KivSize* size, uint32_t flags, int32_t scrolls, bool forward) {
  return Guarded<BOOL32>(kFalse, [&] {
    TDeskletObject* d = Live(instance);
    if (!d) return kFalse;
    d->wheelScrolls = scrolls;
    bool used = false;
    if (d->controlContainer != 0) {
      used = forward ? controls::KivForwardMouseWheelForward(d->controlContainer, layerId, layerName, pt, size, flags,
                                                             scrolls)
                     : controls::KivForwardMouseWheelBackward(d->controlContainer, layerId, layerName, pt, size,
                                                              flags, scrolls);
    }
    return FinishLayerEvent(*d, layerId, LayerEventKind::MouseScroll, true, used);
  });
}

VOREL_EXPORT BOOL32 OnLayerMouseWheelForward(void* instance, uint32_t layerId, const char* layerName,
                                             const KivPoint* pt, const KivSize* size, uint32_t flags,
                                             int32_t scrolls) {
  return LayerWheel(instance, layerId, layerName, pt, size, flags, scrolls, true);
}

VOREL_EXPORT BOOL32 OnLayerMouseWheelBackward(void* instance, uint32_t layerId, const char* layerName,
                                              const KivPoint* pt, const KivSize* size, uint32_t flags,
                                              int32_t scrolls) {
  return LayerWheel(instance, layerId, layerName, pt, size, flags, scrolls, false);
}

VOREL_EXPORT BOOL32 OnLayerRightClick(void* instance, uint32_t layerId, const char* layerName, const KivPoint* pt,
                                      const KivSize* size, uint32_t flags) {
  return Guarded<BOOL32>(kFalse, [&] {
    TDeskletObject* d = Live(instance);
    if (!d) return kFalse;
    if (pt) d->layerMouseX = pt->x, d->layerMouseY = pt->y;
    bool used = d->controlContainer != 0 &&
                controls::KivForwardMouseRightClick(d->controlContainer, layerId, layerName, pt, size, flags);
    bool handled = DispatchLayerEvent(*d, d->FindLayerById(layerId), LayerEventKind::RightClick);
    if (!handled) handled = ShowSkinMenu(*d, 0);
    return ToBool32(handled || used);
  });
}

VOREL_EXPORT void OnGetModel(void* instance, void** slot) {
  TDeskletObject* d = Live(instance);
  if (!d || !slot) return;
  // The script-visible main object comes with the object model.
  *slot = nullptr;
}
