// The time limit of one call from the host into a script engine. Time is
// the processor time of the thread that started the call: a statement
// looping for ever spends it all, one waiting for the user to answer a
// message box or for a download spends almost none, so a slow reader
// never has the script stopped under them.
//
// The VBScript interpreter asks Spent() every so many steps; the JScript
// engine asks when its watchdog interrupts the script (see sm_runtime.h).
// Each ask reads the thread's clock, so they ask sparingly.
#pragma once

#include <cstdint>
#include <optional>

namespace scriptcontrol {

class RunBudget {
 public:
  // Starts counting for a call; a negative limit is no limit.
  void Start(int32_t milliseconds);
  void Stop() { deadline_.reset(); }
  bool Running() const { return deadline_.has_value(); }
  // True once the call has used its time.
  bool Spent() const;
  // Nanoseconds of the thread's processor time left; none without a limit.
  std::optional<int64_t> RemainingNs() const;

  // The processor time the calling thread has used, in nanoseconds.
  static int64_t ThreadTimeNs();

 private:
  std::optional<int64_t> deadline_;
};

}  // namespace scriptcontrol
