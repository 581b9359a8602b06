#include "vorel/model/timer_state.h"

#include <algorithm>

namespace vorel {

TTimerRef TTimerList::Add(const std::string& name, const std::string& delay, uint8_t type, const std::string& statement) {
  if (delay.empty() || statement.empty()) return nullptr;
  std::lock_guard lock(mutex_);
  TTimerRef record;
  for (auto it = timers_.rbegin(); it != timers_.rend(); ++it)
    if ((*it)->name == name) {
      record = *it;
      break;
    }
  const bool fresh = !record;
  if (fresh) record = std::make_shared<TTimerInfo>(nextId_++);
  record->lastFired = 0;
  record->date = 0;
  record->seconds = -1;
  record->milliseconds = 0;
  record->name = name.empty() ? "name" + std::to_string(timers_.size() + 1) : name;
  record->type = type;
  record->delay = delay;
  record->onTimer = statement;
  if (fresh) timers_.push_back(record);
  return record;
}

std::optional<size_t> TTimerList::FindLast(const std::string& name) const {
  for (size_t i = timers_.size(); i-- > 0;)
    if (timers_[i]->name == name) return i;
  return std::nullopt;
}

TTimerRef TTimerList::Find(uint64_t id) {
  for (const TTimerRef& record : timers_)
    if (record->id == id) return record;
  for (const TTimerRef& record : removed_)
    if (record->id == id) return record;
  return nullptr;
}

void TTimerList::RemoveAt(size_t position) {
  if (position >= timers_.size()) return;
  std::lock_guard lock(mutex_);
  removed_.push_back(std::move(timers_[position]));
  timers_.erase(timers_.begin() + static_cast<std::ptrdiff_t>(position));
  ForgetUnused();
}

bool TTimerList::Drop(uint64_t id) {
  std::lock_guard lock(mutex_);
  ForgetUnused();
  auto it = std::find_if(timers_.begin(), timers_.end(), [id](const TTimerRef& r) { return r->id == id; });
  if (it == timers_.end()) return false;
  timers_.erase(it);
  return true;
}

void TTimerList::Clear() {
  std::lock_guard lock(mutex_);
  timers_.clear();
  removed_.clear();
}

// A deleted record that only this list holds and that no message is on its
// way for can be freed.
void TTimerList::ForgetUnused() {
  std::erase_if(removed_, [](const TTimerRef& r) { return r.use_count() == 1 && r->queuedRuns.load() == 0; });
}

}  // namespace vorel
