// TTimerList: the desklet's timers, in skin order followed by those that
// scripts added, and TTimerState, the list with the one-second ticker that
// drives the alarm and clock timers.
//
// The window thread changes the list and the records; the timer pass reads
// them from the ticker's thread. Every change of the list, and every
// change of a record's `date`, `seconds` or `lastFired`, is made under the
// list's lock (`Lock()`), which the pass holds while it walks. Reading on
// the window thread needs no lock: no other thread writes.
//
// Records are shared: a timer deleted by a script leaves the list but stays
// alive while a script object, a millisecond thread or a queued message
// still refers to it (`Find` still finds it then); a one-shot timer that
// has fired is dropped for good.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "vorel/model/timer_record.h"
#include "vorel/model/worker_threads.h"

namespace vorel {

using TTimerRef = std::shared_ptr<TTimerInfo>;

class TTimerList {
 public:
  // Adds a timer, or reuses the last one of that name: the record is put
  // in its stopped state with the given type, delay and statement. None
  // when the delay or the statement is empty. An empty name becomes "name"
  // and the number of timers plus one.
  TTimerRef Add(const std::string& name, const std::string& delay, uint8_t type, const std::string& statement);

  size_t Count() const { return timers_.size(); }
  bool Empty() const { return timers_.empty(); }
  TTimerRef At(size_t position) const { return position < timers_.size() ? timers_[position] : nullptr; }
  // The position of the last timer with that name (compared exactly).
  std::optional<size_t> FindLast(const std::string& name) const;
  // A record by id: in the list, or deleted and still referred to.
  TTimerRef Find(uint64_t id);
  // The records as they are now, for walks that run statements.
  std::vector<TTimerRef> Snapshot() const { return timers_; }

  // Removes the timer at the position from the list; the record lives on
  // while something refers to it.
  void RemoveAt(size_t position);
  // Removes a record from the list and forgets it; false when it was not
  // in the list.
  bool Drop(uint64_t id);
  void Clear();

  // Held by the timer pass for its whole walk, and by the window thread
  // while it changes timing fields.
  std::unique_lock<std::mutex> Lock() const { return std::unique_lock(mutex_); }

 private:
  void ForgetUnused();

  mutable std::mutex mutex_;
  std::vector<TTimerRef> timers_;
  // Deleted by scripts, kept while referred to.
  std::vector<TTimerRef> removed_;
  uint64_t nextId_ = 1;
};

struct TTimerState {
  TTimerList timers;
  // Whether the ticker should run: set at the end of a load and by
  // EnableTimers(true), cleared by EnableTimers(false).
  bool tickerEnabled = false;
  std::unique_ptr<TSecsThread> secondsThread;
};

}  // namespace vorel
