// The mathematical functions and the random numbers of Rnd and Randomize,
// drawn from the context's generator so that each script has its own.
#include <bit>
#include <chrono>
#include <cmath>

#include "platform/scriptcontrol/vbscript/vb_builtin_support.h"
#include "platform/scriptcontrol/vbscript/vb_convert.h"
#include "platform/scriptcontrol/vbscript/vb_errors.h"

namespace scriptcontrol::vbscript {

namespace {

using automation::Variant;
using namespace builtin_args;

// Null in, Null out; the result must be a finite number (6 otherwise).
template <class F>
Variant Math(BuiltinCall& call, F f) {
  if (IsNull(call, 0)) return Variant::Null();
  double r = f(Double(call, 0));
  if (!std::isfinite(r)) Throw(kErrOverflow);
  return r;
}

Variant Sqr(BuiltinCall& call) {
  return Math(call, [](double x) {
    if (x < 0) Throw(kErrInvalidCall);
    return std::sqrt(x);
  });
}

Variant Exp(BuiltinCall& call) {
  return Math(call, [](double x) { return std::exp(x); });
}

Variant Log(BuiltinCall& call) {
  return Math(call, [](double x) {
    if (x <= 0) Throw(kErrInvalidCall);
    return std::log(x);
  });
}

Variant Sin(BuiltinCall& call) {
  return Math(call, [](double x) { return std::sin(x); });
}
Variant Cos(BuiltinCall& call) {
  return Math(call, [](double x) { return std::cos(x); });
}
Variant Tan(BuiltinCall& call) {
  return Math(call, [](double x) { return std::tan(x); });
}
Variant Atn(BuiltinCall& call) {
  return Math(call, [](double x) { return std::atan(x); });
}

float NextRandom(BuiltinContext& context) {
  // 24 random bits fill a float's mantissa exactly, so 1 is never reached.
  context.lastRandom = static_cast<float>(context.random() >> 8) / 16777216.0f;
  return context.lastRandom;
}

// Rnd(negative) seeds from the number itself, so it repeats; Rnd(0) gives
// the last number again; anything else (or none) the next one.
Variant Rnd(BuiltinCall& call) {
  if (IsNull(call, 0)) Throw(kErrInvalidNull);
  if (!Given(call, 0)) return NextRandom(call.context);
  float n = static_cast<float>(Double(call, 0));
  if (n == 0) return call.context.lastRandom;
  if (n < 0) call.context.random.seed(std::bit_cast<uint32_t>(n));
  return NextRandom(call.context);
}

Variant Randomize(BuiltinCall& call) {
  if (Given(call, 0)) {
    if (IsNull(call, 0)) Throw(kErrInvalidNull);
    uint64_t bits = std::bit_cast<uint64_t>(Double(call, 0));
    call.context.random.seed(static_cast<uint32_t>(bits ^ (bits >> 32)));
  } else {
    auto ticks = std::chrono::system_clock::now().time_since_epoch().count();
    call.context.random.seed(static_cast<uint32_t>(ticks ^ (ticks >> 32)));
  }
  return Variant();
}

constexpr Builtin kMathBuiltins[] = {
    {"Atn", 1, 1, Atn},
    {"Cos", 1, 1, Cos},
    {"Exp", 1, 1, Exp},
    {"Log", 1, 1, Log},
    {"Randomize", 0, 1, Randomize},
    {"Rnd", 0, 1, Rnd},
    {"Sin", 1, 1, Sin},
    {"Sqr", 1, 1, Sqr},
    {"Tan", 1, 1, Tan},
};

}  // namespace

std::span<const Builtin> MathBuiltins() { return kMathBuiltins; }

}  // namespace scriptcontrol::vbscript
