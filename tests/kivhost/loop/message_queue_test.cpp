// The window thread's queue: posting, peeking and taking, and messages
// sent from other threads, whose senders are always answered.
#include "kivhost/loop/message_queue.h"

#include <gtest/gtest.h>

#include <future>
#include <memory>
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

TEST(MessageQueue, ClosingAWindowDropsOnlyItsMessagesAndRefusesNewOnes) {
  MessageQueue q;
  q.Post({1, 1, 0, 0});
  q.Post({2, 2, 0, 0});
  q.PostTask([] {});
  q.CloseWindow(1);
  EXPECT_EQ(q.Size(), 2u);
  EXPECT_FALSE(q.Peek(1, false));
  EXPECT_FALSE(q.Post({1, 3, 0, 0}));
  EXPECT_TRUE(q.Post({2, 3, 0, 0}));
}

// Waits (boundedly) until the queue holds `count` items; a sender's message
// is in the queue once this returns true.
bool QueueReaches(const MessageQueue& q, size_t count) {
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (q.Size() < count) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(1ms);
  }
  return true;
}

// Sends from a thread of its own that is never joined and keeps the queue
// alive: a sender that is never answered fails the caller's bounded wait
// instead of hanging the test where its result would be waited for.
std::shared_future<LRESULT> SendFrom(std::shared_ptr<MessageQueue> q, WinMsg msg) {
  auto promise = std::make_shared<std::promise<LRESULT>>();
  std::shared_future<LRESULT> result = promise->get_future().share();
  std::thread([q, msg, promise] { promise->set_value(q->SendAndWait(msg)); }).detach();
  return result;
}

TEST(MessageQueue, ASentMessageWaitsForItsAnswer) {
  auto q = std::make_shared<MessageQueue>();
  auto sender = SendFrom(q, {4, 1024, 5, 6});
  auto item = q->Take(std::chrono::steady_clock::now() + 10s);
  ASSERT_TRUE(item && item->sent);
  EXPECT_EQ(item->msg.message, 1024u);
  EXPECT_EQ(item->msg.wParam, 5u);
  EXPECT_FALSE(q->Peek(0, false)) << "a sent message is not a posted one";
  EXPECT_EQ(sender.wait_for(20ms), std::future_status::timeout) << "answered before delivery";
  item->sent->Answer(42);
  ASSERT_EQ(sender.wait_for(10s), std::future_status::ready);
  EXPECT_EQ(sender.get(), 42);
}

TEST(MessageQueue, ASentMessageDroppedUnansweredAnswersZero) {
  auto q = std::make_shared<MessageQueue>();
  auto sender = SendFrom(q, {4, 1024, 0, 0});
  {
    auto item = q->Take(std::chrono::steady_clock::now() + 10s);
    ASSERT_TRUE(item && item->sent);
  }
  ASSERT_EQ(sender.wait_for(10s), std::future_status::ready);
  EXPECT_EQ(sender.get(), 0);
}

TEST(MessageQueue, ClosingTheWindowReleasesItsSendersWithZero) {
  auto q = std::make_shared<MessageQueue>();
  auto toClosed = SendFrom(q, {4, 1024, 0, 0});
  ASSERT_TRUE(QueueReaches(*q, 1));
  auto toOther = SendFrom(q, {5, 1024, 0, 0});
  ASSERT_TRUE(QueueReaches(*q, 2));
  q->CloseWindow(4);
  ASSERT_EQ(toClosed.wait_for(10s), std::future_status::ready);
  EXPECT_EQ(toClosed.get(), 0);
  // The other window's sender still waits for its delivery.
  EXPECT_EQ(toOther.wait_for(20ms), std::future_status::timeout);
  auto item = q->TakeNow();
  ASSERT_TRUE(item && item->sent);
  EXPECT_EQ(item->msg.hwnd, 5u);
  item->sent->Answer(7);
  ASSERT_EQ(toOther.wait_for(10s), std::future_status::ready);
  EXPECT_EQ(toOther.get(), 7);
  // Later sends to the closed window are not queued at all.
  EXPECT_EQ(q->SendAndWait({4, 1024, 0, 0}), 0);
  EXPECT_EQ(q->Size(), 0u);
}

TEST(MessageQueue, StoppingReleasesEverySenderAndRefusesLaterSends) {
  auto q = std::make_shared<MessageQueue>();
  q->Post({1, 9, 0, 0});
  std::vector<std::shared_future<LRESULT>> senders;
  for (HWND h : {4, 5, 6}) senders.push_back(SendFrom(q, {h, 1024, 0, 0}));
  ASSERT_TRUE(QueueReaches(*q, 4));
  q->Stop();
  for (auto& s : senders) {
    ASSERT_EQ(s.wait_for(10s), std::future_status::ready);
    EXPECT_EQ(s.get(), 0);
  }
  EXPECT_TRUE(q->Stopped());
  EXPECT_EQ(q->SendAndWait({4, 1024, 0, 0}), 0);
  // What was posted stays for the last pump.
  EXPECT_EQ(q->Size(), 1u);
  EXPECT_EQ(q->Peek(0, true)->message, 9u);
}

}  // namespace
}  // namespace kivhost
