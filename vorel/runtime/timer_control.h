// Starting and stopping the desklet's timers, on the window thread: the
// millisecond timers' threads, the ticker that drives alarm and clock
// timers, the delays read again, and the two messages by which the timer
// threads reach the window thread.
#pragma once

#include <cstdint>

#include "platform/abi/kiv_types.h"
#include "vorel/model/timer_state.h"

namespace vorel {

class TDeskletObject;

// Starts one thread for a millisecond timer (none for other types); with
// no record, one for every millisecond timer of the list.
void StartMilliThreads(TDeskletObject& desklet, const TTimerRef& record);
// Terminates the threads of that record (of every millisecond timer with
// none); the reaper frees them.
void StopMilliThreads(TDeskletObject& desklet, const TTimerInfo* record);

// Converts every timer's delay; a timer whose delay does not read is
// reported and left stopped, and the others go on.
void InitialiseTimers(TDeskletObject& desklet);
// At the end of a load: initialises the timers, lets the ticker run and
// starts the millisecond timers.
void StartTimersAfterLoad(TDeskletObject& desklet);
// Resumes the ticker when it is enabled and has work: a data source, or an
// alarm or clock timer.
void WakeTicker(TDeskletObject& desklet);

// Reads the delay again and restarts the timer.
void ResetTimer(TDeskletObject& desklet, const TTimerRef& record);
// Stops the timer: no thread drives it and the ticker passes it over.
void StopTimer(TDeskletObject& desklet, TTimerInfo& record);
// Suspends or resumes the ticker and stops or starts every millisecond
// timer; enabling twice starts a second thread per millisecond timer.
void EnableTimers(TDeskletObject& desklet, bool enable);
// After fresh data: every delay is read again, from the first timer to the
// last, without starting or stopping a thread; a failure ends the walk and
// goes to the caller.
void ReevaluateTimerDelays(TDeskletObject& desklet);

// MSG_RUN_TIMER and MSG_DROP_TIMER; `id` names the record.
void RunTimerMessage(TDeskletObject& desklet, WPARAM id);
void DropTimerMessage(TDeskletObject& desklet, WPARAM id);

}  // namespace vorel
