// The update check against a loopback server: what it compares, what it
// asks and opens, what it writes, and that failures are failures.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/abi/plugin_api.h"
#include "tests/vorel/ui/update_fixture.h"
#include "vorel/host/messages.h"
#include "vorel/model/desklet.h"
#include "vorel/runtime/timer_pass.h"
#include "vorel/util/date_time.h"
#include "vorel/util/errors.h"

namespace update_test {
namespace {

using testhost::TestHost;
using vorel::CheckForUpdate;
using vorel::KivError;

constexpr HWND kOwner = 0x4100;
constexpr const char* kLatest = "You already have the latest version";

TEST_F(UpdateTest, TheSameVersionSaysSoWhenAskedAndNotesTheCheck) {
  UseServer();
  Publish("1.0.1.0");
  const double before = vorel::NowAsDateTime();
  CheckForUpdate(kOwner, false);
  const auto boxes = Boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].args[0], kLatest);
  EXPECT_GE(std::stod(Setting("LastUpdateCheck").value_or("0")), before - 1e-6);
  const auto requests = server_.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].target, "/vorel/version.xml");
  EXPECT_EQ(requests[0].Header("User-Agent"), "Vorel_VorelUpdate");
  EXPECT_TRUE(TemporaryFolderEmpty());
}

TEST_F(UpdateTest, TheSameVersionSaysNothingWhenSilent) {
  UseServer();
  Publish("1.0.1.0");
  CheckForUpdate(kOwner, true);
  EXPECT_TRUE(Boxes().empty());
  EXPECT_TRUE(Setting("LastUpdateCheck"));
}

TEST_F(UpdateTest, ANewerLastPartIsOfferedAndYesOpensTheDownloadPage) {
  UseServer();
  Publish("1.0.1.1");
  TestHost::Get().messageBoxAnswers.push_back(kIdYes);
  CheckForUpdate(kOwner, true);
  const auto boxes = Boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].args[0], "Version 1.0.1.1 is available to download.\nDo you wish to open the web page?");
  EXPECT_EQ(boxes[0].args[2], std::to_string(kMbYesNo | kMbIconQuestion));
  const auto opened = TestHost::Get().CallsOf("WinShellExecute");
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0].args[1], "OPEN");
  EXPECT_EQ(opened[0].args[2], server_.Url("/vorel/"));
  EXPECT_TRUE(TemporaryFolderEmpty());
}

TEST_F(UpdateTest, ANewerMinorVersionIsOfferedAndNoOpensNothing) {
  UseServer();
  Publish("1.1.0.0");
  win::WriteRegistryValue(vorel::kUpdateKey, "DownloadPage", "https://example.invalid/get");
  TestHost::Get().messageBoxAnswers.push_back(kIdNo);
  CheckForUpdate(kOwner, false);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_NE(Boxes()[0].args[0].find("Version 1.1.0.0 is available"), std::string::npos);
  EXPECT_TRUE(TestHost::Get().CallsOf("WinShellExecute").empty());
}

TEST_F(UpdateTest, AVersionOfTwoPartsIsAFailedCheckNotTheLatestVersion) {
  UseServer();
  Publish("1.1");
  EXPECT_THROW(CheckForUpdate(kOwner, false), KivError);
  EXPECT_TRUE(Boxes().empty());
  EXPECT_FALSE(Setting("LastUpdateCheck"));
  EXPECT_TRUE(TemporaryFolderEmpty());
}

TEST_F(UpdateTest, ADocumentThatIsNotXmlFailsAndLeavesNoFile) {
  UseServer();
  server_.Route("/vorel/version.xml", {.body = "<html><body>Moved</b"});
  try {
    CheckForUpdate(kOwner, false);
    FAIL() << "no failure";
  } catch (const KivError& e) {
    EXPECT_NE(std::string(e.what()).find("is not XML"), std::string::npos) << e.what();
  }
  EXPECT_TRUE(Boxes().empty());
  EXPECT_TRUE(TemporaryFolderEmpty());
}

TEST_F(UpdateTest, ADocumentWithoutVorelFails) {
  UseServer();
  server_.Route("/vorel/version.xml", {.body = "<SOFTWARES><SOFTWARE NAME=\"OTHER\" VERSION=\"2.0.0.0\"/></SOFTWARES>"});
  EXPECT_THROW(CheckForUpdate(kOwner, false), KivError);
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(UpdateTest, AServerThatFailsIsAFailureAndLeavesNoFile) {
  UseServer();
  // An error page that looks like a version document is still no answer.
  server_.Route("/vorel/version.xml", {.status = 500, .body = VersionDocument("9.0.0.0")});
  EXPECT_THROW(CheckForUpdate(kOwner, false), KivError);
  EXPECT_TRUE(Boxes().empty());
  EXPECT_FALSE(Setting("LastUpdateCheck"));
  EXPECT_TRUE(TemporaryFolderEmpty());
}

TEST_F(UpdateTest, AServerThatIsNotThereIsAFailureAndLeavesNoFile) {
  win::WriteRegistryValue(vorel::kUpdateKey, "UpdateServer", "http://127.0.0.1:1");
  EXPECT_ANY_THROW(CheckForUpdate(kOwner, false));
  EXPECT_TRUE(Boxes().empty());
  EXPECT_TRUE(TemporaryFolderEmpty());
}

TEST_F(UpdateTest, WithoutAServerNothingIsAsked) {
  Publish("9.0.0.0");
  EXPECT_THROW(CheckForUpdate(kOwner, false), KivError);
  EXPECT_EQ(server_.Connections(), 0);
  win::WriteRegistryValue(vorel::kUpdateKey, "UpdateServer", "file:///etc/passwd");
  EXPECT_THROW(CheckForUpdate(kOwner, false), KivError);
  EXPECT_EQ(server_.Connections(), 0);
}

TEST_F(UpdateTest, AbsentSettingsAreWrittenAndNoAutomaticCheckIsDue) {
  const double now = vorel::NowAsDateTime();
  EXPECT_FALSE(vorel::AutomaticCheckDue(now));
  EXPECT_EQ(Setting("AutoCheckUpdate"), "0");
  EXPECT_NEAR(std::stod(Setting("LastUpdateCheck").value_or("0")), now - 15, 1e-6);
}

TEST_F(UpdateTest, TheAutomaticCheckIsDueAfterFourteenDays) {
  const double now = vorel::NowAsDateTime();
  win::WriteRegistryValue(vorel::kUpdateKey, "AutoCheckUpdate", "1");
  win::WriteRegistryValue(vorel::kUpdateKey, "LastUpdateCheck", std::to_string(now - 13));
  EXPECT_FALSE(vorel::AutomaticCheckDue(now));
  win::WriteRegistryValue(vorel::kUpdateKey, "LastUpdateCheck", std::to_string(now - 14.01));
  EXPECT_TRUE(vorel::AutomaticCheckDue(now));
  win::WriteRegistryValue(vorel::kUpdateKey, "AutoCheckUpdate", "0");
  EXPECT_FALSE(vorel::AutomaticCheckDue(now));
}

// The desklet's ticker raises the automatic check at its first minute.
class AutomaticCheckTest : public UpdateTest {
 protected:
  static constexpr HWND kWindow = 0x4200;
  void SetUp() override {
    UpdateTest::SetUp();
    instance_ = OnCreate(kWindow, 1, nullptr, nullptr);
    ASSERT_NE(instance_, nullptr);
    TestHost::Get().DeskletOf(kWindow).instance = instance_;
  }
  void TearDown() override {
    OnDestroy(instance_, kWindow);
    UpdateTest::TearDown();
  }
  vorel::TDeskletObject& D() { return *vorel::AsDesklet(instance_); }
  void Minute() { vorel::SecondsTick(D(), D().createdAt + 61.0 / 86400.0); }
  // Waits until the worker has ended and been reaped.
  bool WaitForWorkers() {
    for (int i = 0; i < 500; ++i) {
      TestHost::Get().DeliverPosted();
      if (D().threads.Count() == 0) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
  }
  void* instance_ = nullptr;
};

TEST_F(AutomaticCheckTest, ANewerVersionFoundOnceIsOfferedOnTheWindowThread) {
  UseServer();
  Publish("1.0.1.1");
  win::WriteRegistryValue(vorel::kUpdateKey, "AutoCheckUpdate", "1");
  Minute();
  ASSERT_TRUE(WaitForWorkers());
  const auto boxes = Boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].args[0].find("Version 1.0.1.1"), std::string::npos);
  EXPECT_EQ(server_.Requests().size(), 1u);
  EXPECT_TRUE(D().errorLog.Lines().empty());
  // At most once per process: the next minute checks no more.
  Minute();
  ASSERT_TRUE(WaitForWorkers());
  EXPECT_EQ(server_.Requests().size(), 1u);
  EXPECT_EQ(Boxes().size(), 1u);
}

TEST_F(AutomaticCheckTest, WithTheSettingAbsentNoCheckRunsInThisProcess) {
  UseServer();
  Publish("1.0.1.1");
  Minute();
  ASSERT_TRUE(WaitForWorkers());
  EXPECT_EQ(Setting("AutoCheckUpdate"), "0");
  // Turning it on later does not make the process check after all.
  win::WriteRegistryValue(vorel::kUpdateKey, "AutoCheckUpdate", "1");
  Minute();
  ASSERT_TRUE(WaitForWorkers());
  EXPECT_EQ(server_.Connections(), 0);
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(AutomaticCheckTest, AFailingServerGoesIntoTheErrorLog) {
  UseServer();
  server_.Route("/vorel/version.xml", {.status = 404});
  win::WriteRegistryValue(vorel::kUpdateKey, "AutoCheckUpdate", "1");
  Minute();
  ASSERT_TRUE(WaitForWorkers());
  std::string log;
  for (const std::string& line : D().errorLog.Lines()) log += line + "\n";
  EXPECT_NE(log.find("answered 404"), std::string::npos) << log;
  EXPECT_TRUE(Boxes().empty());
  EXPECT_TRUE(TemporaryFolderEmpty());
}

}  // namespace
}  // namespace update_test
