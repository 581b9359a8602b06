// The rewriting source forms: script, data lookups and text files.
#include "vorel/model/script_engine.h"
#include "vorel/runtime/source_transforms.h"

#include "platform/util/text.h"
#include "platform/xml/document.h"
#include "tests/vorel/render/render_fixture.h"
#include "vorel/runtime/xml_transform.h"
#include "vorel/util/errors.h"

namespace rendertest {
namespace {

class SourceTransformTest : public DeskletFixture {
 protected:
  void AddSource(const std::string& xml) {
    vorel::TXMLInfo info;
    info.Document = std::make_shared<xml::Document>();
    ASSERT_TRUE(info.Document->LoadXML(xml));
    D().data.xmlSources.push_back(std::move(info));
  }
};

TEST_F(SourceTransformTest, XmlLookups) {
  AddSource("<a><b>42</b><list><item>x</item><item>y</item><item>z</item></list><t>News (3)</t>"
            "<h>Headline</h><u>http://x:8080/y</u></a>");
  EXPECT_EQ(vorel::ApplyXmlSource(D(), "!XMLTXT:0[/a/b]"), "!TXT:42");
  EXPECT_EQ(vorel::ApplyXmlSource(D(), "!XML:0[/a/b]"), "42");
  EXPECT_EQ(vorel::ApplyXmlSource(D(), "!XML:1[/a/b]"), "");
  EXPECT_EQ(vorel::ApplyXmlSource(D(), "!XMLTXT:[/a/list/item][!s,]"), "!TXT:x\r\ny\r\nz")
      << "a separator applies only to the segments after it";
  EXPECT_EQ(vorel::ApplyXmlSource(D(), "!XMLTXT:[!s,][/a/list/item]"), "!TXT:x,y,z");
  EXPECT_EQ(vorel::ApplyXmlSource(D(), "!XML:[/a/t][!d (]"), "News");
  EXPECT_EQ(vorel::ApplyXmlSource(D(), "!XML:[/a/h][!c5]"), "Headl");
  EXPECT_EQ(vorel::ApplyXmlSource(D(), "!XML:0[/a/b][' - '][/a/h]"), "42 - Headline");
  EXPECT_EQ(vorel::ApplyXmlSource(D(), "!XML:0[/a/u]"), "http://x:8080/y") << "colons in the reference stay";
  EXPECT_EQ(vorel::ApplyXmlSource(D(), "!XML"), "");
  EXPECT_EQ(vorel::ApplyXmlSource(D(), "plain.png"), "plain.png");
  EXPECT_THROW(vorel::ApplyXmlSource(D(), "!XML:zero[/a/b]"), vorel::KivError);
  EXPECT_THROW(vorel::ApplyXmlSource(D(), "!XML:[/a/h][!cx]"), vorel::KivError);
}

TEST_F(SourceTransformTest, TransformingLookupsGiveTheStringValueThroughAStylesheet) {
  AddSource("<a><b>42</b><list><item k=\"v\">x</item><item>y</item></list><h>  Headline\n</h></a>");
  EXPECT_EQ(vorel::ApplyXmlSource(D(), "!XMLTRANS:0[/a/b]"), "42");
  EXPECT_EQ(vorel::ApplyXmlSource(D(), "!XMLTRANSTXT:0[count(/a/list/item)]"), "!TXT:2");
  // The string value of a node set is its first node's; blanks go.
  EXPECT_EQ(vorel::ApplyXmlSource(D(), "!XMLTRANS:[/a/list/item]"), "x");
  EXPECT_EQ(vorel::ApplyXmlSource(D(), "!XMLTRANS:[/a/h]"), "Headline");
  // The output is the transform's XML: markup characters come escaped.
  EXPECT_EQ(vorel::ApplyXmlSource(D(), "!XMLTRANS:[concat(/a/b, '<', \"&\")]"), "42&lt;&amp;");
  // Predicates cannot be written in a reference, whose segments end at
  // "]"; the XML object passes them whole.
  EXPECT_EQ(vorel::TransformXML(*D().data.xmlSources[0].Document, "//item[@k=\"v\"]", ""), "x");
  EXPECT_EQ(vorel::ApplyXmlSource(D(), "!XMLTRANS:1[/a/b]"), "");
  EXPECT_THROW(vorel::ApplyXmlSource(D(), "!XMLTRANS:[/a/[b]"), std::exception);

  // A stylesheet of the skin's; a missing one gives nothing.
  dir_.Write("skin/pick.xsl", R"(<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
    <xsl:output method="text"/>
    <xsl:template match="/"><xsl:for-each select="//item"><xsl:value-of select="."/>;</xsl:for-each></xsl:template>
  </xsl:stylesheet>)");
  EXPECT_EQ(vorel::ApplyXmlSource(D(), "!XMLTRANS:[!FILE:pick.xsl]"), "x;y;");
  EXPECT_EQ(vorel::ApplyXmlSource(D(), "!XMLTRANS:[!FILE:none.xsl]"), "");
  dir_.Write("skin/broken.xsl", "<xsl:stylesheet");
  EXPECT_THROW(vorel::ApplyXmlSource(D(), "!XMLTRANS:[!FILE:broken.xsl]"), vorel::KivError);
}

// A lookup answered by XPath alone gives what the stylesheet made from the
// expression outputs, text escaping and trimming included; what only XSLT
// knows still goes through the stylesheet.
TEST(TransformXML, XPathAloneAnswersAsTheStylesheetWould) {
  xml::Document document;
  ASSERT_TRUE(document.LoadXML("<a x=\"\xC3\xB8\xE2\x82\xAC\xF0\x9D\x84\x9E\"><b>42</b><cr>one&#13;two&#13;</cr>"
                               "<ws> \t padded\n </ws><list><item>x</item><item>y</item></list><n>1.5</n><n>2</n>"
                               "<mixed>a<i>b</i>c</mixed></a>"));
  auto throughStylesheet = [&](const std::string& xpath) {
    xml::Document stylesheet;
    EXPECT_TRUE(stylesheet.LoadXML(vorel::ValueOfStylesheet(xpath)));
    std::string output = document.TransformNode(stylesheet);
    if (output.starts_with("<?xml")) output.erase(0, output.find("?>") + 2);
    return kiv::Trim(output);
  };
  for (const char* xpath :
       {"/a/b", "//item", "count(//item)", "concat(/a/b, '<', \"&\", '>')", "/a/cr", "string(/a/@x)", "1 div 3",
        "1 div 0", "-1 div 0", "0 div 0", "/a/none", "sum(//n)", "/a/ws", "name(/*)", "translate(/a/b, '4', '<')",
        "true()", "/a/list", "/a/mixed", "10000000 * 100000000", "0.1 + 0.2", "format-number(1234.5, '#,##0.0')",
        "string(current()/a/b)", "system-property('xsl:version')"})
    EXPECT_EQ(vorel::TransformXML(document, xpath, ""), throughStylesheet(xpath)) << xpath;
  EXPECT_EQ(vorel::TransformXML(document, "format-number(1234.5, '#,##0.0')", ""), "1,234.5");
  EXPECT_THROW(vorel::TransformXML(document, "/a/[b", ""), std::exception);
  EXPECT_THROW(vorel::TransformXML(document, "nope(1)", ""), std::exception);
  xml::Document empty;
  EXPECT_EQ(vorel::TransformXML(empty, "/a/b", ""), "");
}

TEST_F(SourceTransformTest, TextFileRanges) {
  dir_.Write("skin/notes.txt", "l0\r\nl1\nl2\r\nl3\nl4\n");
  EXPECT_EQ(vorel::ApplyTextFileSource(D(), "!TXTFILE:notes.txt|1|2"), "!TXT:l1\r\nl2");
  EXPECT_EQ(vorel::ApplyTextFileSource(D(), "!TXTFILE:notes.txt|3"), "!TXT:l3") << "the last line never comes";
  EXPECT_EQ(vorel::ApplyTextFileSource(D(), "!TXTFILE:notes.txt|4"), "!TXT:");
  EXPECT_EQ(vorel::ApplyTextFileSource(D(), "!TXTFILE:notes.txt|1|99"), "!TXT:l1\r\nl2\r\nl3");
  EXPECT_EQ(vorel::ApplyTextFileSource(D(), "!TXTFILE:notes.txt"), "!TXT:l0\r\nl1\r\nl2\r\nl3\r\nl4\r\n");
  EXPECT_EQ(vorel::ApplyTextFileSource(D(), "!TXTFILE:" + dir_.Path() + "skin/notes.txt|0|1"), "!TXT:l0");
  EXPECT_EQ(vorel::ApplyTextFileSource(D(), "!TXTFILE:missing.txt"), "!TXT:");
  EXPECT_EQ(vorel::ApplyTextFileSource(D(), "!TXTFILE:C:\\data\\notes.txt"), "!TXT:") << "kept absolute, missing";
  EXPECT_EQ(vorel::ApplyTextFileSource(D(), "other"), "other");
}

TEST_F(SourceTransformTest, TextFileRangeKeepsTheFirstLinesLeadingBlanks) {
  dir_.Write("skin/notes.txt", "  indented first\r\n\tsecond  \r\nthird\r\nlast\r\n");
  EXPECT_EQ(vorel::ApplyTextFileSource(D(), "!TXTFILE:notes.txt|0|2"), "!TXT:  indented first\r\n\tsecond");
  EXPECT_EQ(vorel::ApplyTextFileSource(D(), "!TXTFILE:notes.txt|1"), "!TXT:\tsecond  \r\nthird");
}

TEST_F(SourceTransformTest, TextFileNegativeCountOtherThanMinusOneReadsNothing) {
  dir_.Write("skin/notes.txt", "l0\nl1\nl2\nl3\nl4\n");
  EXPECT_EQ(vorel::ApplyTextFileSource(D(), "!TXTFILE:notes.txt|1|-1"), "!TXT:l1\r\nl2\r\nl3");
  EXPECT_EQ(vorel::ApplyTextFileSource(D(), "!TXTFILE:notes.txt|1|-2"), "!TXT:");
  EXPECT_EQ(vorel::ApplyTextFileSource(D(), "!TXTFILE:notes.txt|0|-5"), "!TXT:");
  EXPECT_EQ(vorel::ApplyTextFileSource(D(), "!TXTFILE:notes.txt|1|0"), "!TXT:");
}

TEST_F(SourceTransformTest, ScriptFormEvaluatesWithTheEngine) {
  ASSERT_TRUE(D().scripting.scriptEngine);
  D().scripting.scriptEngine->ExecuteStatement("var x = 'hi';");
  EXPECT_EQ(vorel::ApplyScriptSource(D(), "!SCRIPT:'!TXT:'+x"), "!TXT:hi");
}

TEST_F(SourceTransformTest, ScriptFormWithoutAnEngineIsEmpty) {
  D().scripting.scriptEngine.reset();
  EXPECT_EQ(vorel::ApplyScriptSource(D(), "!SCRIPT:'!TXT:'+x"), "");
  EXPECT_EQ(vorel::ApplyScriptSource(D(), "img.png"), "img.png");
}

}  // namespace
}  // namespace rendertest
