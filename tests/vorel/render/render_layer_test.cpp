// RenderLayer and RenderLayerSource: the drawn forms, sizing and scaling,
// looks and highlight, and the host calls they make.
#include "vorel/runtime/render_layer.h"

#include <gmock/gmock.h>

#include "platform/gdiplus/graphics.h"
#include "tests/vorel/render/render_fixture.h"
#include "vorel/runtime/layer_source.h"

using testhost::TestHost;
using vorel::TLayerObject;
using vorel::TLook;

namespace rendertest {
namespace {

class RenderTest : public DeskletFixture {
 protected:
  TLayerObject& NewLayer(const std::string& src, int w = 0, int h = 0) {
    D().layers.push_back(std::make_unique<TLayerObject>());
    TLayerObject& l = *D().layers.back();
    l.Id = 7;
    l.Src = src;
    l.Width = static_cast<int16_t>(w);
    l.Height = static_cast<int16_t>(h);
    l.Set(vorel::Visible, true);
    l.Set(vorel::Scale, true);
    l.Set(vorel::AutoSize, w == 0 && h == 0);
    return l;
  }
  std::unique_ptr<gdiplus::Bitmap> Source(TLayerObject& l, const std::string& src) {
    return vorel::RenderLayerSource(D(), l, src);
  }
  std::vector<std::string> CallNames() {
    std::vector<std::string> names;
    for (const auto& c : TestHost::Get().Calls())
      if (c.fn.rfind("Desklet", 0) == 0) names.push_back(c.fn);
    return names;
  }
};

// The bounding box of pixels with any alpha.
struct Ink {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
};
Ink InkOf(const gdiplus::Bitmap& b) {
  Ink ink;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if ((b.GetPixel(x, y) >> 24) > 64) {
        ink.left = std::min(ink.left, x);
        ink.top = std::min(ink.top, y);
        ink.right = std::max(ink.right, x);
        ink.bottom = std::max(ink.bottom, y);
      }
  return ink;
}

TEST_F(RenderTest, ImageFileSizesAnAutoSizedLayer) {
  WritePng("a.png", 30, 20, 0xFF0000FF);
  TLayerObject& l = NewLayer("a");
  vorel::RenderLayer(D(), l, TLook::Normal, true, false);
  EXPECT_EQ(l.Width, 30);
  EXPECT_EQ(l.Height, 20);
  EXPECT_EQ(l.ImageWidth, 30);
  EXPECT_EQ(l.ImageHeight, 20);
  const auto placement = LayerCalls("DeskletLayerSetPlacement", 7).at(0);
  EXPECT_EQ(placement.args[3], "0,0,30,20");
  // The image library beside the plug-in turns the picture into a host image.
  EXPECT_THAT(CallNames(), testing::UnorderedElementsAre("DeskletLayerSetVisibility", "DeskletLayerSetPlacement",
                                                         "DeskletLayerSetAlpha", "DeskletLayerSetSaturation",
                                                         "DeskletLayerSetImage"));
}

TEST_F(RenderTest, ScalesIntoAFixedSizeUnlessClipped) {
  WritePng("wide.png", 200, 100, 0xFF00FF00);
  TLayerObject& l = NewLayer("wide", 50, 50);
  l.Set(vorel::ScaleProportional, true);
  l.Set(vorel::CenterSrc, true);
  vorel::RenderLayer(D(), l, TLook::Normal, false, true);
  EXPECT_EQ(l.Width, 50);
  EXPECT_EQ(l.ImageWidth, 50);
  EXPECT_EQ(l.ImageHeight, 50);
  EXPECT_TRUE(LayerCalls("DeskletLayerSetPlacement", 7).empty());
  ASSERT_EQ(TestHost::Get().CallsOf("DeskletInvalidateRect").size(), 1u);

  TestHost::Get().Reset();
  TLayerObject& c = NewLayer("wide", 50, 50);
  c.ClipSource = {0, 0, 20, 10};
  vorel::RenderLayer(D(), c, TLook::Normal, true, false);
  EXPECT_EQ(c.ImageWidth, 200) << "a clipped image is not scaled";
  const auto names = CallNames();
  const auto clip = std::find(names.begin(), names.end(), "DeskletLayerSetImageClipRect");
  ASSERT_NE(clip, names.end());
  EXPECT_EQ(*(clip - 1), "DeskletLockInvalidating");
  EXPECT_EQ(*(clip + 1), "DeskletUnlockInvalidating");
  EXPECT_EQ(LayerCalls("DeskletLayerSetImageClipRect", 7).at(0).args[4], "200");
}

TEST_F(RenderTest, MissingFilesGiveTransparentImagesOrNone) {
  TLayerObject& l = NewLayer("nothere", 12, 9);
  auto image = Source(l, "nothere");
  ASSERT_TRUE(image);
  EXPECT_EQ(image->Width(), 12);
  EXPECT_EQ(image->GetPixel(3, 3), 0u);
  EXPECT_EQ(Source(l, "!unknownmarker")->Width(), 12);
  EXPECT_EQ(Source(l, "nothere|mask"), nullptr) << "a masked image without its image keeps the old one";
  EXPECT_EQ(Source(l, "a>V"), nullptr) << "fewer than three parts";
  EXPECT_EQ(Source(l, "!BLANKSPACE")->Height(), 9);
}

TEST_F(RenderTest, BadPicturesAndFontsDrawEmptyOrFallBack) {
  dir_.Write("skin/corrupt.png", "\x89PNG\r\n\x1a\nnot really");
  dir_.Write("skin/empty.png", "");
  TLayerObject& l = NewLayer("corrupt", 8, 6);
  for (const char* name : {"corrupt", "empty.png"}) {
    auto image = Source(l, name);
    ASSERT_TRUE(image) << name;
    EXPECT_EQ(image->Width(), 8) << name;
    EXPECT_EQ(image->GetPixel(2, 2), 0u) << name;
  }
  TLayerObject& t = NewLayer("", 80, 24);
  t.FontName = "No Such Family At All";
  t.FontSize = 16;
  t.FontColor = 0xFFFFFF;
  t.FontStyle = 16;
  EXPECT_GE(InkOf(*Source(t, "!TXT:Fallback")).right, 0) << "the default family draws instead";
}

TEST_F(RenderTest, MaskedAndComposedImages) {
  WritePng("img.png", 4, 4, 0xFF336699);
  WritePng("black.png", 4, 4, 0xFF000000);
  WritePng("white.png", 4, 4, 0xFFFFFFFF);
  TLayerObject& l = NewLayer("x");
  EXPECT_EQ(Source(l, "img|black")->GetPixel(1, 1), 0xFF336699u) << "luminance 0 lies in 0..0";
  EXPECT_EQ(Source(l, "img|white")->GetPixel(1, 1), 0u);
  EXPECT_EQ(Source(l, "img|nomask")->GetPixel(1, 1), 0xFF336699u);
  auto strip = Source(l, "img>missing>white.png>V");
  ASSERT_TRUE(strip);
  EXPECT_EQ(strip->Width(), 4);
  EXPECT_EQ(strip->Height(), 8) << "missing files are dropped";
  EXPECT_EQ(Source(l, "img>white>H")->Width(), 8);
}

TEST_F(RenderTest, TextIsDrawnInsideTheLayerAndAligned) {
  TLayerObject& l = NewLayer("", 120, 30);
  l.FontSize = 16;
  l.FontColor = 0xFFFFFF;
  l.FontStyle = 16;
  l.FontAlign = 9;
  const Ink left = InkOf(*Source(l, "!TXT:Hi"));
  l.FontAlign = 4 | 8;
  const Ink right = InkOf(*Source(l, "!TXT:Hi"));
  l.FontAlign = 2 | 8;
  const Ink centre = InkOf(*Source(l, "!TXT:Hi"));
  ASSERT_GE(left.right, 0) << "some ink";
  EXPECT_LT(left.left, 10);
  EXPECT_GT(right.right, 110);
  EXPECT_GT(centre.left, left.left + 20);
  EXPECT_LT(centre.right, right.right - 20);
  l.FontAlign = 16;  // middle: starts at 30/2 - 16/2 = 7
  EXPECT_GE(InkOf(*Source(l, "!TXT:Hi")).top, 7);
  l.FontStyle = 0;  // plain drawing draws too
  EXPECT_GE(InkOf(*Source(l, "!TXT:Hi")).right, 0);
}

TEST_F(RenderTest, TextBackgroundsAndTextResize) {
  WritePng("bg.png", 64, 20, 0xFF202020);
  TLayerObject& l = NewLayer("", 10, 10);
  l.FontColor = 0xFFFFFF;
  auto image = Source(l, "!TXT:a|b|bg");
  ASSERT_TRUE(image);
  EXPECT_EQ(image->Width(), 64);
  EXPECT_EQ(l.Width, 64) << "the background gives the layer its size";
  EXPECT_THROW(Source(l, "!TXT:a|nobg"), std::exception);

  TLayerObject& r = NewLayer("", 5, 5);
  r.FontSize = 20;
  r.Set(vorel::TextResize, true);
  auto grown = Source(r, "!TXT:A wide text");
  EXPECT_GT(grown->Width(), 60);
  EXPECT_GT(grown->Height(), 15);
}

TEST_F(RenderTest, LooksChooseTheSourceAndHighlight) {
  WritePng("n.png", 10, 10, 0xFF0000FF);
  WritePng("p.png", 20, 20, 0xFF0000FF);
  TLayerObject& l = NewLayer("n");
  l.DSrc = "p";
  l.MSrc = "!HIGHLIGHT";
  vorel::RenderLayer(D(), l, TLook::Pressed, false, false);
  EXPECT_EQ(l.ImageWidth, 20);
  EXPECT_TRUE(LayerCalls("DeskletLayerSetSaturation", 7).empty()) << "only the normal look resets saturation";

  TestHost::Get().Reset();
  vorel::RenderLayer(D(), l, TLook::Hover, false, false);
  EXPECT_EQ(l.ImageWidth, 20) << "the image stays";
  EXPECT_EQ(CallNames(), std::vector<std::string>{"DeskletLayerSetSaturation"});
  EXPECT_EQ(LayerCalls("DeskletLayerSetSaturation", 7).at(0).args[2], "300");

  TestHost::Get().Reset();
  vorel::RenderLayer(D(), l, TLook::Normal, false, false);
  EXPECT_EQ(LayerCalls("DeskletLayerSetSaturation", 7).at(0).args[2], "100");
  EXPECT_EQ(l.ImageWidth, 10);

  l.Set(vorel::Down, true);
  vorel::RenderLayer(D(), l, TLook::Normal, false, false);
  EXPECT_EQ(l.ImageWidth, 20) << "a held-down layer shows its pressed image";

  TestHost::Get().Reset();
  TLayerObject& e = NewLayer("n");
  vorel::RenderLayer(D(), e, TLook::Hover, true, true);
  EXPECT_TRUE(CallNames().empty()) << "no hover source: nothing changes";
}

TEST_F(RenderTest, ChildLayersAreDrawnOntoTheParent) {
  WritePng("dot.png", 4, 4, 0xFFFF0000);
  TLayerObject& l = NewLayer("!BLANKSPACE", 40, 20);
  l.Children.resize(3);
  l.Children[0].Src = "dot";
  l.Children[0].X = 10;
  l.Children[0].Y = 5;
  l.Children[1].Src = "dot.png";
  l.Children[1].X = 30;
  l.Children[1].Width = 8;
  l.Children[1].Height = 8;
  l.Children[2].Src = "missing";
  auto image = Source(l, l.Src);
  vorel::DrawChildLayers(D(), l, image);
  EXPECT_EQ(image->GetPixel(11, 6), 0xFFFF0000u);
  EXPECT_EQ(image->GetPixel(9, 6), 0u);
  EXPECT_EQ(image->GetPixel(37, 7), 0xFFFF0000u) << "scaled to the child's size";

  TLayerObject& empty = NewLayer("", 16, 16);
  empty.Children.resize(1);
  empty.Children[0].Src = "!TXT:X";
  empty.Children[0].Width = 16;
  empty.Children[0].Height = 16;
  empty.Children[0].FontSize = 14;
  empty.Children[0].FontColor = 0xFFFFFF;
  std::unique_ptr<gdiplus::Bitmap> none;
  vorel::DrawChildLayers(D(), empty, none);
  ASSERT_TRUE(none) << "children make an image of the layer's size";
  EXPECT_GE(InkOf(*none).right, 0);
}

TEST_F(RenderTest, RecolourAndErrors) {
  WritePng("g.png", 6, 6, 0x80FFFFFF);
  TLayerObject& l = NewLayer("g");
  l.ImageColor = 0x00FF00;
  vorel::RenderLayer(D(), l, TLook::Normal, false, false);  // runs through without an image library
  TLayerObject& t = NewLayer("!TXT:x", 10, 10);
  t.FontColor = 0x80000001;  // negative, not a system colour
  EXPECT_THROW(vorel::RenderLayer(D(), t, TLook::Normal, false, false), std::exception);
  t.FontColor = 0xFF000005;  // system colour: fine
  EXPECT_NO_THROW(vorel::RenderLayer(D(), t, TLook::Normal, false, false));
}

}  // namespace
}  // namespace rendertest
