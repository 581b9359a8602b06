// Loading image files: every common format written here on the spot, images
// without alpha, and files that are not images at all.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/gdiplus/bitmap.h"
#include "platform/gdiplus/pixel.h"
#include "support/temp_dir.h"
#include "test_images.h"

namespace gdiplus {
namespace {

using gdiplus_test::SaveWithPixbuf;
using gdiplus_test::WriteGif;
using testing_support::TempDir;

// Four opaque quadrants: red, green, blue, white.
uint32_t Quadrants(int x, int y, int w, int h) {
  const bool right = x >= w / 2;
  const bool bottom = y >= h / 2;
  if (!bottom) return right ? 0xFF00FF00u : 0xFFFF0000u;
  return right ? 0xFFFFFFFFu : 0xFF0000FFu;
}

bool Near(uint32_t actual, uint32_t expected, int tolerance) {
  for (int shift = 0; shift < 32; shift += 8) {
    const int a = static_cast<int>((actual >> shift) & 0xFF);
    const int e = static_cast<int>((expected >> shift) & 0xFF);
    if (std::abs(a - e) > tolerance) return false;
  }
  return true;
}

struct FormatCase {
  const char* type;
  const char* file;
  bool withAlpha;
  int tolerance;  // lossy formats come back close, not exact
};

class LoadFormatTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(LoadFormatTest, LoadsQuadrantsAtTheirPlaces) {
  const FormatCase& format = GetParam();
  TempDir dir;
  constexpr int kW = 32;
  constexpr int kH = 16;
  const std::string path = dir.File(format.file);
  ASSERT_TRUE(SaveWithPixbuf(path, format.type, kW, kH, format.withAlpha,
                             [](int x, int y) { return Quadrants(x, y, kW, kH); }));
  auto bitmap = Bitmap::FromFile(path);
  ASSERT_NE(bitmap, nullptr) << format.type;
  ASSERT_EQ(bitmap->Width(), kW);
  ASSERT_EQ(bitmap->Height(), kH);
  // Sample away from the quadrant edges, where lossy codecs blur.
  const int xs[] = {4, kW - 5};
  const int ys[] = {4, kH - 5};
  for (int x : xs) {
    for (int y : ys) {
      EXPECT_TRUE(Near(bitmap->GetPixel(x, y), Quadrants(x, y, kW, kH), format.tolerance))
          << format.type << " at " << x << "," << y << ": " << std::hex << bitmap->GetPixel(x, y);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Formats, LoadFormatTest,
                         ::testing::Values(FormatCase{"png", "a.png", true, 0}, FormatCase{"png", "rgb.png", false, 0},
                                           FormatCase{"bmp", "a.bmp", false, 0},
                                           FormatCase{"jpeg", "a.jpg", false, 12},
                                           FormatCase{"ico", "a.ico", true, 0}),
                         [](const auto& info) {
                           return std::string(info.param.type) + (info.param.withAlpha ? "Alpha" : "Opaque");
                         });

TEST(LoadTest, PngKeepsSemiTransparency) {
  TempDir dir;
  const std::string path = dir.File("alpha.png");
  ASSERT_TRUE(SaveWithPixbuf(path, "png", 4, 1, true, [](int x, int) {
    const uint32_t alphas[] = {0x00, 0x01, 0x80, 0xFF};
    return MakeArgb(alphas[x], 0xFF, 0x80, 0x00);
  }));
  auto bitmap = Bitmap::FromFile(path);
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(bitmap->GetPixel(0, 0), 0u);
  EXPECT_EQ(AlphaOf(bitmap->GetPixel(1, 0)), 1u);
  EXPECT_EQ(bitmap->GetPixel(2, 0), 0x80FF8000u);
  EXPECT_EQ(bitmap->GetPixel(3, 0), 0xFFFF8000u);
  // Storage is premultiplied.
  EXPECT_EQ(bitmap->Row(0)[2], 0x80804000u);
}

TEST(LoadTest, GifWithTransparentIndex) {
  TempDir dir;
  const std::string path = dir.File("a.gif");
  const int w = 20;
  const int h = 15;  // more pixels than one LZW clear interval
  std::vector<uint8_t> indices(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) indices[static_cast<size_t>(y) * w + x] = static_cast<uint8_t>(x < 10 ? 1 : 2);
  indices[0] = 0;
  ASSERT_TRUE(WriteGif(path, w, h, {0x000000, 0xFF0000, 0x0000FF}, indices, 0));
  auto bitmap = Bitmap::FromFile(path);
  ASSERT_NE(bitmap, nullptr);
  ASSERT_EQ(bitmap->Width(), w);
  ASSERT_EQ(bitmap->Height(), h);
  EXPECT_EQ(bitmap->GetPixel(0, 0), 0u);
  EXPECT_EQ(bitmap->GetPixel(1, 0), 0xFFFF0000u);
  EXPECT_EQ(bitmap->GetPixel(15, 14), 0xFF0000FFu);
  EXPECT_EQ(bitmap->GetPixel(9, 14), 0xFFFF0000u);
}

TEST(LoadTest, FilesThatAreNotImagesGiveNull) {
  TempDir dir;
  ASSERT_TRUE(SaveWithPixbuf(dir.File("good.png"), "png", 16, 16, true, [](int, int) { return 0xFF808080u; }));
  const std::string good = TempDir::Read(dir.File("good.png"));
  dir.Write("empty.png", "");
  dir.Write("text.png", "this is not an image\n");
  dir.Write("truncated.png", good.substr(0, good.size() / 2));
  std::string corrupt = good;
  for (size_t i = 40; i < corrupt.size(); i += 7) corrupt[i] = static_cast<char>(corrupt[i] ^ 0x5A);
  dir.Write("corrupt.png", corrupt);
  dir.Write("header-only.gif", "GIF89a");
  std::filesystem::create_directories(dir.File("folder.png"));

  for (const char* name : {"missing.png", "empty.png", "text.png", "truncated.png", "corrupt.png",
                           "header-only.gif", "folder.png"}) {
    EXPECT_EQ(Bitmap::FromFile(dir.File(name)), nullptr) << name;
  }
  EXPECT_EQ(Bitmap::FromFile(""), nullptr);
}

TEST(LoadTest, ImageWiderThanCairoAllowsGivesNull) {
  TempDir dir;
  const std::string path = dir.File("wide.png");
  ASSERT_TRUE(SaveWithPixbuf(path, "png", 40000, 10, false, [](int, int) { return 0xFF00FF00u; }));
  EXPECT_EQ(Bitmap::FromFile(path), nullptr);
}

TEST(LoadTest, PictureOfTooManyPixelsIsRefusedBeforeDecoding) {
  TempDir dir;
  // Headers that ask for 30000 by 30000 pixels, with next to no data:
  // decoding them would take gigabytes.
  std::string ppm = "P6\n30000 30000\n255\n" + std::string(300, '\0');
  dir.Write("huge.ppm", ppm);
  std::string bmp = "BM";
  auto le32 = [&bmp](uint32_t v) {
    for (int i = 0; i < 4; ++i) bmp += static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  le32(54 + 300), le32(0), le32(54);
  le32(40), le32(30000), le32(30000), le32(1u | (24u << 16)), le32(0), le32(0), le32(2835), le32(2835), le32(0), le32(0);
  dir.Write("huge.bmp", bmp + std::string(300, '\0'));
  for (const char* name : {"huge.ppm", "huge.bmp"}) {
    try {
      Bitmap::FromFile(dir.File(name));
      ADD_FAILURE() << name << " was not refused";
    } catch (const BitmapTooLarge& e) {
      EXPECT_STREQ(e.what(), "a picture of 30000 by 30000 pixels is more than the 67108864 one may have");
    }
  }
}

TEST(BitmapLimit, SizesUpToTheLimitAndNoFurther) {
  EXPECT_THROW(Bitmap(8193, 8192), BitmapTooLarge);
  EXPECT_THROW(Bitmap(kMaxBitmapPixels / 2 + 1, 2), BitmapTooLarge);
  // The limit is on pixels, not on either side.
  EXPECT_NO_THROW(Bitmap(32767, 2));
  // A too-large bitmap is a bad size like any other to callers that
  // catch those.
  EXPECT_THROW(Bitmap(30000, 30000), std::invalid_argument);
}

}  // namespace
}  // namespace gdiplus
