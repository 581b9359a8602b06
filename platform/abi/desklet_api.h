// The host's desklet interface: functions that the host program exports
// (linked with -rdynamic) and the plug-in looks up by name at every call.
// The plug-in never links against these; it only names them, so their
// declarations here give both sides one signature to agree on.
//
// Every function takes the desklet's window handle first. Layer ids are
// positions in the desklet's layer list; removing a layer renumbers those
// after it.
#pragma once

#include "platform/abi/kiv_types.h"

extern "C" {

// Skin-information record handed to DeskletSetSkinInfoW and filled by
// OnGetSkinW. Lengths count UTF-16 units including room for the
// terminator (characters + 2 when the plug-in fills it). `size` holds
// sizeof(SkinInfoRecord).
struct SkinInfoRecord {
  uint32_t size;
  char16_t* key;
  uint32_t keyLength;
  uint32_t index;
  char16_t* name;
  uint32_t nameLength;
  char16_t* author;
  uint32_t authorLength;
  char16_t* notes;
  uint32_t notesLength;
  uint32_t version;
};

}  // extern "C"

// What OnGetSkinW answers: the record was filled; the index is past the
// last skin; a buffer was too small (the record's lengths then say how
// many UTF-16 units each text needs, its terminator included).
inline constexpr int32_t kSkinFilled = 1;
inline constexpr int32_t kNoMoreSkins = 0;
inline constexpr int32_t kSkinBufferTooSmall = -1;

extern "C" {

typedef void (*KivFlipCallback)(void* data);

// Record handed to DeskletFlip. The sizes and layer arrays stay valid only
// until DeskletFlip returns; the host copies what it needs.
struct FlipParams {
  int32_t useLayers;
  KivSize* oldSize;      // null when no resize is wanted
  uint32_t* oldLayers;
  int32_t oldLayerCount;
  KivSize* newSize;      // null when no resize is wanted
  uint32_t* newLayers;
  int32_t newLayerCount;
  int32_t reserved1;
  int32_t reserved2;
  int32_t direction;     // 1 when the new side's index is the higher
  KivFlipCallback callback;
  void* callbackData;
};

// A message the host posts to a desklet's window when the desklet must end
// what it is doing: the first parameter says why. A plug-in that is waiting
// inside a call (a synchronous animation dispatching messages) stops
// waiting when it takes one from the queue and sends it on to the window,
// so that the host acts on it once the plug-in has returned.
constexpr uint32_t kHostEndWaitMessage = 4519;
constexpr uintptr_t kHostCloseDesklet = 8;  // the desklet is being closed
constexpr uintptr_t kHostQuitting = 128;    // the host is about to exit

// The label DeskletGetLabel copies holds at most this many characters,
// terminator included. The buffer is UTF-8, so it takes up to four bytes a
// character (kDeskletLabelBufferBytes); its size is passed in bytes.
constexpr int32_t kDeskletLabelChars = 260;
constexpr int32_t kDeskletLabelBufferBytes = kDeskletLabelChars * 4;

#define KIV_DESKLET_FUNCTIONS(X)                                                        \
  X(void, DeskletRedraw, (HWND hwnd))                                                   \
  X(void, DeskletActivateExtendedDragDrop, (HWND hwnd))                                 \
  X(void, DeskletLayerReleaseCapture, (HWND hwnd))                                      \
  X(void, DeskletLockInvalidating, (HWND hwnd))                                         \
  X(void, DeskletMove, (HWND hwnd, KivRect * rect, BOOL32 redraw))                      \
  X(void, DeskletGetPosition, (HWND hwnd, KivPoint * pos))                              \
  X(void, DeskletGetRect, (HWND hwnd, KivRect * rect))                                  \
  X(void, DeskletGetSize, (HWND hwnd, KivSize * size))                                  \
  X(void, DeskletSetSize, (HWND hwnd, KivSize * size))                                  \
  X(void, DeskletGetLabel, (HWND hwnd, char* buffer, int32_t bufferSize))               \
  X(void, DeskletSetLabel, (HWND hwnd, const char* text))                               \
  X(void, DeskletSetSubLabel, (HWND hwnd, const char* text))                            \
  X(void, DeskletSetLabelW, (HWND hwnd, const char16_t* text))                          \
  X(void, DeskletSetSubLabelW, (HWND hwnd, const char16_t* text))                       \
  X(void, DeskletSetAlpha, (HWND hwnd, int32_t alpha))                                  \
  X(void, DeskletSetRotation, (HWND hwnd, int32_t rotation))                            \
  X(int32_t, DeskletGetAlpha, (HWND hwnd))                                              \
  X(int32_t, DeskletGetRotation, (HWND hwnd))                                           \
  X(void, DeskletSetImageFile, (HWND hwnd, const char* file))                           \
  X(void, DeskletSetImageSetStatus, (HWND hwnd, int32_t status))                        \
  X(void, DeskletSetCursor, (HWND hwnd, HCURSOR cursor))                                \
  X(void, DeskletUnlockInvalidating, (HWND hwnd, BOOL32 redraw))                        \
  X(void, DeskletInvalidateRect, (HWND hwnd, KivRect * rect, KivSize * size, BOOL32 redraw)) \
  X(void, DeskletAsyncSetPointer, (HWND hwnd, void* instance))                          \
  X(void, DeskletSetSkinInfoW, (HWND hwnd, SkinInfoRecord * info))                      \
  X(void, DeskletAddPropertySheet, (HWND hwnd, HPROPSHEETPAGE page))                    \
  X(HMENU, DeskletGetDefaultMenu, (HWND hwnd, int32_t firstCommand))                    \
  X(void, DeskletDoDefaultMenuCommand, (HWND hwnd, int32_t firstCommand, int32_t command)) \
  X(void, DeskletFlip, (HWND hwnd, FlipParams * params))                                \
  X(void, DeskletSetClosePoint, (HWND hwnd, KivPoint * point, int32_t refWidth, int32_t refHeight)) \
  X(uint32_t, DeskletLayerAdd, (HWND hwnd, const char* name))                           \
  X(uint32_t, DeskletLayerGetLayer, (HWND hwnd, const char* name, BOOL32* success))     \
  X(void, DeskletLayerRemove, (HWND hwnd, uint32_t id, BOOL32 redraw))                  \
  X(void, DeskletLayerSetAlpha, (HWND hwnd, uint32_t id, BOOL32 redraw, int32_t alpha)) \
  X(void, DeskletLayerSetRotation, (HWND hwnd, uint32_t id, BOOL32 redraw, int32_t rotation)) \
  X(void, DeskletLayerSetSaturation, (HWND hwnd, uint32_t id, BOOL32 redraw, int32_t saturation)) \
  X(void, DeskletLayerSetVisibility, (HWND hwnd, uint32_t id, BOOL32 redraw, BOOL32 visible)) \
  X(void, DeskletLayerSetImage, (HWND hwnd, uint32_t id, BOOL32 redraw, KivHandle image, BOOL32 autoDelete)) \
  X(void, DeskletLayerSetPlacement, (HWND hwnd, uint32_t id, BOOL32 redraw, BOOL32 use, KivRect * rect, int32_t refWidth, int32_t refHeight)) \
  X(void, DeskletLayerSetImageClipRect, (HWND hwnd, uint32_t id, BOOL32 redraw, BOOL32 use, KivRect * rect, int32_t refWidth, int32_t refHeight)) \
  X(void, DeskletLayerSetIsClickThrough, (HWND hwnd, uint32_t id, BOOL32 clickThrough)) \
  X(void, DeskletLayerSetNoAlphaBlendedHitTesting, (HWND hwnd, uint32_t id, BOOL32 noAlpha)) \
  X(void, DeskletLayerSetCapture, (HWND hwnd, uint32_t id))

#define KIV_DECLARE_FUNCTION(ret, name, params) ret name params;
KIV_DESKLET_FUNCTIONS(KIV_DECLARE_FUNCTION)
#undef KIV_DECLARE_FUNCTION

}  // extern "C"
