// The sample skins load whole: every layer element becomes a layer, no
// fallback picture, and their pictures are found.
#include <gtest/gtest.h>

#include "platform/xml/document.h"
#include "tests/vorel/render/render_fixture.h"
#include "vorel/load/skin_loader.h"

using testhost::TestHost;

namespace rendertest {
namespace {

class SampleSkinTest : public DeskletFixture, public ::testing::WithParamInterface<const char*> {};

TEST_P(SampleSkinTest, LoadsEveryLayer) {
  const std::string path = std::string(KIV_SOURCE_DIR) + "/skins/" + GetParam();
  xml::Document document;
  ASSERT_TRUE(document.Load(path));
  const size_t elements = document.SelectNodes("/skindata/layers/layer").size();

  vorel::LoadSkin(D(), path, true, false);
  EXPECT_TRUE(TestHost::Get().CallsOf("DeskletSetImageFile").empty()) << "no fallback picture";
  ASSERT_EQ(D().layers.size(), elements);
  for (const auto& layer : D().layers) {
    EXPECT_GT(layer->ImageWidth, 1) << layer->Name << " was drawn from a real picture or text";
    EXPECT_GT(layer->ImageHeight, 1) << layer->Name;
  }
}

INSTANTIATE_TEST_SUITE_P(Skins, SampleSkinTest, ::testing::Values("hello/hello.xml", "twosided/twosided.xml",
                                                                  "menus/menus.xml"));

}  // namespace
}  // namespace rendertest
