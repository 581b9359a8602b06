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

// Paths of plain child names (perhaps ending in an attribute) are walked
// directly; they must select exactly what libxml2's XPath selects for the
// same path spelled out with its axes.
TEST(XmlSimplePaths, SelectWhatTheFullXPathSelects) {
  Document doc;
  ASSERT_TRUE(doc.LoadXML(
      "<skindata xmlns:k=\"urn:k\"><sides><side id=\"0\" width=\"1\"/><k:side id=\"9\"/>"
      "<side k:id=\"8\" width=\"2\"/><side id=\"2\"><side id=\"nested\"/></side></sides>"
      "<sides><side id=\"3\"/></sides><layers><layer name=\"a\">t<layer name=\"child\"/></layer>"
      "<!--c--><layer name=\"b\"/></layers><desklet><label>x</label><label>y</label></desklet></skindata>"));
  const std::vector<std::pair<std::string, std::string>> pairs = {
      {"skindata", "child::skindata"},
      {"skindata/sides/side", "child::skindata/child::sides/child::side"},
      {"skindata/sides/side/@id", "child::skindata/child::sides/child::side/attribute::id"},
      {"skindata/sides/side/@width", "child::skindata/child::sides/child::side/attribute::width"},
      {"skindata/layers/layer/@name", "child::skindata/child::layers/child::layer/attribute::name"},
      {"skindata/layers/layer/layer", "child::skindata/child::layers/child::layer/child::layer"},
      {"skindata/desklet/label", "child::skindata/child::desklet/child::label"},
      {"skindata/nothing/@id", "child::skindata/child::nothing/attribute::id"},
  };
  const Node root = doc.DocumentNode();
  for (const auto& [simple, full] : pairs) {
    EXPECT_EQ(Texts(root.SelectNodes(simple)), Texts(root.SelectNodes(full))) << simple;
    EXPECT_EQ(root.SelectTexts(simple), root.SelectTexts(full)) << simple;
    EXPECT_EQ(root.CountMatches(simple), root.CountMatches(full)) << simple;
    EXPECT_EQ(root.SelectSingleNode(simple).Text(), root.SelectSingleNode(full).Text()) << simple;
  }
  const Node sides = doc.SelectSingleNode("skindata/sides");
  EXPECT_EQ(sides.SelectTexts("side/@id"), (std::vector<std::string>{"0", "2"}));
  EXPECT_EQ(doc.SelectSingleNode("skindata/sides/side/@id").Type(), NodeType::Attribute);
  // Not simple: still XPath, and still checked.
  EXPECT_THROW(root.SelectNodes("skindata/@"), xml::XPathError);
  EXPECT_THROW(root.SelectNodes("skindata//"), xml::XPathError);
  EXPECT_TRUE(root.SelectNodes("skindata/sides/side/@id/side").empty());
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
