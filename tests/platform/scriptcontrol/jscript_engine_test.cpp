#include "platform/scriptcontrol/jscript/jscript_engine.h"

#include <gtest/gtest.h>

#include "platform/automation/com_object.h"
#include "platform/automation/dispatch_call.h"
#include "platform/automation/sample_object.h"

namespace scriptcontrol::jscript {
namespace {

using automation::ComPtr;
using automation::MakeObject;
using automation::Variant;
using automation::testing::SampleObject;

class JScriptEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    before = automation::LiveObjectCount();
    sample = MakeObject<SampleObject>();
    engine = std::make_unique<JScriptEngine>();
    engine->AddObject("kiv", sample.Get(), true);
  }
  void TearDown() override {
    engine.reset();
    sample = nullptr;
    EXPECT_EQ(automation::LiveObjectCount(), before) << "objects leaked";
  }
  ScriptError ErrorOf(const std::string& statement) {
    try {
      engine->ExecuteStatement(statement);
    } catch (const ScriptFailure& f) {
      return f.Error();
    }
    return ScriptError();
  }

  size_t before = 0;
  ComPtr<SampleObject> sample;
  std::unique_ptr<JScriptEngine> engine;
};

TEST_F(JScriptEngineTest, NumbersStringsAndBooleansConvert) {
  EXPECT_EQ(engine->Eval("1 + 2"), Variant(3));
  EXPECT_EQ(engine->Eval("1.5"), Variant(1.5));
  EXPECT_EQ(engine->Eval("4294967296"), Variant(4294967296.0));
  EXPECT_EQ(engine->Eval("-0"), Variant(-0.0));
  EXPECT_EQ(engine->Eval("'gr\\u00fc\\u00df'"), Variant("gr\xC3\xBC\xC3\x9F"));
  EXPECT_EQ(engine->Eval("true"), Variant(true));
  EXPECT_TRUE(engine->Eval("undefined").IsEmpty());
  EXPECT_TRUE(engine->Eval("null").IsNull());
}

TEST_F(JScriptEngineTest, MembersByNameWithoutRegardToCase) {
  EXPECT_EQ(engine->Eval("kiv.add(2, 3)"), Variant(5));
  EXPECT_EQ(engine->Eval("kiv.ADD(2)"), Variant(12));
  engine->ExecuteStatement("kiv.name = 'changed'");
  EXPECT_EQ(sample->GetName(), "changed");
  EXPECT_EQ(engine->Eval("kiv.NAME"), Variant("changed"));
  EXPECT_EQ(engine->Eval("kiv.Greet('Ann')"), Variant("Hello, Ann"));
  EXPECT_EQ(engine->Eval("'count' in kiv"), Variant(true));
  EXPECT_EQ(engine->Eval("'nothing' in kiv"), Variant(false));
  EXPECT_EQ(engine->Eval("typeof kiv.nothing"), Variant("undefined"));
}

TEST_F(JScriptEngineTest, DefaultMemberAndParameterisedProperty) {
  EXPECT_EQ(engine->Eval("kiv(1)"), Variant("one"));
  EXPECT_EQ(engine->Eval("kiv.Item(2)"), Variant("two"));
  EXPECT_EQ(engine->Eval("kiv.Child().Add(1, 1)"), Variant(2));
}

TEST_F(JScriptEngineTest, AddMembersMakesGlobals) {
  EXPECT_EQ(engine->Eval("Add(1, 1)"), Variant(2));
  engine->ExecuteStatement("Count = 7");
  EXPECT_EQ(sample->GetCount(), 7);
  EXPECT_EQ(engine->Eval("Count + this.Count + kiv.count"), Variant(21));
  EXPECT_EQ(engine->Eval("this.Add(2, 2)"), Variant(4));
}

TEST_F(JScriptEngineTest, AutomationFailureIsACatchableError) {
  EXPECT_EQ(engine->Eval("try { kiv.Alpha = 300; 'no' } catch (e) { e.description + '|' + e.message + '|' + e.number }"),
            Variant("Range check error|Range check error|-2147418113"));
  EXPECT_EQ(engine->Eval("try { kiv.Add('zz'); } catch (e) { e.description }"),
            Variant("'zz' is not a valid integer value"));
}

TEST_F(JScriptEngineTest, UncaughtAutomationFailureKeepsItsNumber) {
  ScriptError e = ErrorOf("\nkiv.Fail('it broke')");
  EXPECT_EQ(e.number, automation::E_FAIL);
  EXPECT_EQ(e.description, "it broke");
  EXPECT_EQ(e.line, 2);
  EXPECT_EQ(e.text, "kiv.Fail('it broke')");
}

TEST_F(JScriptEngineTest, SyntaxErrorGivesLineAndText) {
  ScriptError e = ErrorOf("var a = 1;\nvar b = (;\nvar c;");
  EXPECT_EQ(e.number, kSyntaxErrorNumber);
  EXPECT_EQ(e.source, kCompileErrorSource);
  EXPECT_EQ(e.line, 2);
  EXPECT_EQ(e.text, "var b = (;");
  EXPECT_FALSE(e.description.empty());
}

TEST_F(JScriptEngineTest, RuntimeErrorsInAddedCode) {
  engine->AddCode("function f(x) {\n  return x.y.z;\n}");
  try {
    engine->ExecuteStatement("f(1)");
    FAIL();
  } catch (const ScriptFailure& f) {
    EXPECT_EQ(f.Error().number, static_cast<int32_t>(0x800A138Fu));  // Object expected
    EXPECT_EQ(f.Error().source, kRuntimeErrorSource);
    EXPECT_EQ(f.Error().line, 2);
    EXPECT_EQ(f.Error().text, "  return x.y.z;");
  }
  EXPECT_EQ(ErrorOf("undefinedThing").description, "'undefinedThing' is undefined");
  EXPECT_EQ(ErrorOf("undefinedThing").number, kUndefinedErrorNumber);
  EXPECT_EQ(ErrorOf("throw 'plain'").description, "plain");
}

TEST_F(JScriptEngineTest, ProceduresInDefinitionOrderWithArgumentCounts) {
  engine->AddCode("var x = 1;\nfunction b(p, q) {}\nfunction a() {}\n");
  engine->AddCode("function c(one) { return one * 2; }");
  std::vector<Procedure> procs = engine->Procedures();
  ASSERT_EQ(procs.size(), 3u);
  EXPECT_EQ(procs[0].name, "b");
  EXPECT_EQ(procs[0].numArgs, 2);
  EXPECT_EQ(procs[1].name, "a");
  EXPECT_EQ(procs[2].name, "c");
  EXPECT_EQ(procs[2].numArgs, 1);
  EXPECT_EQ(engine->Run("c", {Variant(21)}), Variant(42));
  EXPECT_THROW(engine->Run("missing", {}), ScriptFailure);
}

TEST_F(JScriptEngineTest, ProceduresAreTheDeclaredFunctionsOnly) {
  engine->AddCode("var g = function (a) {};\nvar h = function named(a, b) {};\nfunction d(a) {}\nvar n = 1;");
  engine->ExecuteStatement("function later(a, b, c) { return a + b + c; }");
  engine->ExecuteStatement("var alsoVariable = function () {};");
  engine->AddCode("function d(a) { return a; }\nfunction e() {}");
  std::vector<Procedure> procs = engine->Procedures();
  std::vector<std::string> names;
  for (const Procedure& p : procs) names.push_back(p.name);
  EXPECT_EQ(names, (std::vector<std::string>{"d", "later", "e"}));
  ASSERT_EQ(procs.size(), 3u);
  EXPECT_EQ(procs[1].numArgs, 3);
  EXPECT_EQ(engine->Run("later", {Variant(1), Variant(2), Variant(3)}), Variant(6));
  EXPECT_EQ(engine->Eval("typeof g"), Variant("function")) << "the probe changes nothing the script sees";
}

TEST_F(JScriptEngineTest, DeclarationsCountEvenWhenTheCodeFailsLater) {
  EXPECT_THROW(engine->AddCode("function early() {}\nnoSuchThing();\nfunction late(x) {}"), ScriptFailure);
  std::vector<Procedure> procs = engine->Procedures();
  ASSERT_EQ(procs.size(), 2u);
  EXPECT_EQ(procs[0].name, "early");
  EXPECT_EQ(procs[1].name, "late");
  EXPECT_EQ(engine->Eval("typeof noSuchThing"), Variant("undefined"));
}

TEST_F(JScriptEngineTest, GlobalsPersistAcrossStatements) {
  engine->ExecuteStatement("var total = 0;");
  for (int i = 0; i < 5; ++i) engine->ExecuteStatement("total += 2;");
  EXPECT_EQ(engine->Eval("total"), Variant(10));
  EXPECT_EQ(engine->CachedCount(), 3u);  // each distinct text compiled once
}

TEST_F(JScriptEngineTest, CacheStaysBounded) {
  for (size_t i = 0; i < JScriptEngine::kCacheLimit + 20; ++i) engine->Eval(std::to_string(i) + " + 1");
  EXPECT_EQ(engine->CachedCount(), JScriptEngine::kCacheLimit);
  EXPECT_EQ(engine->Eval("5 + 1"), Variant(6));
}

TEST_F(JScriptEngineTest, DispatchComesBackAsItself) {
  EXPECT_EQ(engine->Eval("kiv.Echo(kiv) === undefined"), Variant(false));
  Variant v = engine->Eval("kiv.Echo(kiv)");
  EXPECT_EQ(v.Dispatch(), static_cast<automation::IDispatch*>(sample.Get()));
  EXPECT_TRUE(engine->Eval("kiv.Echo(null)").IsNull());
}

TEST_F(JScriptEngineTest, ScriptObjectsPassOutAsDispatch) {
  Variant fn = engine->Eval("(function (a, b) { return a * b; })");
  ASSERT_EQ(fn.Type(), automation::VarType::Dispatch);
  EXPECT_EQ(automation::InvokeMember(fn.Dispatch(), automation::DISPID_VALUE, automation::DISPATCH_METHOD,
                                     {Variant(6), Variant(7)}),
            Variant(42));
  Variant arr = engine->Eval("[10, 20, 30]");
  EXPECT_EQ(automation::GetProperty(arr.Dispatch(), "length"), Variant(3));
  EXPECT_EQ(automation::GetProperty(arr.Dispatch(), "1"), Variant(20));
  // Handed back, it is the same script object.
  engine->ExecuteStatement("var keep = [1];");
  Variant keep = engine->Eval("keep");
  engine->AddObject("again", keep.Dispatch(), false);
  EXPECT_EQ(engine->Eval("again === keep"), Variant(true));
  // After the engine is gone, the wrapper fails cleanly.
  engine.reset();
  EXPECT_THROW(automation::GetProperty(arr.Dispatch(), "length"), automation::AutomationError);
}

TEST_F(JScriptEngineTest, DatesBothWays) {
  Variant d = engine->Eval("new Date(2023, 2, 15, 12, 0, 0)");
  ASSERT_EQ(d.Type(), automation::VarType::Date);
  EXPECT_NEAR(d.Get<automation::Date>()->days, 45000.5, 1e-6);
  engine->ExecuteStatement("var back = kiv.Echo(new Date(2023, 2, 15, 12, 0, 0));");
  EXPECT_EQ(engine->Eval("back.getHours() + ':' + back.getDate()"), Variant("12:15"));
}

TEST_F(JScriptEngineTest, VariantArraysSurviveTheRoundTrip) {
  engine->AddCode("function keep(a) { kept = a; return a; }");
  Variant array(automation::VariantArray({Variant(1), Variant("x")}, 1));
  Variant back = engine->Run("keep", {array});
  ASSERT_TRUE(back.IsArray());
  EXPECT_EQ(back, array);
}

TEST_F(JScriptEngineTest, DroppedReferencesAreReleased) {
  size_t withSample = automation::LiveObjectCount();
  engine->ExecuteStatement("var c = kiv.Child(); c.Add(1, 2); c.Count = 3;");
  EXPECT_GT(automation::LiveObjectCount(), withSample);
  // Freed by the collector, which CollectGarbage() runs at once.
  engine->ExecuteStatement("c = null; CollectGarbage();");
  EXPECT_EQ(automation::LiveObjectCount(), withSample);
}

TEST_F(JScriptEngineTest, TimeoutStopsAScriptAtItsNextMemberCall) {
  engine->SetTimeout(50);
  ScriptError e = ErrorOf("while (true) { kiv.Add(1, 1); }");
  EXPECT_EQ(e.number, kTimeoutErrorNumber);
  EXPECT_EQ(e.description, "Script execution timed out");
  engine->SetTimeout(-1);
  EXPECT_EQ(engine->Eval("kiv.Add(1, 1)"), Variant(2));
}

TEST_F(JScriptEngineTest, EndlessRecursionRunsOutOfStackSpace) {
  constexpr int32_t kOutOfStack = static_cast<int32_t>(0x800A001Cu);
  const char* recursions[] = {
      "function f(n) { return f(n + 1) + 1; } f(0);",
      // Through the built-ins.
      "var o = {}; o.toString = function () { return '' + this; }; '' + o;",
      "function g() { return [1].map(g); } g();",
  };
  for (const char* statement : recursions) {
    ScriptError e = ErrorOf(statement);
    EXPECT_EQ(e.number, kOutOfStack) << statement;
    EXPECT_EQ(e.description, "Out of stack space") << statement;
  }
  // Nesting beyond the compiler's depth is a compile failure of its own.
  ScriptError e = ErrorOf("x = " + std::string(100000, '(') + "1" + std::string(100000, ')') + ";");
  EXPECT_EQ(e.number, kOutOfStack);
  EXPECT_EQ(e.source, kCompileErrorSource);
  // The engine works on afterwards.
  EXPECT_EQ(engine->Eval("kiv.Add(1, 1)"), Variant(2));
}

TEST_F(JScriptEngineTest, UnicodeBeyondTheBasicPlaneSurvives) {
  sample->SetName("\xF0\x9F\x98\x80");
  EXPECT_EQ(engine->Eval("kiv.Name.length"), Variant(2));  // one surrogate pair
  EXPECT_EQ(engine->Eval("kiv.Name"), Variant("\xF0\x9F\x98\x80"));
}

}  // namespace
}  // namespace scriptcontrol::jscript
