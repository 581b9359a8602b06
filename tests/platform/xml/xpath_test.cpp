// XPath selection relative to context nodes, string values and errors.
#include <gtest/gtest.h>

#include "platform/xml/document.h"
#include "platform/xml/errors.h"

namespace {

using xml::Document;
using xml::Node;
using xml::NodeType;

constexpr const char* kSkin =
    "<skindata>"
    "<parameters>"
    "<param name=\"color\" value=\"red\"/>"
    "<param name=\"size\" value=\"12\"/>"
    "<parameter name=\"font\">Arial</parameter>"
    "</parameters>"
    "<sides><side name=\"front\"/><side name=\"back\"/></sides>"
    "<desklet><label>Hello <b>big</b> world</label><!--note--></desklet>"
    "<skininfo><name>One</name></skininfo>"
    "<other><skininfo><name>Two</name></skininfo></other>"
    "</skindata>";

class XmlXPath : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(doc.LoadXML(kSkin)); }
  Document doc;
};

std::vector<std::string> Texts(const std::vector<Node>& nodes) {
  std::vector<std::string> texts;
  for (const Node& node : nodes) texts.push_back(node.Text());
  return texts;
}

TEST_F(XmlXPath, SelectsRelativeToTheContextNode) {
  Node parameters = doc.SelectSingleNode("skindata/parameters");
  ASSERT_TRUE(parameters);
  EXPECT_EQ(parameters.Name(), "parameters");
  EXPECT_EQ(parameters.SelectNodes("param").size(), 2u);
  EXPECT_TRUE(parameters.SelectNodes("skindata").empty());  // relative, not from the root
  EXPECT_EQ(parameters.SelectNodes("/skindata").size(), 1u);  // absolute still works
  EXPECT_EQ(parameters.SelectSingleNode("../sides/side[2]/@name").Text(), "back");
}

TEST_F(XmlXPath, AttributesAndTextNodesAreNodes) {
  std::vector<Node> names = doc.SelectNodes("skindata/parameters/*/@name");
  ASSERT_EQ(names.size(), 3u);
  EXPECT_EQ(names[0].Type(), NodeType::Attribute);
  EXPECT_EQ(names[0].Name(), "name");
  EXPECT_EQ(Texts(names), (std::vector<std::string>{"color", "size", "font"}));

  Node text = doc.SelectSingleNode("//parameter/text()");
  ASSERT_TRUE(text);
  EXPECT_EQ(text.Type(), NodeType::Text);
  EXPECT_EQ(text.Name(), "#text");
  EXPECT_EQ(text.Text(), "Arial");

  Node attribute = names[1];
  EXPECT_EQ(attribute.SelectSingleNode("..").Name(), "param");  // attribute as context
  EXPECT_EQ(doc.SelectSingleNode("//comment()").Name(), "#comment");
  EXPECT_EQ(doc.DocumentNode().Name(), "#document");
  EXPECT_EQ(doc.DocumentNode().Type(), NodeType::Document);
}

TEST_F(XmlXPath, MultipleMatchesComeInDocumentOrder) {
  EXPECT_EQ(Texts(doc.SelectNodes("//skininfo/name")), (std::vector<std::string>{"One", "Two"}));
  // A union written back to front still comes back in document order.
  EXPECT_EQ(Texts(doc.SelectNodes("//side[2]/@name | //param[1]/@name | //side[1]/@name")),
            (std::vector<std::string>{"color", "front", "back"}));
  EXPECT_EQ(doc.SelectSingleNode("//skininfo/name").Text(), "One");
}

TEST_F(XmlXPath, TextsAndCountsMatchTheSelection) {
  const Node root = doc.DocumentNode();
  for (const char* path : {"//side[2]/@name | //param[1]/@name | //side[1]/@name", "//label", "//nothing",
                           "skindata/parameters/*", "//label/text()"}) {
    EXPECT_EQ(root.SelectTexts(path), Texts(root.SelectNodes(path))) << path;
    EXPECT_EQ(root.CountMatches(path), root.SelectNodes(path).size()) << path;
  }
  EXPECT_THROW(root.SelectTexts("//["), xml::XPathError);
  EXPECT_THROW(root.CountMatches("//["), xml::XPathError);
  EXPECT_TRUE(Node().SelectTexts("a").empty());
  EXPECT_EQ(Node().CountMatches("a"), 0u);
}

TEST_F(XmlXPath, StringValueOfNestedElements) {
  EXPECT_EQ(doc.SelectSingleNode("//label").Text(), "Hello big world");
  EXPECT_EQ(doc.SelectSingleNode("//desklet").Text(), "Hello big world");  // comments do not count
  EXPECT_EQ(doc.SelectSingleNode("skindata/sides").Text(), "");
  EXPECT_NE(doc.DocumentNode().Text().find("ArialHello big world"), std::string::npos);
}

TEST_F(XmlXPath, AttributeLookupAndChildren) {
  Node param = doc.SelectSingleNode("//param[2]");
  EXPECT_EQ(param.Attribute("value"), "12");
  EXPECT_EQ(param.Attribute("missing"), std::nullopt);
  EXPECT_FALSE(param.HasChildNodes());
  EXPECT_TRUE(doc.SelectSingleNode("//parameter").HasChildNodes());
  EXPECT_TRUE(doc.DocumentNode().HasChildNodes());
  EXPECT_EQ(doc.SelectSingleNode("//param/@name").Attribute("name"), std::nullopt);
}

TEST_F(XmlXPath, NoMatchGivesNullNode) {
  Node none = doc.SelectSingleNode("skindata/layers");
  EXPECT_FALSE(none);
  EXPECT_EQ(none.Name(), "");
  EXPECT_EQ(none.Text(), "");
  EXPECT_FALSE(none.HasChildNodes());
  EXPECT_TRUE(none.SelectNodes("*").empty());
  EXPECT_EQ(none.Attribute("a"), std::nullopt);
  EXPECT_THROW(none.SetText("x"), std::runtime_error);
  EXPECT_THROW(none.SetAttribute("a", "b"), std::runtime_error);
}

TEST_F(XmlXPath, MalformedExpressionsThrowWithLibxml2Message) {
  struct Case {
    const char* expression;
    const char* message;
  };
  const Case cases[] = {
      {"skindata/[", "Invalid expression"},
      {"//param[@name=", "Invalid expression"},
      {"nosuchfunction()", "Unregistered function"},
      {"p:param", "Undefined namespace prefix"},
      {"count(//param)", "Expression does not evaluate to a node-set"},
      {"", "Invalid expression"},
  };
  for (const Case& c : cases) {
    try {
      doc.SelectNodes(c.expression);
      ADD_FAILURE() << c.expression << " did not throw";
    } catch (const xml::XPathError& e) {
      EXPECT_EQ(std::string(e.what()), c.message) << c.expression;
      EXPECT_EQ(e.Expression(), c.expression);
    }
  }
}

TEST_F(XmlXPath, ErrorsAlsoThrowWithoutAContext) {
  Document empty;
  EXPECT_THROW(empty.SelectNodes("a[["), xml::XPathError);
  EXPECT_THROW(Node().SelectSingleNode("a[["), xml::XPathError);
  EXPECT_THROW(doc.SelectNodes(std::string_view("a\0b", 3)), xml::XPathError);
}

TEST_F(XmlXPath, InvalidExpressionReportsPosition) {
  try {
    doc.SelectNodes("skindata/parameters/param[");
    FAIL();
  } catch (const xml::XPathError& e) {
    EXPECT_GT(e.Position(), 0);
  }
}

}  // namespace
