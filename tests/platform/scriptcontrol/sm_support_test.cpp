#include "platform/scriptcontrol/jscript/sm_support.h"

#include <gtest/gtest.h>
#include <js/CompilationAndEvaluation.h>
#include <js/SourceText.h>

#include <cstring>

#include "platform/scriptcontrol/jscript/sm_runtime.h"

namespace scriptcontrol::jscript {
namespace {

class SmSupportTest : public ::testing::Test {
 protected:
  SmSupportTest()
      : cx(SmRuntime::OnThisThread().Context()), global(cx, NewGlobal(cx)), realm(cx, global) {}

  JS::Value Evaluate(const char* code) {
    JS::CompileOptions options(cx);
    options.setFileAndLine("test", 1);
    JS::SourceText<mozilla::Utf8Unit> source;
    JS::RootedValue result(cx);
    EXPECT_TRUE(source.init(cx, code, std::strlen(code), JS::SourceOwnership::Borrowed));
    EXPECT_TRUE(JS::Evaluate(cx, options, source, &result));
    return result;
  }

  JSContext* cx;
  JS::PersistentRootedObject global;
  JSAutoRealm realm;
};

TEST_F(SmSupportTest, TextRoundTripsBeyondTheBasicPlane) {
  const std::string text = "a\xC3\xBC\xF0\x9F\x98\x80z";  // a, u-umlaut, U+1F600, z
  JS::RootedString string(cx, NewString(cx, text));
  ASSERT_NE(string, nullptr);
  EXPECT_EQ(JS_GetStringLength(string), 5u);  // the emoji is a surrogate pair
  EXPECT_EQ(Utf8Of(cx, string), text);
}

TEST_F(SmSupportTest, LoneSurrogateBecomesReplacement) {
  JS::RootedString string(cx, Evaluate("'\\ud83dx'").toString());
  EXPECT_EQ(Utf8Of(cx, string), "\xEF\xBF\xBDx");
}

TEST_F(SmSupportTest, SafeReadsSurviveThrowingGetters) {
  JS::RootedObject object(cx, &Evaluate("({get bad() { throw new Error('no'); }, good: 'yes'})").toObject());
  EXPECT_EQ(SafeGetString(cx, object, "good"), "yes");
  EXPECT_EQ(SafeGetString(cx, object, "bad", "fallback"), "fallback");
  EXPECT_EQ(SafeGetString(cx, object, "missing", "none"), "none");
  EXPECT_FALSE(JS_IsExceptionPending(cx));
  JS::RootedValue odd(cx, Evaluate("({toString: function() { throw 1; }})"));
  EXPECT_TRUE(SafeToString(cx, odd).empty());
  EXPECT_FALSE(JS_IsExceptionPending(cx));
}

TEST_F(SmSupportTest, AutomationErrorsCarryTheirNumberAndKind) {
  SetAutomationError(cx, static_cast<int32_t>(0x800A0009u), "Subscript out of range", JSEXN_RANGEERR);
  ASSERT_TRUE(JS_IsExceptionPending(cx));
  JS::RootedValue error(cx);
  ASSERT_TRUE(JS_GetPendingException(cx, &error));
  JS_ClearPendingException(cx);
  JS::RootedObject object(cx, &error.toObject());
  EXPECT_EQ(ErrorNumberOf(cx, object), static_cast<int32_t>(0x800A0009u));
  EXPECT_EQ(SafeGetString(cx, object, "name"), "RangeError");
  EXPECT_EQ(SafeGetString(cx, object, "description"), "Subscript out of range");
  EXPECT_EQ(SafeGetString(cx, object, "message"), "Subscript out of range");
}

}  // namespace
}  // namespace scriptcontrol::jscript
