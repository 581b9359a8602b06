// The plug-in's exports, as the host calls them. The host resolves each by
// name from the plug-in it loaded (dlsym); the plug-in defines them with
// these signatures. `instance` is the pointer OnCreate returned.
#pragma once

#include "platform/abi/desklet_api.h"
#include "platform/abi/kiv_types.h"

namespace win { class IDataObject; }

extern "C" {

#define KIV_PLUGIN_FUNCTIONS(X)                                                           \
  X(void, OnGetInformation, (char* name, char* author, int32_t* version, char* description)) \
  X(void*, OnCreate, (HWND hwnd, HMODULE module, const char* iniFile, const char* iniSection)) \
  X(void*, OnCreateFromSkinW, (HWND hwnd, HMODULE module, void* enumerator, const SkinInfoRecord* info)) \
  X(int32_t, OnDestroy, (void* instance, HWND hwnd))                                      \
  X(void, OnSave, (void* instance, const char* iniFile, const char* iniSection, BOOL32 flag)) \
  X(BOOL32, OnSelect, (void* instance))                                                   \
  X(BOOL32, OnDeselect, (void* instance))                                                 \
  X(BOOL32, OnMouseOn, (void* instance))                                                  \
  X(BOOL32, OnMouseOut, (void* instance))                                                 \
  X(BOOL32, OnMouseMove, (void* instance, int32_t x, int32_t y))                          \
  X(BOOL32, OnMouseWheelForward, (void* instance, uint32_t keys, int32_t scrolls, int32_t x, int32_t y)) \
  X(BOOL32, OnMouseWheelBackward, (void* instance, uint32_t keys, int32_t scrolls, int32_t x, int32_t y)) \
  X(BOOL32, OnDrop, (void* instance, win::IDataObject* data, int32_t keys, int32_t x, int32_t y, int32_t effect)) \
  X(int32_t, OnAddPropertySheets, (void* instance, int32_t pageCount))                    \
  X(int32_t, OnProcessMessageEx, (void* instance, HWND hwnd, uint32_t message, WPARAM wParam, LPARAM lParam, LRESULT* result)) \
  X(BOOL32, OnLayerMouseDown, (void* instance, uint32_t layerId, const char* layerName, const KivPoint* pt, const KivSize* size, uint32_t flags)) \
  X(BOOL32, OnLayerMouseUp, (void* instance, uint32_t layerId, const char* layerName, const KivPoint* pt, const KivSize* size, uint32_t flags)) \
  X(BOOL32, OnLayerMouseOn, (void* instance, uint32_t layerId, const char* layerName, const KivPoint* pt, const KivSize* size)) \
  X(BOOL32, OnLayerMouseMove, (void* instance, uint32_t layerId, const char* layerName, const KivPoint* pt, const KivSize* size)) \
  X(BOOL32, OnLayerMouseOut, (void* instance, uint32_t layerId, const char* layerName))   \
  X(BOOL32, OnLayerMouseWheelForward, (void* instance, uint32_t layerId, const char* layerName, const KivPoint* pt, const KivSize* size, uint32_t flags, int32_t scrolls)) \
  X(BOOL32, OnLayerMouseWheelBackward, (void* instance, uint32_t layerId, const char* layerName, const KivPoint* pt, const KivSize* size, uint32_t flags, int32_t scrolls)) \
  X(BOOL32, OnLayerRightClick, (void* instance, uint32_t layerId, const char* layerName, const KivPoint* pt, const KivSize* size, uint32_t flags)) \
  X(void, OnGetModel, (void* instance, void** slot))                                      \
  X(void*, OnCreateSkinEnumeratorW, (HMODULE module, void* reserved))                     \
  X(int32_t, OnGetSkinW, (void* enumerator, SkinInfoRecord* info))                        \
  X(void, OnDestroySkinEnumeratorW, (void* enumerator))

#define KIV_DECLARE_FUNCTION(ret, name, params) ret name params noexcept;
KIV_PLUGIN_FUNCTIONS(KIV_DECLARE_FUNCTION)
#undef KIV_DECLARE_FUNCTION

}  // extern "C"

// Buffer sizes the host passes to OnGetInformation.
inline constexpr int32_t kInfoNameBuffer = 256;
inline constexpr int32_t kInfoDescriptionBuffer = 512;
