// "!XML" and "!XMLTRANS" lookups in a 200 KB RSS feed held by a desklet's
// data source, as a layer's source asks for them. bare_lookup_bench.cpp
// has the libxml2 and libxslt calls they are set against.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/data/lookup_fixture.h"
#include "vorel/runtime/source_transforms.h"

namespace {

void Lookup(benchmark::State& state, bench::FeedDesklet& feed, const std::string& source) {
  std::string answer;
  for (auto _ : state) {
    answer = vorel::ApplyXmlSource(feed.Desklet(), source);
    benchmark::DoNotOptimize(answer.data());
  }
  if (answer.empty()) state.SkipWithError("the lookup found nothing");
  if (!feed.Untouched()) state.SkipWithError("the lookup loaded or fetched the source");
  state.counters["chars"] = static_cast<double>(answer.size());
}

void BM_XmlLookup(benchmark::State& state, const std::string& xpath) {
  Lookup(state, bench::PlainFeed(), "!XML:0[" + xpath + "]");
}
BENCHMARK_CAPTURE(BM_XmlLookup, channel_title, bench::kChannelTitle)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_XmlLookup, all_titles, bench::kAllTitles)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_XmlLookup, every_guid, bench::kEveryGuid)->Unit(benchmark::kMicrosecond);

void BM_XmlTransLookup(benchmark::State& state, const std::string& xpath) {
  Lookup(state, bench::NumberedFeed(), "!XMLTRANS:0[" + xpath + "]");
}
BENCHMARK_CAPTURE(BM_XmlTransLookup, channel_title, bench::kChannelTitle)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_XmlTransLookup, first_title, bench::kAllTitles)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_XmlTransLookup, item_count, bench::kItemCount)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
