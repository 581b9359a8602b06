// Running the window thread's queue for a while: the wait ends on time even
// when work keeps arriving faster than it is done.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <thread>

#include "kivhost/loop/host.h"

namespace kivhost {
namespace {

using namespace std::chrono_literals;

TEST(RunFor, EndsOnTimeWhileWorkPostsItselfAgain) {
  Host& host = Host::Get();
  host.BindWindowThread();
  std::atomic<bool> stop{false};
  int runs = 0;
  std::function<void()> again = [&] {
    ++runs;
    std::this_thread::sleep_for(100us);
    if (!stop) host.queue.PostTask(again);
  };
  host.queue.PostTask(again);
  // Ends the stream after a while, so that a wait that never ends fails the
  // test instead of hanging it.
  std::promise<void> done;
  std::thread guard([&stop, finished = done.get_future()] {
    if (finished.wait_for(10s) != std::future_status::ready) stop = true;
  });
  host.RunFor(50ms);
  const bool endedWhileWorkCame = !stop;
  stop = true;
  done.set_value();
  guard.join();
  host.PumpPending();
  EXPECT_TRUE(endedWhileWorkCame);
  EXPECT_GT(runs, 1);
}

}  // namespace
}  // namespace kivhost
