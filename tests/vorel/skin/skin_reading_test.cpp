#include "vorel/skin/skin_reading.h"

#include <gtest/gtest.h>

#include "vorel/util/errors.h"

using namespace vorel;

namespace {

TEST(IntDef, SyntaxAndDefaults) {
  struct Case {
    const char* text;
    int32_t expected;
  } cases[] = {{"42", 42},          {"  -7", -7},      {"+8", 8},           {"$FF", 255},       {"xff", 255},
               {"X10", 16},         {"0x1A", 26},      {"0X1a", 26},        {"-$10", -16},      {"$FFFFFFFF", -1},
               {"2147483647", INT32_MAX}, {"-2147483648", INT32_MIN}, {"2147483648", 99}, {"12 ", 99},
               {"1.5", 99},         {"abc", 99},       {"", 99},            {"-", 99},          {"$", 99},
               {"0x", 99},          {"$1FFFFFFFF", 99}, {"\t5", 99}};
  for (const auto& c : cases) EXPECT_EQ(IntDef(c.text, 99), c.expected) << "'" << c.text << "'";
}

TEST(ReadBool, NumbersAndWords) {
  for (const char* t : {"1", "-3", "$10", "true", "TRUE", "t", "Yes", "y", "2.5"}) EXPECT_TRUE(ReadBool(t)) << t;
  for (const char* t : {"0", "false", "F", "no", "N", "", "0.0"}) EXPECT_FALSE(ReadBool(t)) << t;
  for (const char* t : {"hidden", "yess", "on", " "}) EXPECT_THROW(ReadBool(t), KivError) << t;
  try {
    ReadBool("hidden");
  } catch (const KivError& e) {
    EXPECT_STREQ(e.what(), "'hidden' is not a valid boolean value");
  }
}

TEST(IntInRange, RaisesTheRangeError) {
  EXPECT_EQ(IntInRange("255", 0, 0, 255), 255);
  EXPECT_EQ(IntInRange("bad", 7, 0, 255), 7);
  try {
    IntInRange("300", 0, 0, 255);
    FAIL();
  } catch (const KivError& e) {
    EXPECT_STREQ(e.what(), "Range check error");
  }
}

TEST(NodeText, JoinsTrimsAndDefaults) {
  xml::Document doc;
  ASSERT_TRUE(doc.LoadXML("<r><a> one </a><a>two\n</a><b x='  7 '/><e>   </e></r>"));
  xml::Node root = doc.DocumentNode().SelectSingleNode("r");
  EXPECT_EQ(GetNodeText(root, "a", kCrLf, "d"), "one \r\ntwo");
  EXPECT_EQ(GetNodeText(root, "b/@x", kCrLf, "d"), "7");
  EXPECT_EQ(GetNodeText(root, "e", kCrLf, "d"), "d");
  EXPECT_EQ(GetNodeText(root, "missing", kCrLf, "d"), "d");
  EXPECT_EQ(GetNodeText(xml::Node(), "a", kCrLf, "none"), "none");
  EXPECT_EQ(GetNodeTextAt(root, "a", 1, "d"), "two");
  EXPECT_EQ(GetNodeTextAt(root, "a", 2, "d"), "d");
  EXPECT_EQ(CountNodes(root, "a"), 2u);
  EXPECT_EQ(CountNodes(xml::Node(), "a"), 0u);
}

}  // namespace
