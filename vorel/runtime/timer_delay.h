// Reading a timer's delay text. An alarm's delay is a time of day (or a
// date and time) or a number of seconds since midnight; a clock timer's is
// its period in seconds; a millisecond timer's its period. The text is
// expanded first, so it may come from parameters, from a script
// expression ("!SCRIPT:") or from a data source ("!XML:").
#pragma once

#include <cstdint>
#include <string>

namespace vorel {

class TDeskletObject;

// The day an alarm may fire on (0 for every day) and its seconds field;
// seconds -1 leaves the timer stopped.
struct TTimerDelay {
  int32_t date = 0;
  int32_t seconds = -1;
};

// Runs on the window thread (it may evaluate script expressions). Raises
// the conversion errors for a text that is neither a number nor a date or
// time.
TTimerDelay ParseTimerDelay(TDeskletObject& desklet, const std::string& delay);

// A millisecond timer's period: the expanded delay as a decimal integer;
// "Range check error" when it is negative.
uint32_t ReadTimerMilliseconds(TDeskletObject& desklet, const std::string& delay);

}  // namespace vorel
