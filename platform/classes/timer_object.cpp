#include "platform/classes/timer_object.h"

#include <chrono>

#include "platform/automation/automation_error.h"

namespace classes {

namespace {

constexpr automation::Guid kIidTimerObject{0x7C1E2A01, 0x5D0B, 0x4C61, {0x9A, 0x21, 0x3E, 0x44, 0x0B, 0x7D, 0x10, 0x01}};
constexpr automation::Guid kIidTimerEvents{0x7C1E2A02, 0x5D0B, 0x4C61, {0x9A, 0x21, 0x3E, 0x44, 0x0B, 0x7D, 0x10, 0x02}};

}  // namespace

const automation::DispatchTable<TimerObject>& TimerObject::Table() {
  using T = TimerObject;
  static const automation::DispatchTable<T> table =
      automation::DispatchTable<T>("IVorelTimerObject", kIidTimerObject, "A timer that fires Tick events")
          .Source(kTimerProgId)
          .Property("Interval", 1, &T::GetInterval, &T::PutInterval)
          .Property("Enabled", 2, &T::GetEnabled, &T::PutEnabled)
          .Method("Start", 3, &T::Start)
          .Method("Stop", 4, &T::Stop)
          .Get("Ticks", 5, &T::GetTicks);
  return table;
}

std::shared_ptr<const automation::InterfaceInfo> TimerObject::SharedEvents() {
  static const std::shared_ptr<const automation::InterfaceInfo> events = [] {
    auto info = std::make_shared<automation::InterfaceInfo>("DVorelTimerEvents", kIidTimerEvents, "Events of Vorel.Timer");
    info->SetDual(false);
    info->Method("Tick", 1, {automation::Param("Count", automation::VarType::Int32)});
    return info;
  }();
  return events;
}

const automation::InterfaceInfo& TimerObject::Events() { return *SharedEvents(); }

TimerObject::TimerObject() : thread_(&TimerObject::Run, state_, Point()) {}

TimerObject::~TimerObject() {
  {
    std::lock_guard guard(state_->mutex);
    state_->quit = true;
    ++state_->generation;
  }
  state_->changed.notify_all();
  // NOTE: a receiver released on the timer's own thread may take the last
  // reference to the timer with it; the thread then ends by itself, on
  // state it shares.
  if (thread_.get_id() == std::this_thread::get_id()) thread_.detach();
  else thread_.join();
}

void TimerObject::Run(std::shared_ptr<State> state, automation::ComPtr<automation::ConnectionPoint> point) {
  std::unique_lock lock(state->mutex);
  while (!state->quit) {
    if (!state->enabled) {
      state->changed.wait(lock);
      continue;
    }
    const uint64_t generation = state->generation;
    const auto due = std::chrono::steady_clock::now() + std::chrono::milliseconds(state->interval);
    if (state->changed.wait_until(lock, due, [&] { return state->generation != generation; })) continue;
    const int32_t count = ++state->ticks;
    lock.unlock();
    point->Fire(1, {automation::Variant(count)});
    lock.lock();
  }
}

int32_t TimerObject::GetInterval() const {
  std::lock_guard guard(state_->mutex);
  return state_->interval;
}

void TimerObject::PutInterval(int32_t milliseconds) {
  if (milliseconds < 1) automation::ThrowRangeError();
  {
    std::lock_guard guard(state_->mutex);
    state_->interval = milliseconds;
    ++state_->generation;
  }
  state_->changed.notify_all();
}

bool TimerObject::GetEnabled() const {
  std::lock_guard guard(state_->mutex);
  return state_->enabled;
}

void TimerObject::PutEnabled(bool enabled) {
  {
    std::lock_guard guard(state_->mutex);
    if (state_->enabled == enabled) return;
    state_->enabled = enabled;
    ++state_->generation;
  }
  state_->changed.notify_all();
}

int32_t TimerObject::GetTicks() const {
  std::lock_guard guard(state_->mutex);
  return state_->ticks;
}

}  // namespace classes
