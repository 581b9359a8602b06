// The parameter and side objects with their collections: values that are
// only stored, lookups that miss, records that outlive their deletion, the
// side sizes that resize the shown desklet at its scale, Reset, and sides
// added and deleted with what lies on them.
#include <gmock/gmock.h>

#include "tests/support/test_host.h"
#include "tests/vorel/objects/object_fixture.h"
#include "vorel/model/desklet.h"

using testhost::TestHost;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace objecttest {
namespace {

class ParamSideTest : public ObjectFixture {
 protected:
  // The desklet without the other object tests' skin: this one has
  // parameters and side close points.
  void SetUp() override {
    rendertest::DeskletFixture::SetUp();
    LoadSkin(R"(<skindata><skininfo><name>Objects</name></skininfo>
        <parameters><param name="City" default="Oslo" save="1" onupdate="ran = 1"/>
          <param name="Unit" default="C" save="0" onupdate=""/><param name="Wind" default="4" save="1" onupdate=""/>
        </parameters>
        <sides><side id="0" width="100" height="50" closex="90" closey="5"/><side id="1" width="60" height="60"/></sides>
        <desklet><label>Objects</label></desklet>
        <layers><layer name="a" text="%City%" width="40" height="10"/><layer name="d" text="x" side="1"/></layers>
      </skindata>)");
    ASSERT_TRUE(D().scripting.scriptEngine);
    ForgetCalls();
  }
  std::vector<std::string> Moves() {
    std::vector<std::string> rects;
    for (const testhost::Call& call : TestHost::Get().CallsOf("DeskletMove")) rects.push_back(call.args[1]);
    return rects;
  }
};

TEST_F(ParamSideTest, ParameterValuesAreStoredOnlyAndSeenByTheNextExpansion) {
  EXPECT_EQ(Eval("Parameters.Count"), "3");
  EXPECT_EQ(Eval("Parameters('City').Value + Parameters(1).Name"), "OsloUnit");
  EXPECT_EQ(Eval("Parameters('City').Saveable + ',' + Parameters('Unit').Saveable"), "true,false");
  Run("Parameters('City').Value = 'Bergen'");
  EXPECT_EQ(Eval("typeof ran"), "undefined") << "setting the value runs no statement";
  EXPECT_EQ(CountOf("DeskletLayerSetImage"), 0u) << "and draws nothing";
  EXPECT_EQ(Eval("kiv.ConvertToValue('%City%')"), "Bergen");
  Run("var p = Parameters('Unit'); p.Saveable = true; p.Name = 'Units'; p.OnUpdate = 'u()'");
  EXPECT_EQ(D().parameters[1]->Name, "Units");
  EXPECT_TRUE(D().parameters[1]->Persist);
  EXPECT_EQ(D().parameters[1]->OnUpdate, "u()");
}

TEST_F(ParamSideTest, ParametersNewReusesANameAndRefusesEmptyText) {
  D().parameters[0]->Persist = true;
  EXPECT_EQ(Eval("Parameters.New('City', 'Rome', 'x()').Value"), "Rome");
  EXPECT_FALSE(D().parameters[0]->Persist) << "a parameter made by a script is not saved";
  EXPECT_EQ(D().parameters[0]->OnUpdate, "x()");
  EXPECT_EQ(Eval("Parameters.New('', 'v', '') == null"), "True");
  EXPECT_EQ(Eval("Parameters.New('Empty', '', '') == null"), "True");
  EXPECT_EQ(Eval("Parameters.New('city', 'lower', '').Name"), "city") << "names are exact";
  EXPECT_EQ(Eval("Parameters.Count"), "4");
  EXPECT_THAT(ErrorOf("Parameters.New('short')"), HasSubstr("Could not convert variant of type"));
}

TEST_F(ParamSideTest, ADeletedParameterLivesOnInObjectsMadeBefore) {
  Run("var held = Parameters('Wind')");
  EXPECT_EQ(Eval("Parameters.Delete('Wind')"), "True");
  EXPECT_EQ(Eval("Parameters.Delete('Wind')"), "False");
  EXPECT_EQ(Eval("Parameters('Wind') == null"), "True");
  EXPECT_EQ(Eval("held.Value"), "4");
  Run("held.Value = '5'");
  EXPECT_EQ(Eval("kiv.ConvertToValue('%Wind%')"), "%Wind%") << "no longer a variable";
  EXPECT_EQ(Eval("Parameters.Delete(0)"), "True");
  EXPECT_EQ(Eval("Parameters(0).Name"), "Unit");
  EXPECT_THAT(ErrorOf("Parameters(-1)"), HasSubstr("List index out of bounds (-1)"));
}

TEST_F(ParamSideTest, EnumeratingWhileDeletingReadsTheCountAtEveryStep) {
  EXPECT_EQ(Eval("var seen = ''; for (var e = new Enumerator(Parameters); !e.atEnd(); e.moveNext()) {"
                 " seen += e.item().Name; Parameters.Delete(0); } seen"),
            "CityWind");
  EXPECT_EQ(Eval("Parameters.Count"), "1");
}

TEST_F(ParamSideTest, SidesAreLookedUpByPositionOnly) {
  EXPECT_EQ(Eval("Sides.Count"), "2");
  EXPECT_EQ(Eval("Sides(1).ID + ':' + Sides(1).Width + 'x' + Sides(0).Height + '@' + Sides(0).CloseX"), "1:60x50@90");
  EXPECT_EQ(Eval("Sides(7) == null"), "True");
  EXPECT_EQ(Eval("Sides('1').ID"), "1") << "a text is read as a number";
  EXPECT_THAT(ErrorOf("Sides(-1)"), HasSubstr("Range check error"));
  EXPECT_THAT(ErrorOf("Sides(256)"), testing::IsEmpty()) << "beyond the count: nothing, before the range";
  EXPECT_THAT(ErrorOf("Sides(0).CloseX = -1"), HasSubstr("Range check error"));
  EXPECT_EQ(D().sideState.sides[0].CloseX, 90u);
  D().sideState.sides[0].CloseY = 0x80000000u;
  EXPECT_THAT(ErrorOf("Sides(0).CloseY"), HasSubstr("Range check error"));
}

TEST_F(ParamSideTest, ASideThatIsNotShownOnlyChangesItsRecord) {
  Run("Sides(1).Width = 80; Sides(1).CloseY = 3; Sides(1).Reset()");
  EXPECT_EQ(D().sideState.sides[1].Width, 80u);
  EXPECT_EQ(D().sideState.sides[1].CloseY, 3u);
  EXPECT_TRUE(Moves().empty());
  EXPECT_EQ(CountOf("DeskletSetClosePoint"), 0u);
}

TEST_F(ParamSideTest, TheShownSideKeepsTheScaleItIsDrawnAt) {
  TestHost::Get().DeskletOf(kWindow).rect = {10, 20, 160, 95};
  TestHost::Get().DeskletOf(kWindow).size = {150, 75};  // 150 %
  Run("Sides(0).Width = 200");
  EXPECT_THAT(Moves(), ElementsAre("10,20,310,95"));
  EXPECT_GT(CountOf("DeskletSetImage") + CountOf("DeskletLayerSetImage"), 0u) << "the layers are drawn again";
  EXPECT_EQ(CountOf("DeskletRedraw"), 1u);
  EXPECT_THAT(ErrorOf("Sides(0).Height = -2"), HasSubstr("Range check error"));
  EXPECT_EQ(D().sideState.sides[0].Height, 50u);
}

TEST_F(ParamSideTest, ResetAppliesWhatDiffersFromTheSideLastApplied) {
  Run("Sides(0).Reset()");
  EXPECT_TRUE(Moves().empty()) << "the record is what was applied";
  EXPECT_EQ(CountOf("DeskletSetClosePoint"), 0u);

  TestHost::Get().DeskletOf(kWindow).rect = {0, 0, 200, 100};
  TestHost::Get().DeskletOf(kWindow).size = {200, 100};  // 200 %
  D().sideState.sides[0].Width = 120;
  D().sideState.sides[0].CloseX = 110;
  Run("Sides(0).Reset()");
  EXPECT_THAT(Moves(), ElementsAre("0,0,240,100"));
  ASSERT_EQ(CountOf("DeskletSetClosePoint"), 1u);
  EXPECT_EQ(TestHost::Get().CallsOf("DeskletSetClosePoint")[0].args[1], "110,5");
  EXPECT_EQ(D().sideState.currentSide, D().sideState.sides[0]);
}

TEST_F(ParamSideTest, SidesAreAddedAndDeletedWithWhatLiesOnThem) {
  EXPECT_EQ(Eval("Sides.New(0, 30, 40, 1, 2).ID"), "2");
  EXPECT_EQ(Eval("Sides.Count"), "3");
  EXPECT_THAT(ErrorOf("Sides.New(0, -1, 40, 1, 2)"), HasSubstr("Range check error"));
  EXPECT_EQ(Eval("Sides.Count"), "3");

  Run("var first = Sides(0)");
  EXPECT_EQ(Eval("Sides.Delete(0)"), "True");
  EXPECT_EQ(Eval("Sides.Delete(5)"), "False");
  EXPECT_EQ(Eval("Sides.Count"), "2");
  ASSERT_EQ(D().layers.size(), 1u) << "side 0's layer went with it";
  EXPECT_EQ(D().layers[0]->Name, "d");
  EXPECT_EQ(D().layers[0]->LayerSide, 1) << "a later side's layer keeps its number";
  EXPECT_EQ(D().layers[0]->Id, 0u) << "and the host's new number for it";
  EXPECT_EQ(Eval("Sides(1).Width"), "30");
  EXPECT_EQ(Eval("first.Width"), "60") << "a side object stands for its index";
  Run("Sides.Delete(1); Sides.Delete(0)");
  EXPECT_EQ(Eval("first.Width"), "0") << "no side there any more: nothing";
}

}  // namespace
}  // namespace objecttest
