#include "vorel/load/timer_reader.h"

#include "vorel/load/pairing_warnings.h"
#include "vorel/model/desklet.h"
#include "vorel/runtime/variable_expansion.h"
#include "vorel/skin/skin_reading.h"

namespace vorel {

void ReadTimers(TDeskletObject& d, const xml::Node& timers) {
  const size_t n = CountNodes(timers, "timer");
  if (n == 0) return;
  const TNodeTexts statements(timers, "timer/@ontimer"), types(timers, "timer/@type"),
      delays(timers, "timer/@interval"), names(timers, "timer/@name");
  WarnOfPairingShifts(d, timers, "timer", n,
                      {{"ontimer", statements.Count()}, {"type", types.Count()}, {"interval", delays.Count()},
                       {"name", names.Count()}});
  for (size_t k = 0; k < n; ++k) {
    const std::string statement = statements.At(k, "");
    // NOTE: a negative type is refused like one above 255; it could only
    // have wrapped round to a type the author never wrote.
    const auto type = static_cast<uint8_t>(IntInRange(ExpandVariables(d, types.At(k, "0")), 0, 0, 255));
    const std::string delay = ExpandVariables(d, delays.At(k, ""));
    d.timing.timers.Add(names.At(k, ""), delay, type, statement);
  }
}

}  // namespace vorel
