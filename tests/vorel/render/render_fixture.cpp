#include "tests/vorel/render/render_fixture.h"

#include <cairo.h>

#include "platform/abi/plugin_api.h"
#include "platform/gdiplus/graphics.h"
#include "vorel/load/skin_loader.h"

using testhost::TestHost;

namespace rendertest {

void DeskletFixture::SetUp() {
  TestHost::Get().Reset();
  instance_ = OnCreate(kWindow, 1, nullptr, nullptr);
  ASSERT_NE(instance_, nullptr);
  TestHost::Get().Reset();
  TestHost::Get().DeskletOf(kWindow).instance = instance_;
  D().settings.resourcePath = dir_.Path() + "skin/";
  dir_.Write("skin/.keep", "");
}

void DeskletFixture::TearDown() { OnDestroy(instance_, kWindow); }

std::string DeskletFixture::WritePng(const std::string& name, int width, int height, gdiplus::ARGB color) {
  gdiplus::Bitmap bitmap(width, height);
  gdiplus::Graphics(bitmap).Clear(color);
  const std::string path = dir_.Path() + "skin/" + name;
  EXPECT_EQ(cairo_surface_write_to_png(bitmap.Surface(), path.c_str()), CAIRO_STATUS_SUCCESS);
  return path;
}

void DeskletFixture::LoadSkin(const std::string& xml) {
  const std::string path = dir_.Write("skin/skin.xml", xml);
  vorel::LoadSkin(D(), path, true, false);
}

std::vector<testhost::Call> DeskletFixture::LayerCalls(const std::string& fn, uint32_t id) {
  std::vector<testhost::Call> result;
  for (auto& call : TestHost::Get().CallsOf(fn))
    if (call.args.size() > 1 && call.args[1] == std::to_string(id)) result.push_back(call);
  return result;
}

}  // namespace rendertest
