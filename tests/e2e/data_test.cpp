// Remote data in kivhost: a data source served over HTTP reaches the
// skin's statements and layers, the disk cache spares the download when
// the desklet starts again, a click forces a fetch, and the news sample
// reads its feed.
#include <gtest/gtest.h>

#include "kivhost_run.h"
#include "support/http_server.h"
#include "support/scoped_env.h"

namespace e2e {
namespace {

using testing_support::HttpResponse;
using testing_support::ScopedEnv;
using testing_support::TempDir;

class RemoteData : public ::testing::Test {
 protected:
  TempDir dir_;
  // kivhost inherits these: its cache is the test's, its downloads direct.
  ScopedEnv cacheHome_{"XDG_CACHE_HOME", dir_.File("cache")};
  ScopedEnv temporary_{"TMPDIR", dir_.File("tmp")};
  ScopedEnv configHome_{"XDG_CONFIG_HOME", dir_.File("config")};
  testing_support::WithoutProxy direct_;
  testing_support::HttpServer server_;
};

TEST_F(RemoteData, ASourceFromTheNetworkIsShownCachedAndFetchedAgainOnDemand) {
  server_.Route("/weather.xml", {.body = "<weather><city>Bergen</city><t>7</t></weather>"});
  dir_.Write("weather/weather.xml", R"xml(<skindata><skininfo><name>Weather</name></skininfo>
    <sides><side id="0" width="60" height="20"/></sides>
    <desklet><label>none</label><oncreate>var arrivals = 0</oncreate></desklet>
    <xmls><xml src=")xml" + server_.Url("/weather.xml") + R"xml(" interval="30"
      ongetdata="arrivals++; kiv.DeskletLabel = kiv.ConvertToValue('!XMLTXT:0[/weather/city][\' \'][/weather/t]') + ' #' + arrivals"/></xmls>
    <layers><layer name="t" src="!XMLTXT:0[/weather/t]" width="60" height="20"/>
      <layer name="refresh" src="!HITSPOT" width="60" height="20" onclick="ForceXDataFetch()"/></layers>
    </skindata>)xml");
  const std::string skin = dir_.File("weather/weather.xml");
  dir_.Write("s.txt", "wait 700\nstate " + dir_.File("s1.json") + "\n");
  RunResult r = RunHost({"--headless", "--scenario", dir_.File("s.txt"), skin}, dir_);
  ASSERT_EQ(r.exitCode, 0) << r.errors;
  json desklet = ReadJson(dir_.File("s1.json"))["desklets"][0];
  EXPECT_EQ(desklet["label"], "Bergen 7 #1");
  EXPECT_TRUE(desklet["errorLog"].empty()) << desklet["errorLog"];
  ASSERT_EQ(server_.Requests().size(), 1u);
  EXPECT_EQ(server_.Requests()[0].Header("User-Agent"), "Vorel_Weather");

  // Started again within the interval: the cache serves. A click forces a
  // download, whose arrival the skin hears of too.
  server_.Route("/weather.xml", {.body = "<weather><city>Bergen</city><t>9</t></weather>"});
  dir_.Write("s.txt", "wait 500\nstate " + dir_.File("s2.json") + "\nclick 5 5\nwait 300\nstate " +
                          dir_.File("s3.json") + "\n");
  r = RunHost({"--headless", "--scenario", dir_.File("s.txt"), skin}, dir_);
  ASSERT_EQ(r.exitCode, 0) << r.errors;
  EXPECT_EQ(ReadJson(dir_.File("s2.json"))["desklets"][0]["label"], "Bergen 7 #1");
  desklet = ReadJson(dir_.File("s3.json"))["desklets"][0];
  EXPECT_EQ(desklet["label"], "Bergen 9 #2");
  EXPECT_TRUE(desklet["errorLog"].empty()) << desklet["errorLog"];
  EXPECT_EQ(server_.Requests().size(), 2u);
}

TEST_F(RemoteData, AServerThatFailsIsReportedAndTheDeskletRuns) {
  server_.Route("/weather.xml", {.status = 503});
  dir_.Write("down/down.xml", R"xml(<skindata><skininfo><name>Down</name></skininfo>
    <sides><side id="0" width="60" height="20"/></sides>
    <desklet><label>waiting</label></desklet>
    <xmls><xml src=")xml" + server_.Url("/weather.xml") + R"xml(" ongetdata="kiv.DeskletLabel = 'arrived'"/></xmls>
    <layers><layer name="t" src="!XMLTXT:0[/weather/t]" width="60" height="20"/></layers>
    </skindata>)xml");
  dir_.Write("s.txt", "wait 500\nstate " + dir_.File("s.json") + "\n");
  const RunResult r = RunHost({"--headless", "--quiet", "--scenario", dir_.File("s.txt"), dir_.File("down/down.xml")}, dir_);
  ASSERT_EQ(r.exitCode, 0) << r.errors;
  const json desklet = ReadJson(dir_.File("s.json"))["desklets"][0];
  EXPECT_EQ(desklet["label"], "waiting");
  EXPECT_NE(desklet["errorLog"].dump().find("HTTP status 503"), std::string::npos) << desklet["errorLog"];
}

TEST_F(RemoteData, TheNewsSampleReadsItsFeed) {
  dir_.Write("s.txt", "wait 500\nstate " + dir_.File("s.json") + "\n");
  const RunResult r = RunHost({"--headless", "--scenario", dir_.File("s.txt"), SampleSkin("news")}, dir_);
  ASSERT_EQ(r.exitCode, 0) << r.errors;
  const json desklet = ReadJson(dir_.File("s.json"))["desklets"][0];
  EXPECT_TRUE(desklet["errorLog"].empty()) << desklet["errorLog"];
  // The headlines layer grew no larger than its box and holds drawn text.
  for (const json& layer : desklet["layers"])
    if (layer["name"] == "headlines") {
      ASSERT_FALSE(layer["image"].is_null());
      EXPECT_EQ(layer["image"]["width"], 240);
    }
}

}  // namespace
}  // namespace e2e
