// JScript reaching members of a dispatch object against the same loops
// reaching plain Duktape native functions (the limit): a method call, a
// property read and a property write; besides, a global member method
// and Eval of a small expression through the statement cache. At the end
// the run prints how many times slower each bridge loop is than its plain
// twin (from the medians when repetitions are asked for).
#include <benchmark/benchmark.h>
#include <duktape.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/automation/sample_object.h"
#include "platform/scriptcontrol/jscript/duk_support.h"
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

duk_ret_t PlainAdd(duk_context* ctx) {
  duk_push_number(ctx, duk_get_number(ctx, 0) + duk_get_number(ctx, 1));
  return 1;
}

duk_ret_t PlainGetCount(duk_context* ctx) {
  duk_push_int(ctx, plainCount);
  return 1;
}

duk_ret_t PlainSetCount(duk_context* ctx) {
  plainCount = duk_to_int32(ctx, 0);
  return 0;
}

void PlainLoop(benchmark::State& state, const std::string& body) {
  scriptcontrol::jscript::HeapPtr heap = scriptcontrol::jscript::CreateHeap();
  duk_context* ctx = heap.get();
  duk_push_object(ctx);
  duk_push_c_function(ctx, PlainAdd, 2);
  duk_put_prop_string(ctx, -2, "Add");
  duk_push_string(ctx, "Count");
  duk_push_c_function(ctx, PlainGetCount, 0);
  duk_push_c_function(ctx, PlainSetCount, 1);
  duk_def_prop(ctx, -4, DUK_DEFPROP_HAVE_GETTER | DUK_DEFPROP_HAVE_SETTER);
  duk_put_global_string(ctx, "plain");
  const std::string statement = LoopOf(body);
  duk_push_string(ctx, statement.c_str());
  duk_push_string(ctx, "bench");
  duk_compile(ctx, DUK_COMPILE_EVAL);
  for (auto _ : state) {
    duk_dup_top(ctx);
    duk_call(ctx, 0);
    duk_pop(ctx);
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
    std::printf("\nBridge against plain Duktape (CPU time per loop, lower ratio is better):\n");
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
