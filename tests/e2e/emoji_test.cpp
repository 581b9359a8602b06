// Colour emoji in a skin's text: the pinned fonts include Noto Color Emoji,
// so an emoji in a text layer draws in colour, not as an empty box or a
// glyph in the text's own colour.
#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "kivhost_run.h"

namespace e2e {
namespace {

using testing_support::TempDir;
using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;

// The largest spread between the red, green and blue of any mostly opaque
// pixel, taken on straight (not premultiplied) colour: 0 for black, white
// and greys, large for a coloured pixel.
int LargestColourSpread(cairo_surface_t* s) {
  const int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
  int largest = 0;
  for (int y = 0; y < h; ++y) {
    auto* row = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s));
    for (int x = 0; x < w; ++x) {
      const int a = static_cast<int>(row[x] >> 24);
      if (a < 192) continue;
      const int r = static_cast<int>((row[x] >> 16) & 0xFF) * 255 / a;
      const int g = static_cast<int>((row[x] >> 8) & 0xFF) * 255 / a;
      const int b = static_cast<int>(row[x] & 0xFF) * 255 / a;
      largest = std::max(largest, std::max({r, g, b}) - std::min({r, g, b}));
    }
  }
  return largest;
}

TEST(Emoji, ATextLayerDrawsAnEmojiInColour) {
  TempDir dir;
  // Black text: whatever colour shows comes from the emoji font itself.
  dir.Write("emoji/emoji.xml", R"xml(<skindata><skininfo><name>Emoji</name></skininfo>
    <sides><side id="0" width="80" height="40"/></sides>
    <layers>
      <layer name="smile" text="&#x1F600;" x="0" y="0" width="80" height="40" fontsize="24" fontcolor="#000000" fontaa="0"/>
    </layers></skindata>)xml");
  auto r = RunHost({"--headless", "--snapshot", dir.File("emoji.png"), dir.File("emoji/emoji.xml")}, dir);
  ASSERT_EQ(r.exitCode, 0) << r.errors;
  Surface got(cairo_image_surface_create_from_png(dir.File("emoji.png").c_str()), cairo_surface_destroy);
  ASSERT_EQ(cairo_surface_status(got.get()), CAIRO_STATUS_SUCCESS);
  EXPECT_GE(LargestColourSpread(got.get()), 100);
}

}  // namespace
}  // namespace e2e
