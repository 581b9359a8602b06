// What the engine benchmarks share: failures turned into the benchmark's
// error, per-item time counters, and the fixed cost of the process's first
// SpiderMonkey context, which main() measures before any benchmark runs.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <exception>
#include <string>

#include "script_error.h"

namespace jsengines {

// Runs body; a failure marks the benchmark as failed with the reason.
template <class Body>
void Guarded(benchmark::State& state, Body&& body) {
  try {
    body();
  } catch (const ScriptError& error) {
    std::string text = std::string(error.Stopped() ? "stopped: " : "script error: ") + error.what();
    if (error.Line() > 0) text += " (line " + std::to_string(error.Line()) + ")";
    state.SkipWithError(text.c_str());
  } catch (const std::exception& error) {
    state.SkipWithError(error.what());
  }
}

// A counter that shows the time one of `items` took, over the whole run.
inline benchmark::Counter TimePerItem(double items) {
  return benchmark::Counter(items, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// Resident set growth from before JS_Init to a first context with its
// self-hosted code and a first global; set by main().
struct FirstContextCost {
  int64_t residentBytes = 0;
};
FirstContextCost& FirstContext();

}  // namespace jsengines
