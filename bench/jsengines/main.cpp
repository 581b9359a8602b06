// SpiderMonkey wants JS_Init once per process before any context and
// JS_ShutDown after the last one, so this benchmark program has a main of
// its own: it starts the engine, makes the benchmark thread's context
// (measuring what the first one costs) and runs the benchmarks.
#include <benchmark/benchmark.h>
#include <js/Initialization.h>

#include <cstdio>
#include <exception>

#include "bench_support.h"
#include "desklet_scripts.h"
#include "process_memory.h"
#include "sm_desklet.h"
#include "sm_runtime.h"

namespace jsengines {

FirstContextCost& FirstContext() {
  static FirstContextCost cost;
  return cost;
}

}  // namespace jsengines

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  jsengines::TrimMalloc();
  const int64_t before = jsengines::ResidentBytes();
  if (!JS_Init()) {
    std::fprintf(stderr, "JS_Init failed\n");
    return 1;
  }
  int status = 0;
  try {
    jsengines::SmRuntime runtime(jsengines::SmRuntime::Options{.saveSelfHosted = true});
    {
      jsengines::SmDesklet first(jsengines::kStartScript);
      runtime.CollectGarbage();
      jsengines::FirstContext().residentBytes = jsengines::ResidentBytes() - before;
    }
    benchmark::RunSpecifiedBenchmarks();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    status = 1;
  }
  benchmark::Shutdown();
  JS_ShutDown();
  return status;
}
