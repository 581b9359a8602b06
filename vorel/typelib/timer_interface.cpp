// IVorelTimer: one timer of the desklet.
#include "vorel/typelib/interface_declarations.h"

namespace vorel::typelib {

using T = automation::VarType;

void DeclareTimerInterface(automation::InterfaceInfo& info) {
  MemberWriter(info)
      .Property("Name", 1, T::String, "The timer name")
      .Property("Delay", 2, T::String, "The delay text; a new one takes effect at ResetTimer")
      .Property("TimerType", 3, T::UInt8, "0 repeating, 1 once (milliseconds), 2 and 3 alarm, 4 clock-aligned")
      .Property("OnTimer", 4, T::String, "Statement run when the timer fires")
      .Method("ResetTimer", 5, {}, "Reads the delay again and restarts the timer")
      .Method("StopTimer", 6, {}, "Stops the timer");
}

}  // namespace vorel::typelib
