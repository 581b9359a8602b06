// Names and scopes: locals, implicit variables, ByRef and ByVal,
// functions' own names, On Error, Eval, Execute and GetRef.
#include "platform/automation/dispatch_call.h"
#include "vb_fixture.h"

namespace scriptcontrol::testing {
namespace {

using automation::Variant;

class VbScopeTest : public VbFixture {};

TEST_F(VbScopeTest, ByReferenceIsTheDefaultByValCopies) {
  Run("Sub Change(a, ByVal b)\n  a = a + 1\n  b = b + 1\nEnd Sub\n"
      "Dim x, y\nx = 1\ny = 1\nChange x, y\n");
  EXPECT_EQ(Eval("x"), Variant(int16_t{2}));
  EXPECT_EQ(Eval("y"), Variant(int16_t{1}));
  // An expression, or a variable in parentheses, goes by value.
  Run("Change (x), y\nChange x + 0, y\n");
  EXPECT_EQ(Eval("x"), Variant(int16_t{2}));
  Run("Call Change(x, y)\n");
  EXPECT_EQ(Eval("x"), Variant(int16_t{3}));
}

TEST_F(VbScopeTest, ReferencesPassOnThroughSeveralCalls) {
  Run("Sub Inner(v)\n  v = v & \"!\"\nEnd Sub\nSub Outer(v)\n  Inner v\nEnd Sub\n"
      "Dim s\ns = \"hi\"\nOuter s\n");
  EXPECT_EQ(Eval("s"), Variant("hi!"));
}

TEST_F(VbScopeTest, ImplicitVariablesAreLocalToTheirProcedure) {
  Run("Sub MakeLocal()\n  hidden = 5\nEnd Sub\nMakeLocal\n");
  EXPECT_EQ(Eval("IsEmpty(hidden)"), Variant(true));
  // A global of the name is used instead.
  Run("Dim shared\nSub SetShared()\n  shared = 6\nEnd Sub\nSetShared\n");
  EXPECT_EQ(Eval("shared"), Variant(int16_t{6}));
}

TEST_F(VbScopeTest, FunctionNameIsItsResultAndCallsItselfWithArguments) {
  Run("Function Fact(n)\n  If n <= 1 Then\n    Fact = 1\n  Else\n    Fact = n * Fact(n - 1)\n  End If\nEnd Function\n");
  EXPECT_EQ(Eval("Fact(10)"), Variant(int32_t{3628800}));
  Run("Function Acc()\n  Acc = 1\n  Acc = Acc + 1\nEnd Function\n");
  EXPECT_EQ(Eval("Acc()"), Variant(int16_t{2}));
}

TEST_F(VbScopeTest, AParameterNamedTwiceIsRefused) {
  // Found by fuzzing: the two parameters shared one slot and the call
  // wrote past the frame.
  ScriptError e = Failure("Sub Add3(p, p, s)\nEnd Sub\nAdd3 1, 2, 3\n");
  EXPECT_EQ(e.number, 1041);
  EXPECT_EQ(e.description, "Name redefined");
  EXPECT_EQ(Failure("Function F(f)\nEnd Function\nx = F(1)\n").number, 1041);
}

TEST_F(VbScopeTest, WrongNumberOfArguments) {
  Run("Sub Two(a, b)\nEnd Sub\n");
  ScriptError e = Failure("Two 1\n");
  EXPECT_EQ(e.number, 450);
}

TEST_F(VbScopeTest, ResumeNextGoesOnAndGoToZeroStops) {
  Run("Dim steps\nOn Error Resume Next\nsteps = 1\nx = 1 / 0\nsteps = steps + 1\n");
  EXPECT_EQ(Eval("steps"), Variant(int16_t{2}));
  ScriptError e = Failure("On Error Resume Next\nx = 1 / 0\nOn Error GoTo 0\ny = 1 / 0\n");
  EXPECT_EQ(e.number, 11);
  EXPECT_EQ(e.line, 4);
}

TEST_F(VbScopeTest, ErrorInACalleeResumesInTheCaller) {
  Run("Dim trace\nSub Failing()\n  trace = trace & \"a\"\n  x = 1 / 0\n  trace = trace & \"never\"\nEnd Sub\n"
      "On Error Resume Next\nFailing\ntrace = trace & \"b\" & Err.Number\n");
  EXPECT_EQ(Eval("trace"), Variant("ab11"));
}

TEST_F(VbScopeTest, FailingIfConditionUnderResumeNextTakesTheBranch) {
  Run("Dim took\nOn Error Resume Next\nIf 1 / 0 Then\n  took = \"then\"\nElse\n  took = \"else\"\nEnd If\n");
  EXPECT_EQ(Eval("took"), Variant("then"));
}

TEST_F(VbScopeTest, EvalAndExecuteSeeTheProceduresLocals) {
  Run("Function Peek()\n  Dim secret\n  secret = 7\n  Execute \"secret = secret * 2\"\n  Peek = Eval(\"secret + 1\")\nEnd Function\n");
  EXPECT_EQ(Eval("Peek()"), Variant(int16_t{15}));
  Run("ExecuteGlobal \"Function Late()\" & vbCrLf & \"Late = 3\" & vbCrLf & \"End Function\"\n");
  EXPECT_EQ(Eval("Late()"), Variant(int16_t{3}));
}

TEST_F(VbScopeTest, ErrorInEvaluatedTextIsReportedInThatText) {
  try {
    engine->ExecuteStatement("Execute \"a = 1\" & vbLf & \"b = 1 / 0\"");
    FAIL();
  } catch (const ScriptFailure& f) {
    EXPECT_EQ(f.Error().number, 11) << f.Error().description;
    EXPECT_EQ(f.Error().line, 2);
    EXPECT_EQ(f.Error().text, "b = 1 / 0");
  }
}

TEST_F(VbScopeTest, GetRefGivesACallableProcedure) {
  Run("Dim got\nSub Handler(a, b)\n  got = a & \"+\" & b\nEnd Sub\nDim h\nSet h = GetRef(\"Handler\")\n");
  Variant h = Eval("h");
  ASSERT_TRUE(h.Dispatch());
  automation::InvokeMember(h.Dispatch(), automation::DISPID_VALUE, automation::DISPATCH_METHOD,
                           {Variant("x"), Variant("y")});
  EXPECT_EQ(Eval("got"), Variant("x+y"));
  EXPECT_EQ(Failure("Set h = GetRef(\"Nope\")\n").number, 5);
}

TEST_F(VbScopeTest, ConstantsCannotBeAssigned) {
  Run("Const Limit = 10\n");
  EXPECT_EQ(Eval("Limit * 2"), Variant(int16_t{20}));
  EXPECT_EQ(Failure("Limit = 3\n").number, 501);
}

TEST_F(VbScopeTest, WithBlocksNestAndLeaveOnError) {
  Run("With kiv\n  .Name = \"outer\"\n  .Count = 4\nEnd With\n");
  EXPECT_EQ(sample->GetName(), "outer");
  EXPECT_EQ(sample->GetCount(), 4);
  EXPECT_EQ(Failure(".Name = 1\n").number, 424);
}

TEST_F(VbScopeTest, ArraysAreCopiedOnAssignmentAndReDimPreserveKeeps) {
  Run("Dim a(2), b\na(0) = 1\nb = a\nb(0) = 9\nReDim Preserve b(4)\nb(4) = 5\n"
      "Dim m(1, 2)\nm(1, 2) = \"corner\"\n");
  EXPECT_EQ(Eval("a(0)"), Variant(int16_t{1}));
  EXPECT_EQ(Eval("b(0)"), Variant(int16_t{9}));
  EXPECT_EQ(Eval("UBound(b)"), Variant(int32_t{4}));
  EXPECT_EQ(Eval("m(1, 2)"), Variant("corner"));
  EXPECT_EQ(Failure("m(2, 0) = 1\n").number, 9);
}

TEST_F(VbScopeTest, SelectCaseListsRangesAndIs) {
  Run("Function Kind(v)\n  Select Case v\n    Case 1, 2\n      Kind = \"small\"\n    Case 3 To 5\n      Kind = \"mid\"\n"
      "    Case Is > 100\n      Kind = \"huge\"\n    Case Else\n      Kind = \"other\"\n  End Select\nEnd Function\n");
  EXPECT_EQ(Eval("Kind(2)"), Variant("small"));
  EXPECT_EQ(Eval("Kind(5)"), Variant("mid"));
  EXPECT_EQ(Eval("Kind(101)"), Variant("huge"));
  EXPECT_EQ(Eval("Kind(50)"), Variant("other"));
  EXPECT_EQ(Eval("Kind(Null)"), Variant("other"));
}

TEST_F(VbScopeTest, LoopsAndExits) {
  Run("Dim s, i, j\nFor i = 10 To 1 Step -3\n  s = s & i & \",\"\nNext\n"
      "For i = 1 To 10\n  If i = 3 Then Exit For\nNext\n"
      "j = 0\nDo While True\n  j = j + 1\n  If j = 4 Then Exit Do\nLoop\n");
  EXPECT_EQ(Eval("s"), Variant("10,7,4,1,"));
  EXPECT_EQ(Eval("i"), Variant(int16_t{3}));
  EXPECT_EQ(Eval("j"), Variant(int16_t{4}));
}

}  // namespace
}  // namespace scriptcontrol::testing
