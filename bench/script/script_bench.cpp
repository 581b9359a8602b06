// JScript reaching members of a dispatch object against the same loops
// reaching plain SpiderMonkey native functions (the limit): a method call, a
// property read and a property write; besides, a global member method
// and Eval of a small expression through the statement cache. At the end
// the run prints how many times slower each bridge loop is than its plain
// twin (from the medians when repetitions are asked for).
#include <benchmark/benchmark.h>
#include <js/CompilationAndEvaluation.h>
#include <js/Conversions.h>
#include <js/PropertyAndElement.h>
#include <js/SourceText.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/automation/sample_object.h"
#include "platform/scriptcontrol/jscript/sm_runtime.h"
#include "platform/scriptcontrol/jscript/sm_support.h"
#include "platform/scriptcontrol/script_control.h"

namespace {

constexpr int kCalls = 100000;

std::string LoopOf(const std::string& body) {
  return "var s; for (var i = 0; i < " + std::to_string(kCalls) + "; i++) { " + body + " }";
}

scriptcontrol::ScriptControl& Control() {
  static automation::ComPtr<automation::testing::SampleObject> sample =
      automation::MakeObject<automation::testing::SampleObject>();
  static scriptcontrol::ScriptControl control;
  static const bool ready = [] {
    control.SetLanguage("JScript");
    control.SetTimeout(-1);
    control.AddObject("kiv", sample.Get(), true);
    return true;
  }();
  (void)ready;
  return control;
}

void Loop(benchmark::State& state, const std::string& body) {
  const std::string statement = LoopOf(body);
  scriptcontrol::ScriptControl& control = Control();
  for (auto _ : state) control.ExecuteStatement(statement);
  state.SetItemsProcessed(state.iterations() * kCalls);
}

// The plain twin of the sample: Add as a native function, Count as an
// accessor with native getter and setter.
int32_t plainCount = 0;

bool PlainAdd(JSContext* cx, unsigned argc, JS::Value* vp) {
  JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
  double a = 0;
  double b = 0;
  if (!JS::ToNumber(cx, args.get(0), &a) || !JS::ToNumber(cx, args.get(1), &b)) return false;
  args.rval().setNumber(a + b);
  return true;
}

bool PlainGetCount(JSContext* cx, unsigned argc, JS::Value* vp) {
  JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
  (void)cx;
  args.rval().setInt32(plainCount);
  return true;
}

bool PlainSetCount(JSContext* cx, unsigned argc, JS::Value* vp) {
  JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
  if (!JS::ToInt32(cx, args.get(0), &plainCount)) return false;
  args.rval().setUndefined();
  return true;
}

void PlainLoop(benchmark::State& state, const std::string& body) {
  JSContext* cx = scriptcontrol::jscript::SmRuntime::OnThisThread().Context();
  JS::RootedObject global(cx, scriptcontrol::jscript::NewGlobal(cx));
  JSAutoRealm realm(cx, global);
  JS::RootedObject plain(cx, JS_NewPlainObject(cx));
  JSFunction* getter = JS_NewFunction(cx, PlainGetCount, 0, 0, "get");
  JSFunction* setter = JS_NewFunction(cx, PlainSetCount, 1, 0, "set");
  JS::RootedObject get(cx, getter ? JS_GetFunctionObject(getter) : nullptr);
  JS::RootedObject set(cx, setter ? JS_GetFunctionObject(setter) : nullptr);
  if (!plain || !get || !set || !JS_DefineFunction(cx, plain, "Add", PlainAdd, 2, 0) ||
      !JS_DefineProperty(cx, plain, "Count", get, set, 0) || !JS_DefineProperty(cx, global, "plain", plain, 0)) {
    state.SkipWithError("cannot set up the plain twin");
    return;
  }
  const std::string statement = LoopOf(body);
  JS::CompileOptions options(cx);
  options.setFileAndLine("bench", 1);
  JS::SourceText<mozilla::Utf8Unit> source;
  JS::RootedScript script(cx);
  if (source.init(cx, statement.data(), statement.size(), JS::SourceOwnership::Borrowed))
    script = JS::Compile(cx, options, source);
  if (!script) {
    state.SkipWithError("cannot compile the loop");
    return;
  }
  JS::RootedValue result(cx);
  for (auto _ : state) {
    if (!JS_ExecuteScript(cx, script, &result)) {
      state.SkipWithError("the loop failed");
      return;
    }
  }
  state.SetItemsProcessed(state.iterations() * kCalls);
}

void BM_MethodCall_Plain(benchmark::State& state) { PlainLoop(state, "plain.Add(i, 1);"); }
void BM_MethodCall_Bridge(benchmark::State& state) { Loop(state, "kiv.Add(i, 1);"); }
void BM_PropertyGet_Plain(benchmark::State& state) { PlainLoop(state, "s = plain.Count;"); }
void BM_PropertyGet_Bridge(benchmark::State& state) { Loop(state, "s = kiv.Count;"); }
void BM_PropertyPut_Plain(benchmark::State& state) { PlainLoop(state, "plain.Count = i;"); }
void BM_PropertyPut_Bridge(benchmark::State& state) { Loop(state, "kiv.Count = i;"); }
void BM_GlobalMemberMethod(benchmark::State& state) { Loop(state, "Add(i, 1);"); }

void BM_EvalSmallExpression(benchmark::State& state) {
  scriptcontrol::ScriptControl& control = Control();
  control.ExecuteStatement("var a = 3, b = 4;");
  for (auto _ : state) benchmark::DoNotOptimize(control.Eval("a * b + 1"));
}

BENCHMARK(BM_MethodCall_Plain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MethodCall_Bridge)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PropertyGet_Plain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PropertyGet_Bridge)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PropertyPut_Plain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PropertyPut_Bridge)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GlobalMemberMethod)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EvalSmallExpression);

// Prints as usual and keeps each loop's CPU time per iteration: the
// median when there are repetitions, else the single run.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      const std::string name = run.run_name.function_name;
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") continue;
      if (run.run_type == Run::RT_Iteration && medians_.count(name)) continue;
      if (run.run_type == Run::RT_Aggregate) medians_.insert(name);
      cpu_[name] = run.GetAdjustedCPUTime();
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\nBridge against plain SpiderMonkey (CPU time per loop, lower ratio is better):\n");
    for (const char* what : {"MethodCall", "PropertyGet", "PropertyPut"}) {
      auto plain = cpu_.find(std::string("BM_") + what + "_Plain");
      auto bridge = cpu_.find(std::string("BM_") + what + "_Bridge");
      if (plain == cpu_.end() || bridge == cpu_.end() || plain->second <= 0) continue;
      std::printf("  %-12s plain %8.0f k/s  bridge %8.0f k/s  ratio %.2f\n", what, kCalls / plain->second,
                  kCalls / bridge->second, bridge->second / plain->second);
    }
  }

 private:
  std::map<std::string, double> cpu_;  // milliseconds per loop of kCalls
  std::set<std::string> medians_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
