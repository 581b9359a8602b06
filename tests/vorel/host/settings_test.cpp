// Reading and saving a desklet's settings.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/abi/plugin_api.h"
#include "platform/win/ini_file.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_host.h"
#include "vorel/model/desklet.h"
#include "vorel/util/paths.h"

using testhost::TestHost;
using testing_support::TempDir;
using vorel::TDeskletObject;

namespace {

constexpr HWND kWindow = 0x1100;

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestHost::Get().Reset();
    setenv("VOREL_PLUGIN_FOLDER", plugin_.Path().c_str(), 1);
  }
  void TearDown() override {
    if (instance_) OnDestroy(instance_, kWindow);
    unsetenv("VOREL_PLUGIN_FOLDER");
  }
  TDeskletObject& Restore(const std::string& sectionText) {
    ini_ = dir_.Write("desklets.ini", "[Other]\nSkinPath=keep\n\n[D]\n" + sectionText);
    instance_ = OnCreate(kWindow, 1, ini_.c_str(), "D");
    EXPECT_NE(instance_, nullptr);
    return *vorel::AsDesklet(instance_);
  }

  TempDir plugin_;
  TempDir dir_;
  std::string ini_;
  void* instance_ = nullptr;
};

TEST_F(SettingsTest, ActiveSideOutOfRangeOrNotANumberReadsAsZero) {
  struct Case {
    const char* text;
    int expected;
  } cases[] = {{"ActiveSide=2\n", 2}, {"ActiveSide=255\n", 255}, {"ActiveSide=300\n", 0}, {"ActiveSide=-1\n", 0},
               {"ActiveSide=two\n", 0}, {"ActiveSide=\n", 0},     {"", 0}};
  for (const auto& c : cases) {
    TDeskletObject& d = Restore(c.text);
    EXPECT_EQ(d.sideState.activeSide, c.expected) << c.text;
    EXPECT_EQ(d.settings.initialSide, c.expected) << c.text;
    OnDestroy(instance_, kWindow);
    instance_ = nullptr;
  }
}

TEST_F(SettingsTest, SkinPathIsRelativeToThePlugInFolderAndOtherKeysBecomeParameters) {
  TDeskletObject& d = Restore("SkinPath=hello\\hello.xml\nColour=red\nCity=Oslo\n");
  EXPECT_EQ(d.settings.skinPath, plugin_.Path() + "hello/hello.xml");
  ASSERT_EQ(d.parameters.size(), 2u);
  EXPECT_EQ(d.parameters[0]->Name, "Colour");
  EXPECT_EQ(d.parameters[0]->Value, "red");
  EXPECT_TRUE(d.parameters[0]->Persist);
  EXPECT_EQ(d.parameters[1]->Name, "City");
}

TEST_F(SettingsTest, SavingWritesBackEveryKeyThatWasReadAndLeavesOtherSectionsAlone) {
  TDeskletObject& d = Restore("ActiveSide=1\nSkinPath=hello/hello.xml\nUndeclared=42\nColour=red\n");
  d.parameters[1]->Value = "blue";
  auto extra = std::make_unique<vorel::TParameter>();
  extra->Name = "Scratch";
  extra->Value = "not saved";
  d.parameters.push_back(std::move(extra));
  OnSave(instance_, ini_.c_str(), "D", 0);

  auto entries = win::ReadIniSection(ini_, "D");
  win::IniEntries expected = {
      {"ActiveSide", "1"}, {"SkinPath", "hello/hello.xml"}, {"Undeclared", "42"}, {"Colour", "blue"}};
  EXPECT_EQ(entries, expected);
  EXPECT_EQ(win::ReadIniSection(ini_, "Other"), (win::IniEntries{{"SkinPath", "keep"}}));
}

TEST(RelativeSkinPath, BelowThePlugInFolderOrElsewhere) {
  using vorel::RelativeSkinPath;
  EXPECT_EQ(RelativeSkinPath("/opt/vorel/clock/clock.xml", "/opt/vorel/"), "clock/clock.xml");
  EXPECT_EQ(RelativeSkinPath("/opt/vorel/a/b/deep.xml", "/opt/vorel/"), "a/b/deep.xml");
  EXPECT_EQ(RelativeSkinPath("/home/u/skins/clock/clock.xml", "/opt/vorel/"), "clock/clock.xml");
  // A folder that only starts like the plug-in's is elsewhere.
  EXPECT_EQ(RelativeSkinPath("/opt/vorelx/clock/clock.xml", "/opt/vorel/"), "clock/clock.xml");
  EXPECT_EQ(RelativeSkinPath("/opt/vorelx/deep/er/clock.xml", "/opt/vorel"), "er/clock.xml");
  EXPECT_EQ(RelativeSkinPath("/opt/vorel/", "/opt/vorel/"), "");
}

}  // namespace
