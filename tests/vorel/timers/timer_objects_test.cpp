// Timers as a skin defines them and as scripts see them: the reader, the
// timers collection, the timer object, the delay texts, and the messages by
// which timer threads reach the window thread. Nothing here waits for real
// time; the threads have their own tests.
#include <gmock/gmock.h>

#include "platform/xml/document.h"
#include "tests/support/test_host.h"
#include "tests/vorel/objects/object_fixture.h"
#include "vorel/host/messages.h"
#include "vorel/runtime/timer_control.h"
#include "vorel/runtime/timer_delay.h"
#include "vorel/runtime/window_messages.h"
#include "vorel/util/errors.h"

using ::testing::HasSubstr;

namespace objecttest {
namespace {

class TimerTest : public ObjectFixture {
 protected:
  // A skin with these timers and one layer, "t".
  void LoadTimers(const std::string& timersXml, const std::string& parameters = "") {
    LoadSkin(R"~(<skindata><skininfo><name>Timers</name></skininfo><parameters>)~" + parameters +
             R"~(</parameters><sides><side id="0" width="50" height="20"/></sides><desklet><label>x</label></desklet>
                <timers>)~" + timersXml + R"~(</timers><layers><layer name="t" text="0"/></layers></skindata>)~");
    ForgetCalls();
  }
  vorel::TTimerList& Timers() { return D().timing.timers; }
  vorel::TTimerDelay Delay(const std::string& text) { return vorel::ParseTimerDelay(D(), text); }
  std::string ErrorOfDelay(const std::string& text) {
    try {
      Delay(text);
    } catch (const std::exception& e) {
      return e.what();
    }
    return "";
  }
  std::string LogText() {
    std::string text;
    for (const auto& line : D().errorLog.Lines()) text += line + "\n";
    return text;
  }
};

TEST_F(TimerTest, UnnamedTimersAreNumbered) {
  LoadTimers(R"~(<timer type="2" interval="3600" ontimer="a()"/>
                <timer type="2" interval="7200" ontimer="b()"/>)~");
  ASSERT_EQ(Timers().Count(), 2u);
  EXPECT_EQ(Timers().At(0)->name, "name1");
  EXPECT_EQ(Timers().At(1)->name, "name2");
  // Started at the end of the load: the delays are converted.
  EXPECT_EQ(Timers().At(0)->seconds, 3600);
  EXPECT_EQ(Timers().At(1)->seconds, 7200);
  EXPECT_FALSE(D().timing.secondsThread->Suspended());
}

TEST_F(TimerTest, ATimerDefinedTwiceIsOneTimerAndOneWithoutIntervalIsNone) {
  LoadTimers(R"~(<timer name="twice" type="4" interval="30" ontimer="first()"/>
                <timer name="twice" type="4" interval="%Period%" ontimer="second()"/>
                <timer name="noInterval" type="2" ontimer="c()"/>)~",
             R"~(<param name="Period" default="60"/>)~");
  ASSERT_EQ(Timers().Count(), 1u);
  EXPECT_EQ(Timers().At(0)->name, "twice");
  EXPECT_EQ(Timers().At(0)->onTimer, "second()");
  EXPECT_EQ(Timers().At(0)->delay, "60");
  EXPECT_EQ(Timers().At(0)->seconds, 60);
}

TEST_F(TimerTest, AnOmittedAttributeShiftsTheLaterTimersAndTheAuthorIsTold) {
  LoadTimers(R"~(<timer name="a" type="2" ontimer="a()"/>
                 <timer name="b" type="2" interval="5" ontimer="b()"/>)~");
  ASSERT_EQ(Timers().Count(), 1u);
  EXPECT_EQ(Timers().At(0)->name, "a");
  EXPECT_EQ(Timers().At(0)->delay, "5");
  EXPECT_THAT(LogText(), HasSubstr("interval"));
}

TEST_F(TimerTest, ATypeAbove255FailsTheLoad) {
  LoadTimers(R"~(<timer name="t" type="256" interval="1" ontimer="a()"/>)~");
  EXPECT_TRUE(Timers().Empty());
  EXPECT_THAT(LogText(), HasSubstr("Range check error"));
  EXPECT_EQ(D().FindLayerByName("t"), nullptr);
}

TEST_F(TimerTest, OneUnreadableDelayLeavesTheOtherTimersRunning) {
  LoadTimers(R"~(<timer name="bad" type="2" interval="soon" ontimer="a()"/>
                <timer name="good" type="2" interval="01:30:00" ontimer="b()"/>
                <timer name="badMs" type="0" interval="-5" ontimer="c()"/>)~");
  EXPECT_EQ(Timers().At(0)->seconds, -1);
  EXPECT_EQ(Timers().At(1)->seconds, 5400);
  EXPECT_EQ(Timers().At(2)->milliseconds, 0u);
  const std::string log = LogText();
  EXPECT_THAT(log, HasSubstr("'soon' is not a valid integer value"));
  EXPECT_THAT(log, HasSubstr("timer \"bad\""));
  EXPECT_THAT(log, HasSubstr("Range check error"));
  EXPECT_THAT(log, HasSubstr("timer \"badMs\""));
}

TEST_F(TimerTest, DelaysAreNumbersTimesOrDates) {
  EXPECT_EQ(Delay("3600").seconds, 3600);
  EXPECT_EQ(Delay("3600").date, 0);
  EXPECT_EQ(Delay("01:00:00").seconds, 3600);
  EXPECT_EQ(Delay("01:00:00").date, 0);
  const vorel::TTimerDelay dated = Delay("2026-12-08 01:00:05");
  EXPECT_EQ(dated.date, 46364);
  EXPECT_EQ(dated.seconds, 3605);
  EXPECT_EQ(Delay("12/08/26 01:00:05").date, 46364);
  EXPECT_EQ(Delay("-5").seconds, -5);  // a sign is no date separator
  EXPECT_EQ(Delay("").seconds, -1);
  EXPECT_THAT(ErrorOfDelay("abc"), HasSubstr("'abc' is not a valid integer value"));
  EXPECT_THAT(ErrorOfDelay("1-2"), HasSubstr("'1-2' is not a valid date and time"));
}

TEST_F(TimerTest, DelaysAreExpandedAndMayComeFromScriptsOrData) {
  LoadTimers("", R"~(<param name="When" default="02:00:00"/>)~");
  EXPECT_EQ(Delay("%When%").seconds, 7200);
  EXPECT_EQ(Delay("!SCRIPT:60*30").seconds, 1800);
  vorel::TXMLInfo source;
  source.Document = std::make_shared<xml::Document>();
  ASSERT_TRUE(source.Document->LoadXML(R"~(<alarm at="06:30:00"><none/></alarm>)~"));
  D().data.xmlSources.push_back(source);
  EXPECT_EQ(Delay("!XML:0[/alarm/@at]").seconds, 6 * 3600 + 30 * 60);
  // No data: the timer stays stopped.
  EXPECT_EQ(Delay("!XML:0[/alarm/none]").seconds, -1);
  EXPECT_EQ(Delay("!XML:3[/alarm/@at]").seconds, -1);
}

TEST_F(TimerTest, MillisecondPeriodsAreIntegersOfNoSign) {
  LoadTimers("", R"~(<param name="P" default="250"/>)~");
  EXPECT_EQ(vorel::ReadTimerMilliseconds(D(), "%P%"), 250u);
  EXPECT_EQ(vorel::ReadTimerMilliseconds(D(), "0"), 0u);
  EXPECT_THROW(vorel::ReadTimerMilliseconds(D(), "-1"), vorel::KivError);
  EXPECT_THROW(vorel::ReadTimerMilliseconds(D(), "1.5"), vorel::KivError);
}

TEST_F(TimerTest, TheCollectionFindsMakesAndDeletesTimers) {
  LoadTimers(R"~(<timer name="a" type="2" interval="1" ontimer="x()"/>
                <timer name="b" type="2" interval="1" ontimer="y()"/>)~");
  Timers().At(1)->name = "a";
  EXPECT_EQ(Eval("Timers.Count"), "2");
  EXPECT_EQ(Eval("Timers('a').OnTimer"), "y()") << "the later of two names";
  EXPECT_EQ(Eval("Timers(0).OnTimer"), "x()");
  EXPECT_EQ(Eval("Timers('none') == null"), "True");
  EXPECT_EQ(Eval("Timers(5) == null"), "True");
  EXPECT_EQ(Eval("Timers.New('c', '500', 'z()', 1).Name"), "c");
  EXPECT_EQ(Eval("Timers.New('d', '', 'z()', 1) == null"), "True");
  EXPECT_EQ(Eval("Timers.New('', '7', 'z()', 4).Name"), "name4");
  EXPECT_THAT(ErrorOf("Timers.New('e', '1', 'z()', 256)"), HasSubstr("Range check error"));
  EXPECT_THAT(ErrorOf("Timers.New('e', '1')"), HasSubstr("Could not convert variant"));
  EXPECT_EQ(Eval("Timers.Count"), "4");
  const vorel::TTimerRef c = Timers().At(2);
  EXPECT_EQ(c->seconds, -1) << "a new timer waits for ResetTimer";
  EXPECT_EQ(Eval("Timers.Delete('c')"), "True");
  EXPECT_EQ(Eval("Timers.Delete('c')"), "False");
  EXPECT_EQ(Eval("Timers.Delete(0)"), "True");
  EXPECT_EQ(Eval("Timers.Count"), "2");
  Run("var names = ''; for (var e = new Enumerator(Timers); !e.atEnd(); e.moveNext()) names += e.item().Name + ';'");
  EXPECT_EQ(Eval("names"), "a;name4;");
}

TEST_F(TimerTest, SettingTheDelayOrTypeWaitsForResetTimer) {
  LoadTimers(R"~(<timer name="ms" type="0" interval="500" ontimer="x()"/>
                <timer name="alarm" type="2" interval="3600" ontimer="y()"/>)~");
  Run("var t = Timers('ms'); t.Delay = '900'; t.TimerType = 1");
  EXPECT_EQ(Timers().At(0)->milliseconds, 500u);
  EXPECT_EQ(Eval("t.Delay + ' ' + t.TimerType"), "900 1");
  Run("t.ResetTimer()");
  EXPECT_EQ(Timers().At(0)->milliseconds, 900u);
  Run("var a = Timers('alarm'); a.Delay = '02:00:00'");
  EXPECT_EQ(Timers().At(1)->seconds, 3600);
  Run("a.ResetTimer()");
  EXPECT_EQ(Timers().At(1)->seconds, 7200);
  Run("a.StopTimer()");
  EXPECT_EQ(Timers().At(1)->seconds, -1);
  Run("t.Delay = '-3'");
  EXPECT_THAT(ErrorOf("t.ResetTimer()"), HasSubstr("Range check error"));
  Run("a.OnTimer = 'z()'; a.Name = 'renamed'");
  EXPECT_EQ(Timers().At(1)->onTimer, "z()");
  EXPECT_EQ(Timers().At(1)->name, "renamed");
}

TEST_F(TimerTest, RunMessagesNameTheRecordByIdAndIgnoreUnknownOnes) {
  LoadTimers(R"~(<timer name="a" type="2" interval="1" ontimer="ran = (typeof ran == 'undefined' ? 0 : ran) + 1"/>)~");
  const vorel::TTimerRef a = Timers().At(0);
  vorel::HandleWindowMessage(D(), vorel::MSG_RUN_TIMER, a->id, 0, nullptr);
  EXPECT_EQ(Eval("ran"), "1");
  // An address or any other number names no timer.
  vorel::HandleWindowMessage(D(), vorel::MSG_RUN_TIMER, reinterpret_cast<WPARAM>(a.get()), 0, nullptr);
  vorel::HandleWindowMessage(D(), vorel::MSG_RUN_TIMER, a->id + 1000, 0, nullptr);
  EXPECT_EQ(Eval("ran"), "1");
  // Deleted by a script and still held by it: it still runs.
  Run("var held = Timers('a'); Timers.Delete('a')");
  vorel::HandleWindowMessage(D(), vorel::MSG_RUN_TIMER, a->id, 0, nullptr);
  EXPECT_EQ(Eval("ran"), "2");
  EXPECT_EQ(Eval("held.Name"), "a");
}

TEST_F(TimerTest, DropMessagesRemoveTheTimerForGood) {
  LoadTimers(R"~(<timer name="once" type="1" interval="100000" ontimer="ran = 1"/>)~");
  const uint64_t id = Timers().At(0)->id;
  vorel::HandleWindowMessage(D(), vorel::MSG_DROP_TIMER, id, 0, nullptr);
  EXPECT_TRUE(Timers().Empty());
  vorel::HandleWindowMessage(D(), vorel::MSG_RUN_TIMER, id, 0, nullptr);
  EXPECT_EQ(Eval("typeof ran"), "undefined");
  vorel::HandleWindowMessage(D(), vorel::MSG_DROP_TIMER, id, 0, nullptr);  // nothing left to drop
}

TEST_F(TimerTest, AStatementErrorNamesTheTimer) {
  LoadTimers(R"~(<timer name="broken" type="2" interval="1" ontimer="nosuchfunction()"/>)~");
  vorel::HandleWindowMessage(D(), vorel::MSG_RUN_TIMER, Timers().At(0)->id, 0, nullptr);
  EXPECT_THAT(LogText(), HasSubstr("timer \"broken\" ontimer"));
}

TEST_F(TimerTest, EnableTimersSuspendsAndResumesTheTicker) {
  LoadTimers(R"~(<timer name="a" type="4" interval="30" ontimer="x()"/>)~");
  ASSERT_FALSE(D().timing.secondsThread->Suspended());
  Run("EnableTimers(false)");
  EXPECT_TRUE(D().timing.secondsThread->Suspended());
  // A timer started meanwhile does not wake a disabled ticker.
  Run("Timers('a').ResetTimer()");
  EXPECT_TRUE(D().timing.secondsThread->Suspended());
  Run("EnableTimers(true)");
  EXPECT_FALSE(D().timing.secondsThread->Suspended());
}

TEST_F(TimerTest, AnIdleDeskletKeepsItsTickerAsleepUntilAClockTimerStarts) {
  LoadTimers(R"~(<timer name="ms" type="0" interval="100000" ontimer="x()"/>)~");
  EXPECT_TRUE(D().timing.secondsThread->Suspended());
  Run("Timers.New('clock', '60', 'y()', 4)");
  EXPECT_TRUE(D().timing.secondsThread->Suspended());
  Run("Timers('clock').ResetTimer()");
  EXPECT_FALSE(D().timing.secondsThread->Suspended());
}

}  // namespace
}  // namespace objecttest
