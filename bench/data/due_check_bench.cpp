// The once-a-minute due check with 20 scheduled sources and none of them
// due: the data state's lock taken and every source's minute counted, as
// the ticker's worker does it. The bare lock beside it shows how much of
// that is the lock.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <mutex>
#include <string>

#include "vorel/model/data_state.h"
#include "vorel/runtime/data_schedule.h"

namespace {

constexpr int kSources = 20;
// Far enough off that counting never reaches it within a run.
constexpr int32_t kInterval = INT32_MAX / 2;
// Counters are put back now and then so that even a very long run stays
// far from due; rare enough not to show in the figure.
constexpr int64_t kResetEvery = int64_t{1} << 24;

void ScheduleSources(vorel::TDataState& data) {
  data.xmlSources.resize(kSources);
  for (int i = 0; i < kSources; ++i) {
    vorel::TXMLInfo& source = data.xmlSources[static_cast<size_t>(i)];
    source.Src = "https://feeds.example.com/" + std::to_string(i) + ".xml";
    source.Interval = kInterval;
    source.Counter = 0;
  }
}

void BM_DueCheckNothingDue(benchmark::State& state) {
  vorel::TDataState data;
  ScheduleSources(data);
  int64_t n = 0;
  bool everDue = false;
  for (auto _ : state) {
    bool due;
    {
      std::lock_guard guard(data.lock);
      due = vorel::CountDataMinute(data.xmlSources);
    }
    everDue |= due;
    benchmark::DoNotOptimize(due);
    if (++n % kResetEvery == 0) {
      state.PauseTiming();
      for (vorel::TXMLInfo& source : data.xmlSources) source.Counter = 0;
      state.ResumeTiming();
    }
  }
  if (everDue) state.SkipWithError("a source became due");
  state.counters["sources"] = kSources;
}
BENCHMARK(BM_DueCheckNothingDue);

void BM_BareLock(benchmark::State& state) {
  vorel::TDataState data;
  for (auto _ : state) {
    std::lock_guard guard(data.lock);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_BareLock);

}  // namespace

BENCHMARK_MAIN();
