// The slide formulas' evaluator on any text: parsing either gives a tree or
// raises "Error in Formula", and every evaluation gives a finite number or
// raises the plug-in's error. (A variable holding NaN or an infinity is
// passed on as it is, so only finite values must give finite results.)
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string_view>

#include "vorel/util/calc_express.h"
#include "vorel/util/errors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vorel::TCalcExpress formula;
  try {
    formula.SetVariables({"x", "y", "width", "height", "offsetx", "offsety"});
    formula.SetFormula(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const vorel::KivError&) {
    if (formula.Valid()) std::abort();  // a refused formula leaves no tree
    return 0;
  }
  constexpr double kInf = std::numeric_limits<double>::infinity();
  const double sets[][6] = {{0, 0, 0, 0, 0, 0},
                            {1, -1, 100, 50, 0.5, -0.5},
                            {1e308, -1e308, 1e-308, 3, 7, -7},
                            {std::nan(""), kInf, -kInf, 0, 1, 2}};
  for (const auto& values : sets) {
    try {
      const double value = formula.Calculate(values);
      if (&values != &sets[3] && !std::isfinite(value)) std::abort();
    } catch (const vorel::KivError&) {
    }
  }
  return 0;
}
