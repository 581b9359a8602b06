// The host's control library, which draws and runs text fields, lists,
// edit boxes and scroll bars on a desklet. Loaded by name at first use; each
// call resolves its function by name and raises KivError("function NAME not
// found") when the library or the function is missing.
#pragma once

#include <string>

#include "platform/abi/controls_api.h"

namespace vorel::controls {

// The codes KivSendMessage takes. Texts are zero-terminated UTF-16 and
// colours alpha-red-green-blue with alpha 255.
enum Message : uint32_t {
  kPlace = 4,            // KivRect*, KivSize* (the side's size)
  kAdded = 7,            // once, after the control joins its container
  kOnEnter = 10,         // callbacks: the record, the routine
  kOnExit = 11,
  kListFont = 13,        // 0, KivFontRecord* with a float size
  kAlignment = 18,       // 0, int32_t*
  kTextColor = 108,      // 0, colour
  kBackColor = 110,      // 0, colour
  kFont = 112,           // 0, KivFontRecord* with an integer size
  kSetText = 114,        // 0, text
  kGetText = 115,        // buffer size in characters, buffer
  kTextLength = 116,
  kOnKeyEnter = 120,
  kSetReadOnly = 125,    // flag, 0
  kGetReadOnly = 126,
  kSetPassword = 127,    // flag, 0
  kGetPassword = 128,
  kOnTextChange = 129,
  kSetScrollPos = 202,   // position, 0
  kGetScrollPos = 203,
  kSetScrollSize = 204,  // size, 0
  kGetScrollSize = 205,
  kOnScroll = 206,
  kAddItem = 302,        // 0, text; gives the item's index
  kFindItem = 304,       // start index, text; gives the index or -1
  kClearItems = 305,
  kSelectItem = 307,     // index (-1 for none), 0
  kGetSelected = 308,    // gives the index or -1
  kOnSelect = 311,
};

KivHandle KivCreateResources(const std::string& folder);
void KivFreeResources(KivHandle resources);
KivHandle KivCreateControlContainer(HWND hwnd, KivHandle resources);
void KivFreeControlContainer(KivHandle container);
KivHandle KivCreateControl(KivHandle container, const std::string& name, const std::string& type);
void KivFreeControl(KivHandle control);
void KivAddControlToContainer(KivHandle container, KivHandle control);
void KivRemoveControlFromContainer(KivHandle container, KivHandle control);
void KivLockContainer(KivHandle container);
void KivUnlockContainer(KivHandle container);
void KivLockControl(KivHandle control);
void KivUnlockControl(KivHandle control);
bool KivForwardMessage(KivHandle container, uint32_t message, WPARAM wParam, LPARAM lParam);
bool KivForwardMouseDown(KivHandle container, uint32_t id, const char* name, const KivPoint* pt, const KivSize* size,
                         uint32_t flags);
bool KivForwardMouseUp(KivHandle container, uint32_t id, const char* name, const KivPoint* pt, const KivSize* size,
                       uint32_t flags);
bool KivForwardMouseOn(KivHandle container, uint32_t id, const char* name, const KivPoint* pt, const KivSize* size);
bool KivForwardMouseMove(KivHandle container, uint32_t id, const char* name, const KivPoint* pt, const KivSize* size);
bool KivForwardMouseOut(KivHandle container, uint32_t id, const char* name);
bool KivForwardMouseWheelForward(KivHandle container, uint32_t id, const char* name, const KivPoint* pt,
                                 const KivSize* size, uint32_t flags, int32_t scrolls);
bool KivForwardMouseWheelBackward(KivHandle container, uint32_t id, const char* name, const KivPoint* pt,
                                  const KivSize* size, uint32_t flags, int32_t scrolls);
bool KivForwardMouseRightClick(KivHandle container, uint32_t id, const char* name, const KivPoint* pt,
                               const KivSize* size, uint32_t flags);
int32_t KivSendMessage(KivHandle control, uint32_t code, WPARAM wParam, LPARAM lParam);

}  // namespace vorel::controls
