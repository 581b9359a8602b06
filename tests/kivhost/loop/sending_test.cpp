// A worker thread sending to a desklet's window while the window thread
// delivers, destroys the desklet, or has stopped its loop: the sender is
// answered, nothing reaches a destroyed desklet, and the window thread can
// wait for the worker while destroying the desklet.
#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <memory>
#include <thread>

#include "kivhost/loop/host.h"
#include "kivhost/loop/session.h"

namespace kivhost {
namespace {

using namespace std::chrono_literals;

constexpr uint32_t kWorkerMessage = 0x8001;

// What the plug-in below saw. Its functions are plain function pointers,
// so they reach the test through this one record.
struct PluginRecord {
  std::atomic<int> delivered{0};
  std::atomic<bool> deliveredOnWindowThread{true};
  std::thread::id windowThread;
  // The worker the desklet waits for when it is destroyed.
  std::shared_future<LRESULT> worker;
  std::atomic<bool> workerEndedInDestroy{false};
};
PluginRecord* record = nullptr;

int32_t Process(void*, HWND, uint32_t message, WPARAM wParam, LPARAM, LRESULT* result) {
  if (message != kWorkerMessage) return 0;
  ++record->delivered;
  if (std::this_thread::get_id() != record->windowThread) record->deliveredOnWindowThread = false;
  *result = static_cast<LRESULT>(wParam) * 2;
  return 1;
}

int32_t Destroy(void*, HWND) {
  // As the plug-in does: the desklet's threads end before it goes. Bounded,
  // so a worker that is never released fails the test instead of hanging it.
  if (record->worker.valid() && record->worker.wait_for(10s) == std::future_status::ready)
    record->workerEndedInDestroy = true;
  return 1;
}

// A plug-in made of the functions above.
class TestPlugin : public PluginLibrary {
 public:
  TestPlugin() {
    OnProcessMessageEx = &Process;
    OnDestroy = &Destroy;
  }
};

// Sends from a thread of its own that is never joined: a sender that is
// never answered then fails the test's bounded wait rather than hang it at
// the end.
std::shared_future<LRESULT> SendFromWorker(Host& host, WinMsg msg) {
  auto promise = std::make_shared<std::promise<LRESULT>>();
  std::shared_future<LRESULT> result = promise->get_future().share();
  std::thread([&host, msg, promise] { promise->set_value(host.Send(msg)); }).detach();
  return result;
}

bool QueueReaches(const Host& host, size_t count) {
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (host.queue.Size() < count) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(1ms);
  }
  return true;
}

class Sending : public ::testing::Test {
 protected:
  void SetUp() override {
    record = &seen;
    seen.windowThread = std::this_thread::get_id();
    host.BindWindowThread();
    session = std::make_unique<Session>(host, plugin);
    HostDesklet& d = host.CreateDesklet();
    d.instance = &instance;
    hwnd = d.Hwnd();
  }
  void TearDown() override {
    session.reset();
    record = nullptr;
  }

  Host& host = Host::Get();
  TestPlugin plugin;
  PluginRecord seen;
  std::unique_ptr<Session> session;
  int instance = 0;
  HWND hwnd = 0;
};

TEST_F(Sending, AWorkersMessageIsDeliveredOnTheWindowThreadWithItsResult) {
  auto result = SendFromWorker(host, {hwnd, kWorkerMessage, 21, 0});
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (result.wait_for(0s) != std::future_status::ready && std::chrono::steady_clock::now() < deadline)
    host.RunFor(5ms);
  ASSERT_EQ(result.wait_for(0s), std::future_status::ready);
  EXPECT_EQ(result.get(), 42);
  EXPECT_EQ(seen.delivered, 1);
  EXPECT_TRUE(seen.deliveredOnWindowThread);
}

TEST_F(Sending, DestroyingTheDeskletReleasesAWorkerSendingToIt) {
  seen.worker = SendFromWorker(host, {hwnd, kWorkerMessage, 1, 0});
  ASSERT_TRUE(QueueReaches(host, 1));
  // The desklet waits for the worker in its destroy call; the worker waits
  // for the window thread, which is making that call.
  session->Close(hwnd);
  EXPECT_TRUE(seen.workerEndedInDestroy);
  ASSERT_EQ(seen.worker.wait_for(10s), std::future_status::ready);
  EXPECT_EQ(seen.worker.get(), 0);
  host.PumpPending();
  EXPECT_EQ(seen.delivered, 0) << "delivered to a destroyed desklet";
  EXPECT_EQ(host.Find(hwnd), nullptr);
}

TEST_F(Sending, SendsToAClosingOrGoneWindowReturnZeroAtOnce) {
  host.CloseWindow(hwnd);
  auto closing = SendFromWorker(host, {hwnd, kWorkerMessage, 1, 0});
  ASSERT_EQ(closing.wait_for(10s), std::future_status::ready);
  EXPECT_EQ(closing.get(), 0);
  EXPECT_FALSE(host.Post({hwnd, kWorkerMessage, 1, 0}));
  session->Close(hwnd);
  auto gone = SendFromWorker(host, {hwnd, kWorkerMessage, 1, 0});
  ASSERT_EQ(gone.wait_for(10s), std::future_status::ready);
  EXPECT_EQ(gone.get(), 0);
  host.PumpPending();
  EXPECT_EQ(seen.delivered, 0);
}

TEST_F(Sending, ManyWorkersSendingWhileTheDeskletIsDestroyedAllReturn) {
  constexpr int kWorkers = 8;
  std::vector<std::shared_future<LRESULT>> results;
  for (int i = 0; i < kWorkers; ++i) results.push_back(SendFromWorker(host, {hwnd, kWorkerMessage, 1, 0}));
  // Some are delivered, the rest are waiting when the desklet goes.
  host.RunFor(2ms);
  session->Close(hwnd);
  const int deliveredBeforeClose = seen.delivered;
  host.PumpPending();
  for (auto& r : results) {
    ASSERT_EQ(r.wait_for(10s), std::future_status::ready);
    const LRESULT value = r.get();
    EXPECT_TRUE(value == 0 || value == 2) << value;
  }
  EXPECT_EQ(seen.delivered, deliveredBeforeClose) << "delivered after the desklet was destroyed";
}

TEST_F(Sending, StoppingTheLoopReleasesAWaitingWorker) {
  auto result = SendFromWorker(host, {hwnd, kWorkerMessage, 1, 0});
  ASSERT_TRUE(QueueReaches(host, 1));
  host.StopLoop();
  ASSERT_EQ(result.wait_for(10s), std::future_status::ready);
  EXPECT_EQ(result.get(), 0);
  auto later = SendFromWorker(host, {hwnd, kWorkerMessage, 1, 0});
  ASSERT_EQ(later.wait_for(10s), std::future_status::ready);
  EXPECT_EQ(later.get(), 0);
  host.PumpPending();
  EXPECT_EQ(seen.delivered, 0);
}

}  // namespace
}  // namespace kivhost
