// Downloads kept in memory: the body and status as sent, the limit on
// their size, and conditional requests.
#include <gtest/gtest.h>

#include <string>

#include "inet_fixture.h"
#include "platform/inet/download.h"

namespace {

using inettest::BinaryBytes;
using testing_support::HttpResponse;

class InetMemory : public inettest::InetFixture {};

TEST_F(InetMemory, TheBodyAndStatusAreReturned) {
  server_.Route("/feed", HttpResponse{.body = BinaryBytes(5000), .headers = {{"Content-Type", "text/xml"}}});
  const inet::MemoryDownload download = inet::DownloadToMemory(server_.Url("/feed"), "Feeds");
  EXPECT_EQ(download.body, BinaryBytes(5000));
  EXPECT_EQ(download.result.status, 200);
  EXPECT_EQ(download.result.bytes, 5000u);
  EXPECT_EQ(download.result.finalUrl, server_.Url("/feed"));
  EXPECT_EQ(server_.Requests().at(0).Header("User-Agent"), "Vorel_Feeds");
}

TEST_F(InetMemory, ErrorPagesAreReturnedWithTheirStatus) {
  server_.Route("/down", HttpResponse{.status = 503, .body = "try later"});
  const inet::MemoryDownload download = inet::DownloadToMemory(server_.Url("/down"), "Test");
  EXPECT_EQ(download.result.status, 503);
  EXPECT_EQ(download.body, "try later");
}

TEST_F(InetMemory, BodiesOverTheLimitAreRefused) {
  server_.Route("/sized", HttpResponse{.body = std::string(5000, 's')});
  server_.Route("/chunked", HttpResponse{.body = std::string(5000, 'c'), .chunkSize = 100});
  server_.Route("/exact", HttpResponse{.body = std::string(1000, 'e'), .chunkSize = 100});
  inet::DownloadOptions options;
  options.maxBytes = 1000;
  for (const char* route : {"/sized", "/chunked"}) {
    try {
      inet::DownloadToMemory(server_.Url(route), "Test", options);
      ADD_FAILURE() << route << ": no DownloadError";
    } catch (const inet::DownloadError& e) {
      EXPECT_NE(std::string(e.what()).find(server_.Url(route)), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find("1000 bytes"), std::string::npos) << e.what();
    }
  }
  EXPECT_EQ(inet::DownloadToMemory(server_.Url("/exact"), "Test", options).body, std::string(1000, 'e'));
}

TEST_F(InetMemory, ConditionsAreSentAndTheTagComesBack) {
  server_.Route("/plain", HttpResponse{.body = "a"});
  server_.Route("/tagged", HttpResponse{.body = "b", .headers = {{"ETag", "W/\"x 1\""}}});
  server_.Route("/same", HttpResponse{.status = 304});
  const inet::MemoryDownload plain = inet::DownloadToMemory(server_.Url("/plain"), "Test");
  EXPECT_EQ(plain.result.etag, "");
  EXPECT_EQ(inet::DownloadToMemory(server_.Url("/tagged"), "Test").result.etag, "W/\"x 1\"");

  inet::DownloadOptions options;
  options.ifModifiedSince = 784111777;  // Sun, 06 Nov 1994 08:49:37 GMT
  options.ifNoneMatch = "\"v7\"";
  const inet::MemoryDownload same = inet::DownloadToMemory(server_.Url("/same"), "Test", options);
  EXPECT_EQ(same.result.status, 304);
  EXPECT_EQ(same.body, "");
  const auto requests = server_.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].Header("If-Modified-Since"), "");
  EXPECT_EQ(requests[0].Header("If-None-Match"), "");
  EXPECT_EQ(requests[2].Header("If-Modified-Since"), "Sun, 06 Nov 1994 08:49:37 GMT");
  EXPECT_EQ(requests[2].Header("If-None-Match"), "\"v7\"");

  options.ifNoneMatch = "\"v7\"\r\nX-Injected: 1";
  EXPECT_THROW(inet::DownloadToMemory(server_.Url("/same"), "Test", options), inet::DownloadError);
  EXPECT_EQ(server_.Requests().size(), 3u) << "nothing sent";
}

}  // namespace
