// The host's control library (libKivControls.so) and image library
// (libkivimg.so). The plug-in loads both by name at first use and resolves
// each function by name; the declarations here are the one signature both
// sides use.
#pragma once

#include "platform/abi/kiv_types.h"

extern "C" {

// Font record of control messages 13 (float size) and 112 (integer size).
struct KivFontRecord {
  char16_t faceName[32];  // zero-filled, longer names cut
  union {
    float sizeFloat;      // message 13 (drop-down lists)
    int32_t sizeInt;      // message 112 (other controls)
  };
  uint32_t style;
};
static_assert(sizeof(KivFontRecord) == 72, "font record is 72 bytes");

// Notification callback registered with messages 10, 11, 120, 129, 206 and
// 311. `control` is what the plug-in registered; `extra` is null except for
// 311, where it points to the 32-bit index being selected. Returns -1 when a
// statement ran, 0 otherwise.
typedef int32_t (*KivControlCallback)(void* control, int32_t* extra);

// KivForwardMessage gets every window message of the desklet. The controls
// read the keyboard from three of them, sent to the focused control:
//   256 key down: wParam = Windows virtual-key code; bit 0 of lParam set
//       when Shift is held (the host's own convention);
//   258 character: wParam = a code point, or one UTF-16 surrogate half at
//       a time; Backspace, Tab, Enter and Escape come as a 256 followed by
//       this 258 and act on the 258 only;
//   257 key up.
// The forwarding functions return non-zero when a control used the event.
#define KIV_CONTROL_FUNCTIONS(X)                                                          \
  X(KivHandle, KivCreateResources, (const char* folder))                                  \
  X(void, KivFreeResources, (KivHandle resources))                                        \
  X(KivHandle, KivCreateControlContainer, (HWND hwnd, KivHandle resources))               \
  X(void, KivFreeControlContainer, (KivHandle container))                                 \
  X(KivHandle, KivCreateControl, (KivHandle container, const char* name, const char* type, int32_t a, int32_t b)) \
  X(void, KivFreeControl, (KivHandle control))                                            \
  X(void, KivAddControlToContainer, (KivHandle container, KivHandle control))             \
  X(void, KivRemoveControlFromContainer, (KivHandle container, KivHandle control))        \
  X(void, KivLockContainer, (KivHandle container))                                        \
  X(void, KivUnlockContainer, (KivHandle container))                                      \
  X(void, KivLockControl, (KivHandle control))                                            \
  X(void, KivUnlockControl, (KivHandle control))                                          \
  X(int32_t, KivForwardMessage, (KivHandle container, uint32_t message, WPARAM wParam, LPARAM lParam)) \
  X(int32_t, KivForwardMouseDown, (KivHandle container, uint32_t layerId, const char* layerName, const KivPoint* pt, const KivSize* size, uint32_t flags)) \
  X(int32_t, KivForwardMouseUp, (KivHandle container, uint32_t layerId, const char* layerName, const KivPoint* pt, const KivSize* size, uint32_t flags)) \
  X(int32_t, KivForwardMouseOn, (KivHandle container, uint32_t layerId, const char* layerName, const KivPoint* pt, const KivSize* size)) \
  X(int32_t, KivForwardMouseMove, (KivHandle container, uint32_t layerId, const char* layerName, const KivPoint* pt, const KivSize* size)) \
  X(int32_t, KivForwardMouseOut, (KivHandle container, uint32_t layerId, const char* layerName)) \
  X(int32_t, KivForwardMouseWheelForward, (KivHandle container, uint32_t layerId, const char* layerName, const KivPoint* pt, const KivSize* size, uint32_t flags, int32_t scrolls)) \
  X(int32_t, KivForwardMouseWheelBackward, (KivHandle container, uint32_t layerId, const char* layerName, const KivPoint* pt, const KivSize* size, uint32_t flags, int32_t scrolls)) \
  X(int32_t, KivForwardMouseRightClick, (KivHandle container, uint32_t layerId, const char* layerName, const KivPoint* pt, const KivSize* size, uint32_t flags)) \
  X(int32_t, KivSendMessage, (KivHandle control, uint32_t code, WPARAM wParam, LPARAM lParam))

// The image library. `gpImage` is a gdiplus::Bitmap* of the plug-in; the
// library takes a reference to its pixel storage rather than copying it.
#define KIV_IMAGE_FUNCTIONS(X)                                                            \
  X(int32_t, GetDllVersion, ())                                                           \
  X(KivHandle, CreateCPPImageFromGpImage, (void* gpImage))                                \
  X(void, DeleteCPPBMP, (KivHandle image, int32_t reserved))

#define KIV_DECLARE_FUNCTION(ret, name, params) ret name params;
KIV_CONTROL_FUNCTIONS(KIV_DECLARE_FUNCTION)
KIV_IMAGE_FUNCTIONS(KIV_DECLARE_FUNCTION)
#undef KIV_DECLARE_FUNCTION

}  // extern "C"

// File names the plug-in loads.
inline constexpr const char* kControlLibraryFile = "libKivControls.so";
inline constexpr const char* kImageLibraryFile = "libkivimg.so";
// Lowest image-library version the plug-in sends images to.
inline constexpr int32_t kMinImageLibraryVersion = 100;
