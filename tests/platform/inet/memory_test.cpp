// Downloads kept in memory: the body and status as sent, and the limit on
// their size.
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

}  // namespace
