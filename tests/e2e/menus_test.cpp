// A skin's pop-up menu in kivhost: a right click on the desklet shows the
// host's desklet menu with the skin's items below, the scenario answers a
// command, and the chosen item's statement changes the label.
#include <gtest/gtest.h>

#include "kivhost_run.h"

namespace e2e {
namespace {

using testing_support::TempDir;

TEST(SkinMenus, ARightClickShowsTheSkinMenuAndRunsTheChosenItem) {
  TempDir dir;
  // The host's menu has eight entries; the skin's six items take the
  // commands 1 to 6 (Afternoon, in the sub-menu, is 3) and the host's
  // commands start at 7 (its sixth, 12, keeps the window above the others).
  dir.Write("menus.txt", "answer menu 3\nrclick 80 30\nstate " + dir.File("s1.json") +
                             "\nanswer menu 6\nrclick 80 30\nanswer menu 12\nrclick 80 30\nstate " +
                             dir.File("s2.json") + "\n");
  auto r = RunHost({"--headless", "--quiet", "--trace", dir.File("t.jsonl"), "--scenario", dir.File("menus.txt"),
                    SampleSkin("menus")},
                   dir);
  ASSERT_EQ(r.exitCode, 0) << r.errors;

  const json first = ReadJson(dir.File("s1.json"))["desklets"][0];
  EXPECT_EQ(first["label"], "Good afternoon");
  EXPECT_EQ(first["sublabel"], "chosen: Good afternoon") << "the after-popup statement ran last";
  EXPECT_EQ(first["errorLog"], json::array());
  ASSERT_EQ(first["menusShown"].size(), 1u);
  const json& items = first["menusShown"][0];
  ASSERT_EQ(items.size(), 12u) << items.dump();
  EXPECT_EQ(items[0]["text"], "Properties");
  EXPECT_EQ(items[0]["command"], 7);
  EXPECT_EQ(items[8]["text"], "Morning");
  EXPECT_EQ(items[8]["command"], 1);
  EXPECT_EQ(items[9]["text"], "Times of day");
  EXPECT_TRUE(items[9]["command"].is_null());
  ASSERT_EQ(items[9]["items"].size(), 2u);
  EXPECT_EQ(items[9]["items"][0]["text"], "Afternoon");
  EXPECT_EQ(items[9]["items"][0]["command"], 3);
  EXPECT_EQ(items[9]["items"][0]["checked"], true);
  EXPECT_EQ(items[9]["items"][1]["grayed"], true);
  EXPECT_EQ(items[10]["separator"], true);
  EXPECT_EQ(items[11]["text"], "Second column");
  EXPECT_EQ(items[11]["command"], 6);
  EXPECT_EQ(items[11]["columnBreak"], true);

  const json last = ReadJson(dir.File("s2.json"))["desklets"][0];
  EXPECT_EQ(last["label"], "Column two") << "the host's command ran no item";
  EXPECT_EQ(last["stacking"], "above");
  EXPECT_EQ(last["menusShown"].size(), 3u);
  const auto trace = ReadTrace(dir.File("t.jsonl"));
  EXPECT_EQ(CallsOf(trace, "DeskletDoDefaultMenuCommand").size(), 1u);
  EXPECT_EQ(CallsOf(trace, "WinCreatePopupMenu").size(), 3u) << "one sub-menu each time";
  EXPECT_EQ(CallsOf(trace, "HostMenu").size(), 0u) << "the skin's menu took the clicks";
}

}  // namespace
}  // namespace e2e
