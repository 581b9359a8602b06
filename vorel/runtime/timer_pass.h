// The work of the desklet's one-second ticker, on the ticker's thread: the
// timer pass, which finds the alarm and clock timers due at a tick and
// posts MSG_RUN_TIMER for each, and the once-a-minute pass over the data
// sources. The pass holds the timer list's lock while it walks, so the
// window thread never changes a record under it.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace vorel {

class TDeskletObject;
class TTimerList;
struct TTimerInfo;

// The timers due at `tickTime`, in firing order (the list is walked from
// the last timer to the first), each counted as having a run queued;
// alarms that fire get lastFired := tickTime. Takes the list's lock.
std::vector<std::shared_ptr<TTimerInfo>> DueTimers(TTimerList& timers, double tickTime);

// The rules for one record at a tick; the caller holds the list's lock.
bool AlarmDue(TTimerInfo& alarm, double tickTime);
bool ClockDue(const TTimerInfo& clock, double tickTime);

// Whether a minute has passed since `since`, counting the time of day of
// the difference only (whole days are ignored).
bool MinutePassed(double since, double now);

// The ticker's callback: the timer pass, then, once a minute, the minute
// pass of the data sources.
void SecondsTick(TDeskletObject& desklet, double now);

}  // namespace vorel
