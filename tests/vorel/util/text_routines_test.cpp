#include "vorel/util/text_routines.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

using vorel::ReplaceAll;
using vorel::Split;
using vorel::SplitOptions;

namespace {

TEST(Split, EdgeCasesOfEveryMode) {
  struct Case {
    const char* text;
    char delimiter;
    bool skipEmpty, atFirstOnly;
    std::vector<std::string> pieces;
  } cases[] = {
      {"a;b;c", ';', false, false, {"a", "b", "c"}},
      {"a;;b", ';', false, false, {"a", "", "b"}},
      {";a", ';', false, false, {"", "a"}},
      {"a;", ';', false, false, {"a", ""}},
      {"a;;b", ';', true, false, {"a;", "b"}},
      {";;a", ';', true, false, {"a"}},
      {"a;", ';', true, false, {"a;"}},
      {"a;b;c", ';', false, true, {"a", "b;c"}},
      {"k=v=w", '=', false, true, {"k", "v=w"}},
      {"1.0.1.0", '.', true, false, {"1", "0", "1", "0"}},
      {"", ';', false, false, {}},
      {";", ';', false, false, {"", ""}},
      {"!XML:0[/a:b]", ':', true, true, {"!XML", "0[/a:b]"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Split(c.text, c.delimiter, {true, c.skipEmpty, c.atFirstOnly}), c.pieces)
        << "'" << c.text << "' skip=" << c.skipEmpty << " first=" << c.atFirstOnly;
  }
}

TEST(Split, AppendsUnlessClearFirst) {
  std::vector<std::string> list{"x"};
  Split("a;b", list, ';', SplitOptions{false, false, false});
  EXPECT_EQ(list, (std::vector<std::string>{"x", "a", "b"}));
  Split("c", list, ';');
  EXPECT_EQ(list, (std::vector<std::string>{"c"}));
}

TEST(Split, AtFirstOnlyCountsOnlyItsOwnPieces) {
  // The caller's pieces must not end the split before its first delimiter.
  std::vector<std::string> list{"x"};
  Split("k=v=w", list, '=', SplitOptions{false, false, true});
  EXPECT_EQ(list, (std::vector<std::string>{"x", "k", "v=w"}));
  // An empty piece made by a doubled delimiter is a piece of its own.
  EXPECT_EQ(Split("a;;b;c", ';', {true, false, true}), (std::vector<std::string>{"a", "", "b;c"}));
}

TEST(ReplaceAll, RoundsSearchTheWholeTextAgain) {
  EXPECT_EQ(ReplaceAll("abb", "ab", "a"), "a");
  EXPECT_EQ(ReplaceAll("{1234-5678-9ABC}", "-", ""), "{123456789ABC}");
  EXPECT_EQ(ReplaceAll("%A%%A%", "%A%", "x"), "xx");
  EXPECT_EQ(ReplaceAll("Abc", "a", "z"), "Abc") << "case matters";
  EXPECT_EQ(ReplaceAll("", "a", "b"), "");
  EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
}

TEST(ReplaceAll, AReplacementHoldingItsSearchTextEnds) {
  EXPECT_EQ(ReplaceAll("a-a", "a", "aa"), "aa-aa");
  EXPECT_EQ(ReplaceAll("%P%", "%P%", "[%P%]"), "[%P%]");
}

TEST(ReplaceAll, GrowthIsBounded) {
  // "ab" -> "bbaa" keeps making new occurrences; it must still end.
  std::string out = ReplaceAll("aabbab", "ab", "bbaa");
  EXPECT_LE(out.size(), 6u * 4 + 4096 + 4);
  // A long replacement that does not feed itself is made in full.
  EXPECT_EQ(ReplaceAll(std::string(1000, 'a'), "a", std::string(50, 'x')), std::string(50000, 'x'));
}

}  // namespace

namespace {

// The rule as written: find the leftmost occurrence in the whole text,
// replace it, start again.
std::string ReplaceByRounds(std::string text, const std::string& search, const std::string& replacement) {
  for (size_t at; (at = text.find(search)) != std::string::npos;) text.replace(at, search.size(), replacement);
  return text;
}

TEST(ReplaceAll, AgreesWithRoundByRoundReplacingOnEveryShortText) {
  // Every text of up to 7 letters over {a, b} against rules that shrink,
  // keep or grow the text and that make new occurrences with neighbours.
  const std::vector<std::pair<std::string, std::string>> rules{
      {"ab", "a"}, {"ab", "b"}, {"ab", ""}, {"aa", "a"}, {"ab", "ba"}, {"aab", "abb"}, {"b", "aa"}, {"aba", "b"}};
  for (const auto& [search, replacement] : rules) {
    for (int length = 0; length <= 7; ++length) {
      for (int bits = 0; bits < (1 << length); ++bits) {
        std::string text;
        for (int i = 0; i < length; ++i) text += (bits >> i & 1) ? 'b' : 'a';
        ASSERT_EQ(ReplaceAll(text, search, replacement), ReplaceByRounds(text, search, replacement))
            << "'" << text << "' '" << search << "' -> '" << replacement << "'";
      }
    }
  }
}

TEST(ReplaceAll, LongTextsWithManyOccurrencesAreOneSweep) {
  // Replaced one round at a time these take minutes; a statement can build
  // such texts, so they must not hang the window.
  const std::string many(1 << 20, 'a');
  EXPECT_EQ(ReplaceAll(many, "a", ""), "");
  EXPECT_EQ(ReplaceAll(many, "aa", "b").size(), many.size() / 2);
  EXPECT_EQ(ReplaceAll(std::string(1 << 18, 'a') + std::string(1 << 18, 'b'), "ab", ""), "");
}

TEST(ReplaceAll, SelfFeedingGrowthStopsAtTheAbsoluteBound) {
  // Four times this text is past the absolute bound, so that bound and not
  // the one honest replacing gives is the one that stops the growth.
  const std::string text = std::string(size_t{1} << 22, 'a') + "b";
  const std::string out = ReplaceAll(text, "ab", "bbaa");
  EXPECT_LE(out.size(), vorel::kMaxRewrittenLength);
  EXPECT_GT(out.size(), vorel::kMaxRewrittenLength - 8);
}

TEST(ReplaceAllInPlace, StartingAtTheFirstOccurrenceGivesTheSameRounds) {
  for (const auto& [text, search, replacement] : std::vector<std::tuple<std::string, std::string, std::string>>{
           {"xxabb", "ab", "a"}, {"q%A%%A%", "%A%", "x"}, {"-a-a", "a", "aa"}, {"zzaabbab", "ab", "bbaa"}}) {
    std::string inPlace = text;
    vorel::ReplaceAllInPlace(inPlace, search, replacement, text.find(search));
    EXPECT_EQ(inPlace, ReplaceAll(text, search, replacement)) << text;
  }
}

}  // namespace
