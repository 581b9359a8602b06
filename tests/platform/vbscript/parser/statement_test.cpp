#include <gtest/gtest.h>

#include "platform/scriptcontrol/vbscript/vb_parser.h"
#include "platform/vbscript/parser/ast_dump.h"

namespace {

using vbtest::DumpProgram;

TEST(VbStatements, Assignments) {
  EXPECT_EQ(DumpProgram("x = 1"), "[(let x 1)]");
  EXPECT_EQ(DumpProgram("x = a = b"), "[(let x (= a b))]");
  EXPECT_EQ(DumpProgram("a(1) = 2"), "[(let (call a 1) 2)]");
  EXPECT_EQ(DumpProgram("a(1, 2) = 3"), "[(let (call a 1 2) 3)]");
  EXPECT_EQ(DumpProgram("o.p = 3"), "[(let (. o p) 3)]");
  EXPECT_EQ(DumpProgram("o.p(1) = 3"), "[(let (call (. o p) 1) 3)]");
  EXPECT_EQ(DumpProgram(".p = 3"), "[(let (. _ p) 3)]");
  EXPECT_EQ(DumpProgram("Me.p = 3"), "[(let (. me p) 3)]");
  EXPECT_EQ(DumpProgram("x (1) = 2"), "[(let (call x 1) 2)]");
}

TEST(VbStatements, SetAssignments) {
  EXPECT_EQ(DumpProgram("Set x = New C"), "[(set x (new C))]");
  EXPECT_EQ(DumpProgram("set o.p = Nothing"), "[(set (. o p) Nothing)]");
  EXPECT_EQ(DumpProgram("Set a(1) = y"), "[(set (call a 1) y)]");
  EXPECT_EQ(DumpProgram("Set .p = y"), "[(set (. _ p) y)]");
}

TEST(VbStatements, SeparatorsAndComments) {
  EXPECT_EQ(DumpProgram("a = 1: b = 2\n\n' c\nc = 3 ' end\r\nRem d"), "[(let a 1) (let b 2) (let c 3)]");
  EXPECT_EQ(DumpProgram("::\n:"), "[]");
  EXPECT_EQ(DumpProgram("x = 1 + _\n  2"), "[(let x (+ 1 2))]");
  EXPECT_EQ(DumpProgram("Stop\nStop: x = 1"), "[(let x 1)]");
}

TEST(VbStatements, Dim) {
  EXPECT_EQ(DumpProgram("Dim a, b(3), c(2, 3), d()"), "[(dim a b(3) c(2,3) d())]");
  EXPECT_EQ(DumpProgram("Dim e(&H10)"), "[(dim e(16))]");
  EXPECT_EQ(DumpProgram("Public x, y(1)"), "[(dim public x y(1))]");
  EXPECT_EQ(DumpProgram("Private z"), "[(dim private z)]");
}

TEST(VbStatements, ReDimAndErase) {
  EXPECT_EQ(DumpProgram("ReDim a(n)"), "[(redim a(n))]");
  EXPECT_EQ(DumpProgram("ReDim Preserve a(n + 1), b(m, k)"), "[(redim preserve a((+ n 1)) b(m,k))]");
  EXPECT_EQ(DumpProgram("Erase a"), "[(erase a)]");
}

TEST(VbStatements, Const) {
  EXPECT_EQ(DumpProgram("Const a = 1, b = -2, c = \"x\""), "[(const a=1 b=(neg 2) c=\"x\")]");
  EXPECT_EQ(DumpProgram("Private Const d = #1/2/2003#"), "[(const private d=#37623#)]");
  EXPECT_EQ(DumpProgram("Public Const e = 2 * 3"), "[(const public e=(* 2 3))]");
}

TEST(VbStatements, BlockIf) {
  EXPECT_EQ(DumpProgram("If a Then\n x = 1\nEnd If"), "[(if (a [(let x 1)]))]");
  EXPECT_EQ(DumpProgram("If a Then\n x = 1\nElseIf b Then\n x = 2\nElseIf c Then x = 3\nElse\n x = 4\nEnd If"),
            "[(if (a [(let x 1)]) (b [(let x 2)]) (c [(let x 3)]) else [(let x 4)])]");
  EXPECT_EQ(DumpProgram("If a Then ' note\nEnd If"), "[(if (a []))]");
  EXPECT_EQ(DumpProgram("If a Then\n If b Then c\nElse\n d\nEnd If"),
            "[(if (a [(if (b [(callstmt c)]))]) else [(callstmt d)])]");
}

TEST(VbStatements, SingleLineIf) {
  EXPECT_EQ(DumpProgram("If c Then s1: s2 Else s3: s4"),
            "[(if (c [(callstmt s1) (callstmt s2)]) else [(callstmt s3) (callstmt s4)])]");
  EXPECT_EQ(DumpProgram("If c Then x = 1\ny = 2"), "[(if (c [(let x 1)])) (let y 2)]");
  EXPECT_EQ(DumpProgram("If a Then If b Then x Else y"), "[(if (a [(if (b [(callstmt x)]) else [(callstmt y)])]))]");
  EXPECT_EQ(DumpProgram("If a Then f 1, 2 Else g (3)"),
            "[(if (a [(callstmt (call f 1 2))]) else [(callstmt (call g (paren 3)))])]");
  EXPECT_EQ(DumpProgram("If a Then Else x = 1"), "[(if (a []) else [(let x 1)])]");
}

TEST(VbStatements, SelectCase) {
  EXPECT_EQ(DumpProgram("Select Case x\n' c\nCase 1, 2\n a\nCase 3 To 5: b\nCase Is > 5, Is <= -1\nCase Else\n c\nEnd Select"),
            "[(select x (case 1 2 [(callstmt a)]) (case (to 3 5) [(callstmt b)]) (case (is> 5) (is<= (neg 1)) []) "
            "(else [(callstmt c)]))]");
  EXPECT_EQ(DumpProgram("Select Case x\nEnd Select"), "[(select x)]");
}

TEST(VbStatements, ForLoops) {
  EXPECT_EQ(DumpProgram("For i = 1 To 10\n x\nNext"), "[(for i 1 10 _ [(callstmt x)])]");
  EXPECT_EQ(DumpProgram("For i = a To b Step -1: x: Next i"), "[(for i a b (neg 1) [(callstmt x)])]");
  EXPECT_EQ(DumpProgram("For Each x In c\n y\nNext"), "[(foreach x c [(callstmt y)])]");
  EXPECT_EQ(DumpProgram("For Each x In c.Items: Next x"), "[(foreach x (. c Items) [])]");
  EXPECT_EQ(DumpProgram("For i = 1 To 2\nFor j = 1 To 2\nNext\nNext"), "[(for i 1 2 _ [(for j 1 2 _ [])])]");
}

TEST(VbStatements, DoLoops) {
  EXPECT_EQ(DumpProgram("Do\n x\nLoop"), "[(do [(callstmt x)])]");
  EXPECT_EQ(DumpProgram("Do While a\nLoop"), "[(do pre-while a [])]");
  EXPECT_EQ(DumpProgram("Do Until a\nLoop"), "[(do pre-until a [])]");
  EXPECT_EQ(DumpProgram("Do\nLoop While a"), "[(do post-while a [])]");
  EXPECT_EQ(DumpProgram("Do: Loop Until a = 1"), "[(do post-until (= a 1) [])]");
  EXPECT_EQ(DumpProgram("While a < 3\n a = a + 1\nWend"), "[(while (< a 3) [(let a (+ a 1))])]");
}

TEST(VbStatements, WithBlocks) {
  EXPECT_EQ(DumpProgram("With o\n .a = 1\n .m 2\n MsgBox .Name\n x = .b.c\nEnd With"),
            "[(with o [(let (. _ a) 1) (callstmt (call (. _ m) 2)) (callstmt (call MsgBox (. _ Name))) "
            "(let x (. (. _ b) c))])]");
  EXPECT_EQ(DumpProgram("With a.b(1)\nEnd With"), "[(with (call (. a b) 1) [])]");
}

TEST(VbStatements, ExitInsideItsBlock) {
  EXPECT_EQ(DumpProgram("Do\n Exit Do\nLoop"), "[(do [(exit do)])]");
  EXPECT_EQ(DumpProgram("For i = 1 To 2\n If x Then Exit For\nNext"), "[(for i 1 2 _ [(if (x [(exit for)]))])]");
  EXPECT_EQ(DumpProgram("Do\n While x\n  Exit Do\n Wend\nLoop"), "[(do [(while x [(exit do)])])]");
}

TEST(VbStatements, OnErrorAndOption) {
  EXPECT_EQ(DumpProgram("On Error Resume Next\nOn Error GoTo 0"), "[(on-error resume-next) (on-error goto-0)]");
  auto p = scriptcontrol::vbscript::ParseProgram("' header\n\nOption Explicit\nDim x");
  EXPECT_TRUE(p.optionExplicit);
  EXPECT_FALSE(scriptcontrol::vbscript::ParseProgram("Dim x").optionExplicit);
}

TEST(VbStatements, RandomizeIsAnOrdinaryCall) {
  EXPECT_EQ(DumpProgram("Randomize\nRandomize 5"), "[(callstmt Randomize) (callstmt (call Randomize 5))]");
}

TEST(VbStatements, StatementsKnowWhereTheyStart) {
  auto p = scriptcontrol::vbscript::ParseProgram("x = 1\n  If a Then\n    y\n  End If");
  ASSERT_EQ(p.body.size(), 2u);
  EXPECT_EQ(p.body[1]->pos.line, 2);
  EXPECT_EQ(p.body[1]->pos.column, 3);
  auto& i = static_cast<scriptcontrol::vbscript::IfStmt&>(*p.body[1]);
  EXPECT_EQ(i.branches[0].body[0]->pos.line, 3);
  EXPECT_EQ(i.branches[0].body[0]->pos.column, 5);
}

}  // namespace
