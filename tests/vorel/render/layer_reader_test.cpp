// Reading a skin's layers: records, host layers, names, sides, hit testing
// and the error guard around each layer element.
#include "vorel/load/layer_reader.h"

#include "vorel/load/skin_loader.h"

#include "tests/vorel/render/render_fixture.h"

using testhost::TestHost;

namespace rendertest {
namespace {

std::string Skin(const std::string& layers) {
  return R"(<skindata><sides><side id="0" width="100" height="80"/><side id="1" width="100" height="80"/></sides>)" +
         layers + "</skindata>";
}

class LayerReaderTest : public DeskletFixture {
 protected:
  vorel::TLayerObject* Layer(const std::string& name) { return D().FindLayerByName(name); }
  std::vector<std::string> HostLayerNames() {
    std::vector<std::string> names;
    for (const auto& l : TestHost::Get().DeskletOf(kWindow).layers) names.push_back(l.name);
    return names;
  }
};

TEST_F(LayerReaderTest, TextAttributeBecomesATextSource) {
  LoadSkin(Skin(R"(<layers>
      <layer name="a" text="  Hello "/>
      <layer name="b" text="!BLANKSPACE"/>
      <layer name="c" src="pic" text="ignored"/>
    </layers>)"));
  ASSERT_TRUE(Layer("a") && Layer("b") && Layer("c"));
  EXPECT_EQ(Layer("a")->Src, "!TXT:Hello");
  EXPECT_EQ(Layer("b")->Src, "!BLANKSPACE");
  EXPECT_EQ(Layer("c")->Src, "pic");
}

TEST_F(LayerReaderTest, AttributesWithDefaultsAndExpansion) {
  LoadSkin(R"(<skindata><parameters><param name="Size" default="14"/></parameters>
    <sides><side id="0" width="100" height="80"/></sides>
    <layers><layer name="a" text="x" fontsize="%Size%" fontstyle="BI" fontcolor="#0080FF" fontalign="CM"
                   mousecursor="crHandPoint" imagecolor="clRed" clipsource="1,2,3" data="d=%Size%"/>
            <layer name="b" text="x" fontstyle="BI" fontaa="0" fontcolor="red" mousecursor="nonsense" width="5"/>
    </layers></skindata>)");
  const vorel::TLayerObject* a = Layer("a");
  ASSERT_TRUE(a);
  EXPECT_EQ(a->FontSize, 14);
  EXPECT_EQ(a->FontStyle, 19);
  EXPECT_EQ(a->FontColor, 0xFF8000u);
  EXPECT_EQ(a->FontAlign, 18);
  EXPECT_EQ(a->Cursor, 65515);
  EXPECT_EQ(a->ImageColor, 255u);
  EXPECT_EQ(a->Data, "d=14");
  EXPECT_EQ(a->FontName, "Arial");
  EXPECT_EQ(a->Alpha, 255);
  EXPECT_TRUE(a->Has(vorel::Scale));
  EXPECT_TRUE(a->Has(vorel::Visible));
  EXPECT_EQ(a->ClipSource, (std::array<int32_t, 4>{0, 0, 0, 0}));
  const vorel::TLayerObject* b = Layer("b");
  ASSERT_TRUE(b);
  EXPECT_EQ(b->FontStyle, 3);
  EXPECT_EQ(b->FontColor, 0u);
  EXPECT_EQ(b->Cursor, vorel::kNoCursor);
  EXPECT_EQ(b->FontAlign, 9);
  EXPECT_EQ(b->ImageColor, vorel::kNoImageColor);
}

TEST_F(LayerReaderTest, UnnamedLayersAreNumberedPerLoadWithTheirSide) {
  LoadSkin(Skin(R"(<layers side="1"><layer text="a"/><layer text="b" side="0"/></layers>)"));
  ASSERT_EQ(D().layers.size(), 2u);
  EXPECT_EQ(D().layers[0]->Name, "LID-1-1");
  EXPECT_EQ(D().layers[1]->Name, "LID-2-0");
  EXPECT_EQ(D().layers[0]->LayerSide, 1);
}

TEST_F(LayerReaderTest, AnOutOfRangeValueDropsOnlyThatLayer) {
  LoadSkin(Skin(R"(<layers><layer name="a" text="a"/><layer name="big" text="b" x="40000"/>
                   <layer name="c" text="c" alpha="256"/><layer name="d" text="d"/></layers>)"));
  EXPECT_TRUE(Layer("a"));
  EXPECT_FALSE(Layer("big"));
  EXPECT_FALSE(Layer("c"));
  EXPECT_TRUE(Layer("d"));
  // BG from OnCreate is not in this host's reset list; only the good ones.
  EXPECT_EQ(HostLayerNames(), (std::vector<std::string>{"a", "d"}));
}

TEST_F(LayerReaderTest, HitTestingClickThroughAndVisibility) {
  LoadSkin(Skin(R"(<layers>
      <layer name="ghost" text="g" alpha="0"/>
      <layer name="spot" src="!HITSPOT" width="10" height="10"/>
      <layer name="through" text="t" clickable="0"/>
      <layer name="hidden" text="h" visible="false"/>
      <layer name="broken" text="b" visible="hidden"/>
      <layer name="no" text="n" visible="no"/>
    </layers>)"));
  for (const char* name : {"ghost", "spot"}) {
    ASSERT_TRUE(Layer(name)) << name;
    EXPECT_TRUE(Layer(name)->Has(vorel::FullHitTest)) << name;
    EXPECT_EQ(LayerCalls("DeskletLayerSetNoAlphaBlendedHitTesting", Layer(name)->Id).size(), 1u) << name;
  }
  EXPECT_FALSE(Layer("through")->Has(vorel::FullHitTest));
  ASSERT_EQ(LayerCalls("DeskletLayerSetIsClickThrough", Layer("through")->Id).size(), 1u);

  const auto hidden = LayerCalls("DeskletLayerSetVisibility", Layer("hidden")->Id);
  ASSERT_EQ(hidden.size(), 1u);
  EXPECT_EQ(hidden[0].args[2], "0");
  EXPECT_EQ(LayerCalls("DeskletLayerSetVisibility", Layer("no")->Id).at(0).args[2], "0");
  // Not a boolean: the host layer and record stay, nothing is drawn.
  ASSERT_TRUE(Layer("broken"));
  EXPECT_TRUE(LayerCalls("DeskletLayerSetVisibility", Layer("broken")->Id).empty());
  EXPECT_NE(LayerCalls("DeskletLayerSetVisibility", Layer("ghost")->Id).at(0).args[2], "0");
}

TEST_F(LayerReaderTest, OnlyLayersOfTheActiveSideAreShown) {
  LoadSkin(Skin(R"(<layers><layer name="front" text="f"/></layers><layers side="1"><layer name="back" text="b"/></layers>)"));
  EXPECT_NE(LayerCalls("DeskletLayerSetVisibility", Layer("front")->Id).at(0).args[2], "0");
  EXPECT_EQ(LayerCalls("DeskletLayerSetVisibility", Layer("back")->Id).at(0).args[2], "0");
  // Placement is given against the size of the layer's side.
  const auto placement = LayerCalls("DeskletLayerSetPlacement", Layer("back")->Id).at(0);
  EXPECT_EQ(placement.args[4], "100");
  EXPECT_EQ(placement.args[5], "80");
}

TEST_F(LayerReaderTest, ChildLayersAreReadInOrder) {
  LoadSkin(Skin(R"(<layers><layer name="p" width="40" height="20">
      <layer src="!TXT:one" x="2" fontsize="30000"/>
      <layer name="named" src="icon" fontcolor="clWhite" fontaa="0" fontstyle="U"/>
    </layer></layers>)"));
  const vorel::TLayerObject* p = Layer("p");
  ASSERT_TRUE(p);
  ASSERT_EQ(p->Children.size(), 2u);
  EXPECT_EQ(p->Children[0].Name, "0");
  EXPECT_EQ(p->Children[0].X, 2);
  EXPECT_EQ(p->Children[1].Name, "named");
  EXPECT_EQ(p->Children[1].FontColor, 0xFFFFFFu);
  EXPECT_EQ(p->Children[1].FontStyle, 4);
  EXPECT_EQ(p->Children[0].FontStyle, 16);
}

TEST_F(LayerReaderTest, AReloadKeepsExistingLayers) {
  const std::string skin = Skin(R"(<layers><layer name="a" text="a"/><layer text="auto"/></layers>)");
  LoadSkin(skin);
  ASSERT_EQ(D().layers.size(), 2u);
  vorel::TLayerObject* first = Layer("a");
  vorel::LoadSkin(D(), dir_.Path() + "skin/skin.xml", false, false);
  EXPECT_EQ(Layer("a"), first);
  // The automatic name repeats on the reload and is skipped like a named one.
  EXPECT_EQ(D().layers.size(), 2u);
  EXPECT_EQ(HostLayerNames(), (std::vector<std::string>{"a", "LID-2-0"}));
}

TEST_F(LayerReaderTest, AGroupSideOutOfRangeFailsTheLoad) {
  LoadSkin(Skin(R"(<layers side="256"><layer name="a" text="a"/></layers>)"));
  EXPECT_FALSE(Layer("a"));
  auto images = TestHost::Get().CallsOf("DeskletSetImageFile");
  ASSERT_FALSE(images.empty());
  EXPECT_EQ(images.back().args[1], "Default.png");
}

}  // namespace
}  // namespace rendertest
