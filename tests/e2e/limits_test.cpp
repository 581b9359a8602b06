// Skins that would hold the host for ever or make it take gigabytes: a
// statement that never ends, recursion without end, a layer and a window of
// 30000 by 30000 pixels. Each is stopped with its error in the desklet's
// log, and the desklet goes on answering clicks.
#include <gtest/gtest.h>

#include "kivhost_run.h"

namespace e2e {
namespace {

using testing_support::TempDir;

constexpr const char* kScenario =
    "click 20 20\n"   // the endless statement
    "click 70 20\n"   // the endless recursion
    "click 120 20\n"  // an ordinary statement
    "state ";

std::string Log(const json& desklet) { return desklet["errorLog"].dump(); }

// Clicks the three layers of the skin (a folder and file of `dir`) with a
// time limit of 0.3 s; the desklet as the state dump has it afterwards.
json ClickThrough(const TempDir& dir, const std::string& skin) {
  dir.Write("s.txt", kScenario + dir.File("s.json") + "\n");
  auto r = RunHost({"--headless", "--quiet", "--time-limit", "0.3", "--scenario", dir.File("s.txt"), dir.File(skin)}, dir);
  EXPECT_EQ(r.exitCode, 0) << r.errors;
  if (r.exitCode != 0) return json{{"label", ""}, {"errorLog", json::array()}};
  return ReadJson(dir.File("s.json"))["desklets"][0];
}

TEST(Limits, EndlessVBScriptStatementsAndRecursionAreStopped) {
  TempDir dir;
  dir.Write("vb/vb.vbs", "Function Deeper(n)\n  Deeper = Deeper(n + 1)\nEnd Function\n");
  dir.Write("vb/vb.xml", R"xml(<skindata><skininfo><name>VB</name></skininfo>
    <sides><side id="0" width="150" height="40"/></sides>
    <desklet><label>start</label><language>VBScript</language><script>vb.vbs</script><keypressanim>0</keypressanim></desklet>
    <layers>
      <layer name="loop" src="!TXT:loop" x="0" y="0" width="50" height="40" fullhittest="1" onclick="Do : Loop"/>
      <layer name="deep" src="!TXT:deep" x="50" y="0" width="50" height="40" fullhittest="1" onclick="Deeper 0"/>
      <layer name="good" src="!TXT:good" x="100" y="0" width="50" height="40" fullhittest="1" onclick="kiv.DeskletLabel = &quot;fine&quot;"/>
    </layers></skindata>)xml");
  const json desklet = ClickThrough(dir, "vb/vb.xml");
  EXPECT_EQ(desklet["label"], "fine");
  EXPECT_NE(Log(desklet).find("Script ran longer than its time limit"), std::string::npos) << Log(desklet);
  EXPECT_NE(Log(desklet).find("Out of stack space"), std::string::npos) << Log(desklet);
}

TEST(Limits, JScriptRecursionAndLoopsThroughTheHostAreStoppedAndHugeSizesRefused) {
  TempDir dir;
  dir.Write("js/js.xml", R"xml(<skindata><skininfo><name>JS</name></skininfo>
    <sides><side id="0" width="150" height="40"/><side id="1" width="30000" height="30000"/></sides>
    <desklet><label>start</label><keypressanim>0</keypressanim></desklet>
    <layers>
      <layer name="huge" src="!TXT:huge" x="0" y="0" width="30000" height="30000"/>
      <layer name="loop" src="!TXT:loop" x="0" y="0" width="50" height="40" fullhittest="1"
             onclick="while (true) { kiv.DeskletLabel = 'looping'; }"/>
      <layer name="deep" src="!TXT:deep" x="50" y="0" width="50" height="40" fullhittest="1"
             onclick="function deeper(n) { return 1 + deeper(n + 1); } deeper(0);"/>
      <layer name="good" src="!TXT:good" x="100" y="0" width="50" height="40" fullhittest="1" onclick="kiv.DeskletLabel = 'fine'"/>
    </layers></skindata>)xml");
  const json desklet = ClickThrough(dir, "js/js.xml");
  EXPECT_EQ(desklet["label"], "fine");
  const std::string log = Log(desklet);
  EXPECT_NE(log.find("Script execution timed out"), std::string::npos) << log;
  EXPECT_NE(log.find("Out of stack space"), std::string::npos) << log;
  EXPECT_NE(log.find("the layer \\\"huge\\\" asks for an image of 30000 by 30000 pixels"), std::string::npos) << log;
  EXPECT_NE(log.find("side 1 is made 4096 by 4096"), std::string::npos) << log;
}

TEST(Limits, JScriptLoopsThatNeverCallTheHostAreStopped) {
  TempDir dir;
  dir.Write("js/js.xml", R"xml(<skindata><skininfo><name>JS</name></skininfo>
    <sides><side id="0" width="150" height="40"/></sides>
    <desklet><label>start</label><keypressanim>0</keypressanim></desklet>
    <layers>
      <layer name="loop" src="!TXT:loop" x="0" y="0" width="50" height="40" fullhittest="1" onclick="while (true) {}"/>
      <layer name="caught" src="!TXT:caught" x="50" y="0" width="50" height="40" fullhittest="1"
             onclick="for (;;) { try { for (;;) { var x = 1; } } catch (e) {} }"/>
      <layer name="good" src="!TXT:good" x="100" y="0" width="50" height="40" fullhittest="1" onclick="kiv.DeskletLabel = 'fine'"/>
    </layers></skindata>)xml");
  const json desklet = ClickThrough(dir, "js/js.xml");
  EXPECT_EQ(desklet["label"], "fine");
  const std::string log = Log(desklet);
  const std::string timedOut = "Script execution timed out";
  const size_t first = log.find(timedOut);
  ASSERT_NE(first, std::string::npos) << log;
  EXPECT_NE(log.find(timedOut, first + timedOut.size()), std::string::npos) << "both loops are stopped: " << log;
}

TEST(Limits, TheTimeLimitOptionIsChecked) {
  TempDir dir;
  auto r = RunHost({"--headless", "--time-limit", "forever", "skin.xml"}, dir);
  EXPECT_NE(r.exitCode, 0);
  EXPECT_NE(r.errors.find("--time-limit takes seconds"), std::string::npos) << r.errors;
}

}  // namespace
}  // namespace e2e
