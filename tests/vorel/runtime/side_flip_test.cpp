// Flipping between sides against the recording host: what the host is
// asked, the zoom kept across sides of other sizes, the statements run
// around the flip, and the requests that do nothing or fail.
#include "vorel/runtime/side_flip.h"

#include <gmock/gmock.h>

#include "platform/abi/plugin_api.h"
#include "tests/support/test_host.h"
#include "tests/vorel/render/render_fixture.h"
#include "vorel/model/script_engine.h"
#include "vorel/util/errors.h"

using testhost::TestHost;

namespace fliptest {
namespace {

class SideFlipTest : public rendertest::DeskletFixture {
 protected:
  void SetUp() override {
    DeskletFixture::SetUp();
    LoadSkin(R"(<skindata><skininfo><name>Flip</name></skininfo>
      <sides><side id="0" width="200" height="100" closex="190" closey="5"/>
             <side id="1" width="100" height="100" closex="90" closey="4"/>
             <side id="2" width="200" height="100" closex="7" closey="8"/>
             <side id="3" width="50" height="50"/></sides>
      <desklet><label>x</label>
        <onbeforeflip>before = GetChangeToSide() + ':' + GetCurrentSide()</onbeforeflip>
        <onafterflip>after = GetCurrentSide()</onafterflip></desklet>
      <layers side="0"><layer name="a" src="!BLANKSPACE" width="10" height="10"/>
        <layer name="hidden" src="!BLANKSPACE" width="10" height="10" visible="0"/>
        <layer name="a2" src="!BLANKSPACE" width="10" height="10" onclick="!FLIP:2"/></layers>
      <layers side="1"><layer name="b" src="!BLANKSPACE" width="10" height="10"/></layers>
      <layers side="2"><layer name="c" src="!BLANKSPACE" width="10" height="10" onclick="!FLIP:0"/></layers>
      <layers side="3"><layer name="d" src="!BLANKSPACE" width="10" height="10" visible="0"/></layers>
      </skindata>)");
    Run("var before = '', after = ''");
    TestHost::Get().Reset();
    TestHost::Get().DeskletOf(kWindow).instance = instance_;
  }
  void Run(const std::string& statement) { D().scripting.scriptEngine->ExecuteStatement(statement); }
  std::string Eval(const std::string& expression) { return D().scripting.scriptEngine->EvaluateToText(expression); }
  uint32_t Id(const std::string& name) { return D().FindLayerByName(name)->Id; }
  std::string Ids(std::initializer_list<const char*> names) {
    std::string out;
    for (const char* name : names) out += (out.empty() ? "" : ",") + std::to_string(Id(name));
    return out;
  }
  void Complete() {
    ASSERT_NE(TestHost::Get().flipCallback, nullptr);
    TestHost::Get().flipCallback(TestHost::Get().flipCallbackData);
  }
};

TEST_F(SideFlipTest, EqualSidesFlipWithoutResizingAndRunBothStatements) {
  TestHost::Get().DeskletOf(kWindow).size = {200, 100};
  vorel::RequestFlip(D(), "!FLIP:2");
  const auto flips = TestHost::Get().CallsOf("DeskletFlip");
  ASSERT_EQ(flips.size(), 1u);
  EXPECT_THAT(flips[0].args, testing::ElementsAre(std::to_string(kWindow), "1", "(null)", Ids({"a", "a2"}), "(null)",
                                                  Ids({"c"}), "1"));
  EXPECT_EQ(Eval("before"), "2:0") << "the before statement sees where the flip goes";
  EXPECT_EQ(Eval("after"), "") << "the after statement waits for the host";
  EXPECT_EQ(D().sideState.activeSide, 2);
  EXPECT_EQ(D().sideState.currentSide.CloseX, 7u);
  const auto close = TestHost::Get().CallsOf("DeskletSetClosePoint");
  ASSERT_EQ(close.size(), 1u);
  EXPECT_THAT(close[0].args, testing::ElementsAre(std::to_string(kWindow), "7,8", "200", "100"));
  Complete();
  EXPECT_EQ(Eval("after"), "2");

  // Back by a click, to the lower side.
  TestHost::Get().Reset();
  TestHost::Get().DeskletOf(kWindow).instance = instance_;
  Run("kiv.FlipTo(0)");
  const auto back = TestHost::Get().CallsOf("DeskletFlip");
  ASSERT_EQ(back.size(), 1u);
  EXPECT_EQ(back[0].args.back(), "0") << "direction";
  EXPECT_EQ(D().sideState.activeSide, 0);
}

TEST_F(SideFlipTest, SidesOfOtherSizesKeepTheZoom) {
  // Side 0 is 200 by 100, shown at 150 %.
  TestHost::Get().DeskletOf(kWindow).size = {300, 150};
  vorel::RequestFlip(D(), "!FLIP:1");
  const auto flips = TestHost::Get().CallsOf("DeskletFlip");
  ASSERT_EQ(flips.size(), 1u);
  EXPECT_EQ(flips[0].args[2], "300x150");
  EXPECT_EQ(flips[0].args[4], "150x150");
  const auto close = TestHost::Get().CallsOf("DeskletSetClosePoint");
  ASSERT_EQ(close.size(), 1u);
  EXPECT_THAT(close[0].args, testing::ElementsAre(std::to_string(kWindow), "90,4", "150", "150"));

  // Halves round to even: 25 * 150 / 100 = 37.5 gives 38, 12.5 would give 12.
  TestHost::Get().Reset();
  TestHost::Get().DeskletOf(kWindow).instance = instance_;
  TestHost::Get().DeskletOf(kWindow).size = {25, 150};
  D().FindLayerByName("d")->Set(vorel::Visible, true);
  vorel::RequestFlip(D(), "!FLIP:3");
  const auto odd = TestHost::Get().CallsOf("DeskletFlip");
  ASSERT_EQ(odd.size(), 1u);
  EXPECT_EQ(odd[0].args[4], "12x75");
}

TEST_F(SideFlipTest, RequestsThatDoNothing) {
  vorel::RequestFlip(D(), "!FLIP:0");
  vorel::RequestFlip(D(), "!FLIP:");
  vorel::RequestFlip(D(), "!FLIP:3");   // only a hidden layer there
  vorel::RequestFlip(D(), "!FLIP:9");   // no such side, no layers
  EXPECT_TRUE(TestHost::Get().CallsOf("DeskletFlip").empty());
  EXPECT_EQ(Eval("before"), "") << "no before statement for a flip that does not happen";
  EXPECT_EQ(D().sideState.activeSide, 0);
  for (const char* bad : {"!FLIP:one", "!FLIP:256", "!FLIP:-1", "!FLIP:1.5"})
    EXPECT_THROW(vorel::RequestFlip(D(), bad), vorel::KivError) << bad;
  EXPECT_TRUE(TestHost::Get().CallsOf("DeskletFlip").empty());
}

TEST_F(SideFlipTest, AClickFlipsAndACallbackAfterDestroyIsIgnored) {
  TestHost::Get().DeskletOf(kWindow).size = {200, 100};
  KivPoint pt{1, 1};
  KivSize size{10, 10};
  const uint32_t id = Id("a2");
  D().settings.keyPressAnim = 0;
  OnLayerMouseOn(instance_, id, "a2", &pt, &size);
  OnLayerMouseDown(instance_, id, "a2", &pt, &size, 1);
  OnLayerMouseUp(instance_, id, "a2", &pt, &size, 1);
  EXPECT_EQ(D().sideState.activeSide, 2);
  ASSERT_NE(TestHost::Get().flipCallback, nullptr);
  auto callback = TestHost::Get().flipCallback;
  void* data = TestHost::Get().flipCallbackData;
  OnDestroy(instance_, kWindow);
  instance_ = nullptr;
  callback(data);  // nothing to run it for; must not touch freed memory
}

}  // namespace
}  // namespace fliptest
