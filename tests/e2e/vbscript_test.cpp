// The VB Counter sample, whose code is VBScript: the creation statement
// calls two Subs of the skin's script, a click runs a Sub that changes a
// global and the layer's text and the desklet's label, a statement of
// several parts resets the count, and a timer's statement runs a Sub on
// every tick; the globals persist from one statement to the next.
#include <gtest/gtest.h>


#include "kivhost_run.h"

namespace e2e {
namespace {

using testing_support::TempDir;

json LayerNamed(const json& state, const std::string& name) {
  for (const auto& l : state["desklets"][0]["layers"])
    if (l["name"] == name) return l;
  return nullptr;
}

// The number after "ticks " in the sub-label; -1 when it shows none.
int TicksOf(const json& desklet) {
  const std::string sublabel = desklet["sublabel"].is_string() ? desklet["sublabel"].get<std::string>() : "";
  const std::string prefix = "ticks ";
  if (sublabel.size() <= prefix.size() || sublabel.compare(0, prefix.size(), prefix) != 0) return -1;
  const std::string digits = sublabel.substr(prefix.size());
  if (digits.size() > 6 || digits.find_first_not_of("0123456789") != std::string::npos) return -1;
  return std::stoi(digits);
}

TEST(VBScriptSkin, ClicksAndTimerTicksRunTheSkinsSubs) {
  TempDir dir;
  // The count spans 0..110 by 2..26, the reset 110..160 by 2..26.
  dir.Write("s.txt",
            "state " + dir.File("created.json") + "\n"
            "click 50 14\n"
            "click 50 14\n"
            "click 50 14\n"
            "state " + dir.File("clicked.json") + "\n"
            "wait 1300\n"
            "state " + dir.File("ticked.json") + "\n"
            "click 135 14\n"
            "state " + dir.File("reset.json") + "\n"
            "click 50 14\n"
            "state " + dir.File("again.json") + "\n");
  auto r = RunHost({"--headless", "--trace", dir.File("t.jsonl"), "--scenario", dir.File("s.txt"),
                    SampleSkin("vbcounter")},
                   dir);
  ASSERT_EQ(r.exitCode, 0) << r.errors;
  const json created = ReadJson(dir.File("created.json")), clicked = ReadJson(dir.File("clicked.json")),
             ticked = ReadJson(dir.File("ticked.json")), reset = ReadJson(dir.File("reset.json")),
             again = ReadJson(dir.File("again.json"));
  ASSERT_EQ(created["desklets"].size(), 1u);

  EXPECT_EQ(created["desklets"][0]["label"], "VB Counter: 0") << "the creation statement ran ShowCount";
  EXPECT_EQ(clicked["desklets"][0]["label"], "VB Counter: 3") << "each click ran Increment once";
  EXPECT_NE(LayerNamed(clicked, "count")["image"]["sha256"], LayerNamed(created, "count")["image"]["sha256"])
      << "the count's text was redrawn";

  const int ticksBefore = TicksOf(clicked["desklets"][0]);
  const int ticksAfter = TicksOf(ticked["desklets"][0]);
  EXPECT_GE(ticksAfter, 1) << ticked["desklets"][0]["sublabel"];
  EXPECT_GT(ticksAfter, ticksBefore) << "the timer kept ticking while the scenario waited";
  EXPECT_NE(LayerNamed(ticked, "time")["image"]["sha256"], nullptr);
  EXPECT_EQ(ticked["desklets"][0]["label"], "VB Counter: 3") << "ticks leave the count alone";

  EXPECT_EQ(reset["desklets"][0]["label"], "VB Counter: 0") << "the reset statement's two parts both ran";
  EXPECT_EQ(again["desklets"][0]["label"], "VB Counter: 1") << "the global counts on from the reset";

  for (const json* state : {&created, &clicked, &ticked, &reset, &again})
    EXPECT_TRUE((*state)["desklets"][0]["errorLog"].empty()) << (*state)["desklets"][0]["errorLog"];

  auto trace = ReadTrace(dir.File("t.jsonl"));
  EXPECT_GE(CallsOf(trace, "DeskletSetLabelW").size(), 5u) << "creation, three clicks, reset and one more click";
}

TEST(VBScriptSkin, AFailingVBScriptStatementIsLoggedAndTheDeskletRunsOn) {
  TempDir dir;
  dir.Write("vb/vb.vbs", "Dim n\nn = 0\nSub Bump()\n  n = n + 1\n  kiv.DeskletLabel = \"n=\" & n\nEnd Sub\n");
  dir.Write("vb/vb.xml", R"xml(<skindata><skininfo><name>VB</name></skininfo>
    <sides><side id="0" width="100" height="40"/></sides>
    <desklet><label>start</label><language>VBScript</language><script>vb.vbs</script><keypressanim>0</keypressanim></desklet>
    <layers>
      <layer name="bad" src="!TXT:bad" x="0" y="0" width="50" height="40" fullhittest="1" onclick="x = 1 / 0"/>
      <layer name="good" src="!TXT:good" x="50" y="0" width="50" height="40" fullhittest="1" onclick="Bump"/>
    </layers></skindata>)xml");
  dir.Write("s.txt",
            "click 20 20\n"
            "click 70 20\n"
            "click 70 20\n"
            "state " + dir.File("s.json") + "\n");
  auto r = RunHost({"--headless", "--quiet", "--scenario", dir.File("s.txt"), dir.File("vb/vb.xml")}, dir);
  ASSERT_EQ(r.exitCode, 0) << r.errors;
  const json desklet = ReadJson(dir.File("s.json"))["desklets"][0];
  EXPECT_EQ(desklet["label"], "n=2");
  const std::string log = desklet["errorLog"].dump();
  EXPECT_NE(log.find("Division by zero"), std::string::npos) << log;
  EXPECT_NE(log.find("Microsoft VBScript runtime error"), std::string::npos) << log;
}

}  // namespace
}  // namespace e2e
