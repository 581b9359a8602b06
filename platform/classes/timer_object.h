// TimerObject ("Vorel.Timer"): a timer that scripts create by name and
// whose Tick event they receive. Interval is in milliseconds; Enabled (or
// Start and Stop) switches it on and off; each tick fires Tick(Count) with
// the number of ticks so far. Ticks come from the timer's own thread: a
// receiver that runs scripts takes them over to its script thread.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/classes/event_source.h"

namespace classes {

inline constexpr const char* kTimerProgId = "Vorel.Timer";

class TimerObject : public EventSource<TimerObject> {
 public:
  static const automation::DispatchTable<TimerObject>& Table();
  static const automation::InterfaceInfo& Events();
  static std::shared_ptr<const automation::InterfaceInfo> SharedEvents();

  TimerObject();
  ~TimerObject() override;

  int32_t GetInterval() const;
  void PutInterval(int32_t milliseconds);
  bool GetEnabled() const;
  void PutEnabled(bool enabled);
  void Start() { PutEnabled(true); }
  void Stop() { PutEnabled(false); }
  int32_t GetTicks() const;

 private:
  struct State {
    std::mutex mutex;
    std::condition_variable changed;
    int32_t interval = 1000;
    bool enabled = false;
    bool quit = false;
    int32_t ticks = 0;
    uint64_t generation = 0;  // counts changes, so a wait starts again after one
  };
  static void Run(std::shared_ptr<State> state, automation::ComPtr<automation::ConnectionPoint> point);

  std::shared_ptr<State> state_ = std::make_shared<State>();
  std::thread thread_;
};

}  // namespace classes
