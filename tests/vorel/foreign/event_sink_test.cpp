// Foreign objects and their events: CreateObject by ProgID, events that
// reach the procedures named by the prefix with their arguments, one sink
// per prefix and ProgID, disconnecting (also inside an event), and objects
// that fire after their desklet is gone. A test class fires on demand,
// from the calling thread or another; the platform's own timer fires by
// itself.
#include <gmock/gmock.h>

#include <chrono>
#include <thread>

#include "platform/automation/interface_registry.h"
#include "platform/automation/prog_id_registry.h"
#include "platform/classes/event_source.h"
#include "tests/support/test_host.h"
#include "tests/vorel/objects/object_fixture.h"
#include "vorel/model/desklet.h"
#include "vorel/runtime/event_sinker.h"

using namespace std::chrono_literals;
using testing::HasSubstr;

namespace foreigntest {
namespace {

constexpr automation::Guid kIidBell{0x6B0E1001, 0x2222, 0x4333, {0x84, 0x44, 0x55, 0x55, 0x66, 0x66, 0x77, 0x01}};
constexpr automation::Guid kIidBellEvents{0x6B0E1002, 0x2222, 0x4333, {0x84, 0x44, 0x55, 0x55, 0x66, 0x66, 0x77, 0x02}};

// Rings on demand: Ring(a, b) fires Rang(a, b) and Unnamed (id 9, which
// the event interface does not name); RingLater fires from another thread.
class Bell : public classes::EventSource<Bell> {
 public:
  static const automation::DispatchTable<Bell>& Table() {
    static const automation::DispatchTable<Bell> table =
        automation::DispatchTable<Bell>("ITestBell", kIidBell)
            .Method("Ring", 1, &Bell::Ring, {automation::Param("A"), automation::Param("B")})
            .Method("RingLater", 2, &Bell::RingLater, {automation::Param("A")})
            .Method("Sinks", 3, &Bell::Sinks);
    return table;
  }
  static std::shared_ptr<const automation::InterfaceInfo> SharedEvents() {
    static const auto events = [] {
      auto info = std::make_shared<automation::InterfaceInfo>("DTestBellEvents", kIidBellEvents);
      info->Method("Rang", 1, {automation::Param("A"), automation::Param("B")});
      return info;
    }();
    return events;
  }
  static const automation::InterfaceInfo& Events() { return *SharedEvents(); }

  void Ring(automation::Variant a, automation::Variant b) {
    Point()->Fire(1, {a, b});
    Point()->Fire(9, {a});
  }
  void RingLater(std::string a) {
    std::thread([point = Point(), a] { point->Fire(1, {automation::Variant(a), automation::Variant(0)}); }).join();
  }
  int32_t Sinks() { return static_cast<int32_t>(Point()->SinkCount()); }
  void Fire(const std::string& a) { Point()->Fire(1, {automation::Variant(a), automation::Variant(1)}); }
};

struct RegisterBell {
  RegisterBell() {
    automation::InterfaceRegistry::Instance().Register(Bell::SharedEvents());
    automation::ProgIdRegistry::Instance().Register(
        "Test.Bell", [] { return automation::MakeObject<Bell>().As<automation::IDispatch>(); });
  }
};

class EventSinkTest : public objecttest::ObjectFixture {
 protected:
  void SetUp() override {
    static RegisterBell registered;
    ObjectFixture::SetUp();
  }
  void Deliver() { testhost::TestHost::Get().DeliverPosted(); }
  bool DeliverUntil(const std::string& condition, std::chrono::milliseconds limit = 5s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
      Deliver();
      if (Eval(condition) == "True") return true;
      std::this_thread::sleep_for(5ms);
    }
    return false;
  }
};

TEST_F(EventSinkTest, EventsReachThePrefixedProcedureWithTheirArgumentsInOrder) {
  Run("var got = ''; function Bell_Rang(a, b) { got += a + '/' + b + ';' }");
  Run("var bell = CreateObject('test.BELL', 'Bell_')");
  Run("bell.Ring('x', 2)");
  EXPECT_EQ(Eval("got"), "") << "events wait for the window's message loop";
  Deliver();
  EXPECT_EQ(Eval("got"), "x/2;");
  EXPECT_EQ(D().scripting.eventSinks.size(), 1u);
}

TEST_F(EventSinkTest, EventsFiredOnAnotherThreadRunOnTheWindowThread) {
  Run("var got = ''; function Bell_Rang(a, b) { got += a }");
  Run("var bell = CreateObject('Test.Bell', 'Bell_')");
  Run("bell.RingLater('far')");
  Deliver();
  EXPECT_EQ(Eval("got"), "far");
}

TEST_F(EventSinkTest, TheCatchAllProcedureTakesTheEventName) {
  Run("var names = ''; function Bell__(name) { names += name + ';' }");
  Run("var bell = CreateObject('Test.Bell', 'Bell_')");
  Run("bell.Ring(1, 2)");
  Deliver();
  EXPECT_EQ(Eval("names"), "Rang;") << "the unnamed event runs nothing";
}

TEST_F(EventSinkTest, OnePrefixAndProgIdKeepOneSink) {
  Run("var n = 0; function B_Rang(a, b) { n++ }");
  Run("var one = CreateObject('Test.Bell', 'B_'); var two = CreateObject('Test.Bell', 'B_')");
  EXPECT_EQ(D().scripting.eventSinks.size(), 1u);
  EXPECT_EQ(Eval("one.Sinks()"), "0") << "the first object was let go";
  Run("one.Ring(1, 1); two.Ring(1, 1)");
  Deliver();
  EXPECT_EQ(Eval("n"), "1");
}

TEST_F(EventSinkTest, ConnectAndDisconnectAnObjectTheScriptHolds) {
  Run("var n = 0; function C_Rang(a, b) { n++ }");
  Run("var bell = CreateObject('Test.Bell')");
  EXPECT_EQ(D().scripting.eventSinks.size(), 0u);
  Run("ConnectObject(bell, 'C_')");
  Run("bell.Ring(1, 1)");
  Deliver();
  EXPECT_EQ(Eval("n"), "1");
  Run("DisconnectObject(bell)");
  EXPECT_EQ(Eval("bell.Sinks()"), "0");
  Run("bell.Ring(1, 1)");
  Deliver();
  EXPECT_EQ(Eval("n"), "1");
  Run("DisconnectObject(bell); DisconnectObject(Layers)");  // never connected: nothing happens
}

TEST_F(EventSinkTest, DisconnectingInsideAnEventDropsWhatIsQueued) {
  Run("var n = 0; function D_Rang(a, b) { n++; DisconnectObject(bell) }");
  Run("var bell = CreateObject('Test.Bell', 'D_')");
  Run("bell.Ring(1, 1); bell.Ring(2, 2); bell.Ring(3, 3)");
  Deliver();
  EXPECT_EQ(Eval("n"), "1");
  EXPECT_EQ(D().scripting.eventSinks.size(), 0u);
}

TEST_F(EventSinkTest, UnknownProgIdsFailClearly) {
  EXPECT_THAT(ErrorOf("CreateObject('No.Such.Thing')"), HasSubstr("ActiveX component can't create object: 'No.Such.Thing'"));
  EXPECT_THAT(ErrorOf("CreateObject('Test.Bell', '', false)"), HasSubstr("can't create object"));
  EXPECT_EQ(Eval("CreateObject('') == null"), "True");
}

TEST_F(EventSinkTest, TheTimerOfThePlatformTicksIntoTheScript) {
  Run("var ticks = 0, last = 0; function T_Tick(count) { ticks++; last = count; if (count == 3) t.Stop() }");
  Run("var t = CreateObject('Vorel.Timer', 'T_'); t.Interval = 10; t.Start()");
  ASSERT_TRUE(DeliverUntil("last == 3"));
  std::this_thread::sleep_for(50ms);
  Deliver();
  EXPECT_EQ(Eval("ticks"), "3");
  EXPECT_EQ(Eval("t.Ticks"), "3");
  EXPECT_THAT(ErrorOf("t.Interval = 0"), HasSubstr("Range check error"));
}

TEST_F(EventSinkTest, TheFileSystemOfThePlatformTellsOfChanges) {
  const std::string folder = dir_.Path() + "watched";
  Run("var seen = ''; function F_Changed(name) { seen += 'changed ' + name + ';' }"
      "function F_Deleted(name) { seen += 'deleted ' + name + ';' }");
  Run("var fs = CreateObject('Vorel.FileSystem', 'F_')");
  EXPECT_EQ(Eval("fs.CreateFolder('" + folder + "')"), "True");
  EXPECT_EQ(Eval("fs.Watch('" + folder + "')"), "True");
  EXPECT_EQ(Eval("fs.WriteText('" + folder + "/a.txt', 'hello')"), "True");
  EXPECT_EQ(Eval("fs.ReadText('" + folder + "/a.txt')"), "hello");
  ASSERT_TRUE(DeliverUntil("seen.indexOf('a.txt') >= 0"));
  EXPECT_EQ(Eval("fs.DeleteFile('" + folder + "/a.txt')"), "True");
  ASSERT_TRUE(DeliverUntil("seen.indexOf('deleted a.txt') >= 0"));
  EXPECT_EQ(Eval("fs.FileExists('" + folder + "/a.txt')"), "False");
  EXPECT_EQ(Eval("fs.Watch('" + folder + "/none')"), "False");
  EXPECT_THAT(ErrorOf("fs.ReadText('" + folder + "/none.txt')"), HasSubstr("Cannot open file"));
}

TEST_F(EventSinkTest, AnObjectThatFiresAfterTheDeskletIsGoneReachesNothing) {
  automation::ComPtr<Bell> kept = automation::MakeObject<Bell>();
  Run("var n = 0; function G_Rang(a, b) { n++ }");
  vorel::ConnectEvents(D(), kept.Get(), "", "G_");
  kept->Fire("queued");  // waits in the queue when the desklet goes
  EXPECT_EQ(kept->Sinks(), 1);
  TearDown();
  instance_ = nullptr;
  EXPECT_EQ(kept->Sinks(), 0) << "the desklet let go of its connection";
  const size_t posted = testhost::TestHost::Get().Posted().size();
  kept->Fire("late");
  std::thread([&] { kept->Fire("later"); }).join();
  EXPECT_EQ(testhost::TestHost::Get().Posted().size(), posted) << "nothing more is posted to the gone window";
  testhost::TestHost::Get().Reset();
}

TEST_F(EventSinkTest, AConnectionReleasedOnTheFiringThreadIsHarmless) {
  // The sink is let go while another thread holds it for firing.
  automation::ComPtr<Bell> bell = automation::MakeObject<Bell>();
  vorel::ConnectEvents(D(), bell.Get(), "", "H_");
  std::thread firing([&] {
    for (int i = 0; i < 200; ++i) bell->Fire("x");
  });
  vorel::DisconnectEvents(D(), static_cast<automation::IDispatch*>(bell.Get()));
  firing.join();
  Deliver();
  EXPECT_EQ(bell->Sinks(), 0);
}

}  // namespace
}  // namespace foreigntest
