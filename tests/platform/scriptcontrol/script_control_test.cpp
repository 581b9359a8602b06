#include "platform/scriptcontrol/script_control.h"

#include <gtest/gtest.h>

#include "by_ref_object.h"
#include "platform/automation/sample_object.h"
#include "test_collection.h"

namespace scriptcontrol {
namespace {

using automation::Variant;

TEST(ScriptControlTest, NoLanguageNoCalls) {
  ScriptControl control;
  EXPECT_EQ(control.Language(), "");
  EXPECT_THROW(control.Eval("1"), ScriptFailure);
}

TEST(ScriptControlTest, DefaultsOfTheControl) {
  ScriptControl control;
  EXPECT_EQ(control.Timeout(), 10000);
  EXPECT_TRUE(control.AllowUI());
  control.SetAllowUI(false);
  EXPECT_FALSE(control.AllowUI());
  control.SetTimeout(-1);
  EXPECT_EQ(control.Timeout(), -1);
  EXPECT_THROW(control.SetTimeout(-5), ScriptFailure);
}

TEST(ScriptControlTest, SameLanguageKeepsGlobalsOtherLanguageStartsFresh) {
  ScriptControl control;
  control.SetLanguage("JScript");
  control.ExecuteStatement("var kept = 4;");
  control.SetLanguage("jscript");
  EXPECT_EQ(control.Eval("kept"), Variant(4));
  control.Reset();
  EXPECT_EQ(control.Language(), "JScript");
  EXPECT_EQ(control.Eval("typeof kept"), Variant("undefined"));
}

TEST(ScriptControlTest, EitherLanguageByNameOthersFail) {
  ScriptControl control;
  control.SetLanguage("JScript");
  control.ExecuteStatement("var kept = 4;");
  control.SetLanguage("vbscript");
  EXPECT_EQ(control.Language(), "VBScript");
  control.ExecuteStatement("kept = 5 * 2");
  EXPECT_EQ(control.Eval("kept + 1"), Variant(int16_t{11}));
  control.Reset();
  EXPECT_EQ(control.Language(), "VBScript");
  EXPECT_EQ(control.Eval("IsEmpty(kept)"), Variant(true));
  EXPECT_THROW(control.SetLanguage("Perl"), ScriptFailure);
  EXPECT_EQ(control.Language(), "VBScript");
}

TEST(ScriptControlTest, ErrorEventFiresBeforeTheCallFails) {
  ScriptControl control;
  control.SetLanguage("JScript");
  std::vector<ScriptError> seen;
  control.OnError([&](const ScriptError& e) {
    seen.push_back(e);
    EXPECT_EQ(control.Error().description, e.description);  // Error is filled when the event fires
  });
  EXPECT_THROW(control.ExecuteStatement("x = ;"), ScriptFailure);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].number, kSyntaxErrorNumber);
  EXPECT_EQ(seen[0].source, kCompileErrorSource);
  EXPECT_EQ(control.Error().line, 1);
  EXPECT_EQ(control.Error().text, "x = ;");
}

TEST(ScriptControlTest, ThrowingErrorHandlerDoesNotHideTheFailure) {
  ScriptControl control;
  control.SetLanguage("JScript");
  control.OnError([](const ScriptError&) { throw std::runtime_error("handler broke"); });
  EXPECT_THROW(control.Eval("nope()"), ScriptFailure);
  EXPECT_EQ(control.Error().description, "'nope' is undefined");
}

TEST(ScriptControlTest, AddObjectNeedsAnObject) {
  ScriptControl control;
  control.SetLanguage("JScript");
  EXPECT_THROW(control.AddObject("x", nullptr, false), ScriptFailure);
  auto sample = automation::MakeObject<automation::testing::SampleObject>();
  control.AddObject("s", sample.Get(), false);
  EXPECT_EQ(control.Eval("s.Add(1, 2)"), Variant(3));
}

TEST(ScriptControlTest, BuiltinsAndByReferenceArgumentsThroughTheControl) {
  size_t before = automation::LiveObjectCount();
  {
    ScriptControl control;
    control.SetLanguage("JScript");
    control.SetTimeout(-1);
    auto items = automation::MakeObject<testing::TestCollection>(
        std::vector<Variant>{Variant("x"), Variant("y")});
    auto main = automation::MakeObject<testing::ByRefObject>();
    control.AddObject("items", items.Get(), false);
    control.AddObject("kiv", main.Get(), true);
    control.AddCode(
        "function joined() { var s = ''; for (var e = new Enumerator(items); !e.atEnd(); e.moveNext())"
        " s += e.item(); return s; }\n"
        "function bounds() { var a = new VBArray(items.Numbers(1)); return a.lbound() + ':' + a.ubound(); }\n"
        "function connect() { return ConnectObject(items, 'items_'); }\n");
    EXPECT_EQ(control.Run("joined"), Variant("xy"));
    EXPECT_EQ(control.Run("bounds"), Variant("1:4"));
    EXPECT_EQ(control.Run("connect"), Variant("object|items_"));
    ScriptError reported;
    control.OnError([&](const ScriptError& e) { reported = e; });
    EXPECT_THROW(control.ExecuteStatement("new Enumerator(kiv)"), ScriptFailure);
    EXPECT_EQ(reported.number, static_cast<int32_t>(0x800A01B6u));
    EXPECT_EQ(reported.description, "Object doesn't support this property or method");
    EXPECT_THROW(control.ExecuteStatement("new VBArray(items.Numbers()).getItem(7)"), ScriptFailure);
    EXPECT_EQ(control.Error().number, static_cast<int32_t>(0x800A0009u));
    EXPECT_EQ(control.Error().description, "Subscript out of range");
  }
  EXPECT_EQ(automation::LiveObjectCount(), before);
}

}  // namespace
}  // namespace scriptcontrol
