// The time limit of one call from the host into a script engine. Time is
// the processor time of the thread that started the call: a statement
// looping for ever spends it all, one waiting for the user to answer a
// message box or for a download spends almost none, so a slow reader
// never has the script stopped under them.
//
// The engines ask Spent() at points they reach often (the VBScript
// interpreter every so many steps, the JScript bridge at calls into the
// host); each ask reads the thread's clock, so they ask sparingly.
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

  // The processor time the calling thread has used, in nanoseconds.
  static int64_t ThreadTimeNs();

 private:
  std::optional<int64_t> deadline_;
};

}  // namespace scriptcontrol
