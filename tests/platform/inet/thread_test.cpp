// Downloads on several threads at once, to files and to memory, while
// another download on its own thread is cancelled.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/inet/download.h"
#include "support/http_server.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace {

using testing_support::HttpResponse;

TEST(InetThreads, DownloadsOnSeveralThreads) {
  constexpr int kThreads = 4;
  constexpr int kRounds = 10;
  testing_support::WithoutProxy direct;
  testing_support::HttpServer server;
  testing_support::TempDir folder;
  for (int id = 0; id < kThreads; ++id) {
    const std::string name = std::to_string(id);
    server.Route("/t" + name, HttpResponse{.body = std::string(20000 + id, static_cast<char>('a' + id))});
    server.Route("/r" + name, HttpResponse{.status = 302, .location = "/t" + name});
  }
  server.Route("/stall", HttpResponse{.body = std::string(100, 's'), .stall = true, .stallAfterBytes = 1});

  std::atomic<bool> cancel{false};
  std::atomic<bool> cancelled{false};
  std::thread stalled([&] {
    inet::DownloadOptions options;
    options.cancel = &cancel;
    options.stallSeconds = 600;
    try {
      inet::DownloadToMemory(server.Url("/stall"), "Stalled", options);
    } catch (const inet::DownloadError&) {
      cancelled = true;
    }
  });

  std::atomic<int> failures{0};
  std::vector<std::thread> workers;
  for (int id = 0; id < kThreads; ++id) {
    workers.emplace_back([&, id] {
      const std::string name = std::to_string(id);
      const std::string expected(20000 + id, static_cast<char>('a' + id));
      for (int round = 0; round < kRounds; ++round) {
        try {
          const std::string path = folder.File("t" + name);
          const inet::DownloadResult result = inet::DownloadToFile(server.Url("/r" + name), path, "T" + name);
          if (result.status != 200 || result.finalUrl != server.Url("/t" + name)) ++failures;
          if (testing_support::TempDir::Read(path) != expected) ++failures;
          if (inet::DownloadToMemory(server.Url("/t" + name), "T" + name).body != expected) ++failures;
        } catch (const std::exception& e) {
          ADD_FAILURE() << "thread " << id << ": " << e.what();
        }
      }
    });
  }
  for (std::thread& worker : workers) worker.join();
  // Cancel the stalled download mid-transfer, not before it began.
  EXPECT_TRUE(server.WaitForRequests(1u + kThreads * kRounds * 3, std::chrono::seconds(60)));
  cancel = true;
  stalled.join();

  EXPECT_EQ(failures, 0);
  EXPECT_TRUE(cancelled);
  EXPECT_EQ(server.Requests().size(), 1u + kThreads * kRounds * 3);
}

}  // namespace
