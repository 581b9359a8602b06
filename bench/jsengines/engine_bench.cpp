// The same desklet work on Duktape and on SpiderMonkey: making a desklet
// (an engine heap for Duktape, a global in the thread's one context for
// SpiderMonkey), the memory each further desklet takes, the host calling a
// script function, a script calling the host (a native function, and a
// property of a host object answered by a native trap), running an
// onclick statement text, and pure script loops where SpiderMonkey's JIT
// shows. Every run checks the script's result. CPU times are the whole
// process's, so that work SpiderMonkey does on its helper threads
// (sweeping, compiling with Ion) counts.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "bench_support.h"
#include "desklet_scripts.h"
#include "duk_desklet.h"
#include "process_memory.h"
#include "sm_desklet.h"
#include "sm_runtime.h"

namespace jsengines {
namespace {

template <class D>
constexpr bool kIsSpiderMonkey = std::is_base_of_v<SmDesklet, D>;

template <class D>
const char* LibraryOf() {
  return kIsSpiderMonkey<D> ? "libmozjs-102.so" : "libduktape.so";
}

// Collects what dead desklets left: nothing for Duktape, whose heap goes
// with its desklet; for SpiderMonkey a full collection, since a dead
// realm's zone never reaches a collection trigger of its own (neither
// JS_MaybeGC nor allocation elsewhere collects it).
template <class D>
void CollectDead() {
  if constexpr (kIsSpiderMonkey<D>) SmRuntime::OnThisThread().CollectGarbage();
}

// Makes desklets with `script`, timing only their making: for Duktape a
// heap, for SpiderMonkey a new global in the running context (the whole
// context's start-up is in startup_bench.cpp). Dropping them and the
// collections are outside the timing (BM_DropDesklets times those).
template <class D>
void MakeDesklets(benchmark::State& state, const char* script) {
  constexpr int kCollectEvery = 64;
  Guarded(state, [&] {
    int made = 0;
    for (auto _ : state) {
      auto desklet = std::make_unique<D>(script);
      state.PauseTiming();
      desklet.reset();
      if (++made % kCollectEvery == 0) CollectDead<D>();
      state.ResumeTiming();
    }
    CollectDead<D>();
  });
}

// Engine runtime and first global with a small script compiled and run.
template <class D>
void BM_StartUp(benchmark::State& state) {
  MakeDesklets<D>(state, kStartScript);
}

// The same with the whole desklet script.
template <class D>
void BM_NewDesklet(benchmark::State& state) {
  MakeDesklets<D>(state, kDeskletScript);
}

// Dropping desklets and freeing what they held (for SpiderMonkey, the
// collection that frees their realms), per desklet.
template <class D>
void BM_DropDesklets(benchmark::State& state) {
  constexpr int kDesklets = 50;
  Guarded(state, [&] {
    for (auto _ : state) {
      state.PauseTiming();
      std::vector<std::unique_ptr<D>> desklets;
      for (int i = 0; i < kDesklets; ++i) desklets.push_back(std::make_unique<D>(kDeskletScript));
      state.ResumeTiming();
      desklets.clear();
      CollectDead<D>();
    }
  });
  state.counters["per_desklet"] = TimePerItem(static_cast<double>(state.iterations()) * kDesklets);
}

struct MemorySnapshot {
  int64_t resident = 0;
  int64_t malloced = 0;
  int64_t gcHeap = 0;
};

template <class D>
MemorySnapshot Snapshot() {
  MemorySnapshot snapshot{ResidentBytes(), MallocBytesInUse(), 0};
  if constexpr (kIsSpiderMonkey<D>) snapshot.gcHeap = SmRuntime::OnThisThread().GcHeapBytes();
  return snapshot;
}

// Resident set, malloc and garbage-collected heap growth per desklet, with
// kDesklets alive at once and all garbage collected before each reading.
template <class D>
void BM_MemoryPerDesklet(benchmark::State& state) {
  constexpr int kDesklets = 50;
  MemorySnapshot grown;
  Guarded(state, [&] {
    for (auto _ : state) {
      state.PauseTiming();
      CollectDead<D>();
      TrimMalloc();
      const MemorySnapshot before = Snapshot<D>();
      state.ResumeTiming();
      std::vector<std::unique_ptr<D>> desklets;
      for (int i = 0; i < kDesklets; ++i) desklets.push_back(std::make_unique<D>(kDeskletScript));
      state.PauseTiming();
      if constexpr (kIsSpiderMonkey<D>) {
        desklets.back()->CollectGarbage();
      } else {
        for (auto& desklet : desklets) desklet->CollectGarbage();
      }
      const MemorySnapshot after = Snapshot<D>();
      grown.resident += after.resident - before.resident;
      grown.malloced += after.malloced - before.malloced;
      grown.gcHeap += after.gcHeap - before.gcHeap;
      desklets.clear();
      state.ResumeTiming();
    }
  });
  const double made = static_cast<double>(state.iterations()) * kDesklets;
  if (made == 0) return;
  state.counters["rss_per_desklet"] = static_cast<double>(grown.resident) / made;
  state.counters["malloc_per_desklet"] = static_cast<double>(grown.malloced) / made;
  state.counters["gc_heap_per_desklet"] = static_cast<double>(grown.gcHeap) / made;
  state.counters["library_rss"] = static_cast<double>(LibraryResidentBytes(LibraryOf<D>()));
  if constexpr (kIsSpiderMonkey<D>)
    state.counters["first_context_rss"] = static_cast<double>(FirstContext().residentBytes);
  state.counters["time_per_desklet"] = TimePerItem(made);
}

// Runs body with a desklet made with the desklet script; what the desklet
// left is collected afterwards, so that no benchmark leaves dead realms to
// the next.
template <class D, class Body>
void WithDesklet(benchmark::State& state, Body&& body) {
  Guarded(state, [&] {
    {
      D desklet(kDeskletScript);
      body(desklet);
    }
    CollectDead<D>();
  });
}

// Host to script: the global function f(a, b), looked up by name and
// called with two numbers, as the host runs an event handler.
template <class D>
void BM_HostCallsScript(benchmark::State& state) {
  WithDesklet<D>(state, [&](D& desklet) {
    double sum = 0;
    for (auto _ : state) sum += desklet.Call("f", 3, 4);
    if (sum != 10.0 * static_cast<double>(state.iterations())) state.SkipWithError("f(3, 4) did not return 10");
  });
}

// Runs a loop of `items` steps `text` whose value must be `expected`.
template <class D>
void RunLoop(benchmark::State& state, const char* text, double expected, int items) {
  WithDesklet<D>(state, [&](D& desklet) {
    for (auto _ : state) {
      const double result = desklet.Evaluate(text);
      if (result != expected) {
        state.SkipWithError(("wrong result " + std::to_string(result)).c_str());
        break;
      }
    }
  });
  state.counters["per_item"] = TimePerItem(static_cast<double>(state.iterations()) * items);
}

// Script to host: a native function.
template <class D>
void BM_ScriptCallsHost(benchmark::State& state) {
  RunLoop<D>(state, kNativeCallLoop, kNativeCalls, kNativeCalls);
}

// Script to host: a property of a host object, through a native trap.
template <class D>
void BM_HostPropertyRead(benchmark::State& state) {
  RunLoop<D>(state, kHostReadLoop, 7.0 * kNativeCalls, kNativeCalls);
}

// An onclick statement: its text compiled and run each time.
template <class D>
void BM_ClickStatement(benchmark::State& state) {
  WithDesklet<D>(state, [&](D& desklet) {
    for (auto _ : state) desklet.Execute(kClickStatement);
    if (desklet.Evaluate("x") != static_cast<double>(state.iterations()))
      state.SkipWithError("the statement did not run every time");
  });
}

// The same statement compiled once and run each time, as a host that
// keeps compiled statements does.
template <class D>
void BM_ClickStatementCompiled(benchmark::State& state) {
  WithDesklet<D>(state, [&](D& desklet) {
    const size_t statement = desklet.Prepare(kClickStatement);
    for (auto _ : state) desklet.RunPrepared(statement);
    if (desklet.Evaluate("x") != static_cast<double>(state.iterations()))
      state.SkipWithError("the statement did not run every time");
  });
}

template <class D>
void BM_SumLoop(benchmark::State& state) {
  RunLoop<D>(state, kSumLoop, kSumResult, kSumCount);
}

// Argument: the index in kStringBuilds.
template <class D>
void BM_StringBuild(benchmark::State& state) {
  const StringBuild& build = kStringBuilds[state.range(0)];
  state.SetLabel(std::to_string(build.pieces) + " pieces");
  RunLoop<D>(state, build.text, 2.0 * build.pieces, build.pieces);
}

template <class D>
void BM_RecordWork(benchmark::State& state) {
  RunLoop<D>(state, kRecordWork, RecordWorkResult(), kRecords);
}

// Memory first, while the process has freed little that later growth
// could reuse.
BENCHMARK_TEMPLATE(BM_MemoryPerDesklet, DukDesklet)->MeasureProcessCPUTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_MemoryPerDesklet, SmDesklet)->MeasureProcessCPUTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_MemoryPerDesklet, SmDeskletSharedZone)->MeasureProcessCPUTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_StartUp, DukDesklet)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(BM_StartUp, SmDesklet)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(BM_StartUp, SmDeskletSharedZone)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(BM_NewDesklet, DukDesklet)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(BM_NewDesklet, SmDesklet)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(BM_NewDesklet, SmDeskletSharedZone)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(BM_DropDesklets, DukDesklet)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_DropDesklets, SmDesklet)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_DropDesklets, SmDeskletSharedZone)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_HostCallsScript, DukDesklet)->MeasureProcessCPUTime();
BENCHMARK_TEMPLATE(BM_HostCallsScript, SmDesklet)->MeasureProcessCPUTime();
BENCHMARK_TEMPLATE(BM_ScriptCallsHost, DukDesklet)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_ScriptCallsHost, SmDesklet)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_HostPropertyRead, DukDesklet)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_HostPropertyRead, SmDesklet)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_ClickStatement, DukDesklet)->MeasureProcessCPUTime();
BENCHMARK_TEMPLATE(BM_ClickStatement, SmDesklet)->MeasureProcessCPUTime();
BENCHMARK_TEMPLATE(BM_ClickStatementCompiled, DukDesklet)->MeasureProcessCPUTime();
BENCHMARK_TEMPLATE(BM_ClickStatementCompiled, SmDesklet)->MeasureProcessCPUTime();
BENCHMARK_TEMPLATE(BM_SumLoop, DukDesklet)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_SumLoop, SmDesklet)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_StringBuild, DukDesklet)->MeasureProcessCPUTime()->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_StringBuild, SmDesklet)->MeasureProcessCPUTime()->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_RecordWork, DukDesklet)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(BM_RecordWork, SmDesklet)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace jsengines
