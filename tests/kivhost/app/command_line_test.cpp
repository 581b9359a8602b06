#include "kivhost/app/command_line.h"

#include <gtest/gtest.h>

namespace kivhost {
namespace {

TEST(CommandLine, OptionsAndTheirMistakes) {
  Options o = ParseCommandLine({"--headless", "--trace", "t.jsonl", "skin.xml"});
  EXPECT_TRUE(o.headless);
  EXPECT_EQ(o.trace, "t.jsonl");
  EXPECT_EQ(o.skin, "skin.xml");
  EXPECT_FALSE(o.quiet);
  EXPECT_TRUE(ParseCommandLine({"--quiet", "skin.xml"}).quiet);
  o = ParseCommandLine({"--settings", "a.ini", "--section", "D1"});
  EXPECT_EQ(o.settingsSection, "D1");
  EXPECT_THROW(ParseCommandLine({"--trace"}), UsageError);
  EXPECT_THROW(ParseCommandLine({"--bogus", "s.xml"}), UsageError);
  EXPECT_THROW(ParseCommandLine({"a.xml", "b.xml"}), UsageError);
  EXPECT_THROW(ParseCommandLine({"--settings", "a.ini", "s.xml"}), UsageError);
  EXPECT_THROW(ParseCommandLine({}), UsageError);
}

}  // namespace
}  // namespace kivhost
