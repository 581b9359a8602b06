// Timers in real time: millisecond timers on their own threads and the
// one-second ticker, with the test as the window thread that receives the
// posted messages. Periods are short; the counts allow for slow machines
// (sanitizers) but not for a wrong number of threads or firings.
//
// NOTE: the skins draw no text: Pango's own font thread would otherwise
// come into the thread checks.
#include <gmock/gmock.h>

#include <chrono>
#include <thread>

#include "platform/abi/plugin_api.h"
#include "tests/support/test_host.h"
#include "tests/vorel/render/render_fixture.h"
#include "vorel/model/script_engine.h"
#include "vorel/runtime/timer_control.h"
#include "vorel/util/date_time.h"

using namespace std::chrono_literals;

namespace timertest {
namespace {

class TimerThreadsTest : public rendertest::DeskletFixture {
 protected:
  void Run(const std::string& statement) { D().scripting.scriptEngine->ExecuteStatement(statement); }
  std::string Eval(const std::string& expression) { return D().scripting.scriptEngine->EvaluateToText(expression); }
  void LoadTimers(const std::string& timersXml) {
    LoadSkin(R"~(<skindata><skininfo><name>Timers</name></skininfo><parameters><param name="P" default="100000"/></parameters>
        <sides><side id="0" width="50" height="20"/></sides><desklet><label>x</label></desklet>
        <timers>)~" + timersXml + R"~(</timers></skindata>)~");
    ASSERT_TRUE(D().scripting.scriptEngine);
    Run("var n = 0, times = []");
  }
  // Acts as the window thread for a while: hands every posted message to
  // the plug-in.
  void PumpFor(std::chrono::milliseconds time) {
    const auto end = std::chrono::steady_clock::now() + time;
    while (std::chrono::steady_clock::now() < end) {
      testhost::TestHost::Get().DeliverPosted();
      std::this_thread::sleep_for(2ms);
    }
    testhost::TestHost::Get().DeliverPosted();
  }
  int Fired() { return std::stoi(Eval("n")); }
  size_t MilliThreads() {
    size_t count = 0;
    D().threads.Visit([&](vorel::TKivThread& t) {
      if (dynamic_cast<vorel::TMilliUserTimerThread*>(&t) && !t.Terminated()) ++count;
    });
    return count;
  }
};

TEST_F(TimerThreadsTest, ARepeatingTimerFiresEveryPeriodUntilStopped) {
  LoadTimers(R"~(<timer name="r" type="0" interval="250" ontimer="n++; times.push(new Date().getTime())"/>)~");
  PumpFor(1130ms);
  const int fired = Fired();
  EXPECT_GE(fired, 3);
  EXPECT_LE(fired, 4);
  // No two firings closer than the period allows.
  EXPECT_EQ(Eval("var close = 0; for (var i = 1; i < times.length; i++) if (times[i] - times[i-1] < 200) close++; close"), "0");
  Run("Timers('r').StopTimer()");
  PumpFor(20ms);
  const int stopped = Fired();
  PumpFor(600ms);
  EXPECT_EQ(Fired(), stopped);
  EXPECT_EQ(MilliThreads(), 0u);
  EXPECT_EQ(D().threads.Count(), 0u) << "the stopped thread was reaped";
}

TEST_F(TimerThreadsTest, AOneShotTimerFiresOnceAndLeavesTheCollection) {
  LoadTimers(R"~(<timer name="once" type="1" interval="50" ontimer="n++"/>
                 <timer name="stay" type="2" interval="1" ontimer="x()"/>)~");
  PumpFor(400ms);
  EXPECT_EQ(Fired(), 1);
  EXPECT_EQ(Eval("Timers.Count"), "1");
  EXPECT_EQ(Eval("Timers('once') == null"), "True");
  EXPECT_EQ(D().threads.Count(), 0u);
}

TEST_F(TimerThreadsTest, EnablingTwiceStartsASecondThreadPerTimer) {
  LoadTimers(R"~(<timer name="r" type="0" interval="200" ontimer="n++"/>)~");
  PumpFor(1050ms);
  const int single = Fired();
  Run("EnableTimers(true)");
  EXPECT_EQ(MilliThreads(), 2u);
  Run("n = 0");
  PumpFor(1050ms);
  EXPECT_GE(Fired(), 2 * single - 2);
  Run("EnableTimers(false)");
  EXPECT_EQ(MilliThreads(), 0u);
  PumpFor(20ms);
  const int after = Fired();
  PumpFor(450ms);
  EXPECT_EQ(Fired(), after);
}

TEST_F(TimerThreadsTest, ANewDelayWaitsForResetTimer) {
  LoadTimers(R"~(<timer name="r" type="0" interval="100" ontimer="n++"/>)~");
  Run("Timers('r').Delay = '100000'");
  PumpFor(550ms);
  EXPECT_GE(Fired(), 3) << "the old period still runs";
  Run("Timers('r').ResetTimer(); n = 0");
  PumpFor(550ms);
  EXPECT_EQ(Fired(), 0);
  EXPECT_EQ(MilliThreads(), 1u);
}

TEST_F(TimerThreadsTest, FreshDataGivesARunningTimerItsNewPeriodAtOnce) {
  LoadTimers(R"~(<timer name="r" type="0" interval="%P%" ontimer="n++"/>)~");
  Run("Timers('r').Delay = '%Q%'");
  PumpFor(100ms);
  EXPECT_EQ(Fired(), 0);
  // The data brought a value for Q; the thread's long wait takes it.
  auto q = std::make_unique<vorel::TParameter>();
  q->Name = "Q";
  q->Value = "100";
  D().parameters.push_back(std::move(q));
  vorel::ReevaluateTimerDelays(D());
  EXPECT_EQ(D().timing.timers.At(0)->milliseconds, 100u);
  PumpFor(560ms);
  EXPECT_GE(Fired(), 3);
}

TEST_F(TimerThreadsTest, ADeletedTimerKeepsFiringFromItsThread) {
  LoadTimers(R"~(<timer name="r" type="0" interval="100" ontimer="n++"/>)~");
  Run("Timers.Delete('r')");
  PumpFor(450ms);
  EXPECT_GE(Fired(), 2);
  EXPECT_EQ(Eval("Timers.Count"), "0");
}

TEST_F(TimerThreadsTest, TheTickerFiresAClockTimerOnItsSecond) {
  // Two seconds from now, as the second of the minute (0 counts as 60).
  const vorel::TDayAndTime now = vorel::SplitDateTime(vorel::NowAsDateTime() + 2.0 / 86400);
  const int32_t second = now.second == 0 ? 60 : now.second;
  LoadTimers(R"~(<timer name="c" type="4" interval=")~" + std::to_string(second) + R"~(" ontimer="n++"/>)~");
  PumpFor(3200ms);
  EXPECT_EQ(Fired(), 1);
}

TEST(TimerTeardown, DestroyingADeskletWithRunningTimersWaitsForThem) {
  testhost::TestHost::Get().Reset();
  testing_support::TempDir dir;
  const HWND window = 0x3700;
  for (int round = 0; round < 3; ++round) {
    void* instance = OnCreate(window, 1, nullptr, nullptr);
    ASSERT_NE(instance, nullptr);
    testhost::TestHost::Get().DeskletOf(window).instance = instance;
    const std::string skin = dir.Write("skin.xml", R"~(<skindata><sides><side id="0" width="10" height="10"/></sides>
        <timers><timer type="0" interval="1" ontimer="kiv.DeskletLabel = 'a'"/>
                <timer type="0" interval="3" ontimer="kiv.DeskletLabel = 'b'"/>
                <timer type="1" interval="2" ontimer="kiv.DeskletLabel = 'c'"/>
                <timer type="4" interval="1" ontimer="kiv.DeskletLabel = 'd'"/></timers></skindata>)~");
    vorel::AsDesklet(instance)->settings.skinPath = skin;
    testhost::TestHost::Get().DeliverPosted();  // loads the skin
    std::this_thread::sleep_for(20ms);
    testhost::TestHost::Get().DeliverPosted();
    OnDestroy(instance, window);
    testhost::TestHost::Get().DeskletOf(window).instance = nullptr;
    testhost::TestHost::Get().DeliverPosted();  // what the threads posted goes nowhere
  }
}

}  // namespace
}  // namespace timertest
