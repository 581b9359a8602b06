// The desklet's script engine over the real script control: statements,
// expressions, code files, the error report and event procedures.
#include "vorel/model/script_engine.h"
#include "vorel/model/error_log.h"

#include <gtest/gtest.h>

#include "platform/automation/com_object.h"
#include "platform/automation/sample_object.h"
#include "platform/automation/variant_convert.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"
#include "support/test_host.h"
#include "vorel/model/desklet.h"

namespace {

class ScriptEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testhost::TestHost::Get().Reset();
    desklet = std::make_unique<vorel::TDeskletObject>(1, 1);
    ASSERT_TRUE(desklet->scripting.scriptEngine);
  }
  vorel::TScriptEngine& E() { return *desklet->scripting.scriptEngine; }
  std::unique_ptr<vorel::TDeskletObject> desklet;
};

TEST_F(ScriptEngineTest, StatementsAndGlobalsPersist) {
  E().ExecuteStatement("var counter = 40;");
  E().ExecuteStatement("counter += 2;");
  EXPECT_EQ(E().EvaluateToText("counter"), "42");
  EXPECT_EQ(E().EvaluateToText("'a' + 'b'"), "ab");
  EXPECT_TRUE(desklet->errorLog.Lines().empty());
}

TEST_F(ScriptEngineTest, ASyntaxErrorWritesThreeLinesAndTheDeskletGoesOn) {
  EXPECT_ANY_THROW(E().ExecuteStatement("var = ;"));
  ASSERT_EQ(desklet->errorLog.Lines().size(), 3u);
  EXPECT_NE(desklet->errorLog.Lines()[0].find("  Microsoft JScript compilation error"), std::string::npos) << desklet->errorLog.Lines()[0];
  EXPECT_NE(desklet->errorLog.Lines()[1].find("  Line:1   Column:?   "), std::string::npos)
      << "the engine gives no column and the line does not pretend one: " << desklet->errorLog.Lines()[1];
  EXPECT_NE(desklet->errorLog.Lines()[1].find("var = ;"), std::string::npos);
  EXPECT_EQ(desklet->errorLog.Lines()[2], std::string(31, '-'));
  E().ExecuteStatement("var fine = 1;");
  EXPECT_EQ(desklet->errorLog.Lines().size(), 3u);
}

TEST_F(ScriptEngineTest, ErrorReportLayout) {
  auto lines = vorel::ErrorReportLines({-2146827286, "Src", "Desc", 3, 7, "x y"});
  EXPECT_EQ(lines[0], "-2146827286  Src");
  EXPECT_EQ(lines[1], "Desc  Line:3   Column:7   x y");
}

TEST_F(ScriptEngineTest, CodeFromAFileAndAMissingFile) {
  testing_support::TempDir dir;
  const std::string file = dir.Write("code.js", "function twice(x) {\r\n  return x * 2;\r\n}\n");
  E().AddCodeFromFile(dir.File("missing.js"));  // nothing happens
  E().AddCodeFromFile(file);
  EXPECT_EQ(E().EvaluateToText("twice(21)"), "42");
  EXPECT_EQ(automation::ToString(E().Run("twice", {automation::Variant(int32_t{5})})), "10");
}

TEST_F(ScriptEngineTest, EventProceduresMatchByNameAndArgumentCount) {
  E().AddCode(
      "var got = '';"
      "function POnTick(a) { got = 'tick:' + a; }"
      "function p_(name) { got = 'any:' + name; }");
  E().RunEventProcedure("P", "ontick", {automation::Variant(int32_t{7})});
  EXPECT_EQ(E().EvaluateToText("got"), "tick:7");
  // Two arguments: the exact one does not fit, the catch-all takes the name.
  E().RunEventProcedure("P", "OnTick", {automation::Variant(int32_t{1}), automation::Variant(int32_t{2})});
  EXPECT_EQ(E().EvaluateToText("got"), "any:OnTick");
  E().ExecuteStatement("got = 'none';");
  E().RunEventProcedure("Q", "OnTick", {});
  EXPECT_EQ(E().EvaluateToText("got"), "none");
}

TEST_F(ScriptEngineTest, TheCatchAllStandingFirstWinsEveryEvent) {
  E().AddCode("var got = ''; function p_(n) { got = 'any:' + n; } function px(a) { got = 'x'; }");
  E().RunEventProcedure("p", "x", {automation::Variant(int32_t{1})});
  EXPECT_EQ(E().EvaluateToText("got"), "any:x");
}

TEST_F(ScriptEngineTest, EitherLanguage) {
  E().SetLanguage("VBScript");
  EXPECT_EQ(E().EvaluateToText("1 + 1 & \"!\""), "2!");
  E().SetLanguage("JScript");
  EXPECT_EQ(E().EvaluateToText("1+1"), "2");
}

}  // namespace

namespace {

std::string Joined(const std::vector<std::string>& lines) {
  std::string all;
  for (const auto& line : lines) all += line + "\n";
  return all;
}

TEST(ScriptTimeLimit, ParsedFromWholeMilliseconds) {
  EXPECT_EQ(vorel::ParseTimeLimit("0"), 0);
  EXPECT_EQ(vorel::ParseTimeLimit("250"), 250);
  EXPECT_EQ(vorel::ParseTimeLimit("86400000"), 86'400'000);
  for (const char* bad : {"", "-1", "86400001", "1.5", "5s", " 5", "99999999999"})
    EXPECT_FALSE(vorel::ParseTimeLimit(bad)) << bad;
}

TEST(ScriptTimeLimit, AStatementThatRunsTooLongIsStoppedInBothLanguages) {
  testing_support::ScopedEnv limit(vorel::kTimeLimitVariable, "200");
  testhost::TestHost::Get().Reset();
  vorel::TDeskletObject desklet(1, 1);
  auto& engine = *desklet.scripting.scriptEngine;
  // JScript is stopped at its calls into the host; VBScript anywhere.
  auto sample = automation::MakeObject<automation::testing::SampleObject>();
  engine.AddObject("sample", sample.Get(), false);
  EXPECT_ANY_THROW(engine.ExecuteStatement("while (true) { sample.Add(1, 1); }"));
  EXPECT_NE(Joined(desklet.errorLog.Lines()).find("Script execution timed out"), std::string::npos)
      << Joined(desklet.errorLog.Lines());
  engine.ExecuteStatement("var after = 1;");
  EXPECT_EQ(engine.EvaluateToText("after"), "1") << "the engine goes on";

  desklet.errorLog.Clear();
  engine.SetLanguage("VBScript");
  EXPECT_ANY_THROW(engine.ExecuteStatement("Do : Loop"));
  EXPECT_NE(Joined(desklet.errorLog.Lines()).find("Script ran longer than its time limit"), std::string::npos)
      << Joined(desklet.errorLog.Lines());
  EXPECT_EQ(engine.EvaluateToText("1 + 1"), "2");
}

TEST(ScriptTimeLimit, AMalformedLimitIsReportedAndTheDefaultHolds) {
  testing_support::ScopedEnv limit(vorel::kTimeLimitVariable, "soon");
  testhost::TestHost::Get().Reset();
  vorel::TDeskletObject desklet(1, 1);
  const std::string log = Joined(desklet.errorLog.Lines());
  EXPECT_NE(log.find("VOREL_TIME_LIMIT_MS is not a number of milliseconds"), std::string::npos) << log;
  EXPECT_NE(log.find("soon"), std::string::npos) << log;
}

}  // namespace
