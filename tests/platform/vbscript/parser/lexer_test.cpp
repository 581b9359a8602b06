#include "platform/scriptcontrol/vbscript/vb_lexer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/scriptcontrol/vbscript/vb_errors.h"

namespace {

using namespace scriptcontrol::vbscript;
using automation::Variant;
using automation::VarType;

std::vector<Token> Lex(std::string_view source) {
  Lexer lexer(source);
  std::vector<Token> tokens;
  for (;;) {
    tokens.push_back(lexer.Next());
    if (tokens.back().kind == Tok::Eof) return tokens;
  }
}

std::string Kinds(std::string_view source) {
  std::string out;
  for (const auto& t : Lex(source)) {
    if (!out.empty()) out += ' ';
    out += t.kind == Tok::Name ? "name:" + t.text : TokName(t.kind);
  }
  return out;
}

Variant NumberOf(std::string_view source) {
  auto tokens = Lex(source);
  EXPECT_EQ(tokens.size(), 2u) << source;
  EXPECT_EQ(tokens[0].kind, Tok::Number) << source;
  return tokens[0].value;
}

// "number@line:column" of the lexing error.
std::string LexError(std::string_view source) {
  try {
    Lex(source);
    return "ok";
  } catch (const VbError& e) {
    return std::to_string(e.Number()) + "@" + std::to_string(e.Line()) + ":" + std::to_string(e.Column());
  }
}

TEST(VbLexerNumbers, DecimalIntegersTakeTheSmallestType) {
  EXPECT_EQ(NumberOf("0"), Variant(int16_t{0}));
  EXPECT_EQ(NumberOf("32767"), Variant(int16_t{32767}));
  EXPECT_EQ(NumberOf("32768"), Variant(int32_t{32768}));
  EXPECT_EQ(NumberOf("2147483647"), Variant(int32_t{2147483647}));
  EXPECT_EQ(NumberOf("2147483648"), Variant(2147483648.0));
  EXPECT_EQ(NumberOf("000000000000000042"), Variant(int16_t{42}));
  EXPECT_EQ(NumberOf("123456789012345678901234567890"), Variant(1.2345678901234568e29));
}

TEST(VbLexerNumbers, HexAndOctalFollowTheirBitPatterns) {
  EXPECT_EQ(NumberOf("&H1F"), Variant(int16_t{31}));
  EXPECT_EQ(NumberOf("&hff"), Variant(int16_t{255}));
  EXPECT_EQ(NumberOf("&H7FFF"), Variant(int16_t{32767}));
  EXPECT_EQ(NumberOf("&H8000"), Variant(int16_t{-32768}));
  EXPECT_EQ(NumberOf("&HFFFF"), Variant(int16_t{-1}));
  EXPECT_EQ(NumberOf("&H10000"), Variant(int32_t{65536}));
  EXPECT_EQ(NumberOf("&HFFFFFFFF"), Variant(int32_t{-1}));
  EXPECT_EQ(NumberOf("&H80000000"), Variant(int32_t{INT32_MIN}));
  EXPECT_EQ(NumberOf("&H00000000FF"), Variant(int16_t{255}));
  EXPECT_EQ(NumberOf("&HFFFF&"), Variant(int32_t{65535}));
  EXPECT_EQ(NumberOf("&H1&"), Variant(int32_t{1}));
  EXPECT_EQ(NumberOf("&O17"), Variant(int16_t{15}));
  EXPECT_EQ(NumberOf("&O177777"), Variant(int16_t{-1}));
  EXPECT_EQ(NumberOf("&O37777777777"), Variant(int32_t{-1}));
  EXPECT_EQ(LexError("x = &H100000000"), "1031@1:5");
  EXPECT_EQ(LexError("&O40000000000"), "1031@1:1");
}

TEST(VbLexerNumbers, AnAmpersandWithoutDigitsIsTheOperator) {
  EXPECT_EQ(Kinds("a &Hx"), "name:a & name:Hx end of script");
  EXPECT_EQ(Kinds("a&b"), "name:a & name:b end of script");
  EXPECT_EQ(Kinds("a &O8"), "name:a & name:O8 end of script");
}

TEST(VbLexerNumbers, FloatsAreDoubles) {
  EXPECT_EQ(NumberOf("1.5"), Variant(1.5));
  EXPECT_EQ(NumberOf(".5"), Variant(0.5));
  EXPECT_EQ(NumberOf("1e3"), Variant(1000.0));
  EXPECT_EQ(NumberOf("1E+3"), Variant(1000.0));
  EXPECT_EQ(NumberOf("1.5E-3"), Variant(0.0015));
  EXPECT_EQ(NumberOf("2."), Variant(2.0));
  EXPECT_EQ(NumberOf("1e-400"), Variant(0.0));
  EXPECT_EQ(LexError("x = 1e400"), "1031@1:5");
  EXPECT_EQ(LexError(std::string(400, '9')), "1031@1:1");
  EXPECT_EQ(NumberOf("0." + std::string(400, '0') + "1"), Variant(0.0));
  // An "e" without digits after it is not an exponent.
  EXPECT_EQ(Kinds("1e"), "number name:e end of script");
}

TEST(VbLexerStrings, DoubledQuotesAreOneQuote) {
  auto tokens = Lex(R"(x = "say ""hi""" & "")");
  ASSERT_EQ(tokens.size(), 6u);
  EXPECT_EQ(tokens[2].kind, Tok::String);
  EXPECT_EQ(tokens[2].text, "say \"hi\"");
  EXPECT_EQ(tokens[4].text, "");
  EXPECT_EQ(tokens[4].column, 20);
}

TEST(VbLexerStrings, KeepBytesAsWritten) {
  const std::string source = std::string("\"a\0b\xff\xc3\xa9\"", 8);
  auto tokens = Lex(source);
  EXPECT_EQ(tokens[0].text, std::string("a\0b\xff\xc3\xa9", 6));
}

TEST(VbLexerStrings, EndingTheLineInsideAStringFails) {
  EXPECT_EQ(LexError("x = 1\ny = \"abc\nz"), "1033@2:5");
  EXPECT_EQ(LexError("y = \"abc"), "1033@1:5");
  EXPECT_EQ(LexError("y = \"abc\"\""), "1033@1:5");
}

TEST(VbLexerDates, ReadIntoDayNumbers) {
  auto tokens = Lex("#1/2/2003# #2003-01-02 10:00# #12:00 PM#");
  ASSERT_EQ(tokens.size(), 4u);
  EXPECT_EQ(tokens[0].kind, Tok::Date);
  EXPECT_EQ(tokens[0].value, Variant(automation::Date{37623}));
  EXPECT_EQ(tokens[1].value, Variant(automation::Date{37623 + 10.0 / 24}));
  EXPECT_EQ(tokens[2].value, Variant(automation::Date{0.5}));
  EXPECT_EQ(LexError("x = #1/2/2003"), "1032@1:5");
  EXPECT_EQ(LexError("x = #13/2/2003#"), "1002@1:5");
}

TEST(VbLexerWords, ReservedWordsIgnoreCase) {
  EXPECT_EQ(Kinds("IF x tHeN"), "If name:x Then end of script");
  EXPECT_EQ(Kinds("elseif ELSE"), "ElseIf Else end of script");
  // Context words stay names.
  EXPECT_EQ(Kinds("Step Preserve Default"), "name:Step name:Preserve name:Default end of script");
}

TEST(VbLexerWords, AfterADotEveryWordIsAName) {
  EXPECT_EQ(Kinds("obj.Type x.End e.Rem"), "name:obj . name:Type name:x . name:End name:e . name:Rem end of script");
  EXPECT_EQ(Kinds(".If"), ". name:If end of script");
}

TEST(VbLexerWords, BracketedNames) {
  auto tokens = Lex("[my var] = [If]");
  ASSERT_EQ(tokens.size(), 4u);
  EXPECT_EQ(tokens[0].kind, Tok::Name);
  EXPECT_EQ(tokens[0].text, "my var");
  EXPECT_TRUE(tokens[0].bracketed);
  EXPECT_EQ(tokens[2].kind, Tok::Name);
  EXPECT_EQ(tokens[2].text, "If");
  EXPECT_EQ(LexError("[abc"), "1007@1:1");
  EXPECT_EQ(LexError("x = []"), "1010@1:5");
}

TEST(VbLexerWords, NamesUpTo255Characters) {
  EXPECT_EQ(LexError(std::string(255, 'a')), "ok");
  EXPECT_EQ(LexError("x = " + std::string(256, 'a')), "1030@1:5");
  EXPECT_EQ(Kinds("a_1 b2_"), "name:a_1 name:b2_ end of script");
}

TEST(VbLexerLayout, CommentsAndSeparators) {
  EXPECT_EQ(Kinds("a ' note\nb: c REM more\nRem x\nremark"),
            "name:a end of line name:b : name:c end of line end of line name:remark end of script");
  EXPECT_EQ(Kinds("a\r\nb\rc"), "name:a end of line name:b end of line name:c end of script");
}

TEST(VbLexerLayout, ByteOrderMarkAndOtherBlanks) {
  auto tokens = Lex("\xEF\xBB\xBFx\t=\v1\f");
  ASSERT_EQ(tokens.size(), 4u);
  EXPECT_EQ(tokens[0].kind, Tok::Name);
  EXPECT_EQ(tokens[0].column, 1);
  EXPECT_EQ(tokens[2].column, 5);
  EXPECT_EQ(LexError("x = 1 \xEF\xBB\xBF"), "1032@1:7");
}

TEST(VbLexerLayout, ContinuationJoinsLines) {
  auto tokens = Lex("x = 1 + _  \r\n  2");
  ASSERT_EQ(tokens.size(), 6u);
  EXPECT_EQ(tokens[4].kind, Tok::Number);
  EXPECT_EQ(tokens[4].line, 2);
  EXPECT_EQ(tokens[4].column, 3);
  // A "_" that ends no line is no continuation.
  EXPECT_EQ(LexError("x = 1 _ 2"), "1032@1:7");
  EXPECT_EQ(LexError("x = _"), "1032@1:5");
}

TEST(VbLexerLayout, PositionsCountCharacters) {
  auto tokens = Lex("s = \"\xc3\xa9\xc3\xa9\" + y\n  z");
  ASSERT_EQ(tokens.size(), 8u);
  EXPECT_EQ(tokens[4].text, "y");
  EXPECT_EQ(tokens[4].column, 12);
  EXPECT_EQ(tokens[6].line, 2);
  EXPECT_EQ(tokens[6].column, 3);
}

TEST(VbLexerLayout, SpaceBeforeIsRecorded) {
  auto tokens = Lex("a .b.c(1) (2)");
  EXPECT_TRUE(tokens[1].spaceBefore);
  EXPECT_FALSE(tokens[3].spaceBefore);
  EXPECT_FALSE(tokens[5].spaceBefore);
  EXPECT_TRUE(tokens[8].spaceBefore);
}

TEST(VbLexerLayout, EndOfScriptLiesOnTheLastLine) {
  auto tokens = Lex("a\nbc\n");
  EXPECT_EQ(tokens.back().line, 2);
  tokens = Lex("a\nbc");
  EXPECT_EQ(tokens.back().line, 2);
  EXPECT_EQ(tokens.back().column, 3);
}

TEST(VbLexerLayout, OtherCharactersAreInvalid) {
  EXPECT_EQ(LexError("x = 1 ? 2"), "1032@1:7");
  EXPECT_EQ(LexError("x = {"), "1032@1:5");
  EXPECT_EQ(LexError(std::string("x\0", 2)), "1032@1:2");
  EXPECT_EQ(LexError("\xc3\xa9t\xc3\xa9"), "1032@1:1");
  EXPECT_EQ(LexError("x = a!b"), "1032@1:6");
}

TEST(VbLexerOperators, TwoCharacterOperators) {
  EXPECT_EQ(Kinds("<><=>=<>="), "<> <= >= <> = end of script");
  EXPECT_EQ(Kinds("a\\b^c"), "name:a \\ name:b ^ name:c end of script");
}

}  // namespace
