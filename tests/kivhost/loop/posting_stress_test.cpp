// Many threads posting at once while the window thread takes messages: no
// message is lost and each thread's messages keep their order.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "kivhost/loop/host.h"
#include "kivhost/loop/message_queue.h"
#include "support/temp_dir.h"

namespace kivhost {
namespace {

TEST(PostingStress, ManyThreadsLoseNothing) {
  constexpr int kThreads = 8;
  constexpr int kEach = 4000;
  MessageQueue q;
  std::vector<std::thread> posters;
  for (int t = 0; t < kThreads; ++t)
    posters.emplace_back([&q, t] {
      for (int i = 0; i < kEach; ++i) q.Post({static_cast<HWND>(t + 1), 3026, static_cast<WPARAM>(i), 0});
    });
  std::vector<int> next(kThreads, 0);
  int received = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (received < kThreads * kEach && std::chrono::steady_clock::now() < deadline) {
    auto item = q.Take(std::chrono::steady_clock::now() + std::chrono::milliseconds(100));
    if (!item) continue;
    const int t = static_cast<int>(item->msg.hwnd) - 1;
    ASSERT_EQ(item->msg.wParam, static_cast<WPARAM>(next[t])) << "thread " << t << " out of order";
    ++next[t];
    ++received;
  }
  for (auto& p : posters) p.join();
  EXPECT_EQ(received, kThreads * kEach);
  EXPECT_EQ(q.Size(), 0u);
}

// The same through the host, with the trace recording every post: posts to
// a live window all arrive, posts to one that is gone are refused.
TEST(PostingStress, ThroughTheHostWithTheTraceOn) {
  testing_support::TempDir dir;
  Host& host = Host::Get();
  host.trace.Open(dir.File("t.jsonl"));
  const HWND live = host.CreateDesklet().Hwnd();
  constexpr int kThreads = 6;
  constexpr int kEach = 1500;
  std::atomic<int> refused{0};
  std::vector<std::thread> posters;
  for (int t = 0; t < kThreads; ++t)
    posters.emplace_back([&, t] {
      for (int i = 0; i < kEach; ++i) {
        host.trace.Record("plugin>host", "WinPostMessage", live, json::array({t, i}), true);
        if (!host.Post({live, 3026, static_cast<WPARAM>(i), t})) ++refused;
        if (!host.Post({0xDEAD, 3026, 0, 0})) ++refused;
      }
    });
  int received = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (received < kThreads * kEach && std::chrono::steady_clock::now() < deadline)
    if (host.queue.Take(std::chrono::steady_clock::now() + std::chrono::milliseconds(100))) ++received;
  for (auto& p : posters) p.join();
  host.trace.Flush();
  EXPECT_EQ(received, kThreads * kEach);
  EXPECT_EQ(refused.load(), kThreads * kEach);
  host.RemoveDesklet(live);
}

}  // namespace
}  // namespace kivhost
