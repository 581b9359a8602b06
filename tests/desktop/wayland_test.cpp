// kivhost under a Wayland compositor with the layer shell (sway, headless):
// a desklet is a layer surface at its saved place showing what the
// headless snapshot shows. Skipped, saying why, where sway or grim is
// missing.
// NOTE: pointer input is not tried here: headless sway has no pointer
// device, and a virtual one needs a client Debian does not package.
#include <thread>

#include "desktop/desktop_fixture.h"
#include "desktop/wayland_session.h"

namespace desktoptest {
namespace {

using namespace std::chrono_literals;

class WaylandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HaveWaylandTools()) GTEST_SKIP() << "sway or grim is not installed (scripts/install-deps installs them)";
    setenv("XDG_CONFIG_HOME", dir_.File("config").c_str(), 1);
    server_ = std::make_unique<WaylandServer>();
    if (server_->Display().empty()) GTEST_SKIP() << "sway did not start";
  }
  std::unique_ptr<Program> Kivhost(const std::vector<std::string>& args) {
    std::vector<std::string> all{std::string(KIV_BIN_DIR) + "/kivhost"};
    all.insert(all.end(), args.begin(), args.end());
    return std::make_unique<Program>(server_->Display(), all, dir_.File("stderr.txt"));
  }
  // The screen part, once it shows the snapshot's opaque pixels (the rest
  // is what lies below); how many of those differ at the last look.
  int DifferingFromSnapshot(const std::string& png, int x, int y, int width, int height) {
    cairo_surface_t* expected = cairo_image_surface_create_from_png(png.c_str());
    const unsigned char* data = cairo_image_surface_get_data(expected);
    const int stride = cairo_image_surface_get_stride(expected);
    int differing = -1;
    for (int attempt = 0; attempt < 50 && differing != 0; ++attempt) {
      std::this_thread::sleep_for(100ms);
      const std::vector<uint32_t> screen = server_->Pixels(x, y, width, height);
      if (screen.size() != static_cast<size_t>(width * height)) continue;
      differing = 0;
      for (int row = 0; row < height; ++row)
        for (int col = 0; col < width; ++col) {
          const uint32_t want = *reinterpret_cast<const uint32_t*>(data + row * stride + 4 * col);
          if ((want >> 24) != 0xFF) continue;
          const uint32_t got = screen[static_cast<size_t>(row * width + col)];
          for (int shift : {0, 8, 16})
            if (std::abs(static_cast<int>((want >> shift) & 0xFF) - static_cast<int>((got >> shift) & 0xFF)) > 2) {
              ++differing;
              break;
            }
        }
    }
    cairo_surface_destroy(expected);
    return differing;
  }

  TempDir dir_;
  std::unique_ptr<WaylandServer> server_;
};

TEST_F(WaylandTest, ADeskletIsALayerSurfaceAtItsPlaceShowingItsPicture) {
  const std::string hello = std::string(KIV_BIN_DIR) + "/hello/hello.xml";
  const std::string snapshot = dir_.File("hello.png");
  ASSERT_TRUE(HeadlessSnapshot(hello, snapshot));
  dir_.Write("hello.ini", "[H.window]\nLeft=230\nTop=170\n");
  auto host = Kivhost({"--settings", dir_.File("hello.ini"), "--section", "H", hello});
  EXPECT_EQ(DifferingFromSnapshot(snapshot, 230, 170, 240, 160), 0) << e2e::ReadText(dir_.File("stderr.txt"));
  EXPECT_EQ(host->Terminate(), 0) << e2e::ReadText(dir_.File("stderr.txt"));
}

}  // namespace
}  // namespace desktoptest
