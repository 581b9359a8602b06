// A Wayland desktop for tests: sway on its headless backend, drawing with
// pixman, in a runtime folder of the test's own. Screenshots come from
// grim. Sway will not run as root; under root it runs as "nobody".
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "desktop/x_session.h"

namespace desktoptest {

// Whether sway and grim are installed.
bool HaveWaylandTools();

class WaylandServer {
 public:
  WaylandServer();  // Display() is empty when sway did not come up
  ~WaylandServer();
  WaylandServer(const WaylandServer&) = delete;
  WaylandServer& operator=(const WaylandServer&) = delete;

  // The display's name, as WAYLAND_DISPLAY gives it.
  const std::string& Display() const { return display_; }
  // The folder to give programs as XDG_RUNTIME_DIR.
  const std::string& RuntimeFolder() const { return runtime_; }

  // The screen's pixels, 0xFFRRGGBB, rows from the top; empty on failure.
  std::vector<uint32_t> Pixels(int x, int y, int width, int height);

 private:
  std::string runtime_, display_;
  std::unique_ptr<Program> sway_;
};

}  // namespace desktoptest
