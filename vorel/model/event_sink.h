// TEventSink: connects the events of a foreign automation object to script
// procedures named by a prefix. The desklet owns its sinks; freeing one
// disconnects it from the object.
//
// TEventQueue: where events wait for the desklet's window thread. Objects
// fire on whatever thread they like; the connection takes the event's name
// and arguments into the queue and posts a message, and the window thread
// runs the procedures when the message arrives -- never inside another
// script call, and only for sinks still connected then.
#pragma once

#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "platform/abi/kiv_types.h"
#include "platform/automation/unknown.h"
#include "platform/automation/variant.h"

namespace vorel {

struct TQueuedEvent {
  uint64_t sink = 0;  // TEventSink::Id of the connection it came through
  std::string member;
  std::vector<automation::Variant> args;  // first argument first
};

class TEventQueue {
 public:
  explicit TEventQueue(HWND window) : window_(window) {}
  // False once the desklet closed the queue: the event is dropped.
  bool Push(TQueuedEvent event);
  std::deque<TQueuedEvent> TakeAll();
  // The desklet goes: later events are dropped.
  void Close();
  HWND Window() const { return window_; }

 private:
  std::mutex mutex_;
  std::deque<TQueuedEvent> events_;
  bool closed_ = false;
  HWND window_;
};

class TEventSink {
 public:
  virtual ~TEventSink() = default;
  // Whether the sink is connected to the object of this identity (the
  // object's IUnknown).
  virtual bool IsConnectedTo(automation::IUnknown* identity) const = 0;
  virtual size_t ConnectionCount() const = 0;

  std::string Prefix;
  std::string ProgID;
  uint64_t Id = 0;  // unique within the desklet
};

}  // namespace vorel
