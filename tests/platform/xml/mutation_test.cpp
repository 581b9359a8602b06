// Changing documents: text, attributes, created paths, and Nodes that
// outlive the content they were taken from.
#include <gtest/gtest.h>

#include "platform/xml/document.h"
#include "platform/xml/errors.h"

namespace {

using xml::Document;
using xml::Node;

Document Parse(const char* text) {
  Document doc;
  EXPECT_TRUE(doc.LoadXML(text)) << text;
  return doc;
}

TEST(XmlMutation, SetTextReplacesElementContent) {
  Document doc = Parse("<a><b>old<c>deep</c></b></a>");
  Node b = doc.SelectSingleNode("a/b");
  b.SetText("new & <fresh>");
  EXPECT_EQ(b.Text(), "new & <fresh>");
  EXPECT_TRUE(doc.SelectNodes("a/b/c").empty());
  EXPECT_NE(doc.Xml().find("<b>new &amp; &lt;fresh&gt;</b>"), std::string::npos) << doc.Xml();
  b.SetText("");
  EXPECT_FALSE(b.HasChildNodes());
}

TEST(XmlMutation, SetTextOnAttributesAndTextNodes) {
  Document doc = Parse("<a x=\"1\">t</a>");
  doc.SelectSingleNode("a/@x").SetText("2 & 3");
  EXPECT_EQ(doc.SelectSingleNode("a").Attribute("x"), "2 & 3");
  doc.SelectSingleNode("a/text()").SetText("u&v");
  EXPECT_EQ(doc.SelectSingleNode("a").Text(), "u&v");
  EXPECT_THROW(doc.DocumentNode().SetText("x"), std::runtime_error);
}

TEST(XmlMutation, TextThatXmlCannotHoldIsReplacedSoTheDocumentStillLoads) {
  Document doc = Parse("<a/>");
  doc.SelectSingleNode("a").SetText(std::string("x\x01y\0z\xFF", 6));
  doc.SelectSingleNode("a").SetAttribute("v", "\x02");
  EXPECT_EQ(doc.SelectSingleNode("a").Text(), "x\xEF\xBF\xBDy\xEF\xBF\xBDz\xEF\xBF\xBD");
  Document again;
  ASSERT_TRUE(again.LoadXML(doc.Xml())) << again.ParseError();
  EXPECT_EQ(again.SelectSingleNode("a").Text(), doc.SelectSingleNode("a").Text());
  EXPECT_EQ(again.SelectSingleNode("a").Attribute("v"), "\xEF\xBF\xBD");
}

TEST(XmlMutation, SetAttributeCreatesAndReplaces) {
  Document doc = Parse("<a xmlns:k=\"urn:k\" x=\"1\"/>");
  Node a = doc.SelectSingleNode("a");
  a.SetAttribute("x", "2");
  a.SetAttribute("y", "\"quoted\"");
  a.SetAttribute("k:z", "3");
  EXPECT_EQ(a.Attribute("x"), "2");
  EXPECT_EQ(a.Attribute("y"), "\"quoted\"");
  EXPECT_EQ(a.Attribute("k:z"), "3");
  EXPECT_EQ(doc.SelectNodes("a/@*").size(), 3u);

  EXPECT_THROW(a.SetAttribute("1bad", "v"), std::runtime_error);
  EXPECT_THROW(a.SetAttribute("", "v"), std::runtime_error);
  EXPECT_THROW(a.SetAttribute("nope:z", "v"), std::runtime_error);
  EXPECT_THROW(doc.SelectSingleNode("a/@x").SetAttribute("q", "v"), std::runtime_error);
}

TEST(XmlMutation, FindOrCreateNodeFindsExistingNodes) {
  Document doc = Parse("<root><a><b>1</b><b>2</b></a></root>");
  EXPECT_EQ(doc.FindOrCreateNode("/root/a/b").Text(), "1");
  EXPECT_EQ(doc.FindOrCreateNode("//b[2]").Text(), "2");  // any XPath when it matches
  EXPECT_EQ(doc.SelectNodes("//b").size(), 2u);
}

TEST(XmlMutation, FindOrCreateNodeCreatesMissingElements) {
  struct Case {
    const char* start;
    const char* path;
    const char* expectedXmlPart;
  };
  const Case cases[] = {
      {"<root/>", "/root/a/b", "<root>\n  <a>\n    <b/>\n  </a>\n</root>"},
      {"<root><a><c/></a></root>", "root/a/b", "<a>\n    <c/>\n    <b/>\n  </a>"},
      {"<root><a/><a/></root>", "/root/a/b", "<root>\n  <a>\n    <b/>\n  </a>\n  <a/>\n</root>"},
      {"<root/>", "/root/@id", "<root id=\"\"/>"},
      {"<root><a/></root>", "/root/a/@id", "<a id=\"\"/>"},
  };
  for (const Case& c : cases) {
    Document doc = Parse(c.start);
    Node made = doc.FindOrCreateNode(c.path);
    ASSERT_TRUE(made) << c.path;
    EXPECT_NE(doc.Xml().find(c.expectedXmlPart), std::string::npos) << c.path << "\n" << doc.Xml();
    EXPECT_TRUE(doc.SelectSingleNode(c.path) == made) << c.path;
  }
}

TEST(XmlMutation, FindOrCreateNodeOnAnEmptyDocumentMakesTheRoot) {
  Document doc;
  Node b = doc.FindOrCreateNode("/root/b");
  b.SetText("value");
  EXPECT_FALSE(doc.IsEmpty());
  EXPECT_EQ(doc.SelectSingleNode("root/b").Text(), "value");
  Document again;
  EXPECT_TRUE(again.LoadXML(doc.Xml()));
}

TEST(XmlMutation, FindOrCreateNodeRejectsWhatItCannotCreate) {
  Document doc = Parse("<root/>");
  const char* cannot[] = {"//a", "/root/a[2]", "/root/../x", "/other", "/root/a/", "/root/@a/b",
                          "/@a", "/root/p:a", "/root/a|/root/b", "/root/text()"};
  for (const char* path : cannot) {
    EXPECT_THROW(doc.FindOrCreateNode(path), std::runtime_error) << path;
  }
  EXPECT_THROW(doc.FindOrCreateNode("/root/a[", 0), xml::XPathError);
  EXPECT_THROW(doc.FindOrCreateNode("/root", 1), std::runtime_error);
  EXPECT_EQ(doc.Xml().find("<root/>") != std::string::npos, true) << doc.Xml();
}

TEST(XmlMutation, NodesSurviveReloadOfTheirDocument) {
  Document doc = Parse("<a><b x=\"1\">first</b></a>");
  Node b = doc.SelectSingleNode("a/b");
  Node x = doc.SelectSingleNode("a/b/@x");
  ASSERT_TRUE(doc.LoadXML("<other/>"));
  EXPECT_EQ(b.Text(), "first");
  EXPECT_EQ(x.Text(), "1");
  EXPECT_EQ(b.SelectSingleNode("..").Name(), "a");
  EXPECT_FALSE(doc.LoadXML("<broken"));
  EXPECT_EQ(b.Name(), "b");
  doc = Document();
  EXPECT_EQ(b.Attribute("x"), "1");
}

TEST(XmlMutation, NodesSurviveRemovalByAnAncestor) {
  Document doc = Parse("<a><b><c y=\"2\">deep</c></b></a>");
  Node c = doc.SelectSingleNode("//c");
  Node y = doc.SelectSingleNode("//c/@y");
  Node text = doc.SelectSingleNode("//c/text()");
  doc.SelectSingleNode("a").SetText("flat");
  EXPECT_EQ(doc.SelectSingleNode("a").Text(), "flat");
  EXPECT_EQ(c.Text(), "deep");
  EXPECT_EQ(y.Text(), "2");
  text.SetText("still usable");
  EXPECT_EQ(c.Text(), "still usable");
  EXPECT_FALSE(c.SelectSingleNode("ancestor::a"));  // no longer in the tree
  EXPECT_TRUE(doc.SelectNodes("//c").empty());
}

TEST(XmlMutation, CopiedAndMovedNodesStayValid) {
  Node kept;
  {
    Document doc = Parse("<a><b>1</b></a>");
    Node original = doc.SelectSingleNode("a/b");
    Node copy = original;
    Node moved = std::move(original);
    EXPECT_FALSE(original);  // NOLINT: moved-from is null by contract
    EXPECT_TRUE(copy == moved);
    kept = copy;
    doc.SelectSingleNode("a").SetText("");
  }
  EXPECT_EQ(kept.Text(), "1");
}

}  // namespace
