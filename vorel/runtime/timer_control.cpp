#include "vorel/runtime/timer_control.h"

#include <functional>

#include "platform/win/win_services.h"
#include "vorel/host/messages.h"
#include "vorel/model/desklet.h"
#include "vorel/runtime/statement_runner.h"
#include "vorel/runtime/timer_delay.h"
#include "vorel/runtime/timer_pass.h"

namespace vorel {

namespace {

void StartOne(TDeskletObject& desklet, const TTimerRef& record) {
  if (!IsMillisecondTimer(record->type)) return;
  auto thread = std::make_unique<TMilliUserTimerThread>(desklet.windowHandle, record);
  thread->Start();
  desklet.threads.Add(std::move(thread));
}

void StoreDelay(TTimerList& timers, TTimerInfo& record, const TTimerDelay& delay) {
  auto lock = timers.Lock();
  record.date = delay.date;
  record.seconds = delay.seconds;
}

// Each running thread that drives the record (every millisecond timer's
// with none).
void ForEachMilliThread(TDeskletObject& desklet, const TTimerInfo* record,
                        const std::function<void(TMilliUserTimerThread&)>& visit) {
  desklet.threads.Visit([&](TKivThread& thread) {
    auto* timer = dynamic_cast<TMilliUserTimerThread*>(&thread);
    if (timer && (!record || timer->Drives(*record))) visit(*timer);
  });
}

bool HasTickedTimer(const TTimerList& timers) {
  for (size_t i = 0; i < timers.Count(); ++i)
    if (IsTickedTimer(timers.At(i)->type)) return true;
  return false;
}

}  // namespace

void StartMilliThreads(TDeskletObject& desklet, const TTimerRef& record) {
  if (record) {
    StartOne(desklet, record);
    return;
  }
  for (const TTimerRef& each : desklet.timing.timers.Snapshot()) StartOne(desklet, each);
}

void StopMilliThreads(TDeskletObject& desklet, const TTimerInfo* record) {
  ForEachMilliThread(desklet, record, [](TMilliUserTimerThread& timer) { timer.Terminate(); });
  // NOTE: a terminated thread's wait ends at once, so the reaper can come
  // straight away; the window thread does not sleep for it.
  win::PostMessage(desklet.windowHandle, MSG_REAP_THREADS, 0, 0);
}

void InitialiseTimers(TDeskletObject& desklet) {
  TTimerList& timers = desklet.timing.timers;
  for (const TTimerRef& record : timers.Snapshot()) {
    TErrorLog::Scope scope(desklet.errorLog, "timer \"" + record->name + "\"");
    try {
      if (IsMillisecondTimer(record->type)) record->milliseconds = ReadTimerMilliseconds(desklet, record->delay);
      else StoreDelay(timers, *record, ParseTimerDelay(desklet, record->delay));
    } catch (...) {
      desklet.errorLog.Report(std::current_exception(), record->delay);
    }
  }
}

void StartTimersAfterLoad(TDeskletObject& desklet) {
  InitialiseTimers(desklet);
  desklet.timing.tickerEnabled = true;
  WakeTicker(desklet);
  StartMilliThreads(desklet, nullptr);
}

void WakeTicker(TDeskletObject& desklet) {
  TTimerState& timing = desklet.timing;
  if (!timing.tickerEnabled || !timing.secondsThread || !timing.secondsThread->Suspended()) return;
  // NOTE: an idle desklet keeps its ticker suspended, so that it has no
  // thread that wakes.
  if (desklet.data.xmlSources.empty() && !HasTickedTimer(timing.timers)) return;
  TDeskletObject* d = &desklet;
  timing.secondsThread->SetCallback([d](double now) { SecondsTick(*d, now); });
  timing.secondsThread->Resume();
}

void ResetTimer(TDeskletObject& desklet, const TTimerRef& record) {
  StoreDelay(desklet.timing.timers, *record, ParseTimerDelay(desklet, record->delay));
  if (IsMillisecondTimer(record->type)) record->milliseconds = ReadTimerMilliseconds(desklet, record->delay);
  StopMilliThreads(desklet, record.get());
  StartMilliThreads(desklet, record);
  WakeTicker(desklet);
}

void StopTimer(TDeskletObject& desklet, TTimerInfo& record) {
  StopMilliThreads(desklet, &record);
  auto lock = desklet.timing.timers.Lock();
  record.seconds = -1;
}

void EnableTimers(TDeskletObject& desklet, bool enable) {
  TTimerState& timing = desklet.timing;
  timing.tickerEnabled = enable;
  if (!enable) {
    if (timing.secondsThread) timing.secondsThread->Suspend();
    StopMilliThreads(desklet, nullptr);
    return;
  }
  WakeTicker(desklet);
  StartMilliThreads(desklet, nullptr);
}

void ReevaluateTimerDelays(TDeskletObject& desklet) {
  TTimerList& timers = desklet.timing.timers;
  for (const TTimerRef& record : timers.Snapshot()) {
    if (IsTickedTimer(record->type)) {
      StoreDelay(timers, *record, ParseTimerDelay(desklet, record->delay));
    } else if (IsMillisecondTimer(record->type)) {
      const uint32_t period = ReadTimerMilliseconds(desklet, record->delay);
      if (record->milliseconds.exchange(period) == period) continue;
      // A thread that drives it takes the new period in the wait under way.
      ForEachMilliThread(desklet, record.get(), [](TMilliUserTimerThread& timer) { timer.PeriodChanged(); });
    }
  }
}

void RunTimerMessage(TDeskletObject& desklet, WPARAM id) {
  // NOTE: the id is looked up, never taken as an address: the record may
  // be gone, and anyone can post this message.
  const TTimerRef record = desklet.timing.timers.Find(static_cast<uint64_t>(id));
  if (!record) return;
  int32_t queued = record->queuedRuns.load();
  while (queued > 0 && !record->queuedRuns.compare_exchange_weak(queued, queued - 1)) {
  }
  TErrorLog::Scope scope(desklet.errorLog, "timer \"" + record->name + "\" ontimer");
  const std::string statement = record->onTimer;
  RunStatement(desklet, statement);
}

void DropTimerMessage(TDeskletObject& desklet, WPARAM id) { desklet.timing.timers.Drop(static_cast<uint64_t>(id)); }

}  // namespace vorel
