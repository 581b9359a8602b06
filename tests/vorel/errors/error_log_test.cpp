// The error log on its own: the three lines of a report, the places named
// after the source, what each kind of caught failure becomes, and that
// every line reaches the host.
#include "vorel/model/error_log.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/automation/automation_error.h"
#include "platform/scriptcontrol/script_error.h"
#include "tests/support/test_host.h"
#include "vorel/util/errors.h"

using testhost::TestHost;
using testing::ElementsAre;
using vorel::TErrorLog;

namespace {

constexpr HWND kWindow = 0x4200;
const std::string kRule(31, '-');

class ErrorLogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestHost::Get().Reset();
    log_.SetWindow(kWindow);
  }
  std::vector<std::string> HostLines() {
    std::vector<std::string> lines;
    for (auto& call : TestHost::Get().CallsOf("WinErrorLogLine")) {
      EXPECT_EQ(call.args[0], std::to_string(kWindow));
      lines.push_back(call.args[1]);
    }
    return lines;
  }
  template <typename E>
  void ReportThrown(E failure, const std::string& text = {}) {
    try {
      throw failure;
    } catch (...) {
      log_.Report(std::current_exception(), text);
    }
  }
  TErrorLog log_;
};

TEST_F(ErrorLogTest, AReportIsThreeLinesAndEachReachesTheHost) {
  log_.Report({-2146827286, "Microsoft JScript compilation error", "Syntax error", 3, 7, "var = ;"});
  EXPECT_THAT(log_.Lines(), ElementsAre("-2146827286  Microsoft JScript compilation error",
                                        "Syntax error  Line:3   Column:7   var = ;", kRule));
  EXPECT_EQ(HostLines(), log_.Lines());
  log_.Clear();
  EXPECT_TRUE(log_.Lines().empty());
}

TEST_F(ErrorLogTest, OpenPlacesAreNamedAfterTheSourceInnermostLast) {
  {
    TErrorLog::Scope skin(log_, "skin clock.xml");
    TErrorLog::Scope empty(log_, "");
    TErrorLog::Scope layer(log_, "layer \"hand\"");
    EXPECT_EQ(log_.Context(), "skin clock.xml, layer \"hand\"");
    log_.Report({1, "Src", "d", 0, 0, ""});
  }
  log_.Report({2, "Src", "d", 0, 0, ""});
  EXPECT_EQ(log_.Lines()[0], "1  Src (skin clock.xml, layer \"hand\")");
  EXPECT_EQ(log_.Lines()[3], "2  Src");
}

TEST_F(ErrorLogTest, CaughtFailuresKeepTheirCodeAndText) {
  ReportThrown(vorel::KivError("skin file not found: /x.xml"), "statement");
  ReportThrown(automation::AutomationError(automation::E_NOTIMPL, "VBScript: not implemented"));
  ReportThrown(42);
  ASSERT_EQ(log_.Lines().size(), 9u);
  EXPECT_EQ(log_.Lines()[0], std::to_string(automation::E_FAIL) + "  Vorel");
  EXPECT_EQ(log_.Lines()[1], "skin file not found: /x.xml  Line:0   Column:?   statement");
  EXPECT_EQ(log_.Lines()[3], std::to_string(automation::E_NOTIMPL) + "  Vorel");
  EXPECT_EQ(log_.Lines()[4], "VBScript: not implemented  Line:0   Column:?   ");
  EXPECT_EQ(log_.Lines()[7], "unknown failure  Line:0   Column:?   ");
}

TEST_F(ErrorLogTest, ScriptFailuresAreLeftToTheEnginesErrorEvent) {
  scriptcontrol::ScriptError error;
  error.number = scriptcontrol::kSyntaxErrorNumber;
  error.description = "Syntax error";
  ReportThrown(scriptcontrol::ScriptFailure(error));
  EXPECT_TRUE(log_.Lines().empty());
  EXPECT_TRUE(HostLines().empty());
}

TEST_F(ErrorLogTest, WithinReportsOnceWhileItsPlaceIsOpenAndCarriesTheFailureOn) {
  EXPECT_THROW(log_.Within("skin a.xml",
                           [&] { log_.Within("sides", [] { throw vorel::KivError("Range check error"); }); }),
               TErrorLog::Reported);
  ASSERT_EQ(log_.Lines().size(), 3u);
  EXPECT_EQ(log_.Lines()[0], std::to_string(automation::E_FAIL) + "  Vorel (skin a.xml, sides)");
  // The catch further out sees a reported failure and adds nothing.
  ReportThrown(TErrorLog::Reported{});
  EXPECT_EQ(log_.Lines().size(), 3u);
  EXPECT_EQ(log_.Context(), "");
}

}  // namespace
