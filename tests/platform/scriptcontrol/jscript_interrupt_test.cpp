// A call past its time limit is stopped wherever the script is: in loops
// that never call the host, inside the script's own try blocks, and on
// every thread that runs engines, each by its own limit.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <string>
#include <thread>

#include "platform/automation/com_object.h"
#include "platform/automation/sample_object.h"
#include "platform/scriptcontrol/jscript/jscript_engine.h"

namespace scriptcontrol::jscript {
namespace {

using automation::Variant;
using Clock = std::chrono::steady_clock;

constexpr int32_t kOutOfStack = static_cast<int32_t>(0x800A001Cu);

struct Outcome {
  ScriptError error;
  double seconds = 0;
};

Outcome RunUntilStopped(JScriptEngine& engine, const std::string& statement) {
  Outcome outcome;
  const Clock::time_point start = Clock::now();
  try {
    engine.ExecuteStatement(statement);
  } catch (const ScriptFailure& f) {
    outcome.error = f.Error();
  }
  outcome.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return outcome;
}

TEST(JScriptInterruptTest, PureLoopsStopAtTheLimit) {
  JScriptEngine engine;
  engine.SetTimeout(100);
  for (const char* loop : {"while (true) {}", "for (;;) { var x = 1; }", "var i = 0; do { i = (i + 1) % 7; } while (i >= 0);",
                           "while (true) { try { while (true) {} } catch (e) {} }"}) {
    Outcome outcome = RunUntilStopped(engine, loop);
    EXPECT_EQ(outcome.error.number, kTimeoutErrorNumber) << loop;
    EXPECT_EQ(outcome.error.description, "Script execution timed out") << loop;
    EXPECT_EQ(outcome.error.source, kRuntimeErrorSource) << loop;
    EXPECT_LT(outcome.seconds, 2.0) << loop;
    EXPECT_GE(outcome.seconds, 0.09) << loop;
  }
}

TEST(JScriptInterruptTest, TheEngineWorksOnAfterAStop) {
  JScriptEngine engine;
  engine.AddCode("var total = 0; function add(n) { total += n; return total; }");
  engine.SetTimeout(50);
  EXPECT_EQ(RunUntilStopped(engine, "while (true) { total++; }").error.number, kTimeoutErrorNumber);
  engine.ExecuteStatement("total = 0;");
  EXPECT_EQ(engine.Run("add", {Variant(5)}), Variant(5));
  EXPECT_EQ(engine.Eval("add(2)"), Variant(7));
  // A fresh call has its whole limit again.
  EXPECT_EQ(engine.Eval("var n = 0; for (var i = 0; i < 1000; i++) n += i; n"), Variant(499500));
  engine.SetTimeout(-1);
  EXPECT_EQ(engine.Eval("add(1)"), Variant(8));
}

TEST(JScriptInterruptTest, EndlessRecursionEndsEitherWay) {
  JScriptEngine engine;
  engine.SetTimeout(2000);
  for (const char* recursion : {"function f(n) { return f(n + 1); } f(0);",
                                "function g(n) { try { return g(n + 1); } catch (e) { return g(n + 1); } } g(0);"}) {
    Outcome outcome = RunUntilStopped(engine, recursion);
    EXPECT_TRUE(outcome.error.number == kOutOfStack || outcome.error.number == kTimeoutErrorNumber)
        << recursion << ": " << outcome.error.number << " " << outcome.error.description;
    EXPECT_LT(outcome.seconds, 10.0) << recursion;
  }
  EXPECT_EQ(engine.Eval("1 + 1"), Variant(2));
}

TEST(JScriptInterruptTest, WithoutALimitAShortCallIsNotStopped) {
  JScriptEngine engine;
  EXPECT_EQ(engine.Eval("var n = 0; for (var i = 0; i < 100000; i++) n += 1; n"), Variant(100000));
}

TEST(JScriptInterruptTest, EnginesOnTwoThreadsStopByTheirOwnLimits) {
  auto run = [](int32_t limit) {
    JScriptEngine engine;
    engine.SetTimeout(limit);
    Outcome outcome = RunUntilStopped(engine, "for (;;) {}");
    // The thread's engine works on after its stop.
    engine.SetTimeout(-1);
    EXPECT_EQ(engine.Eval("6 * 7"), Variant(42));
    return outcome;
  };
  std::future<Outcome> shortLimit = std::async(std::launch::async, run, 100);
  std::future<Outcome> longLimit = std::async(std::launch::async, run, 600);
  // Meanwhile this thread's engine runs unhindered.
  JScriptEngine here;
  EXPECT_EQ(here.Eval("var s = 0; for (var i = 0; i < 1000; i++) s += i; s"), Variant(499500));
  Outcome first = shortLimit.get();
  Outcome second = longLimit.get();
  EXPECT_EQ(first.error.number, kTimeoutErrorNumber);
  EXPECT_EQ(second.error.number, kTimeoutErrorNumber);
  EXPECT_GE(first.seconds, 0.09);
  EXPECT_GE(second.seconds, 0.59);
  // Processor time: a loaded machine may stretch either, never shorten it.
  EXPECT_LT(first.seconds, 5.0);
  EXPECT_LT(second.seconds, 10.0);
}

TEST(JScriptInterruptTest, AHostCallRunningScriptIsStoppedToo) {
  const size_t before = automation::LiveObjectCount();
  {
    auto sample = automation::MakeObject<automation::testing::SampleObject>();
    JScriptEngine engine;
    engine.AddObject("kiv", sample.Get(), false);
    engine.SetTimeout(100);
    Outcome outcome = RunUntilStopped(engine, "while (true) { kiv.Add(1, 1); }");
    EXPECT_EQ(outcome.error.number, kTimeoutErrorNumber);
    EXPECT_LT(outcome.seconds, 2.0);
  }
  EXPECT_EQ(automation::LiveObjectCount(), before);
}

}  // namespace
}  // namespace scriptcontrol::jscript
