// Worker threads of a desklet: destruction stops and waits for them.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <stdexcept>

#include "platform/abi/plugin_api.h"
#include "tests/support/test_host.h"
#include "vorel/model/desklet.h"
#include "vorel/model/worker_threads.h"
#include "vorel/load/skin_loader.h"
#include "tests/support/temp_dir.h"

using namespace std::chrono_literals;

namespace {

// A worker that keeps touching shared state until it is told to stop.
std::unique_ptr<vorel::TKivThread> BusyThread(std::shared_ptr<std::atomic<int>> counter) {
  return std::make_unique<vorel::TKivThread>(0, [counter](vorel::TKivThread& self) {
    while (!self.Terminated()) {
      ++*counter;
      self.WaitFor(1ms);
    }
  });
}

// Polls `done` for at most two seconds; a failure fails, it never hangs.
bool Eventually(const std::function<bool()>& done) {
  const auto end = std::chrono::steady_clock::now() + 2s;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(1ms);
  }
  return true;
}

TEST(DeskletThreads, DestroyWaitsForEveryRunningWorker) {
  testhost::TestHost::Get().Reset();
  void* instance = OnCreate(0x1200, 1, nullptr, nullptr);
  ASSERT_NE(instance, nullptr);
  auto counter = std::make_shared<std::atomic<int>>(0);
  auto* d = vorel::AsDesklet(instance);
  for (int i = 0; i < 4; ++i) {
    auto t = BusyThread(counter);
    t->Start();
    d->threads.Add(std::move(t));
  }
  ASSERT_TRUE(Eventually([&] { return *counter >= 20; }));
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
  ASSERT_TRUE(Eventually([&] { return ran == 3 && testhost::TestHost::Get().Posted().size() >= 3; }));
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
  vorel::TSecsThread ticker(0, [&ticks](double) { ++ticks; });
  std::this_thread::sleep_for(1300ms);
  EXPECT_EQ(ticks, 0) << "created suspended";
  ticker.Resume();
  std::this_thread::sleep_for(1400ms);
  EXPECT_GE(ticks, 1);
}

TEST(DeskletThreads, AFailingWorkerStopsAloneAndIsReportedWhenReaped) {
  testhost::TestHost::Get().Reset();
  void* instance = OnCreate(0x1400, 1, nullptr, nullptr);
  auto* d = vorel::AsDesklet(instance);
  auto failing = std::make_unique<vorel::TCallThread>(0x1400, 0ms, [] { throw std::runtime_error("disk full"); });
  failing->Start();
  d->threads.Add(std::move(failing));
  ASSERT_TRUE(Eventually([] { return !testhost::TestHost::Get().Posted().empty(); }));
  testhost::TestHost::Get().DeliverPosted();
  EXPECT_EQ(d->threads.Count(), 0u);
  ASSERT_EQ(d->errorLog.Lines().size(), 3u);
  EXPECT_NE(d->errorLog.Lines()[1].find("disk full"), std::string::npos) << d->errorLog.Lines()[1];
  OnDestroy(instance, 0x1400);
}

TEST(DeskletThreads, AFailureOfAWorkerStoppedAtDestructionStillReachesTheHost) {
  testhost::TestHost::Get().Reset();
  void* instance = OnCreate(0x1500, 1, nullptr, nullptr);
  auto* d = vorel::AsDesklet(instance);
  auto worker = std::make_unique<vorel::TKivThread>(0, [](vorel::TKivThread& self) {
    self.WaitUntil([] { return false; });
    throw std::runtime_error("left in a bad state");
  });
  worker->Start();
  d->threads.Add(std::move(worker));
  OnDestroy(instance, 0x1500);
  bool told = false;
  for (auto& call : testhost::TestHost::Get().CallsOf("WinErrorLogLine"))
    told = told || call.args[1].find("left in a bad state") != std::string::npos;
  EXPECT_TRUE(told);
}

TEST(DeskletThreads, ASuspendedTickerHasNoThreadThatWakes) {
  std::atomic<int> ticks{0};
  vorel::TSecsThread ticker(0, [&ticks](double) { ++ticks; });
  EXPECT_TRUE(ticker.Finished()) << "no system thread before the first Resume";
  ticker.Resume();
  ticker.Suspend();
  std::this_thread::sleep_for(1300ms);
  EXPECT_EQ(ticks, 0);
  // Terminate wakes a suspended ticker at once.
  const auto before = std::chrono::steady_clock::now();
  ticker.TerminateAndWait();
  EXPECT_LT(std::chrono::steady_clock::now() - before, 200ms);
}

// NOTE: no text in the skin: Pango starts a font thread of its own, which
// ThreadSanitizer cannot see into.
TEST(DeskletThreads, AnIdleSkinLeavesTheTickerSuspended) {
  testhost::TestHost::Get().Reset();
  void* instance = OnCreate(0x1600, 1, nullptr, nullptr);
  auto* d = vorel::AsDesklet(instance);
  testing_support::TempDir dir;
  const std::string skin = dir.Write("idle.xml",
      "<skindata><sides><side id=\"0\" width=\"10\" height=\"10\"/></sides>"
      "<desklet><label>idle</label></desklet><layers><layer name=\"a\" src=\"!BLANKSPACE\" width=\"5\" height=\"5\"/></layers></skindata>");
  vorel::LoadSkin(*d, skin, true, false);
  ASSERT_TRUE(d->timing.secondsThread);
  EXPECT_TRUE(d->timing.secondsThread->Suspended());
  EXPECT_TRUE(d->timing.secondsThread->Finished()) << "never started";
  OnDestroy(instance, 0x1600);
}

}  // namespace
