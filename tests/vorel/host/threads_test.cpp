// Worker threads of a desklet: destruction stops and waits for them.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

#include "platform/abi/plugin_api.h"
#include "tests/support/test_host.h"
#include "vorel/model/desklet.h"
#include "vorel/model/worker_threads.h"

using namespace std::chrono_literals;

namespace {

// A worker that keeps touching shared state until it is told to stop.
class BusyThread final : public vorel::TKivThread {
 public:
  explicit BusyThread(std::shared_ptr<std::atomic<int>> counter) : counter_(std::move(counter)) {}
  ~BusyThread() override { TerminateAndWait(); }

 private:
  void Execute() override {
    while (!Terminated()) {
      ++*counter_;
      WaitTerminated(1ms);
    }
    ended = true;
  }
  std::shared_ptr<std::atomic<int>> counter_;

 public:
  std::atomic<bool> ended{false};
};

TEST(DeskletThreads, DestroyWaitsForEveryRunningWorker) {
  testhost::TestHost::Get().Reset();
  void* instance = OnCreate(0x1200, 1, nullptr, nullptr);
  ASSERT_NE(instance, nullptr);
  auto counter = std::make_shared<std::atomic<int>>(0);
  auto* d = vorel::AsDesklet(instance);
  for (int i = 0; i < 4; ++i) {
    auto t = std::make_unique<BusyThread>(counter);
    t->Start();
    d->threads.Add(std::move(t));
  }
  while (*counter < 20) std::this_thread::sleep_for(1ms);
  OnDestroy(instance, 0x1200);
  // Every worker has ended: the counter no longer moves.
  int after = *counter;
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(*counter, after);
}

TEST(DeskletThreads, FinishedCallsAreReapedOnTheReapMessage) {
  testhost::TestHost::Get().Reset();
  void* instance = OnCreate(0x1300, 1, nullptr, nullptr);
  auto* d = vorel::AsDesklet(instance);
  std::atomic<int> ran{0};
  for (int i = 0; i < 3; ++i) {
    auto t = std::make_unique<vorel::TCallThread>(0x1300, 0ms, [&ran] { ++ran; });
    t->Start();
    d->threads.Add(std::move(t));
  }
  while (ran < 3 || testhost::TestHost::Get().Posted().size() < 3) std::this_thread::sleep_for(1ms);
  testhost::TestHost::Get().DeliverPosted();
  EXPECT_EQ(d->threads.Count(), 0u);
  OnDestroy(instance, 0x1300);
}

TEST(DeskletThreads, TerminatedDelayedCallNeverRuns) {
  std::atomic<bool> ran{false};
  {
    vorel::TCallThread t(0, 10s, [&ran] { ran = true; });
    t.Start();
    std::this_thread::sleep_for(5ms);
  }  // the destructor terminates the wait at once
  EXPECT_FALSE(ran);
}

TEST(DeskletThreads, SecondsTickerTicksOnlyWhileResumed) {
  std::atomic<int> ticks{0};
  vorel::TSecsThread ticker([&ticks](double) { ++ticks; });
  std::this_thread::sleep_for(1300ms);
  EXPECT_EQ(ticks, 0) << "created suspended";
  ticker.Resume();
  std::this_thread::sleep_for(1400ms);
  EXPECT_GE(ticks, 1);
}

}  // namespace
