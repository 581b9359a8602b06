#include "desktop/wayland_session.h"

#include <cairo.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace desktoptest {

namespace {

using namespace std::chrono_literals;

bool OnPath(const std::string& program) {
  return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

}  // namespace

bool HaveWaylandTools() { return OnPath("sway") && OnPath("grim"); }

WaylandServer::WaylandServer() {
  char folder[] = "/tmp/kiv-wayland-XXXXXX";
  if (!mkdtemp(folder)) return;
  runtime_ = folder;
  std::ofstream(runtime_ + "/sway.conf") << "output HEADLESS-1 resolution 800x600 position 0,0\n"
                                            "output * background #000000 solid_color\n"
                                            "seat seat0 fallback yes\n";
  std::vector<std::string> args{"sway", "-c", runtime_ + "/sway.conf"};
  if (getuid() == 0) {
    // NOTE: sway refuses to run as root.
    const passwd* nobody = getpwnam("nobody");
    if (!nobody || chown(folder, nobody->pw_uid, nobody->pw_gid) != 0) return;
    args.insert(args.begin(), {"setpriv", "--reuid=nobody", "--regid=" + std::to_string(nobody->pw_gid), "--clear-groups"});
  }
  setenv("WLR_BACKENDS", "headless", 1);
  setenv("WLR_LIBINPUT_NO_DEVICES", "1", 1);
  setenv("WLR_RENDERER", "pixman", 1);
  setenv("XDG_RUNTIME_DIR", runtime_.c_str(), 1);
  sway_ = std::make_unique<Program>("", args, runtime_ + "/sway.log");
  for (int i = 0; i < 200 && display_.empty(); ++i) {
    std::this_thread::sleep_for(50ms);
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(runtime_, ec)) {
      const std::string name = entry.path().filename().string();
      if (name.starts_with("wayland-") && !name.ends_with(".lock")) display_ = name;
    }
  }
}

WaylandServer::~WaylandServer() {
  sway_.reset();
  if (!runtime_.empty()) {
    std::error_code ec;
    std::filesystem::remove_all(runtime_, ec);
  }
}

std::vector<uint32_t> WaylandServer::Pixels(int x, int y, int width, int height) {
  std::vector<uint32_t> pixels;
  const std::string png = runtime_ + "/shot.png";
  const std::string command = "XDG_RUNTIME_DIR='" + runtime_ + "' WAYLAND_DISPLAY='" + display_ + "' grim -g '" +
                              std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(width) + "x" +
                              std::to_string(height) + "' '" + png + "' 2>/dev/null";
  if (std::system(command.c_str()) != 0) return pixels;
  cairo_surface_t* shot = cairo_image_surface_create_from_png(png.c_str());
  if (cairo_surface_status(shot) == CAIRO_STATUS_SUCCESS && cairo_image_surface_get_width(shot) == width &&
      cairo_image_surface_get_height(shot) == height) {
    const unsigned char* data = cairo_image_surface_get_data(shot);
    const int stride = cairo_image_surface_get_stride(shot);
    for (int row = 0; row < height; ++row)
      for (int col = 0; col < width; ++col)
        pixels.push_back(0xFF000000u | *reinterpret_cast<const uint32_t*>(data + row * stride + 4 * col));
  }
  cairo_surface_destroy(shot);
  return pixels;
}

}  // namespace desktoptest
