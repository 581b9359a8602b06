#include "vorel/host/control_library.h"

#include "vorel/host/shared_library.h"
#include "vorel/util/errors.h"

namespace vorel::controls {

namespace {

// Loaded once per process and kept for its life, as the host keeps it.
SharedLibrary& Library() {
  static SharedLibrary library(kControlLibraryFile);
  return library;
}

template <typename Fn>
Fn* Require(const char* name) {
  Fn* fn = Library().Function<Fn>(name);
  if (!fn) throw KivError(HostFunctionNotFound(name));
  return fn;
}

}  // namespace

#define KIV_CONTROL(name) Require<decltype(::name)>(#name)

KivHandle KivCreateResources(const std::string& folder) { return KIV_CONTROL(KivCreateResources)(folder.c_str()); }
void KivFreeResources(KivHandle resources) { KIV_CONTROL(KivFreeResources)(resources); }
KivHandle KivCreateControlContainer(HWND hwnd, KivHandle resources) {
  return KIV_CONTROL(KivCreateControlContainer)(hwnd, resources);
}
void KivFreeControlContainer(KivHandle container) { KIV_CONTROL(KivFreeControlContainer)(container); }
KivHandle KivCreateControl(KivHandle container, const std::string& name, const std::string& type) {
  return KIV_CONTROL(KivCreateControl)(container, name.c_str(), type.c_str(), 0, 0);
}
void KivFreeControl(KivHandle control) { KIV_CONTROL(KivFreeControl)(control); }
void KivAddControlToContainer(KivHandle container, KivHandle control) {
  KIV_CONTROL(KivAddControlToContainer)(container, control);
}
void KivRemoveControlFromContainer(KivHandle container, KivHandle control) {
  KIV_CONTROL(KivRemoveControlFromContainer)(container, control);
}
void KivLockContainer(KivHandle container) { KIV_CONTROL(KivLockContainer)(container); }
void KivUnlockContainer(KivHandle container) { KIV_CONTROL(KivUnlockContainer)(container); }
void KivLockControl(KivHandle control) { KIV_CONTROL(KivLockControl)(control); }
void KivUnlockControl(KivHandle control) { KIV_CONTROL(KivUnlockControl)(control); }

bool KivForwardMessage(KivHandle container, uint32_t message, WPARAM wParam, LPARAM lParam) {
  return KIV_CONTROL(KivForwardMessage)(container, message, wParam, lParam) != 0;
}
bool KivForwardMouseDown(KivHandle c, uint32_t id, const char* name, const KivPoint* pt, const KivSize* size,
                         uint32_t flags) {
  return KIV_CONTROL(KivForwardMouseDown)(c, id, name, pt, size, flags) != 0;
}
bool KivForwardMouseUp(KivHandle c, uint32_t id, const char* name, const KivPoint* pt, const KivSize* size,
                       uint32_t flags) {
  return KIV_CONTROL(KivForwardMouseUp)(c, id, name, pt, size, flags) != 0;
}
bool KivForwardMouseOn(KivHandle c, uint32_t id, const char* name, const KivPoint* pt, const KivSize* size) {
  return KIV_CONTROL(KivForwardMouseOn)(c, id, name, pt, size) != 0;
}
bool KivForwardMouseMove(KivHandle c, uint32_t id, const char* name, const KivPoint* pt, const KivSize* size) {
  return KIV_CONTROL(KivForwardMouseMove)(c, id, name, pt, size) != 0;
}
bool KivForwardMouseOut(KivHandle c, uint32_t id, const char* name) {
  return KIV_CONTROL(KivForwardMouseOut)(c, id, name) != 0;
}
bool KivForwardMouseWheelForward(KivHandle c, uint32_t id, const char* name, const KivPoint* pt, const KivSize* size,
                                 uint32_t flags, int32_t scrolls) {
  return KIV_CONTROL(KivForwardMouseWheelForward)(c, id, name, pt, size, flags, scrolls) != 0;
}
bool KivForwardMouseWheelBackward(KivHandle c, uint32_t id, const char* name, const KivPoint* pt, const KivSize* size,
                                  uint32_t flags, int32_t scrolls) {
  return KIV_CONTROL(KivForwardMouseWheelBackward)(c, id, name, pt, size, flags, scrolls) != 0;
}
bool KivForwardMouseRightClick(KivHandle c, uint32_t id, const char* name, const KivPoint* pt, const KivSize* size,
                               uint32_t flags) {
  return KIV_CONTROL(KivForwardMouseRightClick)(c, id, name, pt, size, flags) != 0;
}
int32_t KivSendMessage(KivHandle control, uint32_t code, WPARAM wParam, LPARAM lParam) {
  return KIV_CONTROL(KivSendMessage)(control, code, wParam, lParam);
}

}  // namespace vorel::controls
