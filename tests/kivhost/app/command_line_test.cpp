#include "kivhost/app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kivhost {
namespace {

using Skins = std::vector<std::string>;

TEST(CommandLine, OptionsAndTheirMistakes) {
  Options o = ParseCommandLine({"--headless", "--trace", "t.jsonl", "skin.xml"});
  EXPECT_TRUE(o.headless);
  EXPECT_EQ(o.trace, "t.jsonl");
  EXPECT_EQ(o.skins, Skins{"skin.xml"});
  EXPECT_FALSE(o.quiet);
  EXPECT_TRUE(ParseCommandLine({"--quiet", "skin.xml"}).quiet);
  EXPECT_THROW(ParseCommandLine({"--trace"}), UsageError);
  EXPECT_THROW(ParseCommandLine({"--bogus", "s.xml"}), UsageError);
  EXPECT_THROW(ParseCommandLine({"--settings", "a.ini", "s.xml"}), UsageError);
}

TEST(CommandLine, TimeLimitInSecondsBecomesMilliseconds) {
  EXPECT_FALSE(ParseCommandLine({"s.xml"}).timeLimitMs) << "the plug-in's default stands";
  EXPECT_EQ(ParseCommandLine({"--time-limit", "5", "s.xml"}).timeLimitMs, 5000);
  EXPECT_EQ(ParseCommandLine({"--time-limit", "0.25", "s.xml"}).timeLimitMs, 250);
  EXPECT_EQ(ParseCommandLine({"--time-limit", "0", "s.xml"}).timeLimitMs, 0);
  EXPECT_EQ(ParseCommandLine({"--time-limit", "86400", "s.xml"}).timeLimitMs, 86'400'000);
  for (const char* bad : {"-1", "86401", "5s", "", "nan", "inf", "1e9"})
    EXPECT_THROW(ParseCommandLine({"--time-limit", bad, "s.xml"}), UsageError) << bad;
  EXPECT_THROW(ParseCommandLine({"s.xml", "--time-limit"}), UsageError);
}

TEST(CommandLine, SeveralSkinsKeepTheirOrderAmongTheOptions) {
  const Options o = ParseCommandLine({"b.xml", "--quiet", "--headless", "a.xml", "--scenario", "s.txt", "b.xml", "c.xml"});
  EXPECT_EQ(o.skins, (Skins{"b.xml", "a.xml", "b.xml", "c.xml"}));
  EXPECT_TRUE(o.quiet);
  EXPECT_EQ(o.scenario, "s.txt");
  EXPECT_TRUE(o.settingsFile.empty());
}

TEST(CommandLine, HeadlessWithoutASkinNeedsSettings) {
  EXPECT_THROW(ParseCommandLine({"--headless", "--quiet"}), UsageError);
  // On the desktop, nothing brings back the last session's desklets.
  EXPECT_TRUE(ParseCommandLine({}).skins.empty());
  const Options o = ParseCommandLine({"--settings", "a.ini", "--section", "D1"});
  EXPECT_TRUE(o.skins.empty());
  EXPECT_EQ(o.settingsFile, "a.ini");
  EXPECT_EQ(o.settingsSection, "D1");
}

TEST(CommandLine, SettingsGoWithOneSkinAtMost) {
  const Options o = ParseCommandLine({"--settings", "a.ini", "--section", "D1", "s.xml"});
  EXPECT_EQ(o.skins, Skins{"s.xml"});
  EXPECT_EQ(o.settingsSection, "D1");
  try {
    ParseCommandLine({"--settings", "a.ini", "--section", "D1", "a.xml", "b.xml"});
    ADD_FAILURE() << "settings with two skin files were taken";
  } catch (const UsageError& e) {
    EXPECT_NE(std::string(e.what()).find("2 skin files"), std::string::npos) << e.what();
  }
  EXPECT_THROW(ParseCommandLine({"a.xml", "--section", "D1", "b.xml", "--settings", "a.ini"}), UsageError);
}

TEST(CommandLine, ManagerCommandsGoAlone) {
  const Options list = ParseCommandLine({"--list"});
  ASSERT_TRUE(list.manage);
  EXPECT_EQ(list.manage->kind, ManagerRequest::Kind::List);
  const Options add = ParseCommandLine({"--quiet", "--add", "a b.xml"});
  ASSERT_TRUE(add.manage);
  EXPECT_EQ(add.manage->kind, ManagerRequest::Kind::Add);
  EXPECT_EQ(add.manage->argument, "a b.xml");
  EXPECT_TRUE(add.skins.empty());
  EXPECT_EQ(ParseCommandLine({"--remove", "2"}).manage->argument, "2");
  EXPECT_THROW(ParseCommandLine({"--remove"}), UsageError);
  EXPECT_THROW(ParseCommandLine({"--list", "--remove", "1"}), UsageError);
  EXPECT_THROW(ParseCommandLine({"--list", "a.xml"}), UsageError);
  EXPECT_THROW(ParseCommandLine({"--add", "a.xml", "--headless"}), UsageError);
  EXPECT_THROW(ParseCommandLine({"--remove", "1", "--settings", "a.ini", "--section", "D1"}), UsageError);
}

// What a second kivhost sends is what the first one reads back.
TEST(ManagerProtocol, RequestsReadBackAsTheyWereWritten) {
  for (const ManagerRequest& r : {ManagerRequest{ManagerRequest::Kind::List, ""},
                                  ManagerRequest{ManagerRequest::Kind::Add, "/home/a b/skin.xml"},
                                  ManagerRequest{ManagerRequest::Kind::Remove, "12"},
                                  ManagerRequest{ManagerRequest::Kind::Skins, ""}}) {
    const ManagerRequest back = ParseRequest(FormatRequest(r) + "\r");
    EXPECT_EQ(back.kind, r.kind);
    EXPECT_EQ(back.argument, r.argument);
  }
  for (const char* wrong : {"", "list x", "add", "add ", "remove", "quit", "LIST", "skins all"})
    EXPECT_THROW(ParseRequest(wrong), ManagerError) << wrong;
  // One list, one kivhost: the socket is named after the list file.
  EXPECT_EQ(ManagerSocketPath("/a/desklets.ini"), ManagerSocketPath("/a/./desklets.ini"));
  EXPECT_NE(ManagerSocketPath("/a/desklets.ini"), ManagerSocketPath("/b/desklets.ini"));
}

TEST(CommandLine, ListSkinsGoesAlone) {
  const Options o = ParseCommandLine({"--list-skins", "--quiet"});
  ASSERT_TRUE(o.manage);
  EXPECT_EQ(o.manage->kind, ManagerRequest::Kind::Skins);
  EXPECT_THROW(ParseCommandLine({"--list-skins", "--list"}), UsageError);
  EXPECT_THROW(ParseCommandLine({"--list-skins", "skin.xml"}), UsageError);
  EXPECT_THROW(ParseCommandLine({"--list-skins", "--state", "s.json"}), UsageError);
}

TEST(CommandLine, UsageTextShowsSeveralSkins) {
  EXPECT_NE(std::string(UsageText()).find("[SKIN.xml ...]"), std::string::npos);
}

}  // namespace
}  // namespace kivhost
