// What the update tests share: a user folder of their own (the registry
// file and the temporary folder in it), a loopback server publishing a
// version document, and the recording test host.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/win/registry.h"
#include "tests/support/http_server.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_host.h"
#include "vorel/ui/update_check.h"
#include "vorel/ui/update_settings.h"

namespace update_test {

inline std::string VersionDocument(const std::string& version) {
  return "<?xml version=\"1.0\"?><SOFTWARES><SOFTWARE NAME=\"OTHER\" VERSION=\"9.9.9.9\"/>"
         "<SOFTWARE NAME=\"VOREL\" VERSION=\"" + version + "\"/></SOFTWARES>";
}

class UpdateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testhost::TestHost::Get().Reset();
    vorel::ResetAutomaticUpdateCheck();
    std::filesystem::create_directories(dir_.File("tmp"));
  }
  void TearDown() override { testhost::TestHost::Get().Reset(); }

  void UseServer() { win::WriteRegistryValue(vorel::kUpdateKey, "UpdateServer", server_.Url("/")); }
  void Publish(const std::string& version) {
    server_.Route("/vorel/version.xml", {.body = VersionDocument(version)});
  }
  std::optional<std::string> Setting(const std::string& name) {
    return win::ReadRegistryValue(vorel::kUpdateKey, name);
  }
  // Whatever the check did, it left nothing in the temporary folder.
  bool TemporaryFolderEmpty() const { return std::filesystem::is_empty(dir_.File("tmp")); }
  std::vector<testhost::Call> Boxes() { return testhost::TestHost::Get().CallsOf("WinMessageBox"); }

  testing_support::TempDir dir_;
  testing_support::ScopedEnv config_{"XDG_CONFIG_HOME", dir_.File("config")};
  testing_support::ScopedEnv temp_{"TMPDIR", dir_.File("tmp")};
  testing_support::WithoutProxy direct_;
  testing_support::HttpServer server_;
};

}  // namespace update_test
