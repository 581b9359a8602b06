// A thread with a SpiderMonkey context of its own (or none, for work that
// makes and destroys contexts itself), running tasks posted from the
// benchmark thread. It lets a benchmark compare contexts made with
// different options, since a thread holds at most one context, and lets
// the benchmark thread act as the watchdog of a script running here.
#pragma once

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <future>
#include <mutex>
#include <optional>
#include <thread>

#include "sm_runtime.h"

namespace jsengines {

class SmThread {
 public:
  // The task's runtime is null when the thread has none.
  using Task = std::function<void(SmRuntime* runtime)>;

  // With options, the thread makes its context first; throws what making
  // it threw.
  explicit SmThread(std::optional<SmRuntime::Options> options);
  // Runs the tasks still queued, then destroys the context on its thread.
  ~SmThread();
  SmThread(const SmThread&) = delete;
  SmThread& operator=(const SmThread&) = delete;

  // The future holds what the task threw.
  std::future<void> Post(Task task);
  // Runs the task and waits for it; throws what it threw.
  void Run(Task task) { Post(std::move(task)).get(); }
  // The thread's runtime, for the watchdog calls that any thread may make.
  SmRuntime* Runtime() const { return runtime_; }

 private:
  void Body(std::optional<SmRuntime::Options> options, std::promise<void> started);

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::packaged_task<void(SmRuntime*)>> tasks_;
  bool closing_ = false;
  SmRuntime* runtime_ = nullptr;
  std::thread thread_;
};

}  // namespace jsengines
