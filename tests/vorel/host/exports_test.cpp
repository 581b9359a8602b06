// The plug-in's exports driven against the recording test host.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "platform/abi/plugin_api.h"
#include "platform/win/data_object.h"
#include "platform/win/ini_file.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_host.h"
#include "vorel/model/desklet.h"
#include "vorel/host/messages.h"
#include "vorel/host/plugin_module.h"

using testhost::TestHost;
using testing_support::TempDir;
using vorel::TDeskletObject;

namespace {

constexpr HWND kWindow = 0x1000;
constexpr HMODULE kModule = 0x2000;

class ExportsTest : public ::testing::Test {
 protected:
  void SetUp() override { TestHost::Get().Reset(); }
  void TearDown() override {
    if (instance_) OnDestroy(instance_, kWindow);
    TestHost::Get().Reset();
  }
  TDeskletObject& Create(const char* ini = nullptr, const char* section = nullptr) {
    instance_ = OnCreate(kWindow, kModule, ini, section);
    EXPECT_NE(instance_, nullptr);
    return *vorel::AsDesklet(instance_);
  }
  void* instance_ = nullptr;
};

TEST_F(ExportsTest, InformationNamesThePlugIn) {
  char name[kInfoNameBuffer] = {}, author[kInfoNameBuffer] = {}, description[kInfoDescriptionBuffer] = {};
  int32_t version = 0;
  OnGetInformation(name, author, &version, description);
  EXPECT_STREQ(name, "Vorel");
  EXPECT_STREQ(author, "Brannock");
  EXPECT_STREQ(description,
               "A XML based scripting engine for Kivhost.  Scripting languages can be JavaScript or VBScript.");
  EXPECT_EQ(version, 100);
}

TEST_F(ExportsTest, CreateWithoutSettingsShowsOnlyTheBaseLayerAndLoadsNothing) {
  Create();
  auto added = TestHost::Get().CallsOf("DeskletLayerAdd");
  ASSERT_EQ(added.size(), 1u);
  EXPECT_EQ(added[0].args[1], "BG");
  ASSERT_EQ(TestHost::Get().CallsOf("DeskletAsyncSetPointer").size(), 1u);
  EXPECT_TRUE(TestHost::Get().Posted().empty());
}

// The host must never hold the pointer of an instance that a failed create
// has freed again, so it gets it after every call that can fail.
TEST_F(ExportsTest, TheHostGetsThePointerAfterTheCallsThatCanFail) {
  Create();
  std::vector<std::string> names;
  for (auto& c : TestHost::Get().Calls()) names.push_back(c.fn);
  const auto pointer = std::find(names.begin(), names.end(), "DeskletAsyncSetPointer");
  const auto layer = std::find(names.begin(), names.end(), "DeskletLayerAdd");
  ASSERT_NE(pointer, names.end());
  ASSERT_NE(layer, names.end());
  EXPECT_GT(pointer, layer);
}

TEST_F(ExportsTest, AFailedCreateIsReportedToTheHost) {
  EXPECT_EQ(OnCreate(0, kModule, nullptr, nullptr), nullptr);
  EXPECT_TRUE(TestHost::Get().CallsOf("DeskletAsyncSetPointer").empty());
  auto lines = TestHost::Get().CallsOf("WinErrorLogLine");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].args[1], "-2147467259  Vorel (OnCreate)");
  EXPECT_EQ(lines[1].args[1], "constructor: pre condition not met  Line:0   Column:?   ");
  EXPECT_EQ(lines[2].args[1], std::string(31, '-'));
}

TEST_F(ExportsTest, CreateWithSettingsPostsTheLoadMessage) {
  TempDir dir;
  std::string ini = dir.Write("settings.ini", "[Desklet1]\n");
  Create(ini.c_str(), "Desklet1");
  auto posted = TestHost::Get().Posted();
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].message, vorel::MSG_LOAD_SKIN);
  EXPECT_EQ(posted[0].wParam, 0u);
  EXPECT_EQ(posted[0].lParam, 0);
}

TEST_F(ExportsTest, CreateFromSkinTakesTheKeyAndPostsAFreshLoad) {
  std::u16string key = u"/skins/a/a.xml";
  SkinInfoRecord info{};
  info.size = sizeof info;
  info.key = key.data();
  instance_ = OnCreateFromSkinW(kWindow, kModule, nullptr, &info);
  ASSERT_NE(instance_, nullptr);
  EXPECT_EQ(vorel::AsDesklet(instance_)->settings.skinPath, "/skins/a/a.xml");
  EXPECT_TRUE(TestHost::Get().CallsOf("DeskletLayerAdd").empty());
  auto posted = TestHost::Get().Posted();
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].wParam, 1u);
}

TEST_F(ExportsTest, CreateWithoutWindowFails) {
  EXPECT_EQ(OnCreate(0, kModule, nullptr, nullptr), nullptr);
  EXPECT_EQ(OnCreate(kWindow, 0, nullptr, nullptr), nullptr);
}

TEST_F(ExportsTest, NullInstanceIsHarmlessEverywhere) {
  KivPoint pt{1, 2};
  KivSize size{3, 4};
  EXPECT_EQ(OnSelect(nullptr), kFalse);
  EXPECT_EQ(OnMouseMove(nullptr, 1, 2), kFalse);
  EXPECT_EQ(OnLayerMouseDown(nullptr, 0, "x", &pt, &size, 1), kFalse);
  EXPECT_EQ(OnLayerRightClick(nullptr, 0, "x", &pt, &size, 2), kFalse);
  EXPECT_EQ(OnAddPropertySheets(nullptr, 3), 0);
  EXPECT_EQ(OnProcessMessageEx(nullptr, kWindow, vorel::MSG_REDRAW, 0, 0, nullptr), 0);
  EXPECT_EQ(OnDestroy(nullptr, kWindow), 0);
  void* slot = &pt;
  OnGetModel(nullptr, &slot);
  EXPECT_EQ(slot, &pt);
}

TEST_F(ExportsTest, DeskletEventsReportWhetherAStatementExists) {
  TDeskletObject& d = Create();
  EXPECT_EQ(OnSelect(instance_), kFalse);
  d.settings.onSelect = "  \r\n ";
  EXPECT_EQ(OnSelect(instance_), kFalse);
  d.settings.onSelect = "x = 1";
  EXPECT_EQ(OnSelect(instance_), kTrue);
  d.settings.onMouseMove = "y = 2";
  EXPECT_EQ(OnMouseMove(instance_, 7, -8), kTrue);
  EXPECT_EQ(d.input.mouseX, 7);
  EXPECT_EQ(d.input.mouseY, -8);
  d.input.currentLayerId = 5;
  EXPECT_EQ(OnMouseOut(instance_), kFalse);
  EXPECT_EQ(d.input.currentLayerId, vorel::kNoLayerId);
  EXPECT_EQ(OnMouseWheelBackward(instance_, 0, -3, 10, 11), kFalse);
  EXPECT_EQ(d.input.wheelScrolls, -3);
  EXPECT_EQ(d.input.layerMouseX, 10);
  EXPECT_EQ(d.input.layerMouseY, 11);
}

TEST_F(ExportsTest, LayerMouseCallsRecordTheirValues) {
  TDeskletObject& d = Create();
  KivPoint pt{12, -4};
  KivSize size{40, 20};
  EXPECT_EQ(OnLayerMouseDown(instance_, 3, "L", &pt, &size, 1), kFalse);
  EXPECT_EQ(d.input.currentLayerId, 3u);
  EXPECT_EQ(d.input.layerMouseX, 12);
  EXPECT_EQ(d.input.layerMouseY, -4);
  EXPECT_EQ(OnLayerMouseOut(instance_, 3, "L"), kFalse);
  EXPECT_EQ(d.input.currentLayerId, vorel::kNoLayerId);
  EXPECT_EQ(OnLayerMouseWheelForward(instance_, 3, "L", &pt, &size, 0, 2), kFalse);
  EXPECT_EQ(d.input.wheelScrolls, 2);
}

TEST_F(ExportsTest, DropOfFilesRecordsEachNameAndDropOfTextIsRefused) {
  TDeskletObject& d = Create();
  auto* files = win::DataObject::WithFiles({"/tmp/a.txt", "/tmp/b.txt", "/tmp/c.txt"});
  auto* text = win::DataObject::WithText("hello");
  EXPECT_EQ(OnDrop(instance_, files, 0, 0, 0, 0), kFalse) << "no ondropfile statement";
  d.settings.onDropFile = "handle()";
  EXPECT_EQ(OnDrop(instance_, files, 0, 0, 0, 0), kTrue);
  EXPECT_EQ(d.input.droppedFile, "/tmp/c.txt");
  EXPECT_EQ(OnDrop(instance_, text, 0, 0, 0, 0), kFalse);
  files->Release();
  text->Release();
}

TEST_F(ExportsTest, DroppedNamesAreCutAt260Characters) {
  TDeskletObject& d = Create();
  d.settings.onDropFile = "handle()";
  std::string longName = "/" + std::string(300, 'e');
  auto* files = win::DataObject::WithFiles({longName});
  EXPECT_EQ(OnDrop(instance_, files, 0, 0, 0, 0), kTrue);
  EXPECT_EQ(d.input.droppedFile, longName.substr(0, 260));
  files->Release();
}

TEST_F(ExportsTest, PropertySheetAddsOnePage) {
  Create();
  EXPECT_EQ(OnAddPropertySheets(instance_, 2), 3);
  auto pages = TestHost::Get().CallsOf("WinCreatePropertySheetPage");
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_EQ(pages[0].args[0], "Vorel");
  EXPECT_EQ(pages[0].args[1], "100");
  EXPECT_EQ(TestHost::Get().CallsOf("DeskletAddPropertySheet").size(), 1u);
}

TEST_F(ExportsTest, MessagesReachTheirHandlers) {
  Create();
  LRESULT result = 0;
  OnProcessMessageEx(instance_, kWindow, vorel::WM_CHAR, 'a', 0, &result);
  EXPECT_EQ(result, kTrue);
  TDeskletObject& d = *vorel::AsDesklet(instance_);
  EXPECT_EQ(d.input.lastKey, "a");
  EXPECT_EQ(d.input.lastKeyCode, 97);
  OnProcessMessageEx(instance_, kWindow, vorel::WM_CHAR, 27, 0, &result);
  EXPECT_EQ(d.input.lastKey, "ESC");
  OnProcessMessageEx(instance_, kWindow, vorel::MSG_REDRAW, 0, 0, &result);
  EXPECT_EQ(TestHost::Get().CallsOf("DeskletRedraw").size(), 1u);
  d.sideState.currentSide = {120, 80, 0, 0};
  OnProcessMessageEx(instance_, kWindow, vorel::MSG_INVALIDATE, 1, 0, &result);
  OnProcessMessageEx(instance_, kWindow, vorel::MSG_INVALIDATE, 0, 0, &result);
  auto inv = TestHost::Get().CallsOf("DeskletInvalidateRect");
  ASSERT_EQ(inv.size(), 2u);
  EXPECT_EQ(inv[0].args[1], "0,0,120,80");
  EXPECT_EQ(inv[0].args[2], "120x80");
  EXPECT_EQ(inv[1].args[1], "0,0,0,0");
}

TEST_F(ExportsTest, LayerStateMessagesRejectParametersOutOfRange) {
  Create();
  // Neither an out-of-range state nor a negative position may escape the
  // export or reach a layer.
  EXPECT_EQ(OnProcessMessageEx(instance_, kWindow, vorel::MSG_SET_LAYER_STATE, 0, 256, nullptr), 0);
  EXPECT_EQ(OnProcessMessageEx(instance_, kWindow, vorel::MSG_SET_LAYER_STATE_AT, static_cast<WPARAM>(-1), 0, nullptr),
            0);
  EXPECT_EQ(OnProcessMessageEx(instance_, kWindow, vorel::MSG_SET_LAYER_STATE_AT, 99, 1, nullptr), 0);
}

TEST_F(ExportsTest, DataArrivalWhileLoadingIsRetriedLater) {
  TDeskletObject& d = Create();
  d.data.xmlSources.resize(1);
  d.loading = true;
  OnProcessMessageEx(instance_, kWindow, vorel::MSG_DATA_ARRIVED, 0, 0, nullptr);
  // The retry arrives from a worker after 100 ms: the same message again,
  // then the reaping message of the finished worker.
  for (int i = 0; i < 200 && TestHost::Get().Posted().size() < 2; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  auto posted = TestHost::Get().Posted();
  ASSERT_GE(posted.size(), 2u);
  EXPECT_EQ(posted[0].message, vorel::MSG_DATA_ARRIVED);
  EXPECT_EQ(posted[0].wParam, 0u);
  EXPECT_EQ(posted[1].message, vorel::MSG_REAP_THREADS);
  d.loading = false;
  TestHost::Get().DeliverPosted();
  EXPECT_EQ(d.threads.Count(), 0u) << "the finished worker was reaped";
}

TEST_F(ExportsTest, DataArrivalForAMissingSourceIsIgnored) {
  Create();
  OnProcessMessageEx(instance_, kWindow, vorel::MSG_DATA_ARRIVED, 5, 0, nullptr);
  EXPECT_TRUE(TestHost::Get().Posted().empty());
}

}  // namespace
