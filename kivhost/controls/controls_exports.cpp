// libKivControls.so: the host's control library. It keeps resources,
// containers and controls with every setting the plug-in sends; each
// control gets a host layer named after it, so the plug-in finds the
// control's layer by name. The controls are not drawn or interactive yet:
// forwarded mouse and window messages are recorded and left unhandled.
#include <dlfcn.h>

#include <algorithm>
#include <nlohmann/json.hpp>

#include "kivhost/common/library_trace.h"
#include "kivhost/controls/control_state.h"
#include "kivhost/controls/control_store.h"
#include "platform/abi/desklet_api.h"
#include "platform/util/utf8.h"

#define CONTROLS_EXPORT extern "C" __attribute__((visibility("default")))

using kivcontrols::Container;
using kivcontrols::Control;
using kivcontrols::ControlStore;
using nlohmann::json;

namespace {

// The host's own functions, found in the running program like the plug-in
// finds them; absent outside a host.
template <class Fn>
Fn HostFunction(const char* name) {
  return reinterpret_cast<Fn>(dlsym(RTLD_DEFAULT, name));
}

uint32_t AddHostLayer(HWND hwnd, const std::string& name) {
  auto add = HostFunction<decltype(&DeskletLayerAdd)>("DeskletLayerAdd");
  return add ? add(hwnd, name.c_str()) : 0;
}

void RemoveHostLayer(HWND hwnd, const std::string& name) {
  auto get = HostFunction<decltype(&DeskletLayerGetLayer)>("DeskletLayerGetLayer");
  auto remove = HostFunction<decltype(&DeskletLayerRemove)>("DeskletLayerRemove");
  if (!get || !remove) return;
  BOOL32 found = kFalse;
  const uint32_t id = get(hwnd, name.c_str(), &found);
  if (found) remove(hwnd, id, kTrue);
}

HWND HwndOf(KivHandle container) {
  auto& store = ControlStore::Get();
  const Container* c = store.FindContainer(container);
  return c ? c->hwnd : 0;
}

std::string Text(const char* s) { return json(s ? std::string(s) : std::string()).dump(); }

json PointJson(const KivPoint* p) { return p ? json{{"x", p->x}, {"y", p->y}} : json(nullptr); }
json SizeJson(const KivSize* s) { return s ? json{{"width", s->cx}, {"height", s->cy}} : json(nullptr); }

// Forwarded events: recorded, not handled until the controls run.
int32_t Forward(const char* fn, KivHandle container, json args) {
  args.insert(args.begin(), container);
  kivlib::LibraryCall call(fn, HwndOf(container), args.dump());
  call.Result("0");
  return 0;
}

void FreeControlLocked(ControlStore& store, KivHandle control) {
  Control* c = store.FindControl(control);
  if (!c) return;
  if (Container* owner = store.FindContainer(c->container)) {
    std::erase(owner->controls, control);
    RemoveHostLayer(owner->hwnd, c->name);
  }
  store.controls.erase(control);
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
  store.containers[h] = {h, hwnd, resources, 0, {}};
  call.Result(std::to_string(h));
  return h;
}

CONTROLS_EXPORT void KivFreeControlContainer(KivHandle container) {
  kivlib::LibraryCall call("KivFreeControlContainer", HwndOf(container), "[" + std::to_string(container) + "]");
  auto& store = ControlStore::Get();
  std::lock_guard lock(store.mutex);
  Container* c = store.FindContainer(container);
  if (!c) return;
  // Controls still inside stay alive (the plug-in frees them) but leave the
  // container.
  for (KivHandle h : c->controls)
    if (Control* ctl = store.FindControl(h)) ctl->container = 0;
  store.containers.erase(container);
}

CONTROLS_EXPORT KivHandle KivCreateControl(KivHandle container, const char* name, const char* type, int32_t a, int32_t b) {
  kivlib::LibraryCall call("KivCreateControl", HwndOf(container),
                           "[" + std::to_string(container) + "," + Text(name) + "," + Text(type) + "," +
                               std::to_string(a) + "," + std::to_string(b) + "]");
  auto& store = ControlStore::Get();
  std::lock_guard lock(store.mutex);
  if (!store.FindContainer(container)) {
    call.Result("0");
    return 0;
  }
  const KivHandle h = store.NextHandle();
  Control c;
  c.handle = h;
  c.name = name ? name : "";
  c.type = type ? type : "";
  store.controls[h] = std::move(c);
  call.Result(std::to_string(h));
  return h;
}

CONTROLS_EXPORT void KivFreeControl(KivHandle control) {
  kivlib::LibraryCall call("KivFreeControl", 0, "[" + std::to_string(control) + "]");
  auto& store = ControlStore::Get();
  std::lock_guard lock(store.mutex);
  FreeControlLocked(store, control);
}

CONTROLS_EXPORT void KivAddControlToContainer(KivHandle container, KivHandle control) {
  kivlib::LibraryCall call("KivAddControlToContainer", HwndOf(container),
                           "[" + std::to_string(container) + "," + std::to_string(control) + "]");
  auto& store = ControlStore::Get();
  std::lock_guard lock(store.mutex);
  Container* owner = store.FindContainer(container);
  Control* c = store.FindControl(control);
  if (!owner || !c || c->container == container) return;
  c->container = container;
  owner->controls.push_back(control);
  AddHostLayer(owner->hwnd, c->name);
}

CONTROLS_EXPORT void KivRemoveControlFromContainer(KivHandle container, KivHandle control) {
  kivlib::LibraryCall call("KivRemoveControlFromContainer", HwndOf(container),
                           "[" + std::to_string(container) + "," + std::to_string(control) + "]");
  auto& store = ControlStore::Get();
  std::lock_guard lock(store.mutex);
  Container* owner = store.FindContainer(container);
  Control* c = store.FindControl(control);
  if (!owner || !c || c->container != container) return;
  std::erase(owner->controls, control);
  c->container = 0;
  RemoveHostLayer(owner->hwnd, c->name);
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
}

CONTROLS_EXPORT int32_t KivForwardMessage(KivHandle container, uint32_t message, WPARAM wParam, LPARAM lParam) {
  return Forward("KivForwardMessage", container, json::array({message, wParam, lParam}));
}

CONTROLS_EXPORT int32_t KivForwardMouseDown(KivHandle container, uint32_t layerId, const char* layerName, const KivPoint* pt,
                                            const KivSize* size, uint32_t flags) {
  return Forward("KivForwardMouseDown", container, json::array({layerId, layerName ? layerName : "", PointJson(pt), SizeJson(size), flags}));
}

CONTROLS_EXPORT int32_t KivForwardMouseUp(KivHandle container, uint32_t layerId, const char* layerName, const KivPoint* pt,
                                          const KivSize* size, uint32_t flags) {
  return Forward("KivForwardMouseUp", container, json::array({layerId, layerName ? layerName : "", PointJson(pt), SizeJson(size), flags}));
}

CONTROLS_EXPORT int32_t KivForwardMouseOn(KivHandle container, uint32_t layerId, const char* layerName, const KivPoint* pt,
                                          const KivSize* size) {
  return Forward("KivForwardMouseOn", container, json::array({layerId, layerName ? layerName : "", PointJson(pt), SizeJson(size)}));
}

CONTROLS_EXPORT int32_t KivForwardMouseMove(KivHandle container, uint32_t layerId, const char* layerName, const KivPoint* pt,
                                            const KivSize* size) {
  return Forward("KivForwardMouseMove", container, json::array({layerId, layerName ? layerName : "", PointJson(pt), SizeJson(size)}));
}

CONTROLS_EXPORT int32_t KivForwardMouseOut(KivHandle container, uint32_t layerId, const char* layerName) {
  return Forward("KivForwardMouseOut", container, json::array({layerId, layerName ? layerName : ""}));
}

CONTROLS_EXPORT int32_t KivForwardMouseWheelForward(KivHandle container, uint32_t layerId, const char* layerName,
                                                    const KivPoint* pt, const KivSize* size, uint32_t flags, int32_t scrolls) {
  return Forward("KivForwardMouseWheelForward", container,
                 json::array({layerId, layerName ? layerName : "", PointJson(pt), SizeJson(size), flags, scrolls}));
}

CONTROLS_EXPORT int32_t KivForwardMouseWheelBackward(KivHandle container, uint32_t layerId, const char* layerName,
                                                     const KivPoint* pt, const KivSize* size, uint32_t flags, int32_t scrolls) {
  return Forward("KivForwardMouseWheelBackward", container,
                 json::array({layerId, layerName ? layerName : "", PointJson(pt), SizeJson(size), flags, scrolls}));
}

CONTROLS_EXPORT int32_t KivForwardMouseRightClick(KivHandle container, uint32_t layerId, const char* layerName,
                                                  const KivPoint* pt, const KivSize* size, uint32_t flags) {
  return Forward("KivForwardMouseRightClick", container,
                 json::array({layerId, layerName ? layerName : "", PointJson(pt), SizeJson(size), flags}));
}

CONTROLS_EXPORT int32_t KivSendMessage(KivHandle control, uint32_t code, WPARAM wParam, LPARAM lParam) {
  auto& store = ControlStore::Get();
  std::unique_lock lock(store.mutex);
  Control* c = store.FindControl(control);
  const HWND hwnd = c ? HwndOf(c->container) : 0;
  lock.unlock();
  kivlib::LibraryCall call("KivSendMessage", hwnd, json::array({control, code, wParam, lParam}).dump());
  lock.lock();
  c = store.FindControl(control);
  const int32_t ret = c ? kivcontrols::HandleControlMessage(*c, code, wParam, lParam) : 0;
  call.Result(std::to_string(ret));
  return ret;
}

CONTROLS_EXPORT const char* KivControlsDescribe(HWND hwnd) {
  thread_local std::string text;
  auto& store = ControlStore::Get();
  std::lock_guard lock(store.mutex);
  json out = json::array();
  for (const auto& [handle, container] : store.containers) {
    if (container.hwnd != hwnd) continue;
    for (KivHandle h : container.controls) {
      const Control* c = store.FindControl(h);
      if (!c) continue;
      json items = json::array();
      for (const auto& item : c->items) items.push_back(kiv::Utf16ToUtf8(item));
      out.push_back({{"name", c->name},
                     {"type", c->type},
                     {"visible", c->added},
                     {"text", kiv::Utf16ToUtf8(c->text)},
                     {"rect", c->rect ? json{{"left", c->rect->left}, {"top", c->rect->top}, {"right", c->rect->right},
                                             {"bottom", c->rect->bottom}}
                                      : json(nullptr)},
                     {"fontName", c->fontName},
                     {"fontSize", c->fontSize},
                     {"fontStyle", c->fontStyle},
                     {"alignment", c->alignment},
                     {"textColor", c->textColor},
                     {"backColor", c->backColor},
                     {"readOnly", c->readOnly},
                     {"password", c->password},
                     {"scrollPos", c->scrollPos},
                     {"scrollSize", c->scrollSize},
                     {"items", items},
                     {"selected", c->selected},
                     {"callbacks", [&] {
                        json codes = json::array();
                        for (const auto& [code, cb] : c->callbacks) codes.push_back(code);
                        return codes;
                      }()}});
    }
  }
  text = out.dump();
  return text.c_str();
}
