// The start-up of a whole SpiderMonkey runtime on a thread: a context,
// its self-hosted code (parsed, or decoded from the copy the process's
// first context saved) and a first global with a small script. Duktape's
// counterpart, a heap with a first script, is BM_StartUp<DukDesklet>.
#include <benchmark/benchmark.h>

#include <chrono>

#include "bench_support.h"
#include "desklet_scripts.h"
#include "sm_desklet.h"
#include "sm_runtime.h"
#include "sm_thread.h"

namespace jsengines {
namespace {

using Clock = std::chrono::steady_clock;

void BM_SmContextStartUp(benchmark::State& state) {
  const bool reuse = state.range(0) != 0;
  if (reuse && SmRuntime::SavedSelfHosted().empty()) {
    state.SkipWithError("no saved self-hosted code");
    return;
  }
  Guarded(state, [&] {
    // A thread of its own: one context per thread, and the benchmark
    // thread has one already.
    SmThread thread(std::nullopt);
    for (auto _ : state) {
      Clock::duration took{};
      thread.Run([&](SmRuntime*) {
        const Clock::time_point start = Clock::now();
        SmRuntime runtime(SmRuntime::Options{.reuseSelfHosted = reuse});
        SmDesklet desklet(kStartScript);
        took = Clock::now() - start;
      });
      state.SetIterationTime(std::chrono::duration<double>(took).count());
    }
  });
}

BENCHMARK(BM_SmContextStartUp)
    ->ArgName("reuse_self_hosted")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace jsengines
