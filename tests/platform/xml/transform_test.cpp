// XSLT transforms: output methods, the one-template value-of stylesheet,
// failures.
#include <gtest/gtest.h>

#include "platform/xml/document.h"
#include "platform/xml/errors.h"
#include "temp_folder.h"

namespace {

using xml::Document;

std::string ValueOfStylesheet(const std::string& select) {
  return "<?xml version=\"1.0\"?>\r\n"
         "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">\r\n"
         "<xsl:template match=\"/\">\r\n"
         "<xsl:value-of select=\"" + select + "\"/>\r\n"
         "</xsl:template>\r\n"
         "</xsl:stylesheet>";
}

Document Parse(const std::string& text) {
  Document doc;
  EXPECT_TRUE(doc.LoadXML(text)) << doc.ParseError();
  return doc;
}

const char* kWeather = "<weather><city name=\"Oslo\"><temp>-3</temp></city><city name=\"Rome\"><temp>14</temp></city></weather>";

TEST(XmlTransform, ValueOfGivesTheStringValueAfterTheDeclaration) {
  Document data = Parse(kWeather);
  struct Case {
    const char* select;
    const char* expected;
  };
  const Case cases[] = {
      {"weather/city[2]/temp", "14"},
      {"//city/@name", "Oslo"},  // value-of takes the first node
      {"count(//city)", "2"},
      {"concat(//city[1]/@name, ':', //city[1]/temp)", "Oslo:-3"},
  };
  for (const Case& c : cases) {
    std::string out = data.TransformNode(Parse(ValueOfStylesheet(c.select)));
    // The default output method is xml, so libxslt writes its declaration.
    EXPECT_EQ(out, std::string("<?xml version=\"1.0\"?>\n") + c.expected + "\n") << c.select;
  }
  // With no output at all libxslt writes nothing, not even the declaration.
  EXPECT_EQ(data.TransformNode(Parse(ValueOfStylesheet("weather/none"))), "");
}

TEST(XmlTransform, TextAndXmlOutputMethods) {
  Document data = Parse(kWeather);
  Document text = Parse(
      "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
      "<xsl:output method=\"text\"/>"
      "<xsl:template match=\"/\"><xsl:for-each select=\"//city\"><xsl:value-of select=\"@name\"/>;</xsl:for-each></xsl:template>"
      "</xsl:stylesheet>");
  EXPECT_EQ(data.TransformNode(text), "Oslo;Rome;");

  Document tree = Parse(
      "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
      "<xsl:template match=\"/\"><list><xsl:copy-of select=\"//temp\"/></list></xsl:template>"
      "</xsl:stylesheet>");
  EXPECT_EQ(data.TransformNode(tree), "<?xml version=\"1.0\"?>\n<list><temp>-3</temp><temp>14</temp></list>\n");
}

TEST(XmlTransform, OutputIsUtf8WhateverTheStylesheetAsks) {
  Document data = Parse("<a>\xC3\xA9t\xC3\xA9</a>");
  Document latin = Parse(
      "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
      "<xsl:output method=\"text\" encoding=\"ISO-8859-1\"/>"
      "<xsl:template match=\"/\"><xsl:value-of select=\"a\"/></xsl:template></xsl:stylesheet>");
  EXPECT_EQ(data.TransformNode(latin), "\xC3\xA9t\xC3\xA9");
}

TEST(XmlTransform, EmptyDocumentTransformsAsDocumentWithoutContent) {
  Document empty;
  EXPECT_EQ(empty.TransformNode(Parse(ValueOfStylesheet("count(//*)"))), "<?xml version=\"1.0\"?>\n0\n");
}

TEST(XmlTransform, TheStylesheetDocumentIsLeftAsItWas) {
  Document data = Parse(kWeather);
  Document style = Parse(ValueOfStylesheet("//temp"));
  std::string before = style.Xml();
  data.TransformNode(style);
  data.TransformNode(style);
  EXPECT_EQ(style.Xml(), before);
}

TEST(XmlTransform, StripSpaceDoesNotFreeNodesStillHeld) {
  Document data = Parse("<a xml:space=\"preserve\"><b>  </b><c>x</c></a>");
  xml::Node blank = data.SelectSingleNode("a/b/text()");
  ASSERT_TRUE(blank);
  Document style = Parse(
      "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
      "<xsl:strip-space elements=\"*\"/><xsl:output method=\"text\"/>"
      "<xsl:template match=\"/\"><xsl:value-of select=\"count(//text())\"/></xsl:template></xsl:stylesheet>");
  EXPECT_EQ(data.TransformNode(style), "1");
  EXPECT_EQ(blank.Text(), "  ");
  EXPECT_EQ(data.SelectNodes("//text()").size(), 2u);
}

TEST(XmlTransform, FailuresThrowTransformError) {
  Document data = Parse(kWeather);
  struct Case {
    const char* name;
    std::string stylesheet;
  };
  const Case cases[] = {
      {"malformed select", ValueOfStylesheet("weather/[")},
      {"not a stylesheet", "<html><body/></html>"},
      {"undeclared variable",
       "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
       "<xsl:template match=\"/\"><xsl:value-of select=\"$nope\"/></xsl:template></xsl:stylesheet>"},
      {"terminating message",
       "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
       "<xsl:template match=\"/\"><xsl:message terminate=\"yes\">stop here</xsl:message></xsl:template></xsl:stylesheet>"},
      {"endless recursion",
       "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
       "<xsl:template match=\"/\"><xsl:call-template name=\"r\"/></xsl:template>"
       "<xsl:template name=\"r\"><xsl:call-template name=\"r\"/></xsl:template></xsl:stylesheet>"},
  };
  for (const Case& c : cases) {
    try {
      data.TransformNode(Parse(c.stylesheet));
      ADD_FAILURE() << c.name << " did not throw";
    } catch (const xml::TransformError& e) {
      EXPECT_STRNE(e.what(), "") << c.name;
    }
  }
  EXPECT_THROW(data.TransformNode(Document()), xml::TransformError);
}

TEST(XmlTransform, TerminatingMessageTextIsReported) {
  Document data = Parse("<a/>");
  try {
    data.TransformNode(Parse(
        "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
        "<xsl:template match=\"/\"><xsl:message terminate=\"yes\">stop here</xsl:message></xsl:template></xsl:stylesheet>"));
    FAIL();
  } catch (const xml::TransformError& e) {
    EXPECT_NE(std::string(e.what()).find("stop here"), std::string::npos) << e.what();
  }
}

TEST(XmlTransform, DocumentFunctionReadsLocalFiles) {
  xmltest::TempFolder folder;
  std::string other = folder.Write("other.xml", "<o>local</o>");
  Document data = Parse("<a/>");
  Document style = Parse(ValueOfStylesheet("document('" + other + "')/o"));
  EXPECT_EQ(data.TransformNode(style), "<?xml version=\"1.0\"?>\nlocal\n");
}

}  // namespace
