// A slide formula over the six slide variables: parsed once, then evaluated
// for a changing value set as a slide does at every step; and the parse on
// its own, which happens whenever a skin sets a formula.
#include <benchmark/benchmark.h>

#include <array>

#include "vorel/util/calc_express.h"

namespace {

const std::vector<std::string> kSlideVariables = {"x", "y", "width", "height", "offsetx", "offsety"};
constexpr const char* kSlideFormula = "x + (width - offsetx) * 0.5 - sin(y/10)*2 + height^2/100 - offsety";

void BM_CalculateSlideFormula(benchmark::State& state) {
  vorel::TCalcExpress calc;
  calc.SetVariables(kSlideVariables);
  calc.SetFormula(kSlideFormula);
  std::array<double, 6> values = {10, 30, 200, 150, 20, 5};
  for (auto _ : state) {
    // A fresh value each round, as the slide's position moves on.
    values[0] += 1;
    benchmark::DoNotOptimize(values.data());
    double result = calc.Calculate(values);
    benchmark::DoNotOptimize(result);
  }
}
BENCHMARK(BM_CalculateSlideFormula)->Iterations(1000000);

void BM_ParseSlideFormula(benchmark::State& state) {
  vorel::TCalcExpress calc;
  calc.SetVariables(kSlideVariables);
  for (auto _ : state) {
    calc.SetFormula(kSlideFormula);
    benchmark::DoNotOptimize(calc.Valid());
  }
}
BENCHMARK(BM_ParseSlideFormula);

}  // namespace
BENCHMARK_MAIN();
