// The engine behind the script control: added code, statements,
// expressions, procedures by name, and what a failure reports.
#include <chrono>

#include "vb_fixture.h"

namespace scriptcontrol::testing {
namespace {

using automation::Variant;

class VbEngineTest : public VbFixture {};

TEST_F(VbEngineTest, CodeDefinesProceduresThatRunAndEvalSee) {
  Run("Dim total\n"
      "Function Twice(n)\n  Twice = n * 2\nEnd Function\n"
      "Sub AddTo(n)\n  total = total + n\nEnd Sub\n"
      "total = 1\n");
  engine->ExecuteStatement("AddTo 4");
  engine->ExecuteStatement("AddTo Twice(10)");
  EXPECT_EQ(Eval("total"), Variant(int16_t{25}));
  EXPECT_EQ(engine->Run("Twice", {Variant(21)}), Variant(42));
  EXPECT_TRUE(engine->Run("AddTo", {Variant(int16_t{1})}).IsEmpty());
  EXPECT_EQ(Eval("total"), Variant(int16_t{26}));
}

TEST_F(VbEngineTest, ProceduresListedInDefinitionOrderWithTheirArguments) {
  Run("Sub B(x, y)\nEnd Sub\nFunction A()\nEnd Function\nClass C\n Sub M\n End Sub\nEnd Class\n");
  auto list = engine->Procedures();
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].name, "B");
  EXPECT_EQ(list[0].numArgs, 2);
  EXPECT_FALSE(list[0].hasReturnValue);
  EXPECT_EQ(list[1].name, "A");
  EXPECT_TRUE(list[1].hasReturnValue);
}

TEST_F(VbEngineTest, RunOfAnUnknownProcedureFails) {
  try {
    engine->Run("Nowhere", {});
    FAIL();
  } catch (const ScriptFailure& f) {
    EXPECT_EQ(f.Error().number, 35);
    EXPECT_EQ(f.Error().description, "Sub or Function not defined: 'Nowhere'");
  }
}

TEST_F(VbEngineTest, RunTimeErrorNamesNumberLineColumnAndText) {
  ScriptError e = Failure("Dim a\na = 1\n   a = a + \"x\"\n");
  EXPECT_EQ(e.number, 13);
  EXPECT_EQ(e.source, "Microsoft VBScript runtime error");
  EXPECT_EQ(e.description, "Type mismatch");
  EXPECT_EQ(e.line, 3);
  EXPECT_EQ(e.column, 4);
  EXPECT_EQ(e.text, "   a = a + \"x\"");
}

TEST_F(VbEngineTest, ErrorInsideAProcedureIsPlacedInItsOwnText) {
  Run("Sub Deep()\n  Dim z\n  z = 1 / 0\nEnd Sub\n");
  try {
    engine->ExecuteStatement("Deep");
    FAIL();
  } catch (const ScriptFailure& f) {
    EXPECT_EQ(f.Error().number, 11);
    EXPECT_EQ(f.Error().description, "Division by zero");
    EXPECT_EQ(f.Error().line, 3);
    EXPECT_EQ(f.Error().text, "  z = 1 / 0");
  }
}

TEST_F(VbEngineTest, CompileErrorReportsTheToken) {
  ScriptError e = Failure("x = 1\nIf x Then y = 2 Else\nx = (1 + \n");
  EXPECT_EQ(e.source, "Microsoft VBScript compilation error");
  EXPECT_GT(e.number, 1000);
  EXPECT_LT(e.number, 1100);
  EXPECT_GE(e.line, 2);
}

TEST_F(VbEngineTest, CompileErrorRunsNothing) {
  Failure("Dim ran\nran = 1\nx = = 2\n");
  EXPECT_TRUE(Eval("IsEmpty(ran)").Get<bool>() && *Eval("IsEmpty(ran)").Get<bool>());
}

TEST_F(VbEngineTest, UndefinedVariableUnderOptionExplicit) {
  ScriptError e = Failure("Option Explicit\nDim a\na = 1\nb = 2\n");
  EXPECT_EQ(e.number, 500);
  EXPECT_EQ(e.description, "Variable is undefined: 'b'");
  EXPECT_EQ(e.line, 4);
}

TEST_F(VbEngineTest, CallOfAnUndefinedSubIsATypeMismatch) {
  ScriptError e = Failure("NoSuchThing 1, 2\n");
  EXPECT_EQ(e.number, 13);
  EXPECT_EQ(e.description, "Type mismatch: 'NoSuchThing'");
}

TEST_F(VbEngineTest, StatementsAreParsedOnceAndTheCacheIsBounded) {
  Run("Dim n\nn = 0\n");
  for (int i = 0; i < 3; ++i) engine->ExecuteStatement("n = n + 1");
  EXPECT_EQ(engine->CachedCount(), 1u);
  for (int i = 0; i < 300; ++i) engine->ExecuteStatement("n = n + " + std::to_string(i));
  EXPECT_LE(engine->CachedCount(), vbscript::VBScriptEngine::kCacheLimit);
  EXPECT_EQ(Eval("n"), Variant(int32_t{3 + 299 * 300 / 2}));
}

TEST_F(VbEngineTest, EndlessLoopStopsAtTheTimeLimitEvenUnderResumeNext) {
  engine->SetTimeout(200);
  auto start = std::chrono::steady_clock::now();
  ScriptError e = Failure("On Error Resume Next\nDo\nLoop\n");
  EXPECT_EQ(e.number, vbscript::kErrTimeout);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
  // The engine goes on working.
  EXPECT_EQ(Eval("1 + 1"), Variant(int16_t{2}));
}

TEST_F(VbEngineTest, EndlessRecursionIsOutOfStackSpace) {
  ScriptError e = Failure("Function F(n)\n  F = F(n + 1)\nEnd Function\nx = F(1)\n");
  EXPECT_EQ(e.number, 28);
  EXPECT_EQ(e.description, "Out of stack space");
  EXPECT_EQ(Eval("2 * 3"), Variant(int16_t{6}));
}

TEST_F(VbEngineTest, ErrRaiseUncaughtCarriesItsOwnSourceAndText) {
  ScriptError e = Failure("Err.Raise vbObjectError + 7, \"Widget\", \"It broke\"\n");
  EXPECT_EQ(e.number, static_cast<int32_t>(0x80040007u));
  EXPECT_EQ(e.source, "Widget");
  EXPECT_EQ(e.description, "It broke");
  ScriptError plain = Failure("Err.Raise 9\n");
  EXPECT_EQ(plain.number, 9);
  EXPECT_EQ(plain.description, "Subscript out of range");
}

TEST_F(VbEngineTest, AppendingInPlaceKeepsTheLanguagesResults) {
  Run("Dim s, i, t\ns = \"\"\nFor i = 1 To 5000\n  s = s & \"ab\"\nNext\n"
      "t = \"x\"\nt = t & Null\nt = t & 1.5\n");
  EXPECT_EQ(Eval("Len(s)"), Variant(int32_t{10000}));
  EXPECT_EQ(Eval("t"), Variant("x1.5"));
  // A variable that holds no string takes the ordinary path.
  Run("Dim n\nn = 7\nn = n & \"!\"\n");
  EXPECT_EQ(Eval("n"), Variant("7!"));
}

}  // namespace
}  // namespace scriptcontrol::testing
