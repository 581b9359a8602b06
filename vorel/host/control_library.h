// The host's control library, which draws and runs text fields, lists,
// edit boxes and scroll bars on a desklet. Loaded by name at first use; each
// call resolves its function by name and raises KivError("function NAME not
// found") when the library or the function is missing.
#pragma once

#include <string>

#include "platform/abi/controls_api.h"

namespace vorel::controls {

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
