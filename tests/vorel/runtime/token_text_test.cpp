#include "vorel/runtime/token_text.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "vorel/util/text_routines.h"

namespace {

using vorel::TokenText;

std::string Replaced(std::string_view text, std::string_view name, std::string_view value) {
  TokenText t(text);
  t.Replace(name, value);
  return t.Take();
}

TEST(TokenText, ReplacesLikeReplaceAll) {
  struct Case {
    const char* text;
    const char* name;
    const char* value;
    const char* expected;
  } cases[] = {
      {"a %x% b %x%", "x", "1", "a 1 b 1"},
      {"%x%%x%", "x", "", ""},
      {"%%", "", "e", "e"},
      {"%%x%%", "x", "", "%%"},
      {"%a%x%b%", "x", "", "%ab%"},
      // A value that joins its neighbours into a new token is replaced again.
      {"%%x%x%%", "x", "", "%"},
      {"%x%x%%", "x", "", "x%%"},
      // A value holding its own token: each original token once.
      {"%x% %x%", "x", "[%x%]", "[%x%] [%x%]"},
      {"no signs", "x", "1", "no signs"},
      {"%xy%", "x", "1", "%xy%"},
      {"%x", "x", "1", "%x"},
      {"%a%b%", "a%b", "1", "1"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Replaced(c.text, c.name, c.value), c.expected) << c.text << " / " << c.name;
    EXPECT_EQ(Replaced(c.text, c.name, c.value), vorel::ReplaceAll(c.text, std::string("%") + c.name + "%", c.value))
        << c.text << " / " << c.name;
  }
}

// Random texts over a small alphabet make every way a value can meet its
// neighbours likely; a chain of replacements must equal the plain rounds.
TEST(TokenText, ChainsOfReplacementsMatchThePlainRoundsOnRandomTexts) {
  std::mt19937 random(7);
  auto word = [&](size_t maxLength, const char* alphabet) {
    std::string s;
    const size_t n = random() % (maxLength + 1);
    const size_t letters = std::char_traits<char>::length(alphabet);
    for (size_t i = 0; i < n; ++i) s += alphabet[random() % letters];
    return s;
  };
  for (int round = 0; round < 4000; ++round) {
    std::string plain = word(24, "%%ab");
    TokenText tokens(plain);
    for (int step = 0; step < 4; ++step) {
      const std::string name = word(2, "ab");
      const std::string value = word(4, "%ab");
      plain = vorel::ReplaceAll(plain, "%" + name + "%", value);
      tokens.Replace(name, value);
      ASSERT_EQ(tokens.Text(), plain) << "round " << round << " step " << step << " name '" << name << "' value '"
                                      << value << "'";
    }
    EXPECT_EQ(tokens.HasPercent(), plain.find('%') != std::string::npos);
  }
}

TEST(TokenText, LooksUpAValueOnlyWhenItsTokenIsThere) {
  TokenText t("%MOUSEX% and %MOUSEXY");
  int calls = 0;
  t.Replace("MOUSEY", [&] {
    ++calls;
    return std::string("y");
  });
  t.Replace("MOUSEX", [&] {
    ++calls;
    return std::string("12");
  });
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(t.Text(), "12 and %MOUSEXY");
}

}  // namespace
