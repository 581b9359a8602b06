// The pixels a skin may ask for: one layer's image, all the layers of a
// desklet together, and the desklet's window; what is refused is refused
// before it is drawn, with the reason in the error log, and the desklet
// goes on.
#include "vorel/runtime/pixel_limits.h"

#include <gmock/gmock.h>

#include "tests/vorel/render/render_fixture.h"
#include "vorel/model/script_engine.h"
#include "vorel/runtime/render_layer.h"

using testhost::TestHost;
using vorel::kMaxDeskletPixels;
using vorel::kMaxLayerPixels;
using vorel::kMaxWindowPixels;
using vorel::TLayerObject;

namespace rendertest {
namespace {

class PixelLimitsTest : public DeskletFixture {
 protected:
  TLayerObject& NewLayer(const std::string& name, int imageWidth, int imageHeight) {
    D().layers.push_back(std::make_unique<TLayerObject>());
    TLayerObject& l = *D().layers.back();
    l.Name = name;
    l.ImageWidth = static_cast<int16_t>(imageWidth);
    l.ImageHeight = static_cast<int16_t>(imageHeight);
    return l;
  }
  std::string Log() {
    std::string all;
    for (const auto& line : D().errorLog.Lines()) all += line + "\n";
    return all;
  }
};

TEST_F(PixelLimitsTest, OneLayerUpToItsLimit) {
  LoadSkin("<skindata><skininfo><name>P</name></skininfo></skindata>");
  TLayerObject& l = NewLayer("big", 0, 0);
  EXPECT_FALSE(vorel::PixelLimitProblem(D(), l, 4096, 4096));
  EXPECT_FALSE(vorel::PixelLimitProblem(D(), l, kMaxLayerPixels, 1));
  const auto problem = vorel::PixelLimitProblem(D(), l, kMaxLayerPixels + 1, 1);
  ASSERT_TRUE(problem);
  EXPECT_THAT(*problem, testing::HasSubstr("\"big\""));
  EXPECT_THAT(*problem, testing::HasSubstr(std::to_string(kMaxLayerPixels)));
  EXPECT_TRUE(vorel::PixelLimitProblem(D(), l, 32767, 32767));
}

TEST_F(PixelLimitsTest, TheDeskletCountsEveryOtherLayerButNotTheOneRedrawn) {
  LoadSkin("<skindata><skininfo><name>P</name></skininfo></skindata>");
  // Three full layers and one of the same size about to be redrawn: its
  // old image gives way to the new one.
  for (const char* name : {"a", "b", "c"}) NewLayer(name, 4096, 4096);
  TLayerObject& d = NewLayer("d", 4096, 4096);
  ASSERT_EQ(4 * kMaxLayerPixels, kMaxDeskletPixels);
  EXPECT_FALSE(vorel::PixelLimitProblem(D(), d, 4096, 4096));
  TLayerObject& e = NewLayer("e", 0, 0);
  const auto problem = vorel::PixelLimitProblem(D(), e, 1, 1);
  ASSERT_TRUE(problem);
  EXPECT_THAT(*problem, testing::HasSubstr("a desklet may have"));
}

TEST_F(PixelLimitsTest, AHugeLayerIsRefusedBeforeItIsDrawnAndTheOthersAreDrawn) {
  LoadSkin(R"(<skindata><skininfo><name>P</name></skininfo>
    <sides><side id="0" width="100" height="100"/></sides>
    <layers>
      <layer name="huge" src="!TXT:huge" width="30000" height="30000"/>
      <layer name="fine" src="!TXT:fine" width="40" height="20"/>
    </layers></skindata>)");
  EXPECT_THAT(Log(), testing::HasSubstr("the layer \"huge\" asks for an image of 30000 by 30000 pixels"));
  const auto& layers = D().layers;
  ASSERT_EQ(layers.size(), 2u);
  EXPECT_EQ(layers[0]->ImageWidth, 0) << "no image was made for the huge layer";
  EXPECT_EQ(layers[1]->ImageWidth, 40);
  EXPECT_EQ(layers[1]->ImageHeight, 20);
}

TEST_F(PixelLimitsTest, AnAutoSizedLayerIsMeasuredByItsPicture) {
  WritePng("wide.png", 8000, 2100, 0xFF00FF00);  // 16.8 million pixels
  WritePng("fits.png", 4000, 2000, 0xFF00FF00);
  LoadSkin(R"(<skindata><skininfo><name>P</name></skininfo>
    <sides><side id="0" width="100" height="100"/></sides>
    <layers>
      <layer name="wide" src="wide.png"/>
      <layer name="fits" src="fits.png"/>
    </layers></skindata>)");
  EXPECT_THAT(Log(), testing::HasSubstr("the layer \"wide\" asks for an image of 8000 by 2100 pixels"));
  EXPECT_THAT(Log(), testing::Not(testing::HasSubstr("\"fits\"")));
  EXPECT_EQ(D().layers[0]->ImageWidth, 0);
  EXPECT_EQ(D().layers[1]->ImageWidth, 4000);
}

TEST_F(PixelLimitsTest, AHugeSideIsShrunkWithItsShapeKept) {
  LoadSkin(R"(<skindata><skininfo><name>P</name></skininfo>
    <sides><side id="0" width="30000" height="15000"/><side id="1" width="4096" height="4096"/></sides>
    </skindata>)");
  EXPECT_THAT(Log(), testing::HasSubstr("a desklet of 30000 by 15000 pixels is more than the"));
  const auto& sides = D().sideState.sides;
  ASSERT_EQ(sides.size(), 2u);
  EXPECT_LE(int64_t{sides[0].Width} * sides[0].Height, kMaxWindowPixels);
  EXPECT_GT(int64_t{sides[0].Width} * sides[0].Height, kMaxWindowPixels * 99 / 100);
  EXPECT_EQ(sides[0].Width / 2, sides[0].Height);
  EXPECT_EQ(sides[1].Width, 4096u) << "a side at the limit stays as it is";
  EXPECT_THAT(Log(), testing::Not(testing::HasSubstr("side 1")));
}

TEST_F(PixelLimitsTest, ScriptsCannotSizeTheWindowBeyondTheLimit) {
  LoadSkin(R"(<skindata><skininfo><name>P</name></skininfo>
    <sides><side id="0" width="100" height="100"/></sides><desklet><label>x</label></desklet></skindata>)");
  auto& engine = *D().scripting.scriptEngine;
  engine.ExecuteStatement("kiv.DeskletWidth = 4096; kiv.DeskletHeight = 4096;");
  EXPECT_EQ(TestHost::Get().DeskletOf(kWindow).size.cx, 4096);
  EXPECT_EQ(TestHost::Get().DeskletOf(kWindow).size.cy, 4096);
  EXPECT_ANY_THROW(engine.ExecuteStatement("kiv.DeskletWidth = 30000;"));
  EXPECT_THAT(Log(), testing::HasSubstr("a desklet of 30000 by 4096 pixels"));
  EXPECT_EQ(TestHost::Get().DeskletOf(kWindow).size.cx, 4096) << "the window keeps its size";
}

}  // namespace
}  // namespace rendertest
