// Timers in kivhost: millisecond timers fire on their threads, their
// statements run on the window thread, a one-shot timer fires once, and
// kivhost closes a desklet whose timers still run.
#include <gtest/gtest.h>

#include "kivhost_run.h"

namespace e2e {
namespace {

using testing_support::TempDir;

TEST(Timers, StatementsRunFromTimerThreadsAndStop) {
  TempDir dir;
  dir.Write("timers/timers.xml", R"xml(<skindata><skininfo><name>Timers</name></skininfo>
    <sides><side id="0" width="40" height="20"/></sides>
    <desklet><label>none</label><oncreate>var n = 0, once = 0</oncreate></desklet>
    <timers>
      <timer name="r" type="0" interval="80" ontimer="n++; if (n == 3) Timers('r').StopTimer(); kiv.DeskletLabel = 'r' + n"/>
      <timer name="o" type="1" interval="120" ontimer="kiv.SetSubLabel('once' + (++once) + ' of ' + Timers.Count)"/>
      <timer name="later" type="2" interval="23:59:59" ontimer="kiv.DeskletLabel = 'alarm'"/>
    </timers></skindata>)xml");
  dir.Write("s.txt", "wait 900\nstate " + dir.File("s.json") + "\n");
  auto r = RunHost({"--headless", "--scenario", dir.File("s.txt"), dir.File("timers/timers.xml")}, dir);
  ASSERT_EQ(r.exitCode, 0) << r.errors;
  const json state = ReadJson(dir.File("s.json"));
  const json& desklet = state["desklets"][0];
  EXPECT_EQ(desklet["label"], "r3");
  // The one-shot timer's record was still there while its statement ran.
  EXPECT_EQ(desklet["sublabel"], "once1 of 3");
  EXPECT_TRUE(desklet["errorLog"].empty()) << desklet["errorLog"];
}

TEST(Timers, ABadDelayIsReportedAndTheOtherTimersRun) {
  TempDir dir;
  dir.Write("bad/bad.xml", R"xml(<skindata><skininfo><name>Bad</name></skininfo>
    <sides><side id="0" width="40" height="20"/></sides>
    <desklet><label>x</label></desklet>
    <timers>
      <timer name="broken" type="2" interval="noon" ontimer="kiv.DeskletLabel = 'broken'"/>
      <timer name="fine" type="1" interval="50" ontimer="kiv.DeskletLabel = 'fine'"/>
    </timers></skindata>)xml");
  dir.Write("s.txt", "wait 400\nstate " + dir.File("s.json") + "\n");
  auto r = RunHost({"--headless", "--quiet", "--scenario", dir.File("s.txt"), dir.File("bad/bad.xml")}, dir);
  ASSERT_EQ(r.exitCode, 0) << r.errors;
  const json desklet = ReadJson(dir.File("s.json"))["desklets"][0];
  EXPECT_EQ(desklet["label"], "fine");
  EXPECT_NE(desklet["errorLog"].dump().find("'noon' is not a valid integer value"), std::string::npos)
      << desklet["errorLog"];
}

}  // namespace
}  // namespace e2e
