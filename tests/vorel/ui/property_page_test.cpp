// The page on the host's properties dialog, driven as the host drives it:
// its dialog procedure with the window messages of a page's life.
#include <gtest/gtest.h>

#include "platform/abi/plugin_api.h"
#include "tests/vorel/ui/update_fixture.h"
#include "vorel/model/desklet.h"
#include "vorel/ui/property_form.h"
#include "vorel/ui/property_page.h"

namespace update_test {
namespace {

using testhost::TestHost;

constexpr HWND kWindow = 0x4300;
constexpr HWND kPage = 0x4301;

class PropertyPageTest : public UpdateTest {
 protected:
  void SetUp() override {
    UpdateTest::SetUp();
    instance_ = OnCreate(kWindow, 1, nullptr, nullptr);
    ASSERT_NE(instance_, nullptr);
  }
  void TearDown() override {
    if (instance_) OnDestroy(instance_, kWindow);
    UpdateTest::TearDown();
  }
  vorel::TDeskletObject& D() { return *vorel::AsDesklet(instance_); }

  intptr_t Send(uint32_t message, WPARAM wParam = 0, LPARAM lParam = 0) {
    auto procedure = reinterpret_cast<WinDialogProc>(TestHost::Get().pageProcedure);
    return procedure(kPage, message, wParam, lParam);
  }
  // Adds the page as the host's dialog opens it.
  void Open() {
    ASSERT_EQ(OnAddPropertySheets(instance_, 0), 1);
    ASSERT_NE(TestHost::Get().pageProcedure, nullptr);
    Send(kWmInitDialog, 0, reinterpret_cast<LPARAM>(TestHost::Get().pageParameter));
    Send(kWmSize);
  }
  void Press(int32_t item) { Send(kWmCommand, (static_cast<WPARAM>(kBnClicked) << 16) | static_cast<WPARAM>(item)); }
  testhost::DialogItem Item(int32_t id) {
    std::lock_guard lock(TestHost::Get().mutex);
    return TestHost::Get().dialogItems[{kPage, id}];
  }
  void Report(const std::string& what) { D().errorLog.Report({5, "Test", what, 1, 2, "x"}); }

  void* instance_ = nullptr;
};

TEST_F(PropertyPageTest, ThePageShowsTheErrorLogAndTheUpdateSettings) {
  Report("first failure");
  Open();
  EXPECT_EQ(Item(vorel::kErrorLogGroup).kind, kDialogGroup);
  EXPECT_EQ(Item(vorel::kClearLogButton).text, "Clear Log");
  EXPECT_EQ(Item(vorel::kCheckNowButton).text, "Check Now");
  EXPECT_EQ(Item(vorel::kAutoCheckBox).text, "Auto Check for Updates");
  EXPECT_EQ(Item(vorel::kAutoCheckBox).kind, kDialogCheckBox);
  const std::string log = Item(vorel::kErrorLogView).text;
  EXPECT_NE(log.find("first failure"), std::string::npos) << log;
  EXPECT_EQ(D().errorLog.Lines().size(), 3u);
  EXPECT_TRUE(vorel::HasOpenPropertyPage(D()));
  // The setting was absent: it reads as off and is written so.
  EXPECT_FALSE(Item(vorel::kAutoCheckBox).checked);
  EXPECT_EQ(Setting("AutoCheckUpdate"), "0");
}

TEST_F(PropertyPageTest, ClearingTheLogIsShownClearedTheNextTimeToo) {
  Report("a failure");
  Open();
  Press(vorel::kClearLogButton);
  EXPECT_EQ(Item(vorel::kErrorLogView).text, "");
  EXPECT_TRUE(D().errorLog.Lines().empty());
  EXPECT_EQ(TestHost::Get().CallsOf("WinPropSheetChanged").size(), 1u);
  Send(kWmDestroy);
  EXPECT_FALSE(vorel::HasOpenPropertyPage(D()));

  TestHost::Get().dialogItems.clear();
  Open();
  EXPECT_EQ(Item(vorel::kErrorLogView).text, "");
}

TEST_F(PropertyPageTest, TheCheckBoxIsKeptWhenThePageCloses) {
  Open();
  {
    std::lock_guard lock(TestHost::Get().mutex);
    TestHost::Get().dialogItems[{kPage, vorel::kAutoCheckBox}].checked = true;
  }
  Press(vorel::kAutoCheckBox);
  EXPECT_EQ(TestHost::Get().CallsOf("WinPropSheetChanged").size(), 1u);
  EXPECT_EQ(Setting("AutoCheckUpdate"), "0");
  Send(kWmDestroy);
  EXPECT_EQ(Setting("AutoCheckUpdate"), "1");

  TestHost::Get().dialogItems.clear();
  Open();
  EXPECT_TRUE(Item(vorel::kAutoCheckBox).checked);
}

TEST_F(PropertyPageTest, CheckNowThatFailsShowsTheFailureInTheLog) {
  Open();
  Press(vorel::kCheckNowButton);
  EXPECT_TRUE(Boxes().empty());
  const std::string shown = Item(vorel::kErrorLogView).text;
  EXPECT_NE(shown.find("no update server is set"), std::string::npos) << shown;
}

TEST_F(PropertyPageTest, CheckNowAsksTheServer) {
  UseServer();
  Publish("1.0.1.0");
  Open();
  Press(vorel::kCheckNowButton);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].args[0], "You already have the latest version");
}

TEST_F(PropertyPageTest, ADeskletClosedWithItsPageOpenLeavesThePageDeaf) {
  Open();
  OnDestroy(instance_, kWindow);
  instance_ = nullptr;
  // The host may still send the page its last messages.
  Press(vorel::kClearLogButton);
  Send(kWmDestroy);
  EXPECT_EQ(Setting("AutoCheckUpdate"), "0");
}

TEST_F(PropertyPageTest, OneFormADesklet) {
  Open();
  const size_t created = TestHost::Get().CallsOf("WinCreateDialogItem").size();
  // A second page of the same desklet while the first is open stays empty.
  auto procedure = reinterpret_cast<WinDialogProc>(TestHost::Get().pageProcedure);
  procedure(kPage + 1, kWmInitDialog, 0, reinterpret_cast<LPARAM>(TestHost::Get().pageParameter));
  EXPECT_EQ(TestHost::Get().CallsOf("WinCreateDialogItem").size(), created);
}

}  // namespace
}  // namespace update_test
