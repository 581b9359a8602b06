// Loading documents from web addresses: the body is parsed as safely as a
// file, and statuses and transport failures fail the load.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <string>

#include "platform/xml/document.h"
#include "support/http_server.h"
#include "support/scoped_env.h"
#include "support/unique_fd.h"
#include "temp_folder.h"

namespace {

using testing::HasSubstr;
using testing::Not;
using testing_support::HttpResponse;
using xml::Document;

constexpr const char* kFeed =
    "<?xml version=\"1.0\"?>\n"
    "<rss><channel><title>News</title><item><title>First</title></item></channel></rss>\n";

class XmlLoadUrl : public ::testing::Test {
 protected:
  testing_support::WithoutProxy direct;
  testing_support::HttpServer server;
};

TEST_F(XmlLoadUrl, ADocumentIsLoaded) {
  server.Route("/feed.xml", HttpResponse{.body = kFeed, .headers = {{"Content-Type", "text/xml"}}});
  Document doc;
  ASSERT_TRUE(doc.LoadUrl(server.Url("/feed.xml"), "News")) << doc.ParseError();
  EXPECT_EQ(doc.ParseError(), "");
  EXPECT_EQ(doc.SelectSingleNode("rss/channel/item/title").Text(), "First");
  EXPECT_EQ(server.Requests().at(0).Header("User-Agent"), "Vorel_News");
}

TEST_F(XmlLoadUrl, RedirectsAreFollowed) {
  server.Route("/old", HttpResponse{.status = 301, .location = "/new"});
  server.Route("/new", HttpResponse{.body = "<moved/>"});
  Document doc;
  ASSERT_TRUE(doc.LoadUrl(server.Url("/old"), "Test")) << doc.ParseError();
  EXPECT_TRUE(doc.SelectSingleNode("moved"));
}

TEST_F(XmlLoadUrl, TheDeclaredEncodingIsRead) {
  server.Route("/latin1", HttpResponse{.body = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>caf\xe9</a>"});
  Document doc;
  ASSERT_TRUE(doc.LoadUrl(server.Url("/latin1"), "Test")) << doc.ParseError();
  EXPECT_EQ(doc.SelectSingleNode("a").Text(), "caf\xc3\xa9");
}

TEST_F(XmlLoadUrl, AnErrorStatusFailsWithTheStatus) {
  // A well-formed body: only the status makes the load fail.
  server.Route("/gone", HttpResponse{.status = 404, .body = "<error>not here</error>"});
  Document doc;
  ASSERT_TRUE(doc.LoadXML("<old/>"));
  EXPECT_FALSE(doc.LoadUrl(server.Url("/gone"), "Test"));
  EXPECT_TRUE(doc.IsEmpty());
  EXPECT_THAT(doc.ParseError(), HasSubstr("404"));
  EXPECT_THAT(doc.ParseError(), HasSubstr(server.Url("/gone")));
}

TEST_F(XmlLoadUrl, AMalformedBodyFails) {
  server.Route("/bad", HttpResponse{.body = "<a><b></a>"});
  server.Route("/html", HttpResponse{.body = "<html><body><p>not xml<br></body></html>"});
  for (const char* route : {"/bad", "/html"}) {
    Document doc;
    ASSERT_TRUE(doc.LoadXML("<old/>"));
    EXPECT_FALSE(doc.LoadUrl(server.Url(route), "Test")) << route;
    EXPECT_TRUE(doc.IsEmpty()) << route;
    EXPECT_NE(doc.ParseError(), "") << route;
    EXPECT_EQ(doc.Xml(), "") << route;
  }
}

TEST_F(XmlLoadUrl, ATransportFailureIsReported) {
  // Bound but not listening: connections are refused.
  const int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  ASSERT_GE(socket, 0);
  testing_support::UniqueFd closed(socket);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ASSERT_EQ(::bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length), 0);
  const std::string url = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/feed.xml";

  Document doc;
  ASSERT_TRUE(doc.LoadXML("<old/>"));
  EXPECT_FALSE(doc.LoadUrl(url, "Test"));
  EXPECT_TRUE(doc.IsEmpty());
  EXPECT_THAT(doc.ParseError(), HasSubstr(url));
  EXPECT_FALSE(doc.LoadUrl("file:///etc/hostname", "Test"));
  EXPECT_THAT(doc.ParseError(), HasSubstr("file:///etc/hostname"));
}

TEST_F(XmlLoadUrl, EntitiesAndDtdsOfTheBodyAreNotFetched) {
  xmltest::TempFolder folder;
  const std::string secret = folder.Write("secret.txt", "TOP-SECRET-4c1d");
  server.Route("/secret.dtd", HttpResponse{.body = "<!ENTITY leak \"NETWORK-CONTENT-7f3a\">"});
  const std::string bodies[] = {
      "<!DOCTYPE a [<!ENTITY x SYSTEM \"file://" + secret + "\">]><a>&x;</a>",
      "<!DOCTYPE a [<!ENTITY x SYSTEM \"secret.dtd\">]><a>&x;</a>",
      "<!DOCTYPE a SYSTEM \"" + server.Url("/secret.dtd") + "\"><a>&leak;</a>",
      "<!DOCTYPE a [<!ENTITY % p SYSTEM \"" + server.Url("/secret.dtd") + "\"> %p;]><a>&leak;</a>",
  };
  int routes = 0;
  for (const std::string& body : bodies) {
    const std::string route = "/hostile" + std::to_string(++routes);
    server.Route(route, HttpResponse{.body = body});
    Document doc;
    doc.LoadUrl(server.Url(route), "Test");
    const std::string everything = doc.Xml() + "|" + doc.DocumentNode().Text();
    EXPECT_THAT(everything, Not(HasSubstr("TOP-SECRET-4c1d"))) << body;
    EXPECT_THAT(everything, Not(HasSubstr("NETWORK-CONTENT-7f3a"))) << body;
  }
  // One request per document, none for what the documents name.
  for (const auto& request : server.Requests()) EXPECT_THAT(request.target, HasSubstr("/hostile"));
  EXPECT_EQ(server.Requests().size(), 4u);
}

}  // namespace
