#include "platform/automation/error_info.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

namespace automation {
namespace {

TEST(ErrorInfoTest, TakeClears) {
  ReportFailure(E_FAIL, "broken", "src");
  std::optional<ErrorInfo> info = TakeErrorInfo();
  ASSERT_TRUE(info);
  EXPECT_EQ(info->code, E_FAIL);
  EXPECT_EQ(info->description, "broken");
  EXPECT_EQ(info->source, "src");
  EXPECT_FALSE(TakeErrorInfo());
}

TEST(ErrorInfoTest, EachThreadHasItsOwn) {
  ReportFailure(E_FAIL, "main");
  bool otherSawNone = false;
  std::thread([&] { otherSawNone = !PeekErrorInfo().has_value(); }).join();
  EXPECT_TRUE(otherSawNone);
  EXPECT_EQ(TakeErrorInfo()->description, "main");
}

TEST(ErrorInfoTest, SuccessCodeIsNeverReportedAsFailure) {
  EXPECT_EQ(ReportFailure(S_OK, "odd"), E_UNEXPECTED);
  ClearErrorInfo();
}

TEST(ErrorInfoTest, GuardTurnsExceptionsIntoResults) {
  EXPECT_EQ(GuardCall("x", [] {}), S_OK);
  EXPECT_EQ(GuardCall("x", [] { throw AutomationError(E_ACCESSDENIED, "denied"); }), E_ACCESSDENIED);
  EXPECT_EQ(TakeErrorInfo()->description, "denied");
  EXPECT_EQ(GuardCall("x", [] { throw std::runtime_error("plain"); }), E_UNEXPECTED);
  std::optional<ErrorInfo> info = TakeErrorInfo();
  EXPECT_EQ(info->description, "plain");
  EXPECT_EQ(info->source, "x");
  EXPECT_EQ(GuardCall("x", [] { throw 42; }), E_UNEXPECTED);
  EXPECT_EQ(TakeErrorInfo()->description, "Catastrophic failure");
  EXPECT_EQ(GuardCall("x", [] { throw std::bad_alloc(); }), E_OUTOFMEMORY);
  ClearErrorInfo();
}

}  // namespace
}  // namespace automation
