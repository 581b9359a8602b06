// Many threads posting at once while the window thread takes messages: no
// message is lost and each thread's messages keep their order.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "kivhost/core/message_queue.h"

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

}  // namespace
}  // namespace kivhost
