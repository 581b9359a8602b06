#include "sm_thread.h"

#include <memory>

namespace jsengines {

SmThread::SmThread(std::optional<SmRuntime::Options> options) {
  std::promise<void> started;
  std::future<void> ready = started.get_future();
  thread_ = std::thread(&SmThread::Body, this, options, std::move(started));
  try {
    ready.get();
  } catch (const std::exception&) {
    thread_.join();
    throw;
  }
}

SmThread::~SmThread() {
  {
    std::lock_guard lock(mutex_);
    closing_ = true;
  }
  wake_.notify_one();
  thread_.join();
}

std::future<void> SmThread::Post(Task task) {
  std::packaged_task<void(SmRuntime*)> packaged(std::move(task));
  std::future<void> done = packaged.get_future();
  {
    std::lock_guard lock(mutex_);
    tasks_.push_back(std::move(packaged));
  }
  wake_.notify_one();
  return done;
}

void SmThread::Body(std::optional<SmRuntime::Options> options, std::promise<void> started) {
  std::unique_ptr<SmRuntime> runtime;
  try {
    if (options) runtime = std::make_unique<SmRuntime>(*options);
  } catch (const std::exception&) {
    started.set_exception(std::current_exception());
    return;
  }
  runtime_ = runtime.get();
  started.set_value();
  for (;;) {
    std::packaged_task<void(SmRuntime*)> task;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return closing_ || !tasks_.empty(); });
      if (tasks_.empty()) break;
      task = std::move(tasks_.front());
      tasks_.pop_front();
    }
    task(runtime.get());
  }
}

}  // namespace jsengines
