#include <gtest/gtest.h>

#include "platform/scriptcontrol/vbscript/vb_parser.h"
#include "platform/vbscript/parser/ast_dump.h"

namespace {

using vbtest::DumpExpression;

TEST(VbExpressions, Literals) {
  EXPECT_EQ(DumpExpression("1"), "1");
  EXPECT_EQ(DumpExpression("40000"), "40000&");
  EXPECT_EQ(DumpExpression("\"a\""), "\"a\"");
  EXPECT_EQ(DumpExpression("#1/2/2003#"), "#37623#");
  EXPECT_EQ(DumpExpression("True"), "True");
  EXPECT_EQ(DumpExpression("false"), "False");
  EXPECT_EQ(DumpExpression("Nothing"), "Nothing");
  EXPECT_EQ(DumpExpression("Empty"), "Empty");
  EXPECT_EQ(DumpExpression("NULL"), "Null");
  EXPECT_EQ(DumpExpression("Me"), "me");
  EXPECT_EQ(DumpExpression("New Thing"), "(new Thing)");
}

TEST(VbExpressions, PrecedenceFromArithmeticToLogic) {
  EXPECT_EQ(DumpExpression("1 + 2 * 3"), "(+ 1 (* 2 3))");
  EXPECT_EQ(DumpExpression("1 - 2 - 3"), "(- (- 1 2) 3)");
  EXPECT_EQ(DumpExpression("a * b / c"), "(/ (* a b) c)");
  EXPECT_EQ(DumpExpression("a \\ b * c"), "(\\ a (* b c))");
  EXPECT_EQ(DumpExpression("a Mod b \\ c"), "(mod a (\\ b c))");
  EXPECT_EQ(DumpExpression("a + b Mod c"), "(+ a (mod b c))");
  EXPECT_EQ(DumpExpression("a & b + c"), "(& a (+ b c))");
  EXPECT_EQ(DumpExpression("a = b & c"), "(= a (& b c))");
  EXPECT_EQ(DumpExpression("a < b = c"), "(= (< a b) c)");
  EXPECT_EQ(DumpExpression("Not a = b"), "(not (= a b))");
  EXPECT_EQ(DumpExpression("Not a And b"), "(and (not a) b)");
  EXPECT_EQ(DumpExpression("a And Not b"), "(and a (not b))");
  EXPECT_EQ(DumpExpression("a Or b And c"), "(or a (and b c))");
  EXPECT_EQ(DumpExpression("a Xor b Or c"), "(xor a (or b c))");
  EXPECT_EQ(DumpExpression("a Eqv b Xor c"), "(eqv a (xor b c))");
  EXPECT_EQ(DumpExpression("a Imp b Eqv c"), "(imp a (eqv b c))");
  EXPECT_EQ(DumpExpression("Not Not a"), "(not (not a))");
}

TEST(VbExpressions, PowerAndSigns) {
  EXPECT_EQ(DumpExpression("-2 ^ 2"), "(neg (^ 2 2))");
  EXPECT_EQ(DumpExpression("2 ^ 3 ^ 2"), "(^ (^ 2 3) 2)");
  EXPECT_EQ(DumpExpression("2 ^ -3"), "(^ 2 (neg 3))");
  EXPECT_EQ(DumpExpression("-a * b"), "(* (neg a) b)");
  EXPECT_EQ(DumpExpression("a * -b"), "(* a (neg b))");
  EXPECT_EQ(DumpExpression("- - +a"), "(neg (neg (pos a)))");
  EXPECT_EQ(DumpExpression("a - -b"), "(- a (neg b))");
}

TEST(VbExpressions, ComparisonsAndIs) {
  EXPECT_EQ(DumpExpression("a <> b"), "(<> a b)");
  EXPECT_EQ(DumpExpression("a <= b"), "(<= a b)");
  EXPECT_EQ(DumpExpression("a >= b"), "(>= a b)");
  EXPECT_EQ(DumpExpression("a Is Nothing"), "(is a Nothing)");
  EXPECT_EQ(DumpExpression("Not a Is b"), "(not (is a b))");
  EXPECT_EQ(DumpExpression("a Is b = c"), "(= (is a b) c)");
}

TEST(VbExpressions, ParenthesesNeedNoNode) {
  EXPECT_EQ(DumpExpression("(1 + 2) * 3"), "(* (+ 1 2) 3)");
  EXPECT_EQ(DumpExpression("((a))"), "a");
  EXPECT_EQ(DumpExpression("-(2 ^ 2)"), "(neg (^ 2 2))");
}

TEST(VbExpressions, PostfixChains) {
  EXPECT_EQ(DumpExpression("a.b"), "(. a b)");
  EXPECT_EQ(DumpExpression("a.b.c"), "(. (. a b) c)");
  EXPECT_EQ(DumpExpression("a(1).b(2)"), "(call (. (call a 1) b) 2)");
  EXPECT_EQ(DumpExpression("a()(1)"), "(call (call a) 1)");
  EXPECT_EQ(DumpExpression("Me.x"), "(. me x)");
  EXPECT_EQ(DumpExpression(".x.y"), "(. (. _ x) y)");
  EXPECT_EQ(DumpExpression("obj.Type + x.End"), "(+ (. obj Type) (. x End))");
  EXPECT_EQ(DumpExpression("Err.Raise"), "(. Err Raise)");
  EXPECT_EQ(DumpExpression("a . b"), "(. a b)");
}

TEST(VbExpressions, OmittedArguments) {
  EXPECT_EQ(DumpExpression("f(1, , 3)"), "(call f 1 _ 3)");
  EXPECT_EQ(DumpExpression("f(,)"), "(call f _ _)");
  EXPECT_EQ(DumpExpression("f(1,)"), "(call f 1 _)");
  EXPECT_EQ(DumpExpression("f()"), "(call f)");
}

TEST(VbExpressions, ParenthesizedArgumentsPassByValue) {
  EXPECT_EQ(DumpExpression("f((x))"), "(call f (paren x))");
  EXPECT_EQ(DumpExpression("f((x), y)"), "(call f (paren x) y)");
  EXPECT_EQ(DumpExpression("f(((x)))"), "(call f (paren x))");
  EXPECT_EQ(DumpExpression("f((x) + 1)"), "(call f (+ x 1))");
  EXPECT_EQ(DumpExpression("f(x)"), "(call f x)");
  EXPECT_EQ(DumpExpression("f(g((x)))"), "(call f (call g (paren x)))");
}

TEST(VbExpressions, EqualsComparesInAnExpression) {
  EXPECT_EQ(DumpExpression("x = 1"), "(= x 1)");
  EXPECT_EQ(DumpExpression("x = y = z"), "(= (= x y) z)");
}

TEST(VbExpressions, NodesKnowWhereTheyStart) {
  auto e = scriptcontrol::vbscript::ParseExpression("\n  a + b");
  EXPECT_EQ(e->pos.line, 2);
  EXPECT_EQ(e->pos.column, 3);
  auto& b = static_cast<scriptcontrol::vbscript::BinaryExpr&>(*e);
  EXPECT_EQ(b.right->pos.column, 7);
}

TEST(VbExpressions, Errors) {
  EXPECT_EQ(DumpExpression(""), "error 1023 at 1:1");
  EXPECT_EQ(DumpExpression("1 +"), "error 1023 at 1:4");
  EXPECT_EQ(DumpExpression("(1 + 2"), "error 1006 at 1:7");
  EXPECT_EQ(DumpExpression("1 2"), "error 1025 at 1:3");
  EXPECT_EQ(DumpExpression("f(1 2)"), "error 1006 at 1:5");
  EXPECT_EQ(DumpExpression("a.1"), "error 1025 at 1:2");  // ".1" is a number
  EXPECT_EQ(DumpExpression("New 5"), "error 1010 at 1:5");
  EXPECT_EQ(DumpExpression("1 + Not 0"), "error 1023 at 1:5");
  EXPECT_EQ(DumpExpression("x: y"), "error 1025 at 1:2");
  EXPECT_EQ(DumpExpression("1\n\n"), "1");
}

}  // namespace
