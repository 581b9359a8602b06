// libKivControls.so: the host's control library. It keeps resources,
// containers and controls with every setting the plug-in sends, draws each
// control into a host layer named after it (made with the control, so the
// plug-in finds it by name at once; removed when the control is freed) and
// answers the mouse and keyboard events the plug-in forwards. A control
// removed from its container keeps its layer, emptied, until it is freed.
#include <algorithm>
#include <nlohmann/json.hpp>

#include "kivhost/common/library_trace.h"
#include "kivhost/controls/control_input.h"
#include "kivhost/controls/control_messages.h"
#include "kivhost/controls/control_renderer.h"
#include "kivhost/controls/control_store.h"
#include "kivhost/controls/host_layers.h"
#include "kivhost/controls/notices.h"

#define CONTROLS_EXPORT extern "C" __attribute__((visibility("default")))

using kivcontrols::Container;
using kivcontrols::Control;
using kivcontrols::ControlStore;
using kivcontrols::MouseEvent;
using kivcontrols::MouseKind;
using nlohmann::json;

namespace {

HWND HwndOf(KivHandle container) {
  auto& store = ControlStore::Get();
  std::lock_guard lock(store.mutex);
  const Container* c = store.FindContainer(container);
  return c ? c->hwnd : 0;
}

std::string Text(const char* s) { return json(s ? std::string(s) : std::string()).dump(); }

json PointJson(const KivPoint* p) { return p ? json{{"x", p->x}, {"y", p->y}} : json(nullptr); }
json SizeJson(const KivSize* s) { return s ? json{{"width", s->cx}, {"height", s->cy}} : json(nullptr); }

// The control stops taking part in its container: no focus, no drag, no
// open list.
void Detach(Container& owner, Control& c) {
  std::erase(owner.controls, c.handle);
  if (owner.focused == c.handle) owner.focused = 0;
  if (c.drag != Control::Drag::None) kivcontrols::host::ReleaseCapture(c.hwnd);
  c.drag = Control::Drag::None;
  c.focused = c.pressed = c.hover = false;
  kivcontrols::CloseList(c);
  c.container = 0;
}

// One forwarded event: handled with the store locked, then the callbacks
// it led to, without the lock.
template <class Handler>
int32_t Forward(const char* fn, KivHandle container, json args, Handler handler) {
  args.insert(args.begin(), container);
  kivlib::LibraryCall call(fn, HwndOf(container), args.dump());
  auto& store = ControlStore::Get();
  std::unique_lock lock(store.mutex);
  Container* owner = store.FindContainer(container);
  if (!owner) {
    call.Result("0");
    return 0;
  }
  kivcontrols::Notices notices;
  const bool used = handler(store, *owner, notices);
  kivcontrols::RunNotices(store, lock, std::move(notices));
  call.Result(used ? "1" : "0");
  return used ? 1 : 0;
}

int32_t ForwardMouse(const char* fn, KivHandle container, MouseEvent event) {
  json args = json::array({event.layerName});
  if (event.kind != MouseKind::Out) {
    args.push_back(PointJson(event.pt));
    args.push_back(SizeJson(event.size));
  }
  if (event.kind != MouseKind::Out && event.kind != MouseKind::On && event.kind != MouseKind::Move)
    args.push_back(event.flags);
  if (event.kind == MouseKind::WheelForward || event.kind == MouseKind::WheelBackward) args.push_back(event.scrolls);
  return Forward(fn, container, std::move(args), [&](ControlStore& store, Container& owner, kivcontrols::Notices& n) {
    return kivcontrols::HandleMouse(store, owner, event, n);
  });
}

MouseEvent Event(MouseKind kind, const char* layerName, const KivPoint* pt = nullptr, const KivSize* size = nullptr,
                 uint32_t flags = 0, int32_t scrolls = 0) {
  return {kind, layerName ? layerName : "", pt, size, flags, scrolls};
}

}  // namespace

CONTROLS_EXPORT KivHandle KivCreateResources(const char* folder) {
  kivlib::LibraryCall call("KivCreateResources", 0, "[" + Text(folder) + "]");
  auto& store = ControlStore::Get();
  std::lock_guard lock(store.mutex);
  const KivHandle h = store.NextHandle();
  store.resources[h] = {h, folder ? folder : ""};
  call.Result(std::to_string(h));
  return h;
}

CONTROLS_EXPORT void KivFreeResources(KivHandle resources) {
  kivlib::LibraryCall call("KivFreeResources", 0, "[" + std::to_string(resources) + "]");
  auto& store = ControlStore::Get();
  std::lock_guard lock(store.mutex);
  store.resources.erase(resources);
}

CONTROLS_EXPORT KivHandle KivCreateControlContainer(HWND hwnd, KivHandle resources) {
  kivlib::LibraryCall call("KivCreateControlContainer", hwnd, "[" + std::to_string(resources) + "]");
  auto& store = ControlStore::Get();
  std::lock_guard lock(store.mutex);
  const KivHandle h = store.NextHandle();
  Container container;
  container.handle = h;
  container.hwnd = hwnd;
  container.resources = resources;
  store.containers[h] = std::move(container);
  call.Result(std::to_string(h));
  return h;
}

CONTROLS_EXPORT void KivFreeControlContainer(KivHandle container) {
  kivlib::LibraryCall call("KivFreeControlContainer", HwndOf(container), "[" + std::to_string(container) + "]");
  auto& store = ControlStore::Get();
  std::lock_guard lock(store.mutex);
  Container* owner = store.FindContainer(container);
  if (!owner) return;
  // Controls still inside stay alive (the plug-in frees them) but leave the
  // container.
  for (KivHandle h : std::vector<KivHandle>(owner->controls))
    if (Control* c = store.FindControl(h)) Detach(*owner, *c);
  store.containers.erase(container);
}

CONTROLS_EXPORT KivHandle KivCreateControl(KivHandle container, const char* name, const char* type, int32_t a, int32_t b) {
  kivlib::LibraryCall call("KivCreateControl", HwndOf(container),
                           "[" + std::to_string(container) + "," + Text(name) + "," + Text(type) + "," +
                               std::to_string(a) + "," + std::to_string(b) + "]");
  auto& store = ControlStore::Get();
  std::lock_guard lock(store.mutex);
  const Container* owner = store.FindContainer(container);
  if (!owner) {
    call.Result("0");
    return 0;
  }
  const KivHandle h = store.NextHandle();
  Control c;
  c.handle = h;
  c.name = name ? name : "";
  c.type = type ? type : "";
  c.kind = kivcontrols::KindOf(c.type);
  c.hwnd = owner->hwnd;
  kivcontrols::host::AddLayer(c.hwnd, c.name);
  store.controls[h] = std::move(c);
  call.Result(std::to_string(h));
  return h;
}

CONTROLS_EXPORT void KivFreeControl(KivHandle control) {
  kivlib::LibraryCall call("KivFreeControl", 0, "[" + std::to_string(control) + "]");
  auto& store = ControlStore::Get();
  std::lock_guard lock(store.mutex);
  Control* c = store.FindControl(control);
  if (!c) return;
  if (Container* owner = store.FindContainer(c->container)) Detach(*owner, *c);
  kivcontrols::host::RemoveLayer(c->hwnd, c->name);
  store.controls.erase(control);
}

CONTROLS_EXPORT void KivAddControlToContainer(KivHandle container, KivHandle control) {
  kivlib::LibraryCall call("KivAddControlToContainer", HwndOf(container),
                           "[" + std::to_string(container) + "," + std::to_string(control) + "]");
  auto& store = ControlStore::Get();
  std::lock_guard lock(store.mutex);
  Container* owner = store.FindContainer(container);
  Control* c = store.FindControl(control);
  if (!owner || !c || c->container == container) return;
  if (Container* before = store.FindContainer(c->container)) Detach(*before, *c);
  c->container = container;
  owner->controls.push_back(control);
  c->dirty = true;
  c->shownPlacement.reset();
  kivcontrols::PresentDirty(store);
}

CONTROLS_EXPORT void KivRemoveControlFromContainer(KivHandle container, KivHandle control) {
  kivlib::LibraryCall call("KivRemoveControlFromContainer", HwndOf(container),
                           "[" + std::to_string(container) + "," + std::to_string(control) + "]");
  auto& store = ControlStore::Get();
  std::lock_guard lock(store.mutex);
  Container* owner = store.FindContainer(container);
  Control* c = store.FindControl(control);
  if (!owner || !c || c->container != container) return;
  Detach(*owner, *c);
  kivcontrols::ClearLayer(*c);
}

CONTROLS_EXPORT void KivLockContainer(KivHandle container) {
  kivlib::LibraryCall call("KivLockContainer", HwndOf(container), "[" + std::to_string(container) + "]");
  auto& store = ControlStore::Get();
  std::lock_guard lock(store.mutex);
  if (Container* c = store.FindContainer(container)) ++c->lockDepth;
}

CONTROLS_EXPORT void KivUnlockContainer(KivHandle container) {
  kivlib::LibraryCall call("KivUnlockContainer", HwndOf(container), "[" + std::to_string(container) + "]");
  auto& store = ControlStore::Get();
  std::lock_guard lock(store.mutex);
  if (Container* c = store.FindContainer(container); c && c->lockDepth > 0) --c->lockDepth;
  kivcontrols::PresentDirty(store);
}

CONTROLS_EXPORT void KivLockControl(KivHandle control) {
  kivlib::LibraryCall call("KivLockControl", 0, "[" + std::to_string(control) + "]");
  auto& store = ControlStore::Get();
  std::lock_guard lock(store.mutex);
  if (Control* c = store.FindControl(control)) ++c->lockDepth;
}

CONTROLS_EXPORT void KivUnlockControl(KivHandle control) {
  kivlib::LibraryCall call("KivUnlockControl", 0, "[" + std::to_string(control) + "]");
  auto& store = ControlStore::Get();
  std::lock_guard lock(store.mutex);
  if (Control* c = store.FindControl(control); c && c->lockDepth > 0) --c->lockDepth;
  kivcontrols::PresentDirty(store);
}

CONTROLS_EXPORT int32_t KivForwardMessage(KivHandle container, uint32_t message, WPARAM wParam, LPARAM lParam) {
  return Forward("KivForwardMessage", container, json::array({message, wParam, lParam}),
                 [&](ControlStore& store, Container& owner, kivcontrols::Notices& n) {
                   return kivcontrols::HandleWindowMessage(store, owner, message, wParam, lParam, n);
                 });
}

CONTROLS_EXPORT int32_t KivForwardMouseDown(KivHandle container, uint32_t, const char* layerName, const KivPoint* pt,
                                            const KivSize* size, uint32_t flags) {
  return ForwardMouse("KivForwardMouseDown", container, Event(MouseKind::Down, layerName, pt, size, flags));
}

CONTROLS_EXPORT int32_t KivForwardMouseUp(KivHandle container, uint32_t, const char* layerName, const KivPoint* pt,
                                          const KivSize* size, uint32_t flags) {
  return ForwardMouse("KivForwardMouseUp", container, Event(MouseKind::Up, layerName, pt, size, flags));
}

CONTROLS_EXPORT int32_t KivForwardMouseOn(KivHandle container, uint32_t, const char* layerName, const KivPoint* pt,
                                          const KivSize* size) {
  return ForwardMouse("KivForwardMouseOn", container, Event(MouseKind::On, layerName, pt, size));
}

CONTROLS_EXPORT int32_t KivForwardMouseMove(KivHandle container, uint32_t, const char* layerName, const KivPoint* pt,
                                            const KivSize* size) {
  return ForwardMouse("KivForwardMouseMove", container, Event(MouseKind::Move, layerName, pt, size));
}

CONTROLS_EXPORT int32_t KivForwardMouseOut(KivHandle container, uint32_t, const char* layerName) {
  return ForwardMouse("KivForwardMouseOut", container, Event(MouseKind::Out, layerName));
}

CONTROLS_EXPORT int32_t KivForwardMouseWheelForward(KivHandle container, uint32_t, const char* layerName,
                                                    const KivPoint* pt, const KivSize* size, uint32_t flags, int32_t scrolls) {
  return ForwardMouse("KivForwardMouseWheelForward", container,
                      Event(MouseKind::WheelForward, layerName, pt, size, flags, scrolls));
}

CONTROLS_EXPORT int32_t KivForwardMouseWheelBackward(KivHandle container, uint32_t, const char* layerName,
                                                     const KivPoint* pt, const KivSize* size, uint32_t flags, int32_t scrolls) {
  return ForwardMouse("KivForwardMouseWheelBackward", container,
                      Event(MouseKind::WheelBackward, layerName, pt, size, flags, scrolls));
}

CONTROLS_EXPORT int32_t KivForwardMouseRightClick(KivHandle container, uint32_t, const char* layerName,
                                                  const KivPoint* pt, const KivSize* size, uint32_t flags) {
  return ForwardMouse("KivForwardMouseRightClick", container, Event(MouseKind::RightClick, layerName, pt, size, flags));
}

CONTROLS_EXPORT int32_t KivSendMessage(KivHandle control, uint32_t code, WPARAM wParam, LPARAM lParam) {
  auto& store = ControlStore::Get();
  std::unique_lock lock(store.mutex);
  Control* c = store.FindControl(control);
  const HWND hwnd = c ? c->hwnd : 0;
  lock.unlock();
  kivlib::LibraryCall call("KivSendMessage", hwnd, json::array({control, code, wParam, lParam}).dump());
  lock.lock();
  c = store.FindControl(control);
  const int32_t ret = c ? kivcontrols::HandleControlMessage(*c, code, wParam, lParam) : 0;
  if (c && c->dirty) kivcontrols::PresentDirty(store);
  call.Result(std::to_string(ret));
  return ret;
}
