#include <gtest/gtest.h>

#include "platform/vbscript/parser/ast_dump.h"

namespace {

using vbtest::DumpProgram;

TEST(VbCallStatements, BareNamesAndMembers) {
  EXPECT_EQ(DumpProgram("f"), "[(callstmt f)]");
  EXPECT_EQ(DumpProgram("o.Refresh"), "[(callstmt (. o Refresh))]");
  EXPECT_EQ(DumpProgram(".Refresh"), "[(callstmt (. _ Refresh))]");
  EXPECT_EQ(DumpProgram("a(1).b"), "[(callstmt (. (call a 1) b))]");
}

TEST(VbCallStatements, ArgumentsWithoutParentheses) {
  EXPECT_EQ(DumpProgram("f 1, 2"), "[(callstmt (call f 1 2))]");
  EXPECT_EQ(DumpProgram("o.m a"), "[(callstmt (call (. o m) a))]");
  EXPECT_EQ(DumpProgram("f -1"), "[(callstmt (call f (neg 1)))]");
  EXPECT_EQ(DumpProgram("f 1, , 3"), "[(callstmt (call f 1 _ 3))]");
  EXPECT_EQ(DumpProgram("f , 2"), "[(callstmt (call f _ 2))]");
  EXPECT_EQ(DumpProgram("f x = 1"), "[(callstmt (call f (= x 1)))]");
  EXPECT_EQ(DumpProgram("f (a), (b)"), "[(callstmt (call f (paren a) (paren b)))]");
  EXPECT_EQ(DumpProgram("f a.b(1), c"), "[(callstmt (call f (call (. a b) 1) c))]");
}

TEST(VbCallStatements, OneParenthesizedArgumentIsPassedByValue) {
  EXPECT_EQ(DumpProgram("f(1)"), "[(callstmt (call f (paren 1)))]");
  EXPECT_EQ(DumpProgram("f (x)"), "[(callstmt (call f (paren x)))]");
  EXPECT_EQ(DumpProgram("f((x))"), "[(callstmt (call f (paren x)))]");
  EXPECT_EQ(DumpProgram("o.m(x)"), "[(callstmt (call (. o m) (paren x)))]");
  EXPECT_EQ(DumpProgram("a(1).m(2)"), "[(callstmt (call (. (call a 1) m) (paren 2)))]");
  EXPECT_EQ(DumpProgram("f()"), "[(callstmt (call f))]");
}

TEST(VbCallStatements, TwoParenthesizedArgumentsAreAnError) {
  EXPECT_EQ(DumpProgram("f(1, 2)"), "error 1044 at 1:7");
  EXPECT_EQ(DumpProgram("x = 1\n  o.m(a, b)\n"), "error 1044 at 2:11");
  EXPECT_EQ(DumpProgram("f(1, 2) + 3"), "error 1044 at 1:7");
}

TEST(VbCallStatements, AParenthesisGroupCanStartTheFirstArgument) {
  EXPECT_EQ(DumpProgram("f (1), 2"), "[(callstmt (call f (paren 1) 2))]");
  EXPECT_EQ(DumpProgram("f (1) + 2"), "[(callstmt (call f (+ 1 2)))]");
  EXPECT_EQ(DumpProgram("f (1) + 2, 3"), "[(callstmt (call f (+ 1 2) 3))]");
  EXPECT_EQ(DumpProgram("f (1) * 2 + 3"), "[(callstmt (call f (+ (* 1 2) 3)))]");
  EXPECT_EQ(DumpProgram("f (a) Is Nothing"), "[(callstmt (call f (is a Nothing)))]");
  EXPECT_EQ(DumpProgram("f (1) ^ 2"), "[(callstmt (call f (^ 1 2)))]");
  EXPECT_EQ(DumpProgram("f (1) & \"x\", , 3"), "[(callstmt (call f (& 1 \"x\") _ 3))]");
  EXPECT_EQ(DumpProgram("o.m (1) - 2"), "[(callstmt (call (. o m) (- 1 2)))]");
  EXPECT_EQ(DumpProgram("f ((1)) + 2"), "[(callstmt (call f (+ 1 2)))]");
  EXPECT_EQ(DumpProgram("f (1) 2"), "error 1025 at 1:7");
  EXPECT_EQ(DumpProgram("f () + 1"), "error 1025 at 1:6");
}

TEST(VbCallStatements, TheCallKeyword) {
  EXPECT_EQ(DumpProgram("Call f"), "[(callstmt f)]");
  EXPECT_EQ(DumpProgram("Call f()"), "[(callstmt (call f))]");
  EXPECT_EQ(DumpProgram("Call f(1, 2)"), "[(callstmt (call f 1 2))]");
  EXPECT_EQ(DumpProgram("Call f(1)"), "[(callstmt (call f 1))]");
  EXPECT_EQ(DumpProgram("Call o.m(1)"), "[(callstmt (call (. o m) 1))]");
  EXPECT_EQ(DumpProgram("Call f 1"), "error 1025 at 1:8");
  EXPECT_EQ(DumpProgram("Call 1"), "error 1010 at 1:6");
}

}  // namespace
