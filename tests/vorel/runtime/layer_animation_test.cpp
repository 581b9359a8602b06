// Layer slides and slide shows in real time: the test is the window thread
// that hands the posted step messages to the plug-in. Delays are short;
// the checks count frames, not time.
#include "vorel/runtime/layer_animation.h"

#include <gmock/gmock.h>

#include <chrono>
#include <thread>

#include "platform/abi/desklet_api.h"
#include "platform/abi/plugin_api.h"
#include "tests/support/test_host.h"
#include "tests/vorel/render/render_fixture.h"
#include "vorel/host/messages.h"
#include "vorel/model/script_engine.h"
#include "vorel/util/errors.h"

using namespace std::chrono_literals;
using testhost::TestHost;

namespace fliptest {
namespace {

class LayerAnimationTest : public rendertest::DeskletFixture {
 protected:
  void SetUp() override {
    DeskletFixture::SetUp();
    WritePng("one.png", 4, 4, 0xFFFF0000);
    WritePng("two.png", 4, 4, 0xFF00FF00);
    LoadSkin(R"(<skindata><skininfo><name>Slides</name></skininfo>
      <sides><side id="0" width="200" height="100"/></sides>
      <desklet><label>x</label></desklet>
      <timers><timer name="tick" type="0" interval="5" ontimer="ticks++"/></timers>
      <layers><layer name="p" src="!BLANKSPACE" x="10" y="20" width="100" height="50"/>
              <layer name="show" src="one" x="0" y="0"/>
              <layer name="go" src="!BLANKSPACE" width="10" height="10"
                     onclick="Layers('p').Slide('0,0,0,50', '0,0,100,50', '0,0,20,0', 5); during = ticks"/></layers>
      </skindata>)");
    Run("var ticks = 0, done = 0, during = -1");
    TestHost::Get().Reset();
    TestHost::Get().DeskletOf(kWindow).instance = instance_;
  }
  void Run(const std::string& statement) { D().scripting.scriptEngine->ExecuteStatement(statement); }
  std::string Eval(const std::string& expression) { return D().scripting.scriptEngine->EvaluateToText(expression); }
  vorel::TLayerObject& L(const std::string& name) { return *D().FindLayerByName(name); }
  // Acts as the window thread until `done` is true; false after 5 s.
  bool PumpUntil(const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + 5s;
    while (!done()) {
      if (std::chrono::steady_clock::now() > end) return false;
      TestHost::Get().DeliverPosted();
      std::this_thread::sleep_for(1ms);
    }
    return true;
  }
  std::vector<std::string> Clips(const std::string& name) {
    std::vector<std::string> out;
    for (const auto& call : LayerCalls("DeskletLayerSetImageClipRect", L(name).Id)) out.push_back(call.args[3]);
    return out;
  }
  vorel::TSlideRequest Request(std::array<int32_t, 4> start, std::array<int32_t, 4> end,
                               std::array<int32_t, 4> step, int32_t loop = 1) {
    return {start, end, step, 1, loop, true, "done++"};
  }
};

TEST_F(LayerAnimationTest, ASlideShowsElevenFramesThenRunsItsCallback) {
  Run("Timers('tick').StopTimer()");
  vorel::StartLayerSlide(D(), L("p"), Request({0, 0, 0, 50}, {0, 0, 100, 50}, {0, 0, 10, 0}));
  ASSERT_TRUE(PumpUntil([&] { return Eval("done") == "1"; }));
  const auto clips = Clips("p");
  ASSERT_EQ(clips.size(), 11u);
  EXPECT_EQ(clips.front(), "0,0,0,50");
  EXPECT_EQ(clips[5], "0,0,50,50");
  EXPECT_EQ(clips.back(), "0,0,100,50");
  const auto places = LayerCalls("DeskletLayerSetPlacement", L("p").Id);
  ASSERT_EQ(places.size(), 11u);
  EXPECT_EQ(places.back().args[3], "10,20,110,70");
  EXPECT_EQ(places.back().args[4], "200");
  EXPECT_EQ(L("p").Width, 100);
  EXPECT_EQ(L("p").ClipSource, (std::array<int32_t, 4>{0, 0, 100, 50}));
  EXPECT_TRUE(D().animations.slides.empty());
  std::this_thread::sleep_for(20ms);
  TestHost::Get().DeliverPosted();
  EXPECT_EQ(Eval("done"), "1") << "ended once";
}

TEST_F(LayerAnimationTest, AShrinkingSlideStaysAnchoredAtTheRight) {
  vorel::StartLayerSlide(D(), L("p"), Request({0, 0, 100, 50}, {0, 0, 60, 50}, {0, 0, -20, 0}));
  ASSERT_TRUE(PumpUntil([&] { return Eval("done") == "1"; }));
  const auto places = LayerCalls("DeskletLayerSetPlacement", L("p").Id);
  ASSERT_EQ(places.size(), 3u);
  EXPECT_EQ(places[0].args[3], "10,20,110,70");
  EXPECT_EQ(places[1].args[3], "30,20,110,70");
  EXPECT_EQ(places[2].args[3], "50,20,110,70");
}

TEST_F(LayerAnimationTest, InvalidCoursesEndAtOnceWithTheCallback) {
  for (const auto& bad : {Request({0, 0, 0, 50}, {0, 0, 100, 50}, {0, 0, 0, 0}),
                          Request({0, 0, 100, 50}, {0, 0, 0, 50}, {0, 0, 10, 0}),
                          Request({0, 0, 0, 50}, {0, 0, 100, 50}, {0, 0, -10, 0})})
    vorel::StartLayerSlide(D(), L("p"), bad);
  EXPECT_EQ(Eval("done"), "3");
  EXPECT_TRUE(Clips("p").empty());
  EXPECT_TRUE(D().animations.slides.empty());
}

TEST_F(LayerAnimationTest, SlidesLoopTheirPasses) {
  Run("Timers('tick').StopTimer()");
  vorel::StartLayerSlide(D(), L("p"), Request({0, 0, 0, 50}, {0, 0, 100, 50}, {0, 0, 50, 0}, 2));
  ASSERT_TRUE(PumpUntil([&] { return Eval("done") == "1"; }));
  EXPECT_THAT(Clips("p"), testing::ElementsAre("0,0,0,50", "0,0,50,50", "0,0,100,50", "0,0,0,50", "0,0,50,50",
                                               "0,0,100,50"));

  // For ever, until the layer goes.
  TestHost::Get().Reset();
  TestHost::Get().DeskletOf(kWindow).instance = instance_;
  vorel::StartLayerSlide(D(), L("p"), Request({0, 0, 0, 50}, {0, 0, 100, 50}, {0, 0, 50, 0}, -1));
  ASSERT_TRUE(PumpUntil([&] { return Clips("p").size() >= 10; }));
  EXPECT_EQ(Eval("done"), "1");
  Run("Layers.Delete('p')");
  ASSERT_TRUE(PumpUntil([&] { return D().animations.slides.empty(); }));
  EXPECT_EQ(Eval("done"), "2") << "a slide whose layer went ends with its callback";
}

TEST_F(LayerAnimationTest, ASynchronousSlideInAClickKeepsOtherMessagesFlowing) {
  ASSERT_TRUE(PumpUntil([&] { return std::stoi(Eval("ticks")) >= 1; }));
  D().settings.keyPressAnim = 0;
  const int before = std::stoi(Eval("ticks"));
  KivPoint pt{1, 1};
  KivSize size{10, 10};
  const uint32_t go = L("go").Id;
  OnLayerMouseOn(instance_, go, "go", &pt, &size);
  OnLayerMouseDown(instance_, go, "go", &pt, &size, 1);
  OnLayerMouseUp(instance_, go, "go", &pt, &size, 1);
  // The click returned only after the six frames; timer statements ran
  // meanwhile, inside it.
  EXPECT_EQ(Clips("p").size(), 6u);
  EXPECT_GT(std::stoi(Eval("during")), before);
  EXPECT_TRUE(D().animations.slides.empty());
}

TEST_F(LayerAnimationTest, TheHostsEndWaitMessageEndsAWaitButNotTheSlide) {
  Run("Timers('tick').StopTimer()");
  win::PostMessage(kWindow, kHostEndWaitMessage, kHostCloseDesklet, 0);
  vorel::TSlideRequest forever = Request({0, 0, 0, 50}, {0, 0, 100, 50}, {0, 0, 50, 0}, -1);
  forever.async = false;
  vorel::StartLayerSlide(D(), L("p"), forever);  // returns: the host wants the desklet closed
  EXPECT_THAT(TestHost::Get().CallsOf("WinSendMessage").size(), 1u);
  ASSERT_EQ(D().animations.slides.size(), 1u);
  EXPECT_TRUE(D().animations.slides.begin()->second->Async) << "left to end by itself";
  const size_t shown = Clips("p").size();
  ASSERT_TRUE(PumpUntil([&] { return Clips("p").size() > shown + 2; }));
}

TEST_F(LayerAnimationTest, ASlideShowPlaysItsPassesAndEnds) {
  Run("Timers('tick').StopTimer()");
  vorel::StartLayerSlideShow(D(), L("show"), {"one|two", 1, 2, true, "done++"});
  // The source after the start and after each step; every message is
  // handed over here, so that no step goes unseen.
  std::vector<std::string> seen{L("show").Src};
  const auto end = std::chrono::steady_clock::now() + 5s;
  while (Eval("done") != "1" && std::chrono::steady_clock::now() < end) {
    WinMsg message{};
    while (TestHost::Get().PopMessage(message)) {
      win::DispatchMessage(message);
      if (message.message == vorel::MSG_SLIDESHOW_STEP) seen.push_back(L("show").Src);
    }
    std::this_thread::sleep_for(1ms);
  }
  ASSERT_EQ(Eval("done"), "1");
  EXPECT_THAT(seen, testing::ElementsAre("one", "two", "one", "two", "two"));
  EXPECT_EQ(LayerCalls("DeskletLayerSetImage", L("show").Id).size(), 4u);
  EXPECT_TRUE(D().animations.shows.empty());

  TestHost::Get().Reset();
  TestHost::Get().DeskletOf(kWindow).instance = instance_;
  vorel::StartLayerSlideShow(D(), L("show"), {"one", 1, 2, true, "done++"});
  vorel::StartLayerSlideShow(D(), L("show"), {"", 1, 2, true, "done++"});
  vorel::StartLayerSlideShow(D(), L("show"), {"one|two", 1, 0, false, "done++"});
  EXPECT_EQ(Eval("done"), "2") << "a list without \"|\" does nothing; a loop of 0 ends at once";
  EXPECT_TRUE(LayerCalls("DeskletLayerSetImage", L("show").Id).empty());
  EXPECT_TRUE(D().animations.shows.empty());
}

}  // namespace
}  // namespace fliptest
