#include "kivhost/headless/scenario.h"

#include <gtest/gtest.h>

namespace kivhost {
namespace {

TEST(Scenario, ParsesEveryCommandShape) {
  auto cmds = ParseScenario(
      "# comment\n"
      "wait 50\n"
      "move 1 2\n"
      "down 3 4\n"
      "up 3 4 9\n"
      "click 5 6 1\n"
      "rclick 7 8\n"
      "wheel -2 9 10\n"
      "  key ab<CR><ESC>\n"
      "drop /a b/c\n"
      "select\n"
      "answer menu 3\n"
      "answer input two words\n"
      "answer color #102030\n"
      "answer yes\n"
      "snapshot out.png\r\n"
      "quit\n");
  ASSERT_EQ(cmds.size(), 16u);
  EXPECT_EQ(cmds[0].name, "wait");
  EXPECT_EQ(cmds[0].line, 2);
  EXPECT_EQ(cmds[3].numbers, (std::vector<int>{3, 4, 9}));
  EXPECT_EQ(cmds[6].numbers, (std::vector<int>{-2, 9, 10}));
  EXPECT_EQ(cmds[7].keys, (std::u32string{U'a', U'b', 13, 27}));
  EXPECT_EQ(cmds[8].words, (std::vector<std::string>{"/a", "b/c"}));
  EXPECT_EQ(cmds[10].numbers, std::vector<int>{3});
  EXPECT_EQ(cmds[11].words, (std::vector<std::string>{"input", "two words"}));
  EXPECT_EQ(cmds[12].numbers, std::vector<int>{0x302010});  // as 0x00BBGGRR
  EXPECT_EQ(cmds[13].words, std::vector<std::string>{"yes"});
  EXPECT_EQ(cmds[14].words, std::vector<std::string>{"out.png"});
}

TEST(Scenario, DropKeepsBlanksInQuotedPaths) {
  auto cmds = ParseScenario(
      "drop \"sunset wide.png\" c.png\n"
      "drop a.png   \"/x y/say \\\"hi\\\".png\"\t\"back\\\\slash\"\n");
  ASSERT_EQ(cmds.size(), 2u);
  EXPECT_EQ(cmds[0].words, (std::vector<std::string>{"sunset wide.png", "c.png"}));
  EXPECT_EQ(cmds[1].words, (std::vector<std::string>{"a.png", "/x y/say \"hi\".png", "back\\slash"}));
}

TEST(Scenario, DropRejectsAnUnclosedOrGluedQuote) {
  EXPECT_THROW(ParseScenario("drop \"a b.png\n"), ScenarioError);
  EXPECT_THROW(ParseScenario("drop \"a b\".png\n"), ScenarioError);
  EXPECT_THROW(ParseScenario("drop \"\"\n"), ScenarioError);
}

TEST(Scenario, KeysAreWholeCharacters) {
  auto cmds = ParseScenario("key é€<TAB><BS>\n");
  EXPECT_EQ(cmds[0].keys, (std::u32string{U'é', U'€', 9, 8}));
}

TEST(Scenario, PressNamesAKeyInAnyCaseWithShift) {
  auto cmds = ParseScenario("press Left\npress pagedown SHIFT\npress F4\npress backspace\npress TAB shift\n");
  ASSERT_EQ(cmds.size(), 5u);
  EXPECT_EQ(cmds[0].name, "press");
  EXPECT_EQ(cmds[0].virtualKey, 37u);
  EXPECT_FALSE(cmds[0].shift);
  EXPECT_EQ(cmds[1].virtualKey, 34u);
  EXPECT_TRUE(cmds[1].shift);
  EXPECT_EQ(cmds[2].virtualKey, 115u);
  EXPECT_EQ(cmds[3].virtualKey, 8u);
  EXPECT_EQ(cmds[4].virtualKey, 9u);
  EXPECT_TRUE(cmds[4].shift);
}

TEST(Scenario, ErrorsNameTheirLine) {
  auto lineOf = [](const std::string& text) {
    try {
      ParseScenario(text);
    } catch (const ScenarioError& e) {
      return e.Line();
    }
    return 0;
  };
  EXPECT_EQ(lineOf("wait 1\n\njump 1 2\n"), 3);
  EXPECT_EQ(lineOf("move 1\n"), 1);
  EXPECT_EQ(lineOf("move 1 2 3\n"), 1);
  EXPECT_EQ(lineOf("down 1 x\n"), 1);
  EXPECT_EQ(lineOf("wait -5\n"), 1);
  EXPECT_EQ(lineOf("#\nanswer maybe\n"), 2);
  EXPECT_EQ(lineOf("answer color red\n"), 1);
  EXPECT_EQ(lineOf("key\n"), 1);
  EXPECT_EQ(lineOf("snapshot\n"), 1);
  EXPECT_EQ(lineOf("wait 10\n# fine\n"), 0);
  EXPECT_EQ(lineOf("wait 1\npress\n"), 2);
  EXPECT_EQ(lineOf("press Left\npress Space\n"), 2);
  EXPECT_EQ(lineOf("press Left ctrl\n"), 1);
  EXPECT_EQ(lineOf("press Left shift shift\n"), 1);
  EXPECT_EQ(lineOf("properties\nproperties close\nbutton Clear Log\n"), 0);
  EXPECT_EQ(lineOf("properties open\n"), 1);
  EXPECT_EQ(lineOf("properties\nbutton\n"), 2);
}

TEST(Scenario, ButtonKeepsItsWholeText) {
  const auto commands = ParseScenario("button   Auto Check for Updates \n");
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].words, std::vector<std::string>{"Auto Check for Updates"});
}

}  // namespace
}  // namespace kivhost
