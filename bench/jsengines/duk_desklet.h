// A desklet's script on Duktape: one heap of its own, holding the host's
// native function hostAdd(a, b), the host object `host` (a Proxy whose get
// and set traps are native, as the JScript bridge makes them) and the
// desklet's script. The operations are those the benchmarks time on both
// engines, each done the ordinary way for this engine.
#pragma once

#include <duktape.h>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace jsengines {

class DukDesklet {
 public:
  static constexpr const char* kEngine = "Duktape";

  // Throws ScriptError when the script fails, std::runtime_error when
  // Duktape cannot make a heap.
  explicit DukDesklet(const char* script);
  DukDesklet(const DukDesklet&) = delete;
  DukDesklet& operator=(const DukDesklet&) = delete;

  // Calls the global function `function` with two numbers.
  double Call(const char* function, double a, double b);
  // Compiles and runs a statement text; the completion value is dropped.
  void Execute(const char* text);
  // Compiles and runs an expression or statements; the completion value
  // converted to a number.
  double Evaluate(const char* text);
  // Compiles once, to run many times.
  size_t Prepare(const char* text);
  void RunPrepared(size_t index);
  // Frees what no script reaches any more.
  void CollectGarbage();

  // Reads of host.Value so far.
  int64_t HostReads() const { return hostReads_; }

  // For the traps: the desklet of a heap, and its host property.
  static DukDesklet& Of(duk_context* ctx);
  int32_t ReadHostValue() {
    ++hostReads_;
    return hostValue_;
  }
  void WriteHostValue(int32_t value) { hostValue_ = value; }

 private:
  struct HeapDeleter {
    void operator()(duk_context* ctx) const { duk_destroy_heap(ctx); }
  };
  [[noreturn]] void Fail();

  std::unique_ptr<duk_context, HeapDeleter> heap_;
  duk_uarridx_t prepared_ = 0;
  int32_t hostValue_ = 7;
  int64_t hostReads_ = 0;
};

}  // namespace jsengines
