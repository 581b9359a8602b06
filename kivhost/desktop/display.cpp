#include "kivhost/desktop/display.h"

#include <cstdlib>

namespace kivhost {

namespace {
bool Set(const char* name) {
  const char* value = std::getenv(name);
  return value && *value;
}
}  // namespace

bool HasDisplay() { return Set("DISPLAY") || Set("WAYLAND_DISPLAY"); }

}  // namespace kivhost
