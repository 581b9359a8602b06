// Loading, serialising and saving documents.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/xml/document.h"
#include "temp_folder.h"

namespace {

using xml::Document;

constexpr const char* kSkin =
    "<?xml version=\"1.0\"?>\n"
    "<skindata>\n"
    "  <skininfo><name>Clock</name><version>3</version></skininfo>\n"
    "  <desklet>\n  </desklet>\n"
    "</skindata>\n";

TEST(XmlLoad, LoadXmlParsesText) {
  Document doc;
  EXPECT_TRUE(doc.IsEmpty());
  ASSERT_TRUE(doc.LoadXML(kSkin));
  EXPECT_FALSE(doc.IsEmpty());
  EXPECT_EQ(doc.ParseError(), "");
  EXPECT_EQ(doc.SelectSingleNode("//skininfo/name").Text(), "Clock");
}

TEST(XmlLoad, LoadReadsFile) {
  xmltest::TempFolder folder;
  Document doc;
  ASSERT_TRUE(doc.Load(folder.Write("skin.xml", kSkin)));
  EXPECT_EQ(doc.SelectSingleNode("skindata/skininfo/version").Text(), "3");
}

TEST(XmlLoad, FailuresLeaveTheDocumentEmpty) {
  xmltest::TempFolder folder;
  struct Case {
    const char* name;
    const char* text;
  };
  const Case cases[] = {
      {"mismatched tags", "<a><b></a>"},
      {"no root element", "<?xml version=\"1.0\"?>"},
      {"empty text", ""},
      {"text after the root", "<a/>trailing"},
      {"two roots", "<a/><b/>"},
      {"undeclared prefix", "<p:a/>"},
      {"bad character reference", "<a>&#1;</a>"},
  };
  for (const Case& c : cases) {
    Document doc;
    ASSERT_TRUE(doc.LoadXML("<ok/>"));
    EXPECT_FALSE(doc.LoadXML(c.text)) << c.name;
    EXPECT_TRUE(doc.IsEmpty()) << c.name;
    EXPECT_NE(doc.ParseError(), "") << c.name;
    EXPECT_EQ(doc.Xml(), "") << c.name;

    ASSERT_TRUE(doc.LoadXML("<ok/>"));
    EXPECT_FALSE(doc.Load(folder.Write("bad.xml", c.text))) << c.name;
    EXPECT_TRUE(doc.IsEmpty()) << c.name;
  }
}

TEST(XmlLoad, EmbeddedNulIsRejected) {
  Document doc;
  EXPECT_FALSE(doc.LoadXML(std::string_view("<a>x\0y</a>", 10)));
  EXPECT_TRUE(doc.IsEmpty());
}

TEST(XmlLoad, ParseErrorNamesLineAndLibxml2Message) {
  Document doc;
  EXPECT_FALSE(doc.LoadXML("<a>\n<b>\n</a>"));
  EXPECT_NE(doc.ParseError().find("line 3"), std::string::npos) << doc.ParseError();
  EXPECT_NE(doc.ParseError().find("mismatch"), std::string::npos) << doc.ParseError();
}

TEST(XmlLoad, MissingFileGivesFalse) {
  xmltest::TempFolder folder;
  Document doc;
  ASSERT_TRUE(doc.LoadXML("<ok/>"));
  EXPECT_FALSE(doc.Load(folder.File("absent.xml")));
  EXPECT_TRUE(doc.IsEmpty());
  EXPECT_NE(doc.ParseError().find("absent.xml"), std::string::npos);
  EXPECT_FALSE(doc.Load(folder.File("")));  // a folder, not a file
  EXPECT_FALSE(doc.Load("http://127.0.0.1:9/remote.xml"));
}

TEST(XmlLoad, EmptyDocumentHasNoXmlAndNoNodes) {
  Document doc;
  EXPECT_EQ(doc.Xml(), "");
  EXPECT_FALSE(doc.DocumentNode());
  EXPECT_TRUE(doc.SelectNodes("//*").empty());
  EXPECT_FALSE(doc.SelectSingleNode("a"));
}

TEST(XmlLoad, LoadXmlTakesUtf8WhateverTheDeclarationSays) {
  Document doc;
  ASSERT_TRUE(doc.LoadXML("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\xC3\xA9</a>"));
  EXPECT_EQ(doc.SelectSingleNode("a").Text(), "\xC3\xA9");
}

TEST(XmlLoad, LoadHonoursTheFileEncoding) {
  xmltest::TempFolder folder;
  Document doc;
  ASSERT_TRUE(doc.Load(folder.Write("latin1.xml", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\xE9</a>")));
  EXPECT_EQ(doc.SelectSingleNode("a").Text(), "\xC3\xA9");
}

TEST(XmlLoad, BlankTextBetweenElementsIsDropped) {
  Document doc;
  ASSERT_TRUE(doc.LoadXML(kSkin));
  EXPECT_FALSE(doc.SelectSingleNode("skindata/desklet").HasChildNodes());
  EXPECT_TRUE(doc.SelectNodes("skindata/text()").empty());
  ASSERT_TRUE(doc.LoadXML("<a><b xml:space=\"preserve\">  </b><c>  </c><d> x </d></a>"));
  EXPECT_EQ(doc.SelectSingleNode("a/b").Text(), "  ");
  EXPECT_FALSE(doc.SelectSingleNode("a/c").HasChildNodes());
  EXPECT_EQ(doc.SelectSingleNode("a/d").Text(), " x ");
}

TEST(XmlLoad, XmlSerialisesWithDeclaration) {
  Document doc;
  ASSERT_TRUE(doc.LoadXML("<a x=\"1 &amp; 2\"><b>t&lt;</b></a>"));
  std::string text = doc.Xml();
  EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 0), 0u) << text;
  EXPECT_NE(text.find("<a x=\"1 &amp; 2\">"), std::string::npos) << text;
  EXPECT_NE(text.find("<b>t&lt;</b>"), std::string::npos) << text;
}

TEST(XmlLoad, SaveAndReloadRoundTrip) {
  xmltest::TempFolder folder;
  Document doc;
  ASSERT_TRUE(doc.LoadXML("<root><item id=\"1\">\xE2\x82\xAC one</item><item id=\"2\">two</item></root>"));
  std::string path = folder.File("saved.xml");
  doc.Save(path);
  doc.Save(path);  // replacing an existing file
  Document again;
  ASSERT_TRUE(again.Load(path));
  EXPECT_EQ(again.Xml(), doc.Xml());
  ASSERT_EQ(again.SelectNodes("root/item").size(), 2u);
  EXPECT_EQ(again.SelectSingleNode("root/item[@id='1']").Text(), "\xE2\x82\xAC one");
  // Nothing but the saved file is left behind.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.File("")), std::filesystem::directory_iterator()), 1);
}

TEST(XmlLoad, SaveFailuresThrow) {
  xmltest::TempFolder folder;
  Document empty;
  EXPECT_THROW(empty.Save(folder.File("empty.xml")), std::runtime_error);
  EXPECT_FALSE(std::filesystem::exists(folder.File("empty.xml")));
  Document doc;
  ASSERT_TRUE(doc.LoadXML("<a/>"));
  EXPECT_THROW(doc.Save(folder.File("no/such/folder/a.xml")), std::runtime_error);
}

}  // namespace
