// Remote images: where the downloaded file goes, and layers drawn from
// images that a loopback server sends, fails to send, or sends broken.
#include "vorel/runtime/remote_image.h"

#include <gmock/gmock.h>

#include <filesystem>

#include "tests/support/http_server.h"
#include "tests/support/scoped_env.h"
#include "tests/vorel/render/render_fixture.h"
#include "vorel/runtime/data_cache.h"
#include "vorel/runtime/layer_source.h"
#include "vorel/util/paths.h"

using testing::HasSubstr;
using testing_support::HttpResponse;

namespace datatest {
namespace {

namespace fs = std::filesystem;

TEST(RemoteImagePaths, AGivenNameStaysInTheFolder) {
  const std::string a = "http://h/x.gif";
  EXPECT_EQ(vorel::RemoteImagePath("/c/", a, "logo.jpg"), "/c/logo.jpg");
  EXPECT_EQ(vorel::RemoteImagePath("/c/", a, "logo"), "/c/logo.png") << "read back with .png added";
  EXPECT_EQ(vorel::RemoteImagePath("/c/", a, "../../home/u/.bashrc"), "/c/.bashrc.png");
  EXPECT_EQ(vorel::RemoteImagePath("/c/", a, "/etc/x.png"), "/c/x.png");
  EXPECT_EQ(vorel::RemoteImagePath("/c/", a, "..\\..\\x.png"), "/c/x.png");
  for (const char* unusable : {"..", ".", "dir/", ""})
    EXPECT_EQ(vorel::RemoteImagePath("/c/", a, unusable), "/c/" + vorel::AddressHash(a) + ".gif") << unusable;
}

TEST(RemoteImagePaths, WithoutANameTheAddressGivesHashAndExtension) {
  auto path = [](const std::string& address) { return vorel::RemoteImagePath("/c/", address, ""); };
  const std::string h = "http://h/a/logo.jpg?s=2.gif#top";
  EXPECT_EQ(path(h), "/c/" + vorel::AddressHash(h) + ".jpg");
  for (const std::string plain : {"http://h", "http://h/", "http://h/img", "http://h.example/x.d/img",
                                  "http://h/a.toolongextension", "http://h/a.p-g", "http://h/a."})
    EXPECT_EQ(path(plain), "/c/" + vorel::AddressHash(plain) + ".png") << plain;
  EXPECT_EQ(path(""), "/c/-1.png");
}

class RemoteImageTest : public rendertest::DeskletFixture {
 protected:
  void SetUp() override {
    DeskletFixture::SetUp();
    D().settings.skinName = "Pictures";
    layer_.Width = 8;
    layer_.Height = 8;
  }
  std::unique_ptr<gdiplus::Bitmap> Draw(const std::string& source) {
    return vorel::RenderLayerSource(D(), layer_, source);
  }
  // Bytes of a solid PNG of the size.
  std::string Png(int width, int height, gdiplus::ARGB color) {
    return ReadWholeFile(WritePng("sent.png", width, height, color));
  }
  static std::string ReadWholeFile(const std::string& path) { return vorel::ReadWholeFile(path); }
  std::string Folder() { return dir_.Path() + "cache/KIV_XMLCache/"; }
  std::string Errors() {
    std::string all;
    for (const std::string& line : D().errorLog.Lines()) all += line + "\n";
    return all;
  }

  testing_support::ScopedEnv cacheHome_{"XDG_CACHE_HOME", dir_.Path() + "cache"};
  testing_support::ScopedEnv temporary_{"TMPDIR", dir_.Path() + "tmp"};
  testing_support::WithoutProxy direct_;
  testing_support::HttpServer server_;
  vorel::TLayerObject layer_;
};

TEST_F(RemoteImageTest, TheImageIsDownloadedAtEveryRenderingAndDrawn) {
  server_.Route("/pic.png", {.body = Png(12, 9, 0xFF00FF00)});
  const auto image = Draw("!WEBIMG:" + server_.Url("/pic.png") + "|pic.png");
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->Width(), 12);
  EXPECT_EQ(image->Height(), 9);
  EXPECT_EQ(image->GetPixel(5, 5), 0xFF00FF00u);
  EXPECT_TRUE(fs::exists(Folder() + "pic.png"));
  const auto requests = server_.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].Header("User-Agent"), "Vorel_Pictures");

  server_.Route("/pic.png", {.body = Png(4, 4, 0xFFFF0000)});
  const auto again = Draw("!WEBIMG:" + server_.Url("/pic.png") + "|pic.png");
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->GetPixel(1, 1), 0xFFFF0000u);
  EXPECT_EQ(server_.Requests().size(), 2u);
  EXPECT_EQ(Errors(), "");
}

TEST_F(RemoteImageTest, AFailedDownloadKeepsTheLastImageAndIsReported) {
  server_.Route("/a b.png", {.body = Png(6, 6, 0xFF0000FF)});
  server_.Route("/a%20b.png", {.body = Png(6, 6, 0xFF0000FF)});
  const std::string address = server_.Url("/a b.png");
  ASSERT_NE(Draw("!WEBIMG:" + address), nullptr);
  EXPECT_EQ(server_.Requests().at(0).target, "/a%20b.png");
  const std::string kept = Folder() + vorel::AddressHash(address) + ".png";
  ASSERT_TRUE(fs::exists(kept));

  server_.Route("/a%20b.png", {.status = 404, .body = "not here"});
  const auto image = Draw("!WEBIMG:" + address);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->GetPixel(2, 2), 0xFF0000FFu) << "the last image stays";
  EXPECT_THAT(Errors(), HasSubstr("HTTP status 404"));
  for (const auto& entry : fs::directory_iterator(Folder()))
    EXPECT_EQ(entry.path().string().find(".tmp"), std::string::npos) << "a temporary left: " << entry.path();
  D().errorLog.Clear();

  // Nothing kept and nothing to be had: an empty layer.
  const auto empty = Draw("!WEBIMG:http://127.0.0.1:1/none.png");
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(empty->Width(), 8);
  EXPECT_EQ(empty->GetPixel(2, 2) >> 24, 0u);
  EXPECT_THAT(Errors(), HasSubstr("none.png"));
}

TEST_F(RemoteImageTest, ChildLayersDrawRemoteImagesToo) {
  server_.Route("/dot.png", {.body = Png(2, 2, 0xFFFFFF00)});
  layer_.Children.push_back({});
  vorel::TChildLayer& child = layer_.Children.back();
  child.Src = "!WEBIMG:" + server_.Url("/dot.png") + "|dot";
  child.X = 3;
  child.Y = 3;
  std::unique_ptr<gdiplus::Bitmap> image;
  vorel::DrawChildLayers(D(), layer_, image);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->GetPixel(4, 4), 0xFFFFFF00u);
  EXPECT_EQ(image->GetPixel(1, 1) >> 24, 0u);
  EXPECT_TRUE(fs::exists(Folder() + "dot.png"));
}

}  // namespace
}  // namespace datatest
