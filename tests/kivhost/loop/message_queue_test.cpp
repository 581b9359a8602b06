#include "kivhost/loop/message_queue.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace kivhost {
namespace {

using namespace std::chrono_literals;

TEST(MessageQueue, PeekFiltersByWindowAndKeepsUnlessRemoved) {
  MessageQueue q;
  q.Post({1, 100, 0, 0});
  q.Post({2, 200, 0, 0});
  auto m = q.Peek(2, false);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->message, 200u);
  EXPECT_EQ(q.Size(), 2u);
  EXPECT_EQ(q.Peek(2, true)->message, 200u);
  EXPECT_FALSE(q.Peek(2, true));
  EXPECT_EQ(q.Peek(0, true)->message, 100u);
  EXPECT_FALSE(q.Peek(0, false));
}

TEST(MessageQueue, TasksAreNotPeekedAsMessages) {
  MessageQueue q;
  int ran = 0;
  q.PostTask([&] { ++ran; });
  EXPECT_FALSE(q.Peek(0, true));
  auto item = q.TakeNow();
  ASSERT_TRUE(item && item->task);
  item->task();
  EXPECT_EQ(ran, 1);
}

TEST(MessageQueue, TakeWaitsUntilTheDeadlineAtMost) {
  MessageQueue q;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(q.Take(start + 20ms));
  EXPECT_GE(std::chrono::steady_clock::now() - start, 20ms);
  std::thread poster([&] {
    std::this_thread::sleep_for(5ms);
    q.Post({1, 7, 0, 0});
  });
  auto item = q.Take(std::chrono::steady_clock::now() + 10s);
  poster.join();
  ASSERT_TRUE(item);
  EXPECT_EQ(item->msg.message, 7u);
}

TEST(MessageQueue, ForgetDropsOnlyThatWindowsMessages) {
  MessageQueue q;
  q.Post({1, 1, 0, 0});
  q.Post({2, 2, 0, 0});
  q.PostTask([] {});
  q.Forget(1);
  EXPECT_EQ(q.Size(), 2u);
  EXPECT_FALSE(q.Peek(1, false));
}

}  // namespace
}  // namespace kivhost
