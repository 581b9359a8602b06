// The plug-in's exported entry points. The host drives the plug-in only
// through these. Every body runs inside Guarded: no exception leaves the
// library; a failure is reported (into the desklet's error log when there
// is a desklet, else straight to the host) and the call returns 0 (false,
// or a null instance).
#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/abi/plugin_api.h"
#include "platform/util/text.h"
#include "platform/util/utf8.h"
#include "platform/win/data_object.h"
#include "platform/win/win_services.h"
#include "vorel/host/control_library.h"
#include "vorel/model/desklet.h"
#include "vorel/plugin/desklet_lifecycle.h"
#include "vorel/host/host_api.h"
#include "vorel/host/messages.h"
#include "vorel/runtime/event_dispatch.h"
#include "vorel/runtime/statement_runner.h"
#include "vorel/runtime/window_messages.h"
#include "vorel/runtime/popup_menu.h"
#include "vorel/host/plugin_module.h"
#include "vorel/skin/skin_catalog.h"
#include "vorel/util/errors.h"
#include "vorel/ui/property_page.h"

#define VOREL_EXPORT extern "C" __attribute__((visibility("default")))

using namespace vorel;

namespace {

// The one guard of every export: runs the body and turns a failure into
// the export's failed result, reported under the export's name.
template <typename T, typename Fn>
T Guarded(const char* exportName, HWND window, void* instance, T failed, Fn&& body) noexcept {
  try {
    return body();
  } catch (...) {
    try {
      if (TDeskletObject* d = AsDesklet(instance)) {
        TErrorLog::Scope scope(d->errorLog, exportName);
        d->errorLog.Report(std::current_exception());
      } else {
        // No desklet to keep a log: the host still shows the report.
        TErrorLog log;
        log.SetWindow(window);
        TErrorLog::Scope scope(log, exportName);
        log.Report(std::current_exception());
      }
    } catch (const std::exception& e) {
      // Reporting itself failed (out of memory): the host's stderr is the
      // last place left.
      std::fprintf(stderr, "vorel: %s: %s\n", exportName, e.what());
    }
    return failed;
  }
}

#define GUARDED(window, instance, failed, ...) Guarded(__func__, window, instance, failed, __VA_ARGS__)

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
BOOL32 PointedLayerEvent(const char* exportName, void* instance, uint32_t layerId, const KivPoint* pt,
                         LayerEventKind kind, bool dispatch, Forward forward) noexcept {
  return Guarded<BOOL32>(exportName, 0, instance, kFalse, [&] {
    TDeskletObject* d = Live(instance);
    if (!d) return kFalse;
    d->input.currentLayerId = layerId;
    if (pt) d->input.layerMouseX = pt->x, d->input.layerMouseY = pt->y;
    bool used = d->controlState.controlContainer != 0 && forward(d->controlState.controlContainer);
    return FinishLayerEvent(*d, layerId, kind, dispatch, used);
  });
}

}  // namespace

VOREL_EXPORT void OnGetInformation(char* name, char* author, int32_t* version, char* description) noexcept {
  GUARDED(0, nullptr, 0, [&] {
    CopyText(name, kInfoNameBuffer, "Vorel");
    CopyText(author, kInfoNameBuffer, "Brannock");
    CopyText(description, kInfoDescriptionBuffer,
             "A XML based scripting engine for Kivhost.  Scripting languages can be JavaScript or VBScript.");
    if (version) *version = 100;
    return 0;
  });
}

// NOTE: the host gets the instance pointer only after every call that can
// fail, so that a failed create leaves it nothing that dangles.
VOREL_EXPORT void* OnCreate(HWND hwnd, HMODULE module, const char* iniFile, const char* iniSection) noexcept {
  return GUARDED(hwnd, nullptr, static_cast<void*>(nullptr), [&]() -> void* {
    auto d = std::make_unique<TDeskletObject>(hwnd, module);
    host::DeskletLayerAdd(hwnd, "BG");
    const bool load = iniFile && iniSection;
    if (load) d->ReadFromIni(iniFile, iniSection);
    host::DeskletAsyncSetPointer(hwnd, d.get());
    if (load && !d->settings.skinPath.empty()) win::PostMessage(hwnd, MSG_LOAD_SKIN, 0, 0);
    return d.release();
  });
}

VOREL_EXPORT void* OnCreateFromSkinW(HWND hwnd, HMODULE module, void*, const SkinInfoRecord* info) noexcept {
  return GUARDED(hwnd, nullptr, static_cast<void*>(nullptr), [&]() -> void* {
    // NOTE: without a key there is no skin to load; the desklet would only
    // ever show the default picture, so no desklet is made at all.
    if (!info || !info->key || info->key[0] == u'\0') throw KivError("no skin key to create a desklet from");
    auto d = std::make_unique<TDeskletObject>(hwnd, module);
    d->settings.skinPath = kiv::Utf16ToUtf8(info->key);
    host::DeskletAsyncSetPointer(hwnd, d.get());
    win::PostMessage(hwnd, MSG_LOAD_SKIN, 1, 0);
    return d.release();
  });
}

namespace {

// A skin file that looked like a skin but does not read: there is no
// desklet yet, so the host shows the report.
void ReportUnofferedSkin(const std::string& path, const std::string& why) {
  TErrorLog log;
  TErrorLog::Scope scope(log, "skin list");
  log.Report({0, kSkinWarningSource, "the skin file " + path + " is not offered: " + why, 0, 0, ""});
}

}  // namespace

VOREL_EXPORT void* OnCreateSkinEnumeratorW(HMODULE, void*) noexcept {
  // NOTE: the plug-in lists the skins beside its own file, which it finds
  // itself; the module handle names the same file.
  return GUARDED(0, nullptr, static_cast<void*>(nullptr), [&]() -> void* {
    return std::make_unique<TSkinData>(ScanSkins(PluginFolder(), ReportUnofferedSkin)).release();
  });
}

VOREL_EXPORT int32_t OnGetSkinW(void* enumerator, SkinInfoRecord* info) noexcept {
  return GUARDED(0, nullptr, kNoMoreSkins, [&] {
    // A record shorter than ours would be written past its end.
    if (!enumerator || !info || info->size < sizeof(SkinInfoRecord)) return kNoMoreSkins;
    return FillSkinRecord(*static_cast<const TSkinData*>(enumerator), *info);
  });
}

VOREL_EXPORT void OnDestroySkinEnumeratorW(void* enumerator) noexcept {
  GUARDED(0, nullptr, 0, [&] {
    std::unique_ptr<TSkinData> owned(static_cast<TSkinData*>(enumerator));
    return 0;
  });
}

VOREL_EXPORT int32_t OnDestroy(void* instance, HWND hwnd) noexcept {
  // The desklet is gone when a failure is reported: report it to the host.
  return GUARDED(hwnd, nullptr, 0, [&] {
    DestroyDesklet(std::unique_ptr<TDeskletObject>(AsDesklet(instance)));
    return 0;
  });
}

VOREL_EXPORT void OnSave(void* instance, const char* iniFile, const char* iniSection, BOOL32) noexcept {
  GUARDED(0, Live(instance), 0, [&] {
    if (TDeskletObject* d = Live(instance); d && iniFile && iniSection) d->SaveToIni(iniFile, iniSection);
    return 0;
  });
}

VOREL_EXPORT BOOL32 OnSelect(void* instance) noexcept {
  TDeskletObject* d = Live(instance);
  return GUARDED(0, d, kFalse, [&] { return d ? RunDeskletEvent(*d, d->settings.onSelect) : kFalse; });
}

VOREL_EXPORT BOOL32 OnDeselect(void* instance) noexcept {
  TDeskletObject* d = Live(instance);
  return GUARDED(0, d, kFalse, [&] { return d ? RunDeskletEvent(*d, d->settings.onDeselect) : kFalse; });
}

VOREL_EXPORT BOOL32 OnMouseOn(void* instance) noexcept {
  TDeskletObject* d = Live(instance);
  return GUARDED(0, d, kFalse, [&] { return d ? RunDeskletEvent(*d, d->settings.onMouseEnter) : kFalse; });
}

VOREL_EXPORT BOOL32 OnMouseOut(void* instance) noexcept {
  TDeskletObject* d = Live(instance);
  return GUARDED(0, d, kFalse, [&] {
    if (!d) return kFalse;
    d->input.currentLayerId = kNoLayerId;
    return RunDeskletEvent(*d, d->settings.onMouseExit);
  });
}

VOREL_EXPORT BOOL32 OnMouseMove(void* instance, int32_t x, int32_t y) noexcept {
  TDeskletObject* d = Live(instance);
  return GUARDED(0, d, kFalse, [&] {
    if (!d) return kFalse;
    d->input.mouseX = x;
    d->input.mouseY = y;
    return RunDeskletEvent(*d, d->settings.onMouseMove);
  });
}

static BOOL32 DeskletWheel(const char* exportName, void* instance, int32_t scrolls, int32_t x, int32_t y) noexcept {
  TDeskletObject* d = Live(instance);
  return Guarded(exportName, 0, d, kFalse, [&] {
    if (!d) return kFalse;
    d->input.wheelScrolls = scrolls;
    d->input.layerMouseX = x;
    d->input.layerMouseY = y;
    return RunDeskletEvent(*d, d->settings.onMouseScroll);
  });
}

VOREL_EXPORT BOOL32 OnMouseWheelForward(void* instance, uint32_t, int32_t scrolls, int32_t x, int32_t y) noexcept {
  return DeskletWheel(__func__, instance, scrolls, x, y);
}

VOREL_EXPORT BOOL32 OnMouseWheelBackward(void* instance, uint32_t, int32_t scrolls, int32_t x, int32_t y) noexcept {
  return DeskletWheel(__func__, instance, scrolls, x, y);
}

VOREL_EXPORT BOOL32 OnDrop(void* instance, win::IDataObject* data, int32_t, int32_t, int32_t, int32_t) noexcept {
  return GUARDED(0, Live(instance), kFalse, [&]() -> BOOL32 {
    win::DataObjectRef held(data);
    TDeskletObject* d = Live(instance);
    if (!d || !data || kiv::IsBlank(d->settings.onDropFile)) return kFalse;
    win::FormatEtc format{win::kCfHdrop, win::kDvAspectContent, -1, win::kTymedHGlobal};
    if (data->QueryGetData(format) != win::kSOk) return kFalse;
    win::StgMedium medium;
    if (data->GetData(format, medium) != win::kSOk) return kFalse;
    // Unlocked, then released, on every way out.
    struct Release {
      win::StgMedium& m;
      win::DropFiles* drop = nullptr;
      ~Release() {
        if (drop) win::GlobalUnlock(drop);
        win::ReleaseStgMedium(m);
      }
    } release{medium};
    win::DropFiles* drop = release.drop = win::GlobalLock(medium.hGlobal);
    const uint32_t count = win::DragQueryFile(drop, 0xFFFFFFFFu, nullptr, 0);
    for (uint32_t i = 0; i < count; ++i) {
      std::string name(win::DragQueryFile(drop, i, nullptr, 0) + 1, '\0');
      win::DragQueryFile(drop, i, name.data(), static_cast<uint32_t>(name.size()));
      name.resize(std::strlen(name.c_str()));
      d->input.droppedFile = kiv::Utf8Left(name, 260);
      RunStatement(*d, d->settings.onDropFile);
    }
    return kTrue;
  });
}

VOREL_EXPORT int32_t OnAddPropertySheets(void* instance, int32_t pageCount) noexcept {
  TDeskletObject* d = Live(instance);
  // A host without property sheets keeps its page count.
  return GUARDED(0, d, pageCount, [&] {
    if (!d) return 0;
    HPROPSHEETPAGE page = CreatePropertyPage(*d);
    host::DeskletAddPropertySheet(d->windowHandle, page);
    return pageCount + 1;
  });
}

VOREL_EXPORT int32_t OnProcessMessageEx(void* instance, HWND, uint32_t message, WPARAM wParam, LPARAM lParam,
                                        LRESULT* result) noexcept {
  TDeskletObject* d = Live(instance);
  GUARDED(0, d, 0, [&] {
    if (!d) return 0;
    if (d->controlState.controlContainer != 0)
      controls::KivForwardMessage(d->controlState.controlContainer, message, wParam, lParam);
    if (message == MSG_LOAD_SKIN)
      LoadSkinMessage(*d, wParam);
    else
      HandleWindowMessage(*d, message, wParam, lParam, result);
    return 0;
  });
  return 0;
}

VOREL_EXPORT BOOL32 OnLayerMouseDown(void* instance, uint32_t layerId, const char* layerName, const KivPoint* pt,
                                     const KivSize* size, uint32_t flags) noexcept {
  return PointedLayerEvent(__func__, instance, layerId, pt, LayerEventKind::MouseDown, flags != kControlLeft,
                           [&](KivHandle c) { return controls::KivForwardMouseDown(c, layerId, layerName, pt, size, flags); });
}

VOREL_EXPORT BOOL32 OnLayerMouseUp(void* instance, uint32_t layerId, const char* layerName, const KivPoint* pt,
                                   const KivSize* size, uint32_t flags) noexcept {
  return PointedLayerEvent(__func__, instance, layerId, pt, LayerEventKind::MouseUp, flags != kControlLeft,
                           [&](KivHandle c) { return controls::KivForwardMouseUp(c, layerId, layerName, pt, size, flags); });
}

VOREL_EXPORT BOOL32 OnLayerMouseOn(void* instance, uint32_t layerId, const char* layerName, const KivPoint* pt,
                                   const KivSize* size) noexcept {
  return PointedLayerEvent(__func__, instance, layerId, pt, LayerEventKind::MouseEnter, true,
                           [&](KivHandle c) { return controls::KivForwardMouseOn(c, layerId, layerName, pt, size); });
}

VOREL_EXPORT BOOL32 OnLayerMouseMove(void* instance, uint32_t layerId, const char* layerName, const KivPoint* pt,
                                     const KivSize* size) noexcept {
  return PointedLayerEvent(__func__, instance, layerId, pt, LayerEventKind::MouseMove, true,
                           [&](KivHandle c) { return controls::KivForwardMouseMove(c, layerId, layerName, pt, size); });
}

VOREL_EXPORT BOOL32 OnLayerMouseOut(void* instance, uint32_t layerId, const char* layerName) noexcept {
  return GUARDED(0, Live(instance), kFalse, [&] {
    TDeskletObject* d = Live(instance);
    if (!d) return kFalse;
    d->input.currentLayerId = layerId;
    bool used = d->controlState.controlContainer != 0 && controls::KivForwardMouseOut(d->controlState.controlContainer, layerId, layerName);
    BOOL32 handled = FinishLayerEvent(*d, layerId, LayerEventKind::MouseExit, true, used);
    d->input.currentLayerId = kNoLayerId;
    return handled;
  });
}

static BOOL32 LayerWheel(void* instance, uint32_t layerId, const char* layerName, const KivPoint* pt,
                         const KivSize* size, uint32_t flags, int32_t scrolls, bool forward) noexcept {
  return Guarded(forward ? "OnLayerMouseWheelForward" : "OnLayerMouseWheelBackward", 0, Live(instance), kFalse, [&] {
    TDeskletObject* d = Live(instance);
    if (!d) return kFalse;
    d->input.wheelScrolls = scrolls;
    bool used = false;
    if (d->controlState.controlContainer != 0) {
      used = forward ? controls::KivForwardMouseWheelForward(d->controlState.controlContainer, layerId, layerName, pt, size, flags,
                                                             scrolls)
                     : controls::KivForwardMouseWheelBackward(d->controlState.controlContainer, layerId, layerName, pt, size,
                                                              flags, scrolls);
    }
    return FinishLayerEvent(*d, layerId, LayerEventKind::MouseScroll, true, used);
  });
}

VOREL_EXPORT BOOL32 OnLayerMouseWheelForward(void* instance, uint32_t layerId, const char* layerName,
                                             const KivPoint* pt, const KivSize* size, uint32_t flags,
                                             int32_t scrolls) noexcept {
  return LayerWheel(instance, layerId, layerName, pt, size, flags, scrolls, true);
}

VOREL_EXPORT BOOL32 OnLayerMouseWheelBackward(void* instance, uint32_t layerId, const char* layerName,
                                              const KivPoint* pt, const KivSize* size, uint32_t flags,
                                              int32_t scrolls) noexcept {
  return LayerWheel(instance, layerId, layerName, pt, size, flags, scrolls, false);
}

VOREL_EXPORT BOOL32 OnLayerRightClick(void* instance, uint32_t layerId, const char* layerName, const KivPoint* pt,
                                      const KivSize* size, uint32_t flags) noexcept {
  return GUARDED(0, Live(instance), kFalse, [&] {
    TDeskletObject* d = Live(instance);
    if (!d) return kFalse;
    if (pt) d->input.layerMouseX = pt->x, d->input.layerMouseY = pt->y;
    bool used = d->controlState.controlContainer != 0 &&
                controls::KivForwardMouseRightClick(d->controlState.controlContainer, layerId, layerName, pt, size, flags);
    bool handled = DispatchLayerEvent(*d, d->FindLayerById(layerId), LayerEventKind::RightClick);
    if (!handled) handled = ShowSkinMenu(*d, 0);
    return ToBool32(handled || used);
  });
}

// The desklet's main object for the host, with a reference the host then
// owns; null before a skin made one.
VOREL_EXPORT void OnGetModel(void* instance, void** slot) noexcept {
  TDeskletObject* d = Live(instance);
  GUARDED(0, d, 0, [&] {
    if (!d || !slot) return 0;
    automation::IDispatch* main = d->scripting.mainObject.Get();
    if (main) main->AddRef();
    *slot = main;
    return 0;
  });
}
