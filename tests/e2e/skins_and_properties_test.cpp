// kivhost with the real plug-in: the skins the plug-in offers, listed by
// --list-skins; the plug-in's page on the properties dialog, driven by a
// scenario; and the update check it starts, against a loopback server.
#include <gtest/gtest.h>

#include <filesystem>

#include "kivhost_run.h"
#include "support/http_server.h"
#include "support/scoped_env.h"

namespace e2e {
namespace {

using testing_support::ScopedEnv;
using testing_support::TempDir;

std::string Skin(const std::string& name) {
  return "<skindata><skininfo><name>" + name + "</name><author>Us</author><version>4</version></skininfo>"
         "<sides><side id=\"0\" width=\"100\" height=\"60\"/></sides>"
         "<desklet><oncreate>undefinedFunction()</oncreate></desklet></skindata>";
}

// A user of its own: settings, registry and the manager's socket.
class HostTest : public ::testing::Test {
 protected:
  TempDir dir_;
  ScopedEnv config_{"XDG_CONFIG_HOME", dir_.File("config")};
  ScopedEnv runtime_{"XDG_RUNTIME_DIR", dir_.Path()};
  ScopedEnv temp_{"TMPDIR", dir_.File("tmp")};
  testing_support::WithoutProxy direct_;

  void SetUp() override { std::filesystem::create_directories(dir_.File("tmp")); }
  std::string Registry() const { return ReadText(dir_.File("config/kivhost/registry.ini")); }
  json PageItem(const json& state, const std::string& kind) {
    for (const json& item : state["desklets"][0]["properties"]["pages"][0]["items"])
      if (item["kind"] == kind) return item;
    return nullptr;
  }
};

TEST_F(HostTest, ListSkinsShowsTheOfferedSkinsOneALine) {
  ScopedEnv plugins{"VOREL_PLUGIN_FOLDER", dir_.File("plugin")};
  dir_.Write("plugin/b/b.xml", Skin("Bee"));
  dir_.Write("plugin/a/a.xml", Skin("Ant"));
  dir_.Write("plugin/a/nested/n.xml", Skin("Nested"));
  dir_.Write("plugin/a/broken.xml", "<skindata><skininfo>");
  std::filesystem::create_directories(dir_.File("plugin/none"));
  auto r = RunHost({"--list-skins"}, dir_);
  ASSERT_EQ(r.exitCode, 0) << r.errors;
  EXPECT_EQ(ReadText(dir_.File("stdout.txt")),
            dir_.File("plugin/a/a.xml") + "\tAnt\tUs\t4\n" + dir_.File("plugin/b/b.xml") + "\tBee\tUs\t4\n");
  EXPECT_NE(r.errors.find(dir_.File("plugin/a/broken.xml") + " is not offered"), std::string::npos) << r.errors;
}

TEST_F(HostTest, ListSkinsGoesAlone) {
  auto r = RunHost({"--list-skins", "--headless"}, dir_);
  EXPECT_EQ(r.exitCode, 2) << r.errors;
}

TEST_F(HostTest, ThePageShowsTheLogAndAClearedLogStaysCleared) {
  const std::string skin = dir_.Write("s/s.xml", Skin("Failing"));
  dir_.Write("page.txt", "properties\nstate " + dir_.File("s1.json") +
                             "\nbutton Clear Log\nstate " + dir_.File("s2.json") +
                             "\nproperties close\nproperties\nstate " + dir_.File("s3.json") + "\n");
  auto r = RunHost({"--headless", "--quiet", "--scenario", dir_.File("page.txt"), skin}, dir_);
  ASSERT_EQ(r.exitCode, 0) << r.errors;
  const json first = ReadJson(dir_.File("s1.json"));
  EXPECT_EQ(first["desklets"][0]["properties"]["pages"][0]["title"], "Vorel");
  EXPECT_NE(PageItem(first, "log")["text"].get<std::string>().find("undefinedFunction"), std::string::npos)
      << first.dump();
  EXPECT_FALSE(first["desklets"][0]["properties"]["changed"]);
  const json cleared = ReadJson(dir_.File("s2.json"));
  EXPECT_EQ(PageItem(cleared, "log")["text"], "");
  EXPECT_TRUE(cleared["desklets"][0]["properties"]["changed"]);
  EXPECT_EQ(PageItem(ReadJson(dir_.File("s3.json")), "log")["text"], "");
}

TEST_F(HostTest, TheCheckBoxIsKeptInTheRegistry) {
  dir_.Write("on.txt", "properties\nbutton Auto Check for Updates\nproperties close\n");
  auto r = RunHost({"--headless", "--quiet", "--scenario", dir_.File("on.txt"), SampleSkin("hello")}, dir_);
  ASSERT_EQ(r.exitCode, 0) << r.errors;
  EXPECT_NE(Registry().find("[Software\\Kivhost\\Vorel]"), std::string::npos) << Registry();
  EXPECT_NE(Registry().find("AutoCheckUpdate=1"), std::string::npos) << Registry();

  dir_.Write("look.txt", "properties\nstate " + dir_.File("s.json") + "\n");
  r = RunHost({"--headless", "--quiet", "--scenario", dir_.File("look.txt"), SampleSkin("hello")}, dir_);
  ASSERT_EQ(r.exitCode, 0) << r.errors;
  EXPECT_TRUE(PageItem(ReadJson(dir_.File("s.json")), "checkbox")["checked"]);
}

TEST_F(HostTest, CheckNowOffersANewerVersionAndOpensTheDownloadPage) {
  testing_support::HttpServer server;
  server.Route("/vorel/version.xml", {.body = "<SOFTWARES><SOFTWARE NAME=\"VOREL\" VERSION=\"1.1.0.0\"/></SOFTWARES>"});
  dir_.Write("config/kivhost/registry.ini", "[Software\\Kivhost\\Vorel]\nUpdateServer=" + server.Url("") + "\n");
  dir_.Write("check.txt", "answer yes\nproperties\nbutton Check Now\nproperties close\n");
  auto r = RunHost({"--headless", "--quiet", "--trace", dir_.File("t.jsonl"), "--scenario", dir_.File("check.txt"),
                    SampleSkin("hello")},
                   dir_);
  ASSERT_EQ(r.exitCode, 0) << r.errors;
  const auto trace = ReadTrace(dir_.File("t.jsonl"));
  const auto boxes = CallsOf(trace, "WinMessageBox");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0]["args"][0], "Version 1.1.0.0 is available to download.\nDo you wish to open the web page?");
  const auto opened = CallsOf(trace, "WinShellExecute");
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0]["args"][0], "OPEN");
  EXPECT_EQ(opened[0]["args"][1], server.Url("/vorel/"));
  EXPECT_NE(Registry().find("LastUpdateCheck="), std::string::npos);
  EXPECT_TRUE(std::filesystem::is_empty(dir_.File("tmp")));
}

TEST_F(HostTest, CheckNowWithAFailingServerSaysSoInTheLog) {
  testing_support::HttpServer server;
  server.Route("/vorel/version.xml", {.status = 503});
  dir_.Write("config/kivhost/registry.ini", "[Software\\Kivhost\\Vorel]\nUpdateServer=" + server.Url("") + "\n");
  dir_.Write("check.txt", "properties\nbutton Check Now\nstate " + dir_.File("s.json") + "\n");
  auto r = RunHost({"--headless", "--quiet", "--trace", dir_.File("t.jsonl"), "--scenario", dir_.File("check.txt"),
                    SampleSkin("hello")},
                   dir_);
  ASSERT_EQ(r.exitCode, 0) << r.errors;
  EXPECT_TRUE(CallsOf(ReadTrace(dir_.File("t.jsonl")), "WinMessageBox").empty());
  const std::string shown = PageItem(ReadJson(dir_.File("s.json")), "log")["text"];
  EXPECT_NE(shown.find("answered 503"), std::string::npos) << shown;
  EXPECT_TRUE(std::filesystem::is_empty(dir_.File("tmp")));
}

}  // namespace
}  // namespace e2e
