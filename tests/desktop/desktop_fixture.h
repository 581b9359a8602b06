// What the desktop tests share: skins to show, the headless snapshot to
// compare with, and the fixture: an Xvfb of the test's own, the user's
// configuration and runtime folders in the test's temporary folder, and
// kivhost started on that display.
#pragma once

#include <cairo.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "desktop/x_session.h"
#include "e2e/kivhost_run.h"

namespace desktoptest {

using testing_support::TempDir;

inline void WritePng(const std::string& path, int width, int height, double r, double g, double b) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cairo_t* cr = cairo_create(s);
  cairo_set_source_rgb(cr, r, g, b);
  cairo_paint(cr);
  cairo_destroy(cr);
  cairo_surface_write_to_png(s, path.c_str());
  cairo_surface_destroy(s);
}

// A 120×80 desklet: a button on the left half whose click renames the
// desklet, a plain pad on the right half.
inline std::string WriteSkin(const TempDir& dir) {
  dir.Write("desk/.keep", "");
  WritePng(dir.File("desk/button.png"), 60, 80, 0.9, 0.2, 0.2);
  WritePng(dir.File("desk/pad.png"), 60, 80, 0.2, 0.2, 0.9);
  return dir.Write("desk/desk.xml", R"xml(<skindata><skininfo><name>Desk</name></skininfo>
    <sides><side id="0" width="120" height="80"/></sides>
    <desklet><label>DeskTest</label><keypressanim>0</keypressanim></desklet>
    <layers>
      <layer name="button" src="button.png" x="0" y="0" onclick="kiv.DeskletLabel = 'Clicked'"/>
      <layer name="pad" src="pad.png" x="60" y="0"/>
    </layers></skindata>)xml");
}

// Draws the skin headless into `png`, after the scenario when one is given.
inline bool HeadlessSnapshot(const std::string& skin, const std::string& png, const std::string& scenario = "") {
  std::string command = std::string(KIV_BIN_DIR) + "/kivhost --headless --quiet --snapshot '" + png + "'";
  if (!scenario.empty()) command += " --scenario '" + scenario + "'";
  command += " '" + skin + "' >/dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

class DesktopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HaveXTools()) GTEST_SKIP() << "Xvfb or xdotool is not installed (scripts/install-deps installs them)";
    // kivhost keeps the desktop's desklets in the user's configuration.
    setenv("XDG_CONFIG_HOME", dir_.File("config").c_str(), 1);
    // The kivhost showing them answers on a socket in the runtime folder.
    dir_.Write("run/.keep", "");
    chmod(dir_.File("run").c_str(), 0700);
    setenv("XDG_RUNTIME_DIR", dir_.File("run").c_str(), 1);
    server_ = std::make_unique<XServer>();
    if (server_->Display().empty()) GTEST_SKIP() << "Xvfb did not start";
  }
  const std::string& Display() const { return server_->Display(); }
  std::unique_ptr<Program> Kivhost(const std::vector<std::string>& args) {
    std::vector<std::string> all{std::string(KIV_BIN_DIR) + "/kivhost"};
    all.insert(all.end(), args.begin(), args.end());
    return std::make_unique<Program>(Display(), all, dir_.File("stderr.txt"));
  }

  TempDir dir_;
  std::unique_ptr<XServer> server_;
};

}  // namespace desktoptest
