// Pointer input through the host into the plug-in, and what the desklet
// looks like afterwards: layer looks, cursors, the composite.
#include <cairo.h>
#include <gtest/gtest.h>

#include <memory>
#include <tuple>

#include "kivhost_run.h"

namespace e2e {
namespace {

using testing_support::TempDir;

json LayerNamed(const json& desklet, const std::string& name) {
  for (const auto& l : desklet["layers"])
    if (l["name"] == name) return l;
  return nullptr;
}

TEST(Input, PressingALayerShowsItsDownLookAndReleasingRestoresIt) {
  TempDir dir;
  // The "flip" button of the front side spans 54..126 by 80..104.
  dir.Write("s.txt",
            "move 90 92\n"
            "down 90 92\n"
            "state " + dir.File("down.json") + "\n"
            "up 90 92\n"
            "state " + dir.File("up.json") + "\n"
            "leave\n");
  auto r = RunHost({"--headless", "--trace", dir.File("t.jsonl"), "--scenario", dir.File("s.txt"), SampleSkin("twosided")},
                   dir);
  ASSERT_EQ(r.exitCode, 0) << r.errors;
  auto trace = ReadTrace(dir.File("t.jsonl"));
  auto on = CallsOf(trace, "OnLayerMouseOn");
  ASSERT_FALSE(on.empty());
  EXPECT_EQ(on[0]["args"][1], "flip");
  EXPECT_EQ(on[0]["args"][2], (json{{"x", 36}, {"y", 12}}));  // relative to the layer
  EXPECT_EQ(on[0]["args"][3], (json{{"width", 72}, {"height", 24}}));
  auto downs = CallsOf(trace, "OnLayerMouseDown");
  ASSERT_EQ(downs.size(), 1u);
  EXPECT_EQ(downs[0]["args"][4], 1);  // left button
  EXPECT_FALSE(CallsOf(trace, "OnLayerMouseOut").empty());
  EXPECT_FALSE(CallsOf(trace, "OnMouseOut").empty());

  auto down = LayerNamed(ReadJson(dir.File("down.json"))["desklets"][0], "flip");
  auto up = LayerNamed(ReadJson(dir.File("up.json"))["desklets"][0], "flip");
  ASSERT_FALSE(down.is_null());
  EXPECT_NE(down["image"]["sha256"], up["image"]["sha256"]);  // the down picture while pressed
  // The hand cursor of the button was set through the cursor table.
  EXPECT_FALSE(CallsOf(trace, "DeskletSetCursor").empty());
}

TEST(Input, KeysWheelDropAndFocusReachThePlugin) {
  TempDir dir;
  dir.Write("a.txt", "x");
  dir.Write("s.txt",
            "key a<CR>\n"
            "wheel 2 5 5\n"
            "wheel -1 90 92\n"
            "drop " + dir.File("a.txt") + "\n"
            "select\n"
            "deselect\n");
  auto r = RunHost({"--headless", "--trace", dir.File("t.jsonl"), "--scenario", dir.File("s.txt"), SampleSkin("twosided")},
                   dir);
  ASSERT_EQ(r.exitCode, 0) << r.errors;
  auto trace = ReadTrace(dir.File("t.jsonl"));
  std::vector<int> chars;
  for (const auto& c : CallsOf(trace, "OnProcessMessageEx"))
    if (c["args"][0] == 258) chars.push_back(c["args"][1]);
  EXPECT_EQ(chars, (std::vector<int>{'a', 13}));
  auto layerWheel = CallsOf(trace, "OnLayerMouseWheelBackward");
  ASSERT_EQ(layerWheel.size(), 1u);
  EXPECT_EQ(layerWheel[0]["args"][5], 1);
  // (5,5) is on the front picture, so that wheel goes to a layer too.
  EXPECT_EQ(CallsOf(trace, "OnLayerMouseWheelForward").size(), 1u);
  auto drops = CallsOf(trace, "OnDrop");
  ASSERT_EQ(drops.size(), 1u);
  EXPECT_EQ(drops[0]["args"][0][0], dir.File("a.txt"));
  EXPECT_EQ(CallsOf(trace, "OnSelect").size(), 1u);
  EXPECT_EQ(CallsOf(trace, "OnDeselect").size(), 1u);
}

// Share of pixels whose channels all lie within `tolerance` of the golden
// picture's.
double Agreement(cairo_surface_t* a, cairo_surface_t* b, int tolerance) {
  const int w = cairo_image_surface_get_width(a), h = cairo_image_surface_get_height(a);
  if (w != cairo_image_surface_get_width(b) || h != cairo_image_surface_get_height(b)) return 0;
  int same = 0;
  for (int y = 0; y < h; ++y) {
    auto* ra = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(a) + y * cairo_image_surface_get_stride(a));
    auto* rb = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(b) + y * cairo_image_surface_get_stride(b));
    for (int x = 0; x < w; ++x) {
      bool close = true;
      for (int shift = 0; shift < 32; shift += 8)
        close &= std::abs(static_cast<int>((ra[x] >> shift) & 0xFF) - static_cast<int>((rb[x] >> shift) & 0xFF)) <= tolerance;
      same += close;
    }
  }
  return static_cast<double>(same) / (w * h);
}

TEST(Look, HelloSnapshotMatchesItsGoldenPicture) {
  TempDir dir;
  auto r = RunHost({"--headless", "--snapshot", dir.File("hello.png"), "--state", dir.File("s.json"), SampleSkin("hello")}, dir);
  ASSERT_EQ(r.exitCode, 0) << r.errors;
  using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;
  Surface got(cairo_image_surface_create_from_png(dir.File("hello.png").c_str()), cairo_surface_destroy);
  Surface golden(cairo_image_surface_create_from_png((std::string(KIV_SOURCE_DIR) + "/tests/e2e/golden/hello.png").c_str()),
                 cairo_surface_destroy);
  ASSERT_EQ(cairo_surface_status(got.get()), CAIRO_STATUS_SUCCESS);
  ASSERT_EQ(cairo_surface_status(golden.get()), CAIRO_STATUS_SUCCESS);
  EXPECT_GE(Agreement(got.get(), golden.get(), 8), 0.995);

  auto desklet = ReadJson(dir.File("s.json"))["desklets"][0];
  EXPECT_EQ(desklet["label"], "Hello, Vorel");
  EXPECT_EQ(desklet["rect"]["right"].get<int>() - desklet["rect"]["left"].get<int>(), 240);
  EXPECT_EQ(desklet["closePoint"], (json{{"x", 226}, {"y", 6}, {"refWidth", 240}, {"refHeight", 160}}));
  EXPECT_EQ(desklet["skinInfo"]["key"], SampleSkin("hello"));
  // Every layer where the skin puts it, with a picture of its size.
  const std::vector<std::tuple<std::string, int, int, int, int>> layers = {
      {"panel", 0, 0, 240, 160}, {"title", 0, 10, 240, 30},  {"subtitle", 0, 40, 240, 20}, {"sun", 12, 72, 40, 40},
      {"photo", 64, 68, 48, 48}, {"dots", 124, 84, 48, 16}, {"mono", 120, 110, 108, 16},  {"footer", 12, 128, 216, 24}};
  ASSERT_EQ(desklet["layers"].size(), layers.size());
  for (size_t i = 0; i < layers.size(); ++i) {
    const auto& [name, x, y, w, h] = layers[i];
    const json& l = desklet["layers"][i];
    EXPECT_EQ(l["id"], i);
    EXPECT_EQ(l["name"], name);
    EXPECT_EQ(l["visible"], true) << name;
    EXPECT_EQ(l["placement"], (json{{"left", x}, {"top", y}, {"right", x + w}, {"bottom", y + h}, {"refWidth", 240},
                                    {"refHeight", 160}}))
        << name;
    EXPECT_EQ(l["image"]["width"], w) << name;
    EXPECT_EQ(l["image"]["height"], h) << name;
  }
}

}  // namespace
}  // namespace e2e
