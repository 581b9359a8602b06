#include <gtest/gtest.h>

#include <string>

#include "platform/scriptcontrol/vbscript/vb_errors.h"
#include "platform/scriptcontrol/vbscript/vb_parser.h"
#include "platform/vbscript/parser/ast_dump.h"

namespace {

using vbtest::ErrorOf;

TEST(VbParseErrors, MissingPiecesOfStatements) {
  EXPECT_EQ(ErrorOf("x = 1 2"), "error 1025 at 1:7");
  EXPECT_EQ(ErrorOf("x ="), "error 1023 at 1:4");
  EXPECT_EQ(ErrorOf("x = 1\n)"), "error 1024 at 2:1");
  EXPECT_EQ(ErrorOf("5 = x"), "error 1024 at 1:1");
  EXPECT_EQ(ErrorOf("Dim"), "error 1010 at 1:4");
  EXPECT_EQ(ErrorOf("Dim 1"), "error 1010 at 1:5");
  EXPECT_EQ(ErrorOf("Dim a(n)"), "error 1026 at 1:7");
  EXPECT_EQ(ErrorOf("Dim a(1.5)"), "error 1026 at 1:7");
  EXPECT_EQ(ErrorOf("Dim a(1"), "error 1006 at 1:8");
  EXPECT_EQ(ErrorOf("ReDim a"), "error 1005 at 1:8");
  EXPECT_EQ(ErrorOf("ReDim a()"), "error 1023 at 1:9");
  EXPECT_EQ(ErrorOf("Const a"), "error 1011 at 1:8");
  EXPECT_EQ(ErrorOf("Const a = x"), "error 1045 at 1:11");
  EXPECT_EQ(ErrorOf("Const a = 1 + f(2)"), "error 1045 at 1:11");
  EXPECT_EQ(ErrorOf("Set x"), "error 1011 at 1:6");
  EXPECT_EQ(ErrorOf("Set 1 = x"), "error 1010 at 1:5");
  EXPECT_EQ(ErrorOf("Erase"), "error 1010 at 1:6");
  EXPECT_EQ(ErrorOf("Me = 1"), "error 1037 at 1:4");
  EXPECT_EQ(ErrorOf("Me"), "error 1037 at 1:3");
}

TEST(VbParseErrors, BlocksAndTheirEnds) {
  EXPECT_EQ(ErrorOf("If x\n y\nEnd If"), "error 1017 at 1:5");
  EXPECT_EQ(ErrorOf("If x Then\n y\n"), "error 1014 at 2:3");
  EXPECT_EQ(ErrorOf("If x Then\n y\nEnd Sub"), "error 1012 at 3:5");
  EXPECT_EQ(ErrorOf("If x Then\nElse\nElseIf y Then\nEnd If"), "error 1014 at 3:1");
  EXPECT_EQ(ErrorOf("If x Then y = 1 z"), "error 1025 at 1:17");
  EXPECT_EQ(ErrorOf("For i = 1 5\nNext"), "error 1013 at 1:11");
  EXPECT_EQ(ErrorOf("For i 1 To 5\nNext"), "error 1011 at 1:7");
  EXPECT_EQ(ErrorOf("For 1 = 1 To 5\nNext"), "error 1010 at 1:5");
  EXPECT_EQ(ErrorOf("For i = 1 To 5\nx"), "error 1020 at 2:2");
  EXPECT_EQ(ErrorOf("For i = 1 To 5\nLoop"), "error 1020 at 2:1");
  EXPECT_EQ(ErrorOf("For Each x c\nNext"), "error 1046 at 1:12");
  EXPECT_EQ(ErrorOf("Do\nx\n"), "error 1019 at 2:2");
  EXPECT_EQ(ErrorOf("Do x\nLoop"), "error 1028 at 1:4");
  EXPECT_EQ(ErrorOf("Do\nLoop x"), "error 1028 at 2:6");
  EXPECT_EQ(ErrorOf("Do While a\nLoop Until b"), "error 1025 at 2:6");
  EXPECT_EQ(ErrorOf("While x\nLoop"), "error 1018 at 2:1");
  EXPECT_EQ(ErrorOf("With x\nEnd If"), "error 1029 at 2:5");
  EXPECT_EQ(ErrorOf("With x\n"), "error 1014 at 1:7");
  EXPECT_EQ(ErrorOf("Select x\nEnd Select"), "error 1021 at 1:8");
  EXPECT_EQ(ErrorOf("Select Case x\n y\nEnd Select"), "error 1021 at 2:2");
  EXPECT_EQ(ErrorOf("Select Case x\nCase 1\nEnd If"), "error 1022 at 3:5");
  EXPECT_EQ(ErrorOf("Select Case x\nCase Else\nCase 1\nEnd Select"), "error 1014 at 3:1");
  EXPECT_EQ(ErrorOf("Select Case x\nCase Is 5\nEnd Select"), "error 1002 at 2:9");
  EXPECT_EQ(ErrorOf("Select Case x\nCase 1 y\nEnd Select"), "error 1025 at 2:8");
}

TEST(VbParseErrors, StrayClosingWords) {
  EXPECT_EQ(ErrorOf("x = 1\nLoop"), "error 1038 at 2:1");
  EXPECT_EQ(ErrorOf("Next"), "error 1055 at 1:1");
  EXPECT_EQ(ErrorOf("End If"), "error 1024 at 1:1");
  EXPECT_EQ(ErrorOf("Wend"), "error 1024 at 1:1");
  EXPECT_EQ(ErrorOf("Else"), "error 1024 at 1:1");
  EXPECT_EQ(ErrorOf("Case 1"), "error 1024 at 1:1");
}

TEST(VbParseErrors, ExitOutsideItsBlock) {
  EXPECT_EQ(ErrorOf("Exit Do"), "error 1039 at 1:6");
  EXPECT_EQ(ErrorOf("For i = 1 To 2\n Exit Do\nNext"), "error 1039 at 2:7");
  EXPECT_EQ(ErrorOf("Do\n Exit For\nLoop"), "error 1039 at 2:7");
  EXPECT_EQ(ErrorOf("While x\n Exit Do\nWend"), "error 1039 at 2:7");
  EXPECT_EQ(ErrorOf("Exit While"), "error 1002 at 1:6");
}

TEST(VbParseErrors, OptionExplicitComesFirst) {
  EXPECT_EQ(ErrorOf("x = 1\nOption Explicit"), "error 1024 at 2:1");
  EXPECT_EQ(ErrorOf("Sub A\nEnd Sub\nOption Explicit"), "error 1024 at 3:1");
  EXPECT_EQ(ErrorOf("Option Strict"), "error 1002 at 1:8");
  EXPECT_EQ(ErrorOf("Option Explicit x"), "error 1025 at 1:17");
}

TEST(VbParseErrors, OnError) {
  EXPECT_EQ(ErrorOf("On Error GoTo 1"), "error 1002 at 1:15");
  EXPECT_EQ(ErrorOf("On Error GoTo Label"), "error 1002 at 1:15");
  EXPECT_EQ(ErrorOf("On Error Resume"), "error 1002 at 1:16");
  EXPECT_EQ(ErrorOf("On x"), "error 1002 at 1:4");
}

TEST(VbParseErrors, TheErrorCarriesItsText) {
  try {
    scriptcontrol::vbscript::ParseProgram("x = 1\n\n  If a Then b = 1 c");
    FAIL() << "no error";
  } catch (const scriptcontrol::vbscript::VbError& e) {
    EXPECT_EQ(e.Number(), 1025);
    EXPECT_EQ(e.Description(), "Expected end of statement");
    EXPECT_EQ(e.Line(), 3);
    EXPECT_EQ(e.Column(), 19);
  }
}

TEST(VbParseErrors, DeepNestingFailsCleanly) {
  const int depths[] = {10, 900, 1000, 5000, 100000};
  for (int depth : depths) {
    const std::string parens = "x = " + std::string(depth, '(') + "1" + std::string(depth, ')');
    const std::string expected = depth <= 900 ? "ok" : "error 28 at ";
    EXPECT_EQ(ErrorOf(parens).substr(0, expected.size()), expected) << depth;
    std::string ifs;
    for (int i = 0; i < depth; ++i) ifs += "If a Then\n";
    for (int i = 0; i < depth; ++i) ifs += "End If\n";
    EXPECT_EQ(ErrorOf(ifs).substr(0, expected.size()), expected) << depth;
    EXPECT_EQ(ErrorOf("x = " + std::string(depth, '-') + "1").substr(0, expected.size()), expected) << depth;
    EXPECT_EQ(ErrorOf("x = " + std::string(depth, '(')).substr(0, 6), "error ");
  }
}

TEST(VbParseErrors, LongChainsAreDeepTreesToo) {
  std::string sum = "x = 1";
  for (int i = 0; i < 500; ++i) sum += " + 1";
  EXPECT_EQ(ErrorOf(sum), "ok");
  for (int i = 0; i < 100000; ++i) sum += " + 1";
  EXPECT_EQ(ErrorOf(sum).substr(0, 9), "error 28 ");
  std::string members = "x = a";
  for (int i = 0; i < 100000; ++i) members += ".b(1)";
  EXPECT_EQ(ErrorOf(members).substr(0, 9), "error 28 ");
  // Many statements are no nesting at all.
  std::string lines;
  for (int i = 0; i < 20000; ++i) lines += "x = x + 1\n";
  EXPECT_EQ(ErrorOf(lines), "ok");
}

}  // namespace
