// Failures SpiderMonkey words its own way reach scripts and the error log with
// JScript's numbers and texts.
#include "platform/scriptcontrol/jscript/jscript_error_texts.h"

#include <gtest/gtest.h>

#include "engine_fixture.h"

namespace scriptcontrol::testing {
namespace {

constexpr int32_t JScript(int32_t code) { return static_cast<int32_t>(0x800A0000u | static_cast<uint32_t>(code)); }

class JScriptErrorTexts : public EngineFixture {};

TEST_F(JScriptErrorTexts, UndeclaredNameIsUndefined) {
  ScriptError e = ErrorOf("var v = missingName + 1;");
  EXPECT_EQ(e.number, JScript(5009));
  EXPECT_EQ(e.description, "'missingName' is undefined");
  EXPECT_EQ(e.source, kRuntimeErrorSource);
}

TEST_F(JScriptErrorTexts, PropertyOfUndefinedOrNullWantsAnObject) {
  ScriptError e = ErrorOf("var a; var b = a.c;");
  EXPECT_EQ(e.number, JScript(5007));
  EXPECT_EQ(e.description, "Object expected (a is undefined)");
  EXPECT_EQ(ErrorOf("var n = null; n.c = 1;").number, JScript(5007));
  EXPECT_EQ(ErrorOf("var u; u();").description, "Object expected (u is not a function)");
}

TEST_F(JScriptErrorTexts, MissingMemberIsNotSupported) {
  ScriptError e = ErrorOf("var o = {}; o.nothing();");
  EXPECT_EQ(e.number, JScript(438));
  EXPECT_EQ(e.description,
            "Object doesn't support this property or method (o.nothing is not a function)");
}

TEST_F(JScriptErrorTexts, CallingAValueThatIsNoFunctionWantsAFunction) {
  ScriptError e = ErrorOf("var n = 1; n();");
  EXPECT_EQ(e.number, JScript(5002));
  EXPECT_EQ(e.description, "Function expected (n is not a function)");
  EXPECT_EQ(ErrorOf("var s = 'text'; s();").number, JScript(5002));
}

TEST_F(JScriptErrorTexts, SyntaxErrorsSayWhatWasExpected) {
  auto expect = [&](const std::string& code, int32_t number, const std::string& text) {
    ScriptError e = ErrorOf(code);
    EXPECT_EQ(e.number, JScript(number)) << code;
    EXPECT_EQ(e.description, text) << code;
    EXPECT_EQ(e.source, kCompileErrorSource) << code;
  };
  expect("var s = 'abc", 1015, "Unterminated string constant");
  expect("x = 1 2", 1004, "Expected ';'");
  expect("if x) {}", 1005, "Expected '('");
  expect("f(1, 2", 1006, "Expected ')'");
  expect("function f() {\n  var a = 1;", 1009, "Expected '}'");
  expect("var s = '{'; function f() { return '}'", 1009, "Expected '}'");
  expect("var 1a;", 1013, "Invalid number");
  expect("var x = (;", 1002, "Syntax error (expected expression, got ';')");
  expect("var = 3;", 1002, "Syntax error (missing variable name)");
}

TEST_F(JScriptErrorTexts, ErrorsTheScriptNumbersItselfKeepTheirOwn) {
  ScriptError e = ErrorOf("var x = new Error('own words'); x.number = 7; throw x;");
  EXPECT_EQ(e.number, 7);
  EXPECT_EQ(ErrorOf("throw new Error('plain')").description, "plain");
}

}  // namespace
}  // namespace scriptcontrol::testing
