// Hostile input: external entities, entity expansion, network access and
// file writes from stylesheets, and silence on stderr.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>

#include "platform/xml/document.h"
#include "platform/xml/errors.h"
#include "support/http_server.h"
#include "temp_folder.h"

namespace {

using xml::Document;

constexpr const char* kSecret = "TOP-SECRET-4c1d";
// What the loopback server answers every request with.
constexpr const char* kNetworkMarker = "NETWORK-CONTENT-7f3a";

std::string Everything(const Document& doc) { return doc.Xml() + "|" + doc.DocumentNode().Text(); }

class XmlSecurity : public ::testing::Test {
 protected:
  void SetUp() override {
    server.SetFallback(testing_support::HttpResponse{
        .body = std::string("<leak>") + kNetworkMarker + "</leak>", .headers = {{"Content-Type", "text/xml"}}});
    secretFile = folder.Write("secret.txt", kSecret);
    secretDtd = folder.Write("secret.dtd", std::string("<!ENTITY leak \"") + kSecret + "\">");
  }
  xmltest::TempFolder folder;
  testing_support::HttpServer server;
  std::string secretFile, secretDtd;
};

TEST_F(XmlSecurity, ExternalEntitiesAreNeverRead) {
  const std::string documents[] = {
      "<!DOCTYPE a [<!ENTITY x SYSTEM \"file://" + secretFile + "\">]><a>&x;</a>",
      "<!DOCTYPE a [<!ENTITY x SYSTEM \"" + secretFile + "\">]><a>&x;</a>",
      "<!DOCTYPE a [<!ENTITY % p SYSTEM \"file://" + secretDtd + "\"> %p;]><a>&leak;</a>",
      "<!DOCTYPE a SYSTEM \"file://" + secretDtd + "\"><a>&leak;</a>",
      "<!DOCTYPE a [<!ENTITY x SYSTEM \"file://" + secretFile + "\">]><a b=\"&x;\"/>",
      "<a xmlns:xi=\"http://www.w3.org/2001/XInclude\"><xi:include href=\"" + secretFile + "\" parse=\"text\"/></a>",
  };
  for (const std::string& text : documents) {
    Document fromText;
    fromText.LoadXML(text);
    EXPECT_EQ(Everything(fromText).find(kSecret), std::string::npos) << text;
    Document fromFile;
    fromFile.Load(folder.Write("hostile.xml", text));
    EXPECT_EQ(Everything(fromFile).find(kSecret), std::string::npos) << text;
    for (const xml::Node& node : fromFile.SelectNodes("//node() | //@*"))
      EXPECT_EQ(node.Text().find(kSecret), std::string::npos) << text;
  }
}

TEST_F(XmlSecurity, DocumentsNeverReachTheNetwork) {
  const std::string documents[] = {
      "<!DOCTYPE a SYSTEM \"" + server.Url("/a.dtd") + "\"><a/>",
      "<!DOCTYPE a [<!ENTITY x SYSTEM \"" + server.Url("/x") + "\">]><a>&x;</a>",
      "<!DOCTYPE a [<!ENTITY % p SYSTEM \"" + server.Url("/p.dtd") + "\"> %p;]><a/>",
  };
  for (const std::string& text : documents) {
    Document doc;
    doc.LoadXML(text);
    EXPECT_EQ(Everything(doc).find(kNetworkMarker), std::string::npos) << text;
  }
  EXPECT_EQ(server.Connections(), 0);
}

TEST_F(XmlSecurity, NestedEntityExpansionIsRefused) {
  std::string laughs = "<?xml version=\"1.0\"?><!DOCTYPE lolz [<!ENTITY lol \"lollollollollollollollollollol\">";
  std::string previous = "lol";
  for (int level = 1; level <= 9; ++level) {
    std::string name = "lol" + std::to_string(level);
    laughs += "<!ENTITY " + name + " \"";
    for (int i = 0; i < 10; ++i) laughs += "&" + previous + ";";
    laughs += "\">";
    previous = name;
  }
  laughs += "]><lolz>&" + previous + ";</lolz>";
  // Fully expanded this would be about 3 GB of text.
  Document doc;
  EXPECT_FALSE(doc.LoadXML(laughs));
  EXPECT_TRUE(doc.IsEmpty());
  EXPECT_NE(doc.ParseError(), "");
}

TEST_F(XmlSecurity, DeepNestingAndHostileExpressionsFailCleanly) {
  std::string deep;
  for (int i = 0; i < 100000; ++i) deep += "<a>";
  Document doc;
  EXPECT_FALSE(doc.LoadXML(deep));
  ASSERT_TRUE(doc.LoadXML("<a/>"));
  EXPECT_THROW(doc.SelectNodes(std::string(100000, '(') + "a" + std::string(100000, ')')), xml::XPathError);
  std::string steps = "a";
  for (int i = 0; i < 20000; ++i) steps += "[a]";
  try {
    doc.SelectNodes(steps);
  } catch (const xml::XPathError&) {
    // refusing is fine; crashing is not
  }
}

TEST_F(XmlSecurity, ModestInternalEntitiesStillWork) {
  Document doc;
  ASSERT_TRUE(doc.LoadXML("<!DOCTYPE a [<!ENTITY who \"world\">]><a>hello &who;</a>")) << doc.ParseError();
  EXPECT_EQ(doc.SelectSingleNode("a").Text(), "hello world");
}

TEST_F(XmlSecurity, StylesheetsCannotWriteFiles) {
  Document data;
  ASSERT_TRUE(data.LoadXML("<a>payload</a>"));
  struct Case {
    const char* name;
    std::string stylesheet;
    std::string target;
  };
  auto target = [&](const char* file) { return folder.File(file); };
  const Case cases[] = {
      {"xsl:document",
       "<xsl:stylesheet version=\"1.1\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
       "<xsl:template match=\"/\"><xsl:document href=\"" + target("xsl.txt") + "\" method=\"text\">x</xsl:document>"
       "</xsl:template></xsl:stylesheet>",
       target("xsl.txt")},
      {"exsl:document",
       "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\" "
       "xmlns:exsl=\"http://exslt.org/common\" extension-element-prefixes=\"exsl\">"
       "<xsl:template match=\"/\"><exsl:document href=\"" + target("exsl.txt") + "\" method=\"text\">x</exsl:document>"
       "</xsl:template></xsl:stylesheet>",
       target("exsl.txt")},
      {"saxon:output",
       "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\" "
       "xmlns:saxon=\"http://icl.com/saxon\" extension-element-prefixes=\"saxon\">"
       "<xsl:template match=\"/\"><saxon:output href=\"" + target("saxon.txt") + "\" method=\"text\">x</saxon:output>"
       "</xsl:template></xsl:stylesheet>",
       target("saxon.txt")},
      {"new folder",
       "<xsl:stylesheet version=\"1.1\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
       "<xsl:template match=\"/\"><xsl:document href=\"" + target("made/deep.txt") + "\" method=\"text\">x</xsl:document>"
       "</xsl:template></xsl:stylesheet>",
       target("made")},
  };
  for (const Case& c : cases) {
    Document style;
    ASSERT_TRUE(style.LoadXML(c.stylesheet)) << c.name << ": " << style.ParseError();
    EXPECT_THROW(data.TransformNode(style), xml::TransformError) << c.name;
    EXPECT_FALSE(std::filesystem::exists(c.target)) << c.name;
  }
}

TEST_F(XmlSecurity, StylesheetsCannotCallOut) {
  Document data;
  ASSERT_TRUE(data.LoadXML("<a/>"));
  const std::string stylesheets[] = {
      "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
      "<xsl:template match=\"/\"><xsl:value-of select=\"document('" + server.Url("/doc.xml") + "')\"/>"
      "</xsl:template></xsl:stylesheet>",
      "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
      "<xsl:import href=\"" + server.Url("/import.xsl") + "\"/>"
      "<xsl:template match=\"/\">x</xsl:template></xsl:stylesheet>",
      "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
      "<xsl:include href=\"" + server.Url("/include.xsl") + "\"/>"
      "<xsl:template match=\"/\">x</xsl:template></xsl:stylesheet>",
  };
  for (const std::string& text : stylesheets) {
    Document style;
    ASSERT_TRUE(style.LoadXML(text));
    try {
      std::string out = data.TransformNode(style);
      EXPECT_EQ(out.find(kNetworkMarker), std::string::npos) << text;
    } catch (const xml::TransformError&) {
      // refusing is fine too
    }
  }
  EXPECT_EQ(server.Connections(), 0);
}

TEST_F(XmlSecurity, DocumentsReadByStylesheetsAreParsedSafely) {
  std::string hostile = folder.Write(
      "hostile.xml", "<!DOCTYPE o [<!ENTITY x SYSTEM \"file://" + secretFile + "\">]><o>&x;</o>");
  Document data;
  ASSERT_TRUE(data.LoadXML("<a/>"));
  Document style;
  ASSERT_TRUE(style.LoadXML(
      "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
      "<xsl:output method=\"text\"/><xsl:template match=\"/\"><xsl:value-of select=\"document('" + hostile +
      "')/o\"/></xsl:template></xsl:stylesheet>"));
  std::string out;
  try {
    out = data.TransformNode(style);
  } catch (const xml::TransformError&) {
  }
  EXPECT_EQ(out.find(kSecret), std::string::npos) << out;
}

// Runs body with stderr sent to a file and returns what was written.
template <typename Body>
std::string CaptureStderr(const xmltest::TempFolder& folder, Body body) {
  std::string path = folder.File("stderr.txt");
  fflush(stderr);
  int saved = dup(2);
  int file = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  dup2(file, 2);
  close(file);
  body();
  fflush(stderr);
  dup2(saved, 2);
  close(saved);
  return xmltest::TempFolder::Read(path);
}

TEST_F(XmlSecurity, NothingIsPrintedToStderr) {
  std::string printed = CaptureStderr(folder, [&] {
    Document doc;
    doc.LoadXML("<a><b></a>");
    doc.LoadXML("<!DOCTYPE a [<!ENTITY x SYSTEM \"file://" + secretFile + "\">]><a>&x;</a>");
    doc.Load(folder.File("missing.xml"));
    ASSERT_TRUE(doc.LoadXML("<a/>"));
    EXPECT_THROW(doc.SelectNodes("a[["), xml::XPathError);
    EXPECT_THROW(doc.SelectNodes("nosuch()"), xml::XPathError);
    Document style;
    ASSERT_TRUE(style.LoadXML(
        "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
        "<xsl:template match=\"/\"><xsl:message>chatty</xsl:message><xsl:bogus/><xsl:value-of select=\"$nope\"/></xsl:template></xsl:stylesheet>"));
    EXPECT_THROW(doc.TransformNode(style), xml::TransformError);
    ASSERT_TRUE(style.LoadXML(
        "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
        "<xsl:template match=\"/\"><xsl:message>chatty</xsl:message></xsl:template></xsl:stylesheet>"));
    doc.TransformNode(style);
  });
  EXPECT_EQ(printed, "");
}

}  // namespace
