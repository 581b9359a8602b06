// The fixture of the desktop tests: an Xvfb of the test's own, the user's
// configuration and runtime folders in the test's temporary folder, and
// kivhost started on that display.
#pragma once

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
