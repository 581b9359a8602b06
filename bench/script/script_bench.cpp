// JScript calling members of a dispatch object, against the same loop
// calling a plain Duktape native function (the limit), and Eval of a small
// expression through the statement cache.
#include <benchmark/benchmark.h>
#include <duktape.h>

#include "platform/automation/sample_object.h"
#include "platform/scriptcontrol/jscript/duk_support.h"
#include "platform/scriptcontrol/script_control.h"

namespace {

constexpr int kCalls = 100000;

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
  const std::string statement = "for (var i = 0; i < " + std::to_string(kCalls) + "; i++) { " + body + " }";
  scriptcontrol::ScriptControl& control = Control();
  for (auto _ : state) control.ExecuteStatement(statement);
  state.SetItemsProcessed(state.iterations() * kCalls);
}

void BM_MethodTwoArguments(benchmark::State& state) { Loop(state, "kiv.Add(i, 1);"); }
void BM_PropertySet(benchmark::State& state) { Loop(state, "kiv.Count = i;"); }
void BM_GlobalMemberMethod(benchmark::State& state) { Loop(state, "Add(i, 1);"); }

duk_ret_t PlainAdd(duk_context* ctx) {
  duk_push_number(ctx, duk_get_number(ctx, 0) + duk_get_number(ctx, 1));
  return 1;
}

void BM_PlainNativeCall(benchmark::State& state) {
  scriptcontrol::jscript::HeapPtr heap = scriptcontrol::jscript::CreateHeap();
  duk_context* ctx = heap.get();
  duk_push_object(ctx);
  duk_push_c_function(ctx, PlainAdd, 2);
  duk_put_prop_string(ctx, -2, "Add");
  duk_put_global_string(ctx, "plain");
  const std::string statement = "for (var i = 0; i < " + std::to_string(kCalls) + "; i++) { plain.Add(i, 1); }";
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

void BM_EvalSmallExpression(benchmark::State& state) {
  scriptcontrol::ScriptControl& control = Control();
  control.ExecuteStatement("var a = 3, b = 4;");
  for (auto _ : state) benchmark::DoNotOptimize(control.Eval("a * b + 1"));
}

BENCHMARK(BM_PlainNativeCall)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MethodTwoArguments)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GlobalMemberMethod)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PropertySet)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EvalSmallExpression);

}  // namespace

BENCHMARK_MAIN();
