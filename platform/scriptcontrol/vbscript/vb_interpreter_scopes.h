// The interpreter's scope guards, for its own source files: Entry marks a
// call from outside (the time limit and the stack budget run from the
// outermost), FramePush a procedure's frame for as long as it runs.
#pragma once

#include <thread>

#include "platform/scriptcontrol/vbscript/vb_interpreter.h"

namespace scriptcontrol::vbscript {

// Set on every call from outside: the time limit runs from the outermost.
class Interpreter::Entry {
 public:
  explicit Entry(Interpreter& in) : in_(in) {
    if (in_.entries_++ == 0) {
      // NOTE: measuring the stack reads /proc/self/maps on the main
      // thread, too slow for every event; it is measured again only when
      // the interpreter is entered on another thread.
      if (in_.stackThread_ != std::this_thread::get_id()) {
        char probe = 0;
        in_.stackLimit_ = StackLimitOf(&probe);
        in_.stackThread_ = std::this_thread::get_id();
      }
      in_.budget_.Start(in_.timeout_);
    }
  }
  ~Entry() { --in_.entries_; }
  Entry(const Entry&) = delete;
  Entry& operator=(const Entry&) = delete;

 private:
  Interpreter& in_;
};

class Interpreter::FramePush {
 public:
  FramePush(Interpreter& in, Frame frame) : in_(in) { in_.frames_.push_back(std::move(frame)); }
  ~FramePush() {
    // The frame's variables go first: a Class_Terminate they set off runs
    // while the frame still stands.
    Frame& f = in_.frames_.back();
    for (automation::Variant& v : f.locals) v.Clear();
    f.with.clear();
    in_.frames_.pop_back();
  }
  FramePush(const FramePush&) = delete;
  FramePush& operator=(const FramePush&) = delete;

 private:
  Interpreter& in_;
};

}  // namespace scriptcontrol::vbscript
