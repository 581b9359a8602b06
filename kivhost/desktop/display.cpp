#include "kivhost/desktop/display.h"

#include <wayland-client.h>

#include <cstdlib>
#include <cstring>

namespace kivhost {

namespace {

bool Set(const char* name) {
  const char* value = std::getenv(name);
  return value && *value;
}

void OnGlobal(void* found, wl_registry*, uint32_t, const char* interface, uint32_t) {
  if (std::strcmp(interface, "zwlr_layer_shell_v1") == 0) *static_cast<bool*>(found) = true;
}

void OnGlobalRemoved(void*, wl_registry*, uint32_t) {}

}  // namespace

bool HasDisplay() { return Set("DISPLAY") || Set("WAYLAND_DISPLAY"); }

bool WaylandOffersLayerShell() {
  if (!Set("WAYLAND_DISPLAY")) return false;
  wl_display* display = wl_display_connect(nullptr);
  if (!display) return false;
  bool found = false;
  static const wl_registry_listener listener{&OnGlobal, &OnGlobalRemoved};
  wl_registry* registry = wl_display_get_registry(display);
  wl_registry_add_listener(registry, &listener, &found);
  wl_display_roundtrip(display);
  wl_registry_destroy(registry);
  wl_display_disconnect(display);
  return found;
}

std::string DesktopBackends() { return WaylandOffersLayerShell() ? "wayland" : "x11,*"; }

}  // namespace kivhost
