// Fetching a skin's XML data sources from a real HTTP server on loopback:
// the first fetch, the disk cache and its freshness, conditional
// re-fetches, forced and scheduled fetches, and what failing servers
// leave behind. The test acts as the window thread: it hands the posted
// messages to the plug-in until the desklet's workers are done. The cache
// folders point into the test's own folder.
#include <gmock/gmock.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/abi/plugin_api.h"
#include "platform/xml/document.h"
#include "tests/support/http_server.h"
#include "tests/support/scoped_env.h"
#include "tests/support/test_host.h"
#include "tests/vorel/render/render_fixture.h"
#include "vorel/load/skin_loader.h"
#include "vorel/model/script_engine.h"
#include "vorel/runtime/data_cache.h"
#include "vorel/runtime/data_fetch.h"
#include "vorel/runtime/data_schedule.h"

using namespace std::chrono_literals;
using testing::HasSubstr;
using testing_support::HttpResponse;

namespace datatest {
namespace {

namespace fs = std::filesystem;

const std::string kFirst = "<feed><item>first</item></feed>";
const std::string kSecond = "<feed><item>second</item></feed>";

class DataFetchTest : public rendertest::DeskletFixture {
 protected:
  // A skin named "Fetcher" with one source per address; each source's
  // arrival counts in got[position].
  std::string SkinWith(const std::vector<std::string>& addresses, const std::string& interval) {
    std::string sources;
    for (size_t k = 0; k < addresses.size(); ++k)
      sources += "<xml src=\"" + addresses[k] + "\" interval=\"" + interval + "\" ongetdata=\"got[" +
                 std::to_string(k) + "]++\"/>";
    return "<skindata><skininfo><name>Fetcher</name></skininfo><sides><side id=\"0\" width=\"50\" height=\"20\"/>"
           "</sides><desklet><label>x</label></desklet>"
           "<xmls>" + sources + "</xmls></skindata>";
  }
  void LoadSources(const std::vector<std::string>& addresses, const std::string& interval = "30") {
    LoadSkin(SkinWith(addresses, interval));
    ASSERT_TRUE(D().scripting.scriptEngine);
    // Before any arrival is handed over: the messages wait for Settle.
    D().scripting.scriptEngine->ExecuteStatement("var got = [0, 0, 0]");
  }

  // Acts as the window thread until no worker of the desklet is left and
  // nothing is posted; false after ten seconds.
  bool Settle() {
    const auto end = std::chrono::steady_clock::now() + 10s;
    while (std::chrono::steady_clock::now() < end) {
      testhost::TestHost::Get().DeliverPosted();
      if (D().threads.Count() == 0 && testhost::TestHost::Get().Posted().empty()) return true;
      std::this_thread::sleep_for(2ms);
    }
    return false;
  }

  int Got(size_t position) {
    return std::stoi(D().scripting.scriptEngine->EvaluateToText("got[" + std::to_string(position) + "]"));
  }
  std::string Data(size_t position) {
    const auto document = D().data.DocumentOf(position);
    return document && !document->IsEmpty() ? document->DocumentNode().Text() : "";
  }
  std::string CacheFile(size_t position) {
    std::lock_guard guard(D().data.lock);
    return D().data.xmlSources[position].CacheFile;
  }
  std::string ErrorText() {
    std::string all;
    for (const std::string& line : D().errorLog.Lines()) all += line + "\n";
    return all;
  }
  std::string CacheFolder() { return dir_.Path() + "cache/KIV_XMLCache/"; }
  static void Age(const std::string& path, std::chrono::minutes by) {
    fs::last_write_time(path, fs::file_time_type::clock::now() - by);
  }

  // Declared after the fixture's folder, before the desklet is made.
  testing_support::ScopedEnv cacheHome_{"XDG_CACHE_HOME", dir_.Path() + "cache"};
  testing_support::ScopedEnv temporary_{"TMPDIR", dir_.Path() + "tmp"};
  testing_support::WithoutProxy direct_;
  testing_support::HttpServer server_;
};

TEST_F(DataFetchTest, TheFirstFetchDownloadsIntoTheCacheAndTellsTheSkin) {
  server_.Route("/feed.xml", {.body = kFirst});
  LoadSources({server_.Url("/feed.xml")});
  ASSERT_TRUE(Settle());

  const auto requests = server_.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].Header("User-Agent"), "Vorel_Fetcher");
  EXPECT_EQ(requests[0].Header("If-Modified-Since"), "") << "nothing cached to ask about";
  EXPECT_EQ(Data(0), "first");
  EXPECT_EQ(Got(0), 1);
  const std::string cache = CacheFile(0);
  EXPECT_THAT(cache, testing::StartsWith(CacheFolder() + "XMLCache-Fetcher"));
  xml::Document kept;
  ASSERT_TRUE(kept.Load(cache));
  EXPECT_EQ(kept.DocumentNode().Text(), "first");
  for (const auto& entry : fs::directory_iterator(CacheFolder()))
    EXPECT_EQ(entry.path().string().find(".tmp"), std::string::npos) << "a temporary left: " << entry.path();
  EXPECT_EQ(D().data.xmlSources[0].Counter, 30) << "a download leaves the count as it was";
  EXPECT_EQ(ErrorText(), "");
}

TEST_F(DataFetchTest, AFreshCacheServesWithoutADownloadAndRestartsTheSchedule) {
  server_.Route("/feed.xml", {.body = kFirst});
  LoadSources({server_.Url("/feed.xml")});
  ASSERT_TRUE(Settle());
  server_.Route("/feed.xml", {.body = kSecond});

  // Loaded again, as a restarted desklet would be: the cache file is found
  // by its name and is fresh.
  LoadSources({server_.Url("/feed.xml")});
  ASSERT_TRUE(Settle());
  EXPECT_EQ(server_.Requests().size(), 1u);
  EXPECT_EQ(Data(0), "first");
  EXPECT_EQ(Got(0), 1) << "the new load has its own script";
  EXPECT_EQ(D().data.xmlSources[0].Counter, 0);
}

TEST_F(DataFetchTest, AStaleCacheIsAskedForConditionallyAndReplaced) {
  server_.Route("/feed.xml", {.body = kFirst, .headers = {{"ETag", "\"v1\""}}});
  LoadSources({server_.Url("/feed.xml")});
  ASSERT_TRUE(Settle());
  const std::string cache = CacheFile(0);
  Age(cache, 29min);  // beyond 30 - 2 minutes
  server_.Route("/feed.xml", {.body = kSecond, .headers = {{"ETag", "\"v2\""}}});

  LoadSources({server_.Url("/feed.xml")});
  ASSERT_TRUE(Settle());
  const auto requests = server_.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[1].Header("If-None-Match"), "\"v1\"");
  EXPECT_NE(requests[1].Header("If-Modified-Since"), "");
  EXPECT_EQ(Data(0), "second");
  EXPECT_EQ(Got(0), 1);
  EXPECT_EQ(vorel::CachedETag(cache), "\"v2\"");
}

TEST_F(DataFetchTest, ANotModifiedAnswerKeepsTheCacheAndCountsAsADownload) {
  server_.Route("/feed.xml", {.body = kFirst, .headers = {{"ETag", "\"v1\""}}});
  LoadSources({server_.Url("/feed.xml")});
  ASSERT_TRUE(Settle());
  const std::string cache = CacheFile(0);
  Age(cache, 60min);
  server_.Route("/feed.xml", {.status = 304});

  LoadSources({server_.Url("/feed.xml")});
  ASSERT_TRUE(Settle());
  EXPECT_EQ(server_.Requests().size(), 2u);
  EXPECT_EQ(Data(0), "first");
  EXPECT_EQ(Got(0), 1);
  EXPECT_TRUE(vorel::IsCacheFresh(cache, 30, vorel::TWallClock::now())) << "touched";
  EXPECT_EQ(vorel::CachedETag(cache), "\"v1\"");
  EXPECT_EQ(ErrorText(), "");
}

TEST_F(DataFetchTest, IntervalsOfOneAndTwoMinutesAlwaysDownload) {
  server_.Route("/feed.xml", {.body = kFirst});
  for (const char* interval : {"1", "2"}) {
    const size_t before = server_.Requests().size();
    LoadSources({server_.Url("/feed.xml")}, interval);
    ASSERT_TRUE(Settle());
    LoadSources({server_.Url("/feed.xml")}, interval);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(server_.Requests().size(), before + 2) << interval;
  }
}

TEST_F(DataFetchTest, TheScheduleAnnouncesTheDataAgainAMinuteAfterADownload) {
  server_.Route("/feed.xml", {.body = kFirst});
  LoadSources({server_.Url("/feed.xml")}, "3");
  ASSERT_TRUE(Settle());
  ASSERT_EQ(Got(0), 1);

  // The minute after: due, the new file is fresh, the count starts again.
  vorel::StartDataDueCheck(D());
  ASSERT_TRUE(Settle());
  EXPECT_EQ(Got(0), 2);
  EXPECT_EQ(D().data.xmlSources[0].Counter, 0);
  for (int minute = 0; minute < 2; ++minute) {
    vorel::StartDataDueCheck(D());
    ASSERT_TRUE(Settle());
  }
  EXPECT_EQ(Got(0), 2) << "not due for two more minutes";
  EXPECT_EQ(server_.Requests().size(), 1u);
}

TEST_F(DataFetchTest, ABlankGoesOutEscapedWhileTheCacheNameKeepsIt) {
  server_.Route("/a%20b.xml", {.body = kFirst});
  const std::string address = server_.Url("/a b.xml");
  LoadSources({address});
  ASSERT_TRUE(Settle());
  ASSERT_EQ(server_.Requests().size(), 1u);
  EXPECT_EQ(server_.Requests()[0].target, "/a%20b.xml");
  EXPECT_EQ(Data(0), "first");
  EXPECT_EQ(CacheFile(0), CacheFolder() + vorel::XmlCacheFileName("Fetcher", address, 30));
  EXPECT_NE(CacheFile(0), CacheFolder() + vorel::XmlCacheFileName("Fetcher", server_.Url("/a%20b.xml"), 30));
}

TEST_F(DataFetchTest, AFileSourceReadsTheLocalFileWhichTheCleanUpLeaves) {
  const std::string local = dir_.Write("data/local.xml", kFirst);
  Age(local, 10 * 24 * 60min);
  const std::string stray = dir_.Write("cache/KIV_XMLCache/old.tmp", "x");
  Age(stray, 11min);
  const std::string unscheduled = dir_.Write("cache/KIV_XMLCache/XMLCache0-Other1.xml", kFirst);
  Age(unscheduled, 3min);

  LoadSources({"file://" + local});
  ASSERT_TRUE(Settle());
  EXPECT_EQ(server_.Connections(), 0);
  EXPECT_EQ(CacheFile(0), local);
  EXPECT_EQ(Data(0), "first");
  EXPECT_EQ(Got(0), 1);
  EXPECT_TRUE(fs::exists(local)) << "outside the cache folder, however old";
  EXPECT_FALSE(fs::exists(stray));
  EXPECT_FALSE(fs::exists(unscheduled));
}

TEST_F(DataFetchTest, TwoDeskletsOfASkinShareOneCacheFile) {
  server_.Route("/feed.xml", {.body = kFirst});
  LoadSources({server_.Url("/feed.xml")});
  ASSERT_TRUE(Settle());

  constexpr HWND kOther = 0x3300;
  void* other = OnCreate(kOther, 1, nullptr, nullptr);
  ASSERT_NE(other, nullptr);
  testhost::TestHost::Get().DeskletOf(kOther).instance = other;
  vorel::TDeskletObject& second = *vorel::AsDesklet(other);
  second.settings.resourcePath = D().settings.resourcePath;
  vorel::LoadSkin(second, dir_.Write("skin/skin2.xml", SkinWith({server_.Url("/feed.xml")}, "30")), true, false);
  const auto end = std::chrono::steady_clock::now() + 10s;
  while (second.threads.Count() != 0 && std::chrono::steady_clock::now() < end) {
    testhost::TestHost::Get().DeliverPosted();
    std::this_thread::sleep_for(2ms);
  }
  testhost::TestHost::Get().DeliverPosted();
  std::string shared;
  {
    std::lock_guard guard(second.data.lock);
    shared = second.data.xmlSources[0].CacheFile;
  }
  const auto document = second.data.DocumentOf(0);
  const std::string text = document && !document->IsEmpty() ? document->DocumentNode().Text() : "";
  OnDestroy(other, kOther);
  EXPECT_EQ(shared, CacheFile(0));
  EXPECT_EQ(text, "first");
  EXPECT_EQ(server_.Requests().size(), 1u);
}

TEST_F(DataFetchTest, AForcedFetchDownloadsAtOnceUnlessADownloadRuns) {
  server_.Route("/feed.xml", {.body = kFirst});
  LoadSources({server_.Url("/feed.xml")});
  ASSERT_TRUE(Settle());
  server_.Route("/feed.xml", {.body = kSecond});

  D().scripting.scriptEngine->ExecuteStatement("ForceXDataFetch()");
  EXPECT_EQ(server_.Requests().size(), 2u) << "on the calling thread, whatever the cache holds";
  EXPECT_EQ(Data(0), "second");
  ASSERT_TRUE(Settle());
  EXPECT_EQ(Got(0), 2);

  // Reloaded with a slow server: the forced fetch meets the download.
  Age(CacheFile(0), 60min);
  server_.Route("/feed.xml", {.body = kFirst, .delay = 700ms});
  LoadSources({server_.Url("/feed.xml")});
  ASSERT_TRUE(server_.WaitForRequests(3, 5s));
  D().scripting.scriptEngine->ExecuteStatement("ForceXDataFetch()");
  EXPECT_EQ(Data(0), "second") << "the data being replaced stays readable";
  ASSERT_TRUE(Settle());
  EXPECT_EQ(server_.Requests().size(), 3u);
  EXPECT_EQ(Data(0), "first");
}

TEST_F(DataFetchTest, FailedDownloadsKeepWhatWasThereAndAreReported) {
  server_.Route("/missing.xml", {.status = 404, .body = "<html/>"});
  server_.Route("/broken.xml", {.status = 500});
  server_.Route("/cut.xml", {.body = "<feed><item>fir"});
  LoadSources({server_.Url("/missing.xml"), server_.Url("/broken.xml"), server_.Url("/cut.xml")});
  ASSERT_TRUE(Settle());
  for (size_t k = 0; k < 3; ++k) {
    EXPECT_EQ(Data(k), "") << k;
    EXPECT_EQ(Got(k), 0) << k;
    EXPECT_EQ(CacheFile(k), "") << k;
  }
  const std::string errors = ErrorText();
  EXPECT_THAT(errors, HasSubstr("HTTP status 404"));
  EXPECT_THAT(errors, HasSubstr("HTTP status 500"));
  EXPECT_THAT(errors, HasSubstr("/cut.xml"));
  EXPECT_TRUE(fs::is_empty(CacheFolder())) << "no cache file, no temporary file";

  // With data in the cache, a failing server leaves it readable.
  const std::string cut = server_.Url("/cut.xml");
  const std::string cache = CacheFolder() + vorel::XmlCacheFileName("Fetcher", cut, 30);
  dir_.Write(fs::path(cache).lexically_relative(dir_.Path()).string(), kFirst);
  Age(cache, 60min);
  LoadSources({cut});
  ASSERT_TRUE(Settle());
  EXPECT_EQ(Data(0), "first");
  EXPECT_EQ(Got(0), 1) << "the kept data arrives";
  xml::Document kept;
  ASSERT_TRUE(kept.Load(cache));
  EXPECT_EQ(kept.DocumentNode().Text(), "first");
}

TEST_F(DataFetchTest, AServerThatNeverAnswersTimesOut) {
  server_.Route("/silent.xml", {.body = kFirst, .stall = true});
  vorel::TFetchContext context;
  context.window = kWindow;
  context.skinName = "Fetcher";
  LoadSources({"file:///nothing"});
  ASSERT_TRUE(Settle());
  context.addresses = {server_.Url("/silent.xml")};
  context.download.stallSeconds = 1;
  vorel::TDataState& data = D().data;
  vorel::TFetchProblems problems;
  vorel::FetchAll(data, context, false, problems);
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_THAT(problems[0], HasSubstr("/silent.xml"));
  EXPECT_FALSE(data.fetching);
}

TEST_F(DataFetchTest, DestroyingTheDeskletCutsADownloadShort) {
  server_.Route("/silent.xml", {.body = kFirst, .stall = true});
  LoadSources({server_.Url("/silent.xml")});
  ASSERT_TRUE(server_.WaitForRequests(1, 5s));
  const auto start = std::chrono::steady_clock::now();
  OnDestroy(instance_, kWindow);
  instance_ = nullptr;
  // The stall limit is 30 s; the cancel flag ends the download at once.
  EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
}

}  // namespace
}  // namespace datatest
