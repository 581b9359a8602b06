// Downloads to a file: the bytes as sent, the file replaced, the agent,
// redirects and error statuses.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "inet_fixture.h"
#include "platform/inet/download.h"

namespace {

using inettest::BinaryBytes;
using testing_support::HttpResponse;

class InetDownload : public inettest::InetFixture {};

TEST_F(InetDownload, BinaryBodyIsWrittenExactly) {
  const std::string body = BinaryBytes(3000);
  server_.Route("/data.bin", HttpResponse{.body = body});
  const std::string path = folder_.File("data.bin");
  const inet::DownloadResult result = inet::DownloadToFile(server_.Url("/data.bin"), path, "Test");
  EXPECT_EQ(result.status, 200);
  EXPECT_EQ(result.bytes, body.size());
  EXPECT_EQ(result.finalUrl, server_.Url("/data.bin"));
  EXPECT_EQ(Read(path), body);
}

TEST_F(InetDownload, MultiMegabyteBodiesArriveWhole) {
  std::mt19937 random(42);
  std::string body(5 * 1024 * 1024 + 17, '\0');
  for (char& c : body) c = static_cast<char>(random());
  server_.Route("/sized", HttpResponse{.body = body});
  server_.Route("/chunked", HttpResponse{.body = body, .chunkSize = 65521});
  for (const char* route : {"/sized", "/chunked"}) {
    const std::string path = folder_.File("big");
    const inet::DownloadResult result = inet::DownloadToFile(server_.Url(route), path, "Test");
    EXPECT_EQ(result.bytes, body.size()) << route;
    EXPECT_TRUE(Read(path) == body) << route;  // not EXPECT_EQ: a failure would print megabytes
  }
}

TEST_F(InetDownload, AnExistingFileIsReplacedWhole) {
  const std::string path = folder_.Write("page.html", std::string(10000, 'x'));
  server_.Route("/page", HttpResponse{.body = "short"});
  inet::DownloadToFile(server_.Url("/page"), path, "Test");
  EXPECT_EQ(Read(path), "short");
}

TEST_F(InetDownload, AnEmptyBodyLeavesAnEmptyFile) {
  const std::string path = folder_.Write("empty.txt", "old content");
  server_.Route("/empty", HttpResponse{.status = 204});
  const inet::DownloadResult result = inet::DownloadToFile(server_.Url("/empty"), path, "Test");
  EXPECT_EQ(result.status, 204);
  EXPECT_EQ(result.bytes, 0u);
  EXPECT_EQ(Read(path), "");
}

TEST_F(InetDownload, TheAgentIsVorelAndTheSuffix) {
  server_.Route("/x", HttpResponse{.body = "x"});
  inet::DownloadToFile(server_.Url("/x"), folder_.File("x"), "Weather/2.1");
  const auto requests = server_.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].line, "GET /x HTTP/1.1");
  EXPECT_EQ(requests[0].Header("User-Agent"), "Vorel_Weather/2.1");
}

TEST_F(InetDownload, RedirectsAreFollowedToTheEnd) {
  server_.Route("/first", HttpResponse{.status = 302, .location = server_.Url("/second")});
  server_.Route("/second", HttpResponse{.status = 301, .location = "/third?q=1"});
  server_.Route("/third?q=1", HttpResponse{.status = 307, .location = "/last"});
  server_.Route("/last", HttpResponse{.body = "arrived"});
  const std::string path = folder_.File("end");
  const inet::DownloadResult result = inet::DownloadToFile(server_.Url("/first"), path, "Test");
  EXPECT_EQ(result.status, 200);
  EXPECT_EQ(result.finalUrl, server_.Url("/last"));
  EXPECT_EQ(Read(path), "arrived");
  const auto requests = server_.Requests();
  ASSERT_EQ(requests.size(), 4u);
  EXPECT_EQ(requests[2].target, "/third?q=1");
  for (const auto& request : requests) EXPECT_EQ(request.Header("User-Agent"), "Vorel_Test");
}

TEST_F(InetDownload, EndlessRedirectsFail) {
  server_.Route("/loop", HttpResponse{.status = 302, .location = "/loop"});
  EXPECT_THROW(inet::DownloadToFile(server_.Url("/loop"), folder_.File("loop"), "Test"), inet::DownloadError);
  EXPECT_LE(server_.Requests().size(), 12u);
}

TEST_F(InetDownload, ErrorPagesAreSavedWithTheirStatus) {
  server_.Route("/gone", HttpResponse{.status = 404, .body = "<h1>no such page</h1>"});
  server_.Route("/broken", HttpResponse{.status = 500, .body = BinaryBytes(100)});
  const std::string gone = folder_.File("gone");
  EXPECT_EQ(inet::DownloadToFile(server_.Url("/gone"), gone, "Test").status, 404);
  EXPECT_EQ(Read(gone), "<h1>no such page</h1>");
  const std::string broken = folder_.File("broken");
  EXPECT_EQ(inet::DownloadToFile(server_.Url("/broken"), broken, "Test").status, 500);
  EXPECT_EQ(Read(broken), BinaryBytes(100));
}

TEST_F(InetDownload, ARedirectWithoutLocationIsTheAnswer) {
  server_.Route("/moved", HttpResponse{.status = 302, .body = "moved, but where"});
  const std::string path = folder_.File("moved");
  EXPECT_EQ(inet::DownloadToFile(server_.Url("/moved"), path, "Test").status, 302);
  EXPECT_EQ(Read(path), "moved, but where");
}

}  // namespace
