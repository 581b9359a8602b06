// The host and the real plug-in together: creating, saving, restoring and
// destroying a desklet, and the host's own failures.
#include <gtest/gtest.h>

#include <algorithm>

#include "kivhost_run.h"
#include "platform/win/ini_file.h"

namespace e2e {
namespace {

using testing_support::TempDir;

TEST(Lifecycle, CreateComesFirstAndDestroyLast) {
  TempDir dir;
  auto r = RunHost({"--headless", "--trace", dir.File("t.jsonl"), SampleSkin("hello")}, dir);
  ASSERT_EQ(r.exitCode, 0) << r.errors;
  auto trace = ReadTrace(dir.File("t.jsonl"));
  ASSERT_FALSE(trace.empty());
  EXPECT_EQ(trace.front()["fn"], "OnCreateFromSkinW");
  EXPECT_EQ(trace.front()["dir"], "host>plugin");
  EXPECT_EQ(trace.front()["ret"], true);
  EXPECT_EQ(trace.front()["args"][2]["key"], SampleSkin("hello"));
  // The host calls the plug-in no more once the desklet is destroyed; what
  // the plug-in itself does while being destroyed is its own affair.
  std::vector<json> intoPlugin;
  for (const auto& c : trace)
    if (c["dir"] == "host>plugin") intoPlugin.push_back(c);
  EXPECT_EQ(intoPlugin.back()["fn"], "OnDestroy");
  EXPECT_EQ(CallsOf(trace, "OnDestroy").size(), 1u);
  // Every line is numbered in order.
  for (size_t i = 0; i < trace.size(); ++i) EXPECT_EQ(trace[i]["seq"], i + 1);
  EXPECT_EQ(CallsOf(trace, "DeskletAsyncSetPointer").size(), 1u);
  auto adds = CallsOf(trace, "DeskletLayerAdd");
  ASSERT_GE(adds.size(), 2u);
  EXPECT_EQ(adds[0]["ret"], 0);  // layer ids count from 0
  bool sized = false;
  for (const auto& c : CallsOf(trace, "DeskletSetSize")) sized |= c["args"][0] == json{{"width", 240}, {"height", 160}};
  EXPECT_TRUE(sized) << "the skin's size was set";
  // Every layer image went through the image library first.
  EXPECT_FALSE(CallsOf(trace, "CreateCPPImageFromGpImage").empty());
}

TEST(Lifecycle, SettingsSurviveASaveAndARestore) {
  TempDir dir;
  const std::string ini = dir.File("desklets.ini");
  dir.Write("save.txt", "save\nquit\n");
  auto first = RunHost({"--headless", "--settings", ini, "--section", "Desklet1", "--scenario", dir.File("save.txt"),
                        "--state", dir.File("first.json"), SampleSkin("twosided")},
                       dir);
  ASSERT_EQ(first.exitCode, 0) << first.errors;
  auto saved = win::ReadIniSection(ini, "Desklet1");
  bool hasSkinPath = false;
  for (const auto& [key, value] : saved) hasSkinPath |= key == "SkinPath" && value == "twosided/twosided.xml";
  EXPECT_TRUE(hasSkinPath) << ReadText(ini);

  auto second = RunHost({"--headless", "--settings", ini, "--section", "Desklet1", "--trace", dir.File("t.jsonl"),
                         "--state", dir.File("second.json")},
                        dir);
  ASSERT_EQ(second.exitCode, 0) << second.errors;
  auto trace = ReadTrace(dir.File("t.jsonl"));
  EXPECT_EQ(trace.front()["fn"], "OnCreate");
  auto a = ReadJson(dir.File("first.json"))["desklets"][0];
  auto b = ReadJson(dir.File("second.json"))["desklets"][0];
  EXPECT_EQ(a["label"], "Weather in %City%");  // labels are plain text
  EXPECT_EQ(a["label"], b["label"]);
  // A desklet made from settings starts with its base layer "BG"; the
  // skin's layers follow it with the same pictures.
  auto skinLayers = [](const json& desklet) {
    json out = json::array();
    for (const auto& l : desklet["layers"])
      if (l["name"] != "BG") out.push_back({l["name"], l["image"], l["visible"]});
    return out;
  };
  EXPECT_EQ(b["layers"][0]["name"], "BG");
  EXPECT_EQ(skinLayers(a), skinLayers(b));
  EXPECT_EQ(skinLayers(a).size(), 13u);
}

TEST(Lifecycle, ARestoredDeskletKeepsTheHostsPlaceAndSizeAndScalesItsClosePointByIt) {
  TempDir dir;
  const std::string ini = dir.File("desklets.ini");
  // hello's skin is 240 by 160 with its close point at (226, 6); the host
  // kept it twice as large.
  dir.Write("desklets.ini",
            "[D1]\nSkinPath=hello/hello.xml\n[D1.window]\nLeft=10\nTop=20\nWidth=480\nHeight=320\n");
  auto r = RunHost({"--headless", "--settings", ini, "--section", "D1", "--trace", dir.File("t.jsonl"), "--state",
                    dir.File("s.json")},
                   dir);
  ASSERT_EQ(r.exitCode, 0) << r.errors;
  const json desklet = ReadJson(dir.File("s.json"))["desklets"][0];
  EXPECT_EQ(desklet["rect"]["left"], 10);
  EXPECT_EQ(desklet["rect"]["top"], 20);
  EXPECT_EQ(desklet["rect"]["right"], 490);
  EXPECT_EQ(desklet["rect"]["bottom"], 340);
  EXPECT_EQ(desklet["closePoint"], (json{{"x", 226}, {"y", 6}, {"refWidth", 480}, {"refHeight", 320}}));
  auto trace = ReadTrace(dir.File("t.jsonl"));
  EXPECT_TRUE(CallsOf(trace, "DeskletSetSize").empty());
  // Saved at exit, the size is still the host's.
  auto window = win::ReadIniSection(ini, "D1.window");
  EXPECT_NE(std::find(window.begin(), window.end(), std::pair<std::string, std::string>{"Width", "480"}), window.end())
      << ReadText(ini);
}

TEST(Lifecycle, AScenarioMistakeStopsBeforeAnythingRuns) {
  TempDir dir;
  dir.Write("bad.txt", "wait 10\nmove 1\n");
  auto r = RunHost({"--headless", "--trace", dir.File("t.jsonl"), "--scenario", dir.File("bad.txt"), SampleSkin("hello")},
                   dir);
  EXPECT_EQ(r.exitCode, 3);
  EXPECT_NE(r.errors.find("line 2"), std::string::npos) << r.errors;
  EXPECT_TRUE(ReadTrace(dir.File("t.jsonl")).empty());
}

TEST(Lifecycle, MissingPluginSkinOrArgumentsAreClearErrors) {
  TempDir dir;
  auto noPlugin = RunHost({"--headless", "--plugin", dir.File("nothing.so"), SampleSkin("hello")}, dir);
  EXPECT_EQ(noPlugin.exitCode, 1);
  EXPECT_NE(noPlugin.errors.find("cannot load the plug-in"), std::string::npos) << noPlugin.errors;

  // A library that is not a plug-in: its first missing export is named.
  auto notPlugin = RunHost({"--headless", "--plugin", std::string(KIV_BIN_DIR) + "/libkivimg.so", SampleSkin("hello")}, dir);
  EXPECT_EQ(notPlugin.exitCode, 1);
  EXPECT_NE(notPlugin.errors.find("does not export OnGetInformation"), std::string::npos) << notPlugin.errors;

  auto noSkin = RunHost({"--headless", dir.File("missing.xml")}, dir);
  EXPECT_EQ(noSkin.exitCode, 1);
  EXPECT_NE(noSkin.errors.find("does not exist"), std::string::npos);

  auto usage = RunHost({"--headless"}, dir);
  EXPECT_EQ(usage.exitCode, 2);
  EXPECT_NE(usage.errors.find("usage:"), std::string::npos);
}

}  // namespace
}  // namespace e2e
