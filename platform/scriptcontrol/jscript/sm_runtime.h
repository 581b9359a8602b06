// The SpiderMonkey runtime under the JScript engines: the library is
// started once per process, and every thread that makes engines gets one
// JSContext of its own, shared by all its engines (each engine is a global,
// a realm, in it). The context lives until the thread ends, or, on the main
// thread, until the process does.
//
// Time limits: a call into an engine pushes its RunBudget here. A watchdog
// thread (one per process) wakes when the earliest budget could be spent,
// reckoned in wall time, which never runs slower than the thread's
// processor time, and asks the context for an interrupt. The interrupt
// callback, on the script's thread, reads the budgets: when one is spent it
// stops the script, which then ends with nothing it can catch; otherwise it
// sets the watchdog for the time still left. So a loop without a single
// host call stops as surely as one full of them, at the cost of one check
// per limit's worth of time.
#pragma once

#include <jsapi.h>

#include <cstdint>
#include <vector>

#include "platform/scriptcontrol/run_budget.h"

namespace scriptcontrol::jscript {

class SmRuntime {
 public:
  // The calling thread's runtime, made at the first call; throws
  // std::runtime_error when SpiderMonkey cannot make one.
  static SmRuntime& OnThisThread();

  JSContext* Context() const { return cx_; }

  // Engines alive on this thread; the context outlives them all.
  void AddEngine() { ++engines_; }
  void RemoveEngine() { --engines_; }
  int Engines() const { return engines_; }

  // A call with a limit starts and ends; calls nest (a host member may run
  // a statement of another engine).
  void PushBudget(const RunBudget* budget);
  void PopBudget();
  // Whether the interrupt callback stopped the running script because a
  // budget was spent; cleared by the next outermost PushBudget.
  bool StoppedForTime() const { return stoppedForTime_; }

  // A full collection, so that objects the scripts dropped are finalized
  // (and the automation objects they hold released) now.
  void CollectGarbage();

  // Only OnThisThread makes runtimes.
  class ConstructionKey {
    friend class SmRuntime;
    ConstructionKey() = default;
  };
  explicit SmRuntime(ConstructionKey);
  ~SmRuntime();
  SmRuntime(const SmRuntime&) = delete;
  SmRuntime& operator=(const SmRuntime&) = delete;

 private:
  static bool OnInterrupt(JSContext* cx);
  // Sets the watchdog for the earliest budget; none when no call has one.
  void Rearm();

  JSContext* cx_ = nullptr;
  int engines_ = 0;
  std::vector<const RunBudget*> budgets_;
  bool stoppedForTime_ = false;
};

}  // namespace scriptcontrol::jscript
