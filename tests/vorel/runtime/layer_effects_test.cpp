// "!EFFECT:" statements against the recording host: fades step by step to
// their goal, slides driven by formulas, and the fields that do nothing or
// make the effect fail.
#include "vorel/runtime/layer_effects.h"

#include <gmock/gmock.h>

#include "platform/abi/plugin_api.h"
#include "tests/support/test_host.h"
#include "tests/vorel/render/render_fixture.h"
#include "vorel/model/script_engine.h"
#include "vorel/util/errors.h"

using testhost::TestHost;

namespace fliptest {
namespace {

class LayerEffectsTest : public rendertest::DeskletFixture {
 protected:
  void SetUp() override {
    DeskletFixture::SetUp();
    LoadSkin(R"(<skindata><skininfo><name>Effects</name></skininfo>
      <sides><side id="0" width="120" height="60"/></sides>
      <desklet><label>x</label></desklet>
      <layers><layer name="a" src="!BLANKSPACE" x="4" y="6" width="40" height="20" alpha="50"
                     onmouseenter="!EFFECT:SHOW,SELF,200,60,0,|entered = GetActiveLayer().Name"/>
              <layer name="b" src="!BLANKSPACE" width="30" height="10"/></layers>
      </skindata>)");
    D().scripting.scriptEngine->ExecuteStatement("var entered = ''");
    TestHost::Get().Reset();
    TestHost::Get().DeskletOf(kWindow).instance = instance_;
  }
  vorel::TLayerObject& L(const std::string& name) { return *D().FindLayerByName(name); }
  std::vector<std::string> Alphas(const std::string& name) {
    std::vector<std::string> out;
    for (const auto& call : LayerCalls("DeskletLayerSetAlpha", L(name).Id)) out.push_back(call.args[2]);
    return out;
  }
  void Effect(const std::string& statement, const std::string& on = "a") { vorel::RunEffect(D(), L(on), statement); }
};

TEST_F(LayerEffectsTest, AFadeStepsToItsGoalAndRecordsIt) {
  ASSERT_EQ(L("a").Alpha, 50);
  Effect("!EFFECT:SHOW,SELF,200,60");
  EXPECT_THAT(Alphas("a"), testing::ElementsAre("110", "170", "200"));
  EXPECT_EQ(L("a").Alpha, 200);
  const auto invalidations = TestHost::Get().CallsOf("DeskletInvalidateRect");
  ASSERT_EQ(invalidations.size(), 3u);
  EXPECT_EQ(invalidations[0].args[1], "4,6,44,26");

  TestHost::Get().Reset();
  Effect("!EFFECT:HIDE,a,200,60");
  Effect("!EFFECT:HIDE,a,255,1");
  Effect("!EFFECT:SHOW,a,100");
  EXPECT_TRUE(Alphas("a").empty()) << "nothing to do at or beyond the goal";
  Effect("!EFFECT:hide,self,0,90");
  EXPECT_THAT(Alphas("a"), testing::ElementsAre("110", "20", "0"));
  EXPECT_EQ(L("a").Alpha, 0);
  EXPECT_TRUE(L("a").Has(vorel::Visible)) << "a fade leaves visibility alone";
}

TEST_F(LayerEffectsTest, AFadeOfStepZeroGoesStraightToItsGoalAndDefaultsFillIn) {
  Effect("!EFFECT:SHOW,SELF,180,0");
  EXPECT_THAT(Alphas("a"), testing::ElementsAre("180"));
  TestHost::Get().Reset();
  Effect("!EFFECT:SHOW,b", "a");  // b is already at the default goal 255
  Effect("!EFFECT:SHOW");
  EXPECT_THAT(Alphas("a"), testing::ElementsAre("255"));
  EXPECT_TRUE(Alphas("b").empty());
}

TEST_F(LayerEffectsTest, BadFieldsFailAndUnknownEffectsDoNothing) {
  for (const char* bad : {"!EFFECT:SHOW,SELF,abc", "!EFFECT:SHOW,SELF,256", "!EFFECT:HIDE,SELF,0,-1",
                          "!EFFECT:SHOW,nobody,200", "!EFFECT:SHOW,SELF,200|x = 1"})
    EXPECT_THROW(Effect(bad), vorel::KivError) << bad;
  EXPECT_TRUE(Alphas("a").empty());
  Effect("!EFFECT:SPIN,SELF,200");
  Effect("!EFFECT:");
  Effect("!EFFECT:SLIDE,SELF,0,0,0,0,0,0,0,0,0,0,0");  // thirteen fields
  EXPECT_TRUE(TestHost::Get().Calls().empty());
}

TEST_F(LayerEffectsTest, AnEnterStatementFadesThenRunsItsStatementPart) {
  KivPoint pt{1, 1};
  KivSize size{40, 20};
  OnLayerMouseOn(instance_, L("a").Id, "a", &pt, &size);
  EXPECT_THAT(Alphas("a"), testing::ElementsAre("110", "170", "200"));
  EXPECT_EQ(D().scripting.scriptEngine->EvaluateToText("entered"), "a");
}

TEST_F(LayerEffectsTest, ASlideEvaluatesItsFormulasOverTheLayer) {
  // Reveal the layer from nothing to its full width in halves.
  Effect("!EFFECT:SLIDE,b,0,0,0,height,0,0,width,height,0,0,width/2,0,1", "a");
  const auto clips = LayerCalls("DeskletLayerSetImageClipRect", L("b").Id);
  ASSERT_EQ(clips.size(), 3u);
  EXPECT_EQ(clips[0].args[3], "0,0,0,10");
  EXPECT_EQ(clips[1].args[3], "0,0,15,10");
  EXPECT_EQ(clips[2].args[3], "0,0,30,10");
  EXPECT_TRUE(D().animations.slides.empty()) << "the effect waited for the end";
  EXPECT_THROW(Effect("!EFFECT:SLIDE,b,0,0,0,(height,0,0,width,height,0,0,1,0"), vorel::KivError);
  EXPECT_THROW(Effect("!EFFECT:SLIDE,b,0,0,0,depth,0,0,width,height,0,0,1,0"), vorel::KivError);
  EXPECT_THROW(Effect("!EFFECT:SLIDE,b,0,0,0,1e12,0,0,width,height,0,0,1,0"), vorel::KivError);
}

}  // namespace
}  // namespace fliptest
