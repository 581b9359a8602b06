// Fetching a 200 KB feed from a loopback server: unconditionally (200 and
// the body) and conditionally, with the tag and time a fetch keeps from
// the last download (304 and no body). Beside the time per fetch, the
// counters give per fetch the body bytes the download received and the
// HTTP bytes the server read and wrote, heads included. Times are wall
// clock: half of each fetch's work is the server's, on its own thread.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "bench/data/feed_server.h"
#include "bench/data/rss_feed.h"
#include "platform/inet/download.h"

namespace {

constexpr std::int64_t kFeedTime = 1700000000;
const std::string kFeedTag = "\"feed-5f3a9c\"";

bench::FeedServer& Server() {
  static bench::FeedServer server(bench::RssFeed(), kFeedTag, kFeedTime);
  return server;
}

void Fetch(benchmark::State& state, const inet::DownloadOptions& options, long expectedStatus) {
  bench::FeedServer& server = Server();
  const std::string url = server.Url();
  const bench::FeedTraffic before = server.Traffic();
  std::uint64_t bodyBytes = 0;
  for (auto _ : state) {
    const inet::MemoryDownload download = inet::DownloadToMemory(url, "Bench", options);
    if (download.result.status != expectedStatus) {
      state.SkipWithError(("unexpected HTTP status " + std::to_string(download.result.status)).c_str());
      break;
    }
    bodyBytes += download.result.bytes;
  }
  const bench::FeedTraffic after = server.Traffic();
  auto perFetch = [](double total) { return benchmark::Counter(total, benchmark::Counter::kAvgIterations); };
  const double read = static_cast<double>(after.bytesRead - before.bytesRead);
  const double written = static_cast<double>(after.bytesWritten - before.bytesWritten);
  state.counters["body_B"] = perFetch(static_cast<double>(bodyBytes));
  state.counters["request_B"] = perFetch(read);
  state.counters["response_B"] = perFetch(written);
  state.counters["http_B"] = perFetch(read + written);
}

void BM_FetchUnconditional(benchmark::State& state) { Fetch(state, {}, 200); }
BENCHMARK(BM_FetchUnconditional)->Unit(benchmark::kMicrosecond)->UseRealTime();

// What a fetch with a cache file and a kept tag asks.
void BM_FetchConditional(benchmark::State& state) {
  inet::DownloadOptions options;
  options.ifModifiedSince = kFeedTime;
  options.ifNoneMatch = kFeedTag;
  Fetch(state, options, 304);
}
BENCHMARK(BM_FetchConditional)->Unit(benchmark::kMicrosecond)->UseRealTime();

// A cache file without a tag: the time alone.
void BM_FetchConditionalByTime(benchmark::State& state) {
  inet::DownloadOptions options;
  options.ifModifiedSince = kFeedTime;
  Fetch(state, options, 304);
}
BENCHMARK(BM_FetchConditionalByTime)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
