// SpiderMonkey scripts on a thread of their own, with the benchmark thread
// as the watchdog.
//
// Stopping: a desklet runs an endless loop; after a delay the watchdog
// asks for a stop and the interrupt callback answers false. The time shown
// is from the request to the script's return; a script that the interrupt
// does not stop within five seconds ends the process with an error, since
// nothing else could stop it.
//
// Cost: the same script loops on contexts without JIT, with JIT, with an
// interrupt callback installed, and with the callback run every
// millisecond by the watchdog (answering true), as a host that checks a
// deadline in the callback would.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <memory>
#include <string>
#include <thread>

#include "bench_support.h"
#include "desklet_scripts.h"
#include "sm_desklet.h"
#include "sm_runtime.h"
#include "sm_thread.h"

namespace jsengines {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr auto kGiveUpAfter = 5s;

// A desklet made, used and destroyed on an SmThread, since everything of a
// context stays on its thread.
class ThreadDesklet {
 public:
  ThreadDesklet(SmThread& thread, const char* script) : thread_(thread) {
    thread_.Run([&](SmRuntime*) { desklet_ = std::make_unique<SmDesklet>(script); });
  }
  ~ThreadDesklet() {
    thread_.Run([this](SmRuntime*) { desklet_.reset(); });
  }
  ThreadDesklet(const ThreadDesklet&) = delete;
  ThreadDesklet& operator=(const ThreadDesklet&) = delete;
  // Only from tasks on the thread.
  SmDesklet& operator*() const { return *desklet_; }

 private:
  SmThread& thread_;
  std::unique_ptr<SmDesklet> desklet_;
};

double Microseconds(Clock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); }

void WaitOrGiveUp(std::future<void>& done) {
  if (done.wait_for(kGiveUpAfter) == std::future_status::ready) return;
  std::fprintf(stderr, "the interrupt did not stop the script within %lld s\n",
               static_cast<long long>(std::chrono::seconds(kGiveUpAfter).count()));
  std::_Exit(1);
}

struct StopCase {
  const char* name;
  const char* script;
  bool checkNotCaught;
};
constexpr StopCase kStopCases[] = {
    {"empty_loop", kEndlessLoop, false},
    {"loop_with_work", kEndlessLoopWithWork, false},
    {"loop_in_try", kEndlessLoopCaught, true},
};

void BM_SmInterruptStop(benchmark::State& state) {
  const auto delay = std::chrono::milliseconds(state.range(0));
  const StopCase& stopCase = kStopCases[state.range(1)];
  state.SetLabel(stopCase.name);
  double toCallbackUs = 0;
  double latencyUs = 0;
  double worstUs = 0;
  Guarded(state, [&] {
    SmThread thread(SmRuntime::Options{.interruptCallback = true});
    SmRuntime& runtime = *thread.Runtime();
    ThreadDesklet desklet(thread, kDeskletScript);
    for (auto _ : state) {
      runtime.ClearStop();
      bool stopped = false;
      Clock::time_point returnedAt;
      std::future<void> done = thread.Post([&](SmRuntime*) {
        try {
          (*desklet).Execute(stopCase.script);
        } catch (const ScriptError& error) {
          if (!error.Stopped()) throw;
          stopped = true;
        }
        returnedAt = Clock::now();
      });
      std::this_thread::sleep_for(delay);
      runtime.RequestStop();
      WaitOrGiveUp(done);
      done.get();
      if (!stopped) {
        state.SkipWithError("the script ended without being stopped");
        break;
      }
      const Clock::duration latency = returnedAt - runtime.StopRequestedAt();
      state.SetIterationTime(std::chrono::duration<double>(latency).count());
      latencyUs += Microseconds(latency);
      worstUs = std::max(worstUs, Microseconds(latency));
      toCallbackUs += Microseconds(runtime.CallbackStoppedAt() - runtime.StopRequestedAt());
    }
    if (stopCase.checkNotCaught) {
      double caught = 1;
      thread.Run([&](SmRuntime*) { caught = (*desklet).Evaluate("caught ? 1 : 0"); });
      if (caught != 0) state.SkipWithError("the script caught its stop");
    }
  });
  const double runs = static_cast<double>(state.iterations());
  if (runs == 0) return;
  state.counters["request_to_callback_us"] = toCallbackUs / runs;
  state.counters["request_to_return_us"] = latencyUs / runs;
  state.counters["worst_request_to_return_us"] = worstUs;
}

BENCHMARK(BM_SmInterruptStop)
    ->ArgNames({"delay_ms", "script"})
    ->ArgsProduct({{1, 10, 100}, {0, 1, 2}})
    // Each run waits its delay first; the time shown is only the latency.
    ->Iterations(20)
    ->UseManualTime()
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMicrosecond);

struct Config {
  const char* name;
  SmRuntime::Options options;
  // The watchdog runs the callback every millisecond.
  bool checkEveryMs;
};
constexpr Config kConfigs[] = {
    {"no_jit", {.jit = false}, false},
    {"jit", {.jit = true}, false},
    {"jit_interrupt_callback", {.interruptCallback = true}, false},
    {"jit_interrupt_checks_1ms", {.interruptCallback = true}, true},
};

struct ScriptCase {
  const char* name;
  const char* text;
  double (*expected)();
  int items;
};
const ScriptCase kScriptCases[] = {
    {"SumLoop", kSumLoop, [] { return kSumResult; }, kSumCount},
    {"StringBuild100k", kStringBuilds[1].text, [] { return 2.0 * kStringBuilds[1].pieces; }, kStringBuilds[1].pieces},
    {"RecordWork", kRecordWork, RecordWorkResult, kRecords},
    {"ScriptCallsHost", kNativeCallLoop, [] { return static_cast<double>(kNativeCalls); }, kNativeCalls},
    {"HostPropertyRead", kHostReadLoop, [] { return 7.0 * kNativeCalls; }, kNativeCalls},
};

void RunOnThread(benchmark::State& state, const Config& config, const ScriptCase& script) {
  Clock::duration total{};
  int64_t callbackRuns = 0;
  Guarded(state, [&] {
    SmThread thread(config.options);
    SmRuntime& runtime = *thread.Runtime();
    ThreadDesklet desklet(thread, kDeskletScript);
    const double expected = script.expected();
    const int64_t runsBefore = runtime.CallbackRuns();
    for (auto _ : state) {
      Clock::duration took{};
      double result = 0;
      std::future<void> done = thread.Post([&](SmRuntime*) {
        const Clock::time_point start = Clock::now();
        result = (*desklet).Evaluate(script.text);
        took = Clock::now() - start;
      });
      if (config.checkEveryMs) {
        while (done.wait_for(1ms) != std::future_status::ready) runtime.RequestCheck();
      }
      done.get();
      if (result != expected) {
        state.SkipWithError(("wrong result " + std::to_string(result)).c_str());
        break;
      }
      total += took;
      state.SetIterationTime(std::chrono::duration<double>(took).count());
    }
    callbackRuns = runtime.CallbackRuns() - runsBefore;
  });
  const double runs = static_cast<double>(state.iterations());
  if (runs == 0) return;
  // Wall time on the script's thread; the CPU column is the whole
  // process's (the script's thread and the engine's helper threads).
  state.counters["per_item_ns"] =
      std::chrono::duration<double, std::nano>(total).count() / (runs * static_cast<double>(script.items));
  state.counters["callback_runs"] = static_cast<double>(callbackRuns) / runs;
}

int RegisterThreadBenchmarks() {
  for (const ScriptCase& script : kScriptCases) {
    for (const Config& config : kConfigs) {
      const std::string name = std::string("BM_SmOnThread/") + script.name + "/" + config.name;
      benchmark::RegisterBenchmark(name.c_str(), [&config, &script](benchmark::State& state) {
        RunOnThread(state, config, script);
      })->UseManualTime()->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);
    }
  }
  return 0;
}

const int kRegistered = RegisterThreadBenchmarks();

}  // namespace
}  // namespace jsengines
