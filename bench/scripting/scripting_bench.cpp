// The same small programs in VBScript and in JScript, run through the
// script control: a numeric loop, building a string from short pieces
// (10,000 and 100,000 of them, so that the time per piece tells whether
// appending is linear or quadratic), calls of a script function, and calls
// of a method and a property of a dispatch object. A language the control
// cannot start is reported as skipped, not as a crash.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "platform/automation/dispatch_object.h"
#include "platform/scriptcontrol/script_control.h"

namespace {

constexpr int kLoopCount = 100000;
constexpr int kMemberCalls = 10000;

// {3F0C9A41-7B2E-4D15-8E6A-51C0D2B7A901}
constexpr automation::Guid kIidBenchObject{0x3F0C9A41, 0x7B2E, 0x4D15, {0x8E, 0x6A, 0x51, 0xC0, 0xD2, 0xB7, 0xA9, 0x01}};

class BenchObject : public automation::DispatchObject<BenchObject> {
 public:
  static const automation::DispatchTable<BenchObject>& Table() {
    static const automation::DispatchTable<BenchObject> table =
        automation::DispatchTable<BenchObject>("IBenchObject", kIidBenchObject)
            .Method("Add", 1, &BenchObject::Add, {automation::Param("a"), automation::Param("b")})
            .Property("Value", 2, &BenchObject::GetValue, &BenchObject::SetValue);
    return table;
  }

  int32_t Add(int32_t a, int32_t b) { return a + b; }
  int32_t GetValue() const { return value_; }
  void SetValue(int32_t value) { value_ = value; }

 private:
  int32_t value_ = 7;
};

struct Language {
  const char* name;
  // The script's definitions, added once.
  const char* definitions;
};

constexpr Language kVBScript{"VBScript",
                             "Function AddOne(x)\n"
                             "  AddOne = x + 1\n"
                             "End Function\n"};
constexpr Language kJScript{"JScript", "function AddOne(x) { return x + 1; }\n"};

// A control with the language, the bench object as "bench" and the
// definitions; null (and the benchmark marked skipped) when the language
// cannot be started.
std::unique_ptr<scriptcontrol::ScriptControl> Prepare(benchmark::State& state, const Language& language) {
  auto control = std::make_unique<scriptcontrol::ScriptControl>();
  try {
    control->SetTimeout(-1);
    control->SetLanguage(language.name);
    control->AddObject("bench", automation::MakeObject<BenchObject>().Get(), false);
    control->AddCode(language.definitions);
  } catch (const scriptcontrol::ScriptFailure& failure) {
    state.SkipWithError((std::string(language.name) + ": " + failure.Error().description).c_str());
    return nullptr;
  }
  return control;
}

void Run(benchmark::State& state, const Language& language, const std::string& program, int64_t itemsPerRun) {
  std::unique_ptr<scriptcontrol::ScriptControl> control = Prepare(state, language);
  if (!control) return;
  for (auto _ : state) {
    try {
      control->ExecuteStatement(program);
    } catch (const scriptcontrol::ScriptFailure& failure) {
      state.SkipWithError((std::string(language.name) + ": " + failure.Error().description).c_str());
      return;
    }
  }
  state.SetItemsProcessed(state.iterations() * itemsPerRun);
}

std::string Count(int n) { return std::to_string(n); }

// Numeric loop: summing the loop counter.
void BM_VB_NumericLoop(benchmark::State& state) {
  Run(state, kVBScript, "s = 0\nFor i = 1 To " + Count(kLoopCount) + "\n  s = s + i\nNext", kLoopCount);
}
void BM_JS_NumericLoop(benchmark::State& state) {
  Run(state, kJScript, "var s = 0; for (var i = 1; i <= " + Count(kLoopCount) + "; i++) { s = s + i; }",
      kLoopCount);
}

// String building: state.range(0) pieces of two characters appended one
// at a time.
void BM_VB_StringBuild(benchmark::State& state) {
  const int pieces = static_cast<int>(state.range(0));
  Run(state, kVBScript, "t = \"\"\nFor i = 1 To " + Count(pieces) + "\n  t = t & \"ab\"\nNext", pieces);
}
void BM_JS_StringBuild(benchmark::State& state) {
  const int pieces = static_cast<int>(state.range(0));
  Run(state, kJScript, "var t = ''; for (var i = 1; i <= " + Count(pieces) + "; i++) { t = t + 'ab'; }", pieces);
}

// Calls of a small script function.
void BM_VB_FunctionCall(benchmark::State& state) {
  Run(state, kVBScript, "s = 0\nFor i = 1 To " + Count(kLoopCount) + "\n  s = AddOne(s)\nNext",
      kLoopCount);
}
void BM_JS_FunctionCall(benchmark::State& state) {
  Run(state, kJScript, "var s = 0; for (var i = 1; i <= " + Count(kLoopCount) + "; i++) { s = AddOne(s); }",
      kLoopCount);
}

// A method of the dispatch object.
void BM_VB_MemberMethod(benchmark::State& state) {
  Run(state, kVBScript, "For i = 1 To " + Count(kMemberCalls) + "\n  s = bench.Add(i, 1)\nNext",
      kMemberCalls);
}
void BM_JS_MemberMethod(benchmark::State& state) {
  Run(state, kJScript, "var s; for (var i = 1; i <= " + Count(kMemberCalls) + "; i++) { s = bench.Add(i, 1); }",
      kMemberCalls);
}

// A property of the dispatch object, read.
void BM_VB_MemberProperty(benchmark::State& state) {
  Run(state, kVBScript, "For i = 1 To " + Count(kMemberCalls) + "\n  s = bench.Value\nNext",
      kMemberCalls);
}
void BM_JS_MemberProperty(benchmark::State& state) {
  Run(state, kJScript, "var s; for (var i = 1; i <= " + Count(kMemberCalls) + "; i++) { s = bench.Value; }",
      kMemberCalls);
}

BENCHMARK(BM_VB_NumericLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JS_NumericLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VB_StringBuild)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JS_StringBuild)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VB_FunctionCall)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JS_FunctionCall)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VB_MemberMethod)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JS_MemberMethod)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VB_MemberProperty)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JS_MemberProperty)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
