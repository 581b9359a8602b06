// Many threads posting at once while the window thread takes messages: no
// message is lost and each thread's messages keep their order, in the
// queue and in the trace.
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <map>
#include <thread>
#include <vector>

#include "kivhost/loop/host.h"
#include "kivhost/loop/message_queue.h"
#include "platform/win/win_services.h"
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
    // A failure ends the loop but still joins the posters below.
    if (item->msg.wParam != static_cast<WPARAM>(next[t])) {
      ADD_FAILURE() << "thread " << t << " out of order";
      break;
    }
    ++next[t];
    ++received;
  }
  for (auto& p : posters) p.join();
  EXPECT_EQ(received, kThreads * kEach);
  EXPECT_EQ(q.Size(), 0u);
}

std::vector<json> ReadTrace(const std::string& path) {
  std::ifstream in(path);
  std::vector<json> out;
  for (std::string line; std::getline(in, line);) out.push_back(json::parse(line));
  return out;
}

// The same through the plug-in's export with the trace on: posts to a live
// window all arrive, posts to one that is gone are refused, and the trace
// holds every post exactly once, each thread's in the order it made them.
TEST(PostingStress, ThroughTheExportWithTheTraceOn) {
  testing_support::TempDir dir;
  Host& host = Host::Get();
  host.BindWindowThread();
  host.trace.Open(dir.File("t.jsonl"));
  const HWND live = host.CreateDesklet().Hwnd();
  constexpr HWND kGone = 0xDEAD;
  constexpr uint32_t kMessage = 3026;
  constexpr int kThreads = 6;
  constexpr int kEach = 1500;
  std::atomic<int> refused{0};
  std::vector<std::thread> posters;
  for (int t = 0; t < kThreads; ++t)
    posters.emplace_back([&, t] {
      for (int i = 0; i < kEach; ++i) {
        if (!WinPostMessage(live, kMessage, static_cast<WPARAM>(i), t)) ++refused;
        if (!WinPostMessage(kGone, kMessage, static_cast<WPARAM>(i), t)) ++refused;
      }
    });
  std::vector<int> next(kThreads, 0);
  int received = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (received < kThreads * kEach && std::chrono::steady_clock::now() < deadline) {
    auto item = host.queue.Take(std::chrono::steady_clock::now() + std::chrono::milliseconds(100));
    if (!item) continue;
    const auto t = static_cast<size_t>(item->msg.lParam);
    // A failure ends the loop but still joins the posters below.
    if (item->msg.hwnd != live || t >= next.size() || item->msg.wParam != static_cast<WPARAM>(next[t])) {
      ADD_FAILURE() << "unexpected message " << item->msg.hwnd << " " << item->msg.wParam << " " << t;
      break;
    }
    ++next[t];
    ++received;
  }
  for (auto& p : posters) p.join();
  host.trace.Flush();
  EXPECT_EQ(received, kThreads * kEach);
  EXPECT_EQ(refused.load(), kThreads * kEach);

  // Per window and thread, the posts in trace order.
  std::map<std::pair<HWND, int>, std::vector<int>> posts;
  uint64_t lastSeq = 0;
  for (const json& call : ReadTrace(dir.File("t.jsonl"))) {
    EXPECT_GT(call["seq"].get<uint64_t>(), lastSeq) << "lines out of sequence";
    lastSeq = call["seq"].get<uint64_t>();
    if (call["fn"] != "WinPostMessage") continue;
    const HWND hwnd = call["hwnd"].get<HWND>();
    EXPECT_EQ(call["args"][0], kMessage);
    EXPECT_EQ(call["ret"], hwnd == live) << call.dump();  // a BOOL32, written as true or false
    posts[{hwnd, call["args"][2].get<int>()}].push_back(call["args"][1].get<int>());
  }
  std::vector<int> each(kEach);
  for (int i = 0; i < kEach; ++i) each[i] = i;
  EXPECT_EQ(posts.size(), 2u * kThreads);
  for (int t = 0; t < kThreads; ++t) {
    EXPECT_EQ((posts[{live, t}]), each) << "posts of thread " << t << " to the live window";
    EXPECT_EQ((posts[{kGone, t}]), each) << "posts of thread " << t << " to the gone window";
  }
  host.RemoveDesklet(live);
}

}  // namespace
}  // namespace kivhost
