// The proxy named by the environment: requests go to it in absolute form,
// and no_proxy keeps addresses away from it.
#include <gtest/gtest.h>

#include <string>

#include "inet_fixture.h"
#include "platform/inet/download.h"
#include "support/scoped_env.h"

namespace {

using testing_support::HttpResponse;
using testing_support::ScopedEnv;

class InetProxy : public inettest::InetFixture {};

TEST_F(InetProxy, HttpProxyFromTheEnvironmentIsUsed) {
  ScopedEnv proxy("http_proxy", "http://127.0.0.1:" + std::to_string(server_.Port()));
  server_.Route("http://example.invalid/x", HttpResponse{.body = "through the proxy"});
  const std::string path = folder_.File("x");
  const inet::DownloadResult result = inet::DownloadToFile("http://example.invalid/x", path, "Proxied");
  EXPECT_EQ(result.status, 200);
  EXPECT_EQ(result.finalUrl, "http://example.invalid/x");
  EXPECT_EQ(Read(path), "through the proxy");
  const auto requests = server_.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].line, "GET http://example.invalid/x HTTP/1.1");
  EXPECT_EQ(requests[0].Header("Host"), "example.invalid");
  EXPECT_EQ(requests[0].Header("User-Agent"), "Vorel_Proxied");
}

TEST_F(InetProxy, NoProxyAddressesAreFetchedDirectly) {
  testing_support::HttpServer proxy;
  ScopedEnv viaProxy("http_proxy", "http://127.0.0.1:" + std::to_string(proxy.Port()));
  ScopedEnv except("no_proxy", "127.0.0.1");
  server_.Route("/direct", HttpResponse{.body = "direct"});
  EXPECT_EQ(inet::DownloadToMemory(server_.Url("/direct"), "Test").body, "direct");
  EXPECT_EQ(proxy.Connections(), 0);
}

}  // namespace
