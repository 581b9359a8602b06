// The host's own menu for a desklet: where its window stays among the other
// windows is chosen there, shown checked, kept in the desklet's settings
// and restored with it.
#include <gtest/gtest.h>

#include "kivhost_run.h"

namespace e2e {
namespace {

using testing_support::TempDir;

TEST(HostMenu, WhereTheWindowStaysIsChosenSavedAndRestored) {
  TempDir dir;
  const std::string skin = SampleSkin("hello");
  const std::string ini = dir.File("desklets.ini");
  // A right click where no layer takes it shows the host's menu; command 6
  // keeps the desklet above the other windows.
  dir.Write("choose.txt", "answer menu 6\nrclick 230 150\nstate " + dir.File("s1.json") + "\n");
  auto r = RunHost({"--headless", "--quiet", "--trace", dir.File("t.jsonl"), "--settings", ini, "--section", "D1",
                    "--scenario", dir.File("choose.txt"), skin},
                   dir);
  ASSERT_EQ(r.exitCode, 0) << r.errors;
  EXPECT_EQ(ReadJson(dir.File("s1.json"))["desklets"][0]["stacking"], "above");
  const auto menus = CallsOf(ReadTrace(dir.File("t.jsonl")), "HostMenu");
  ASSERT_EQ(menus.size(), 1u);
  EXPECT_EQ(menus[0]["ret"], 6);
  EXPECT_NE(ReadText(ini).find("Stacking=above"), std::string::npos) << ReadText(ini);

  dir.Write("look.txt", "state " + dir.File("s2.json") + "\n");
  r = RunHost({"--headless", "--quiet", "--settings", ini, "--section", "D1", "--scenario", dir.File("look.txt")}, dir);
  ASSERT_EQ(r.exitCode, 0) << r.errors;
  EXPECT_EQ(ReadJson(dir.File("s2.json"))["desklets"][0]["stacking"], "above");
}

TEST(HostMenu, ClosingADeskletWithNamedSettingsSavesThem) {
  TempDir dir;
  const std::string ini = dir.File("desklets.ini");
  dir.Write("close.txt", "answer menu 3\nrclick 230 150\nstate " + dir.File("s.json") + "\n");
  auto r = RunHost({"--headless", "--quiet", "--settings", ini, "--section", "D1", "--scenario", dir.File("close.txt"),
                    SampleSkin("hello")},
                   dir);
  ASSERT_EQ(r.exitCode, 0) << r.errors;
  EXPECT_TRUE(ReadJson(dir.File("s.json"))["desklets"].empty());
  const std::string saved = ReadText(ini);
  EXPECT_NE(saved.find("SkinPath=hello/hello.xml"), std::string::npos) << saved;
  EXPECT_NE(saved.find("[D1.window]"), std::string::npos) << saved;
}

TEST(HostMenu, ANewDeskletStaysBelowOtherWindows) {
  TempDir dir;
  dir.Write("look.txt", "state " + dir.File("s.json") + "\n");
  auto r = RunHost({"--headless", "--quiet", "--scenario", dir.File("look.txt"), SampleSkin("hello")}, dir);
  ASSERT_EQ(r.exitCode, 0) << r.errors;
  EXPECT_EQ(ReadJson(dir.File("s.json"))["desklets"][0]["stacking"], "below");
}

}  // namespace
}  // namespace e2e
