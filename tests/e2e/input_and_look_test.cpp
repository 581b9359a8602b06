// Pointer input through the host into the plug-in, and what the desklet
// looks like afterwards: layer looks, cursors, the composite.
#include <cairo.h>
#include <gtest/gtest.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cstdlib>
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
  EXPECT_EQ(layerWheel[0]["args"][5], -1);  // backward, with its sign
  // (5,5) is on the front picture, so that wheel goes to a layer too.
  EXPECT_EQ(CallsOf(trace, "OnLayerMouseWheelForward").size(), 1u);
  auto drops = CallsOf(trace, "OnDrop");
  ASSERT_EQ(drops.size(), 1u);
  EXPECT_EQ(drops[0]["args"][0][0], dir.File("a.txt"));
  EXPECT_EQ(CallsOf(trace, "OnSelect").size(), 1u);
  EXPECT_EQ(CallsOf(trace, "OnDeselect").size(), 1u);
}

TEST(Input, TheWheelCountKeepsItsSignInTheSkin) {
  TempDir dir;
  dir.Write("wheel/wheel.xml", R"xml(<skindata><skininfo><name>Wheel</name></skininfo>
    <sides><side id="0" width="40" height="20"/></sides>
    <desklet><sublabel>none</sublabel>
      <onmousescroll>kiv.SetSubLabel('scroll ' + kiv.GetMouseScrollValue())</onmousescroll></desklet>
    </skindata>)xml");
  dir.Write("s.txt", "wheel 2 5 5\nstate " + dir.File("forward.json") + "\nwheel -2 5 5\nstate " +
                         dir.File("backward.json") + "\n");
  auto r = RunHost({"--headless", "--trace", dir.File("t.jsonl"), "--scenario", dir.File("s.txt"),
                    dir.File("wheel/wheel.xml")},
                   dir);
  ASSERT_EQ(r.exitCode, 0) << r.errors;
  EXPECT_EQ(ReadJson(dir.File("forward.json"))["desklets"][0]["sublabel"], "scroll 2");
  EXPECT_EQ(ReadJson(dir.File("backward.json"))["desklets"][0]["sublabel"], "scroll -2");
  auto trace = ReadTrace(dir.File("t.jsonl"));
  auto backward = CallsOf(trace, "OnMouseWheelBackward");
  ASSERT_EQ(backward.size(), 1u);
  EXPECT_EQ(backward[0]["args"][1], -2);
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

// A text layer (or child layer) of the hello sample as its skin file
// describes it, placed in desklet pixels.
struct SampleText {
  const char* what;
  const char* text;
  const char* family;
  int pixels;
  PangoWeight weight;
  PangoStyle style;
  bool underline;
  PangoAlignment align;
  int x, y, width, height;
  uint32_t rgb;  // 0xRRGGBB
};

struct Box {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;  // inclusive
  int pixels = 0;
  bool Empty() const { return right < left; }
  void Add(int x, int y) {
    ++pixels;
    left = std::min(left, x);
    top = std::min(top, y);
    right = std::max(right, x);
    bottom = std::max(bottom, y);
  }
};

const uint32_t* PixelRow(cairo_surface_t* s, int y) {
  return reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s));
}

// A pixel counts as the text's when the text covers at least half of it.
// Thin slanted strokes (an italic f's tail) are covered differently by
// outline filling and by glyph rasterising; half coverage finds them in
// both.
constexpr double kInked = 0.5;

// Where Pango alone puts the text's inked pixels: one layout as wide
// as the layer, aligned by Pango, drawn from the layer's top-left corner
// and kept inside the layer.
Box BarePangoBox(const SampleText& t, int deskletWidth, int deskletHeight) {
  using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;
  Surface s(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, deskletWidth, deskletHeight), cairo_surface_destroy);
  cairo_t* cr = cairo_create(s.get());
  cairo_rectangle(cr, t.x, t.y, t.width, t.height);
  cairo_clip(cr);
  // The plug-in lays text out with unhinted metrics at unrounded positions;
  // Pango is asked for the same, so that widths agree before any drawing.
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
  PangoLayout* layout = pango_cairo_create_layout(cr);
  pango_context_set_round_glyph_positions(pango_layout_get_context(layout), FALSE);
  PangoFontDescription* font = pango_font_description_new();
  pango_font_description_set_family(font, t.family);
  pango_font_description_set_absolute_size(font, t.pixels * PANGO_SCALE);
  pango_font_description_set_weight(font, t.weight);
  pango_font_description_set_style(font, t.style);
  pango_layout_set_font_description(layout, font);
  pango_font_description_free(font);
  pango_layout_set_text(layout, t.text, -1);
  pango_layout_set_width(layout, t.width * PANGO_SCALE);
  pango_layout_set_alignment(layout, t.align);
  if (t.underline) {
    PangoAttrList* attributes = pango_attr_list_new();
    pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    pango_layout_set_attributes(layout, attributes);
    pango_attr_list_unref(attributes);
  }
  cairo_move_to(cr, t.x, t.y);
  pango_cairo_show_layout(cr, layout);
  g_object_unref(layout);
  cairo_destroy(cr);
  cairo_surface_flush(s.get());
  Box box;
  for (int y = 0; y < deskletHeight; ++y)
    for (int x = 0; x < deskletWidth; ++x)
      if ((PixelRow(s.get(), y)[x] >> 24) >= kInked * 255) box.Add(x, y);
  return box;
}

// Pixels of the picture inside the layer that are inked with the text's
// colour over the panel beneath: each pixel is taken apart into
// panel and text colour, and pixels that are no such mix (other layers,
// other texts) are left out.
Box TextInkBox(cairo_surface_t* picture, cairo_surface_t* panel, const SampleText& t) {
  Box box;
  for (int y = t.y; y < t.y + t.height; ++y) {
    for (int x = t.x; x < t.x + t.width; ++x) {
      const uint32_t under = PixelRow(panel, y)[x];
      if ((under >> 24) != 255) continue;
      const uint32_t p = PixelRow(picture, y)[x];
      double along = 0, length = 0;
      for (int shift = 0; shift < 24; shift += 8) {
        const double d = static_cast<double>((t.rgb >> shift) & 0xFF) - ((under >> shift) & 0xFF);
        const double v = static_cast<double>((p >> shift) & 0xFF) - ((under >> shift) & 0xFF);
        along += v * d;
        length += d * d;
      }
      const double coverage = along / length;
      double off = 0;
      for (int shift = 0; shift < 24; shift += 8) {
        const double mixed = ((under >> shift) & 0xFF) +
                             coverage * (static_cast<double>((t.rgb >> shift) & 0xFF) - ((under >> shift) & 0xFF));
        off = std::max(off, std::abs(mixed - ((p >> shift) & 0xFF)));
      }
      if (coverage >= kInked && off <= 12) box.Add(x, y);
    }
  }
  return box;
}

TEST(Look, HelloGoldenTextSitsWhereBarePangoPutsIt) {
  using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;
  Surface golden(cairo_image_surface_create_from_png((std::string(KIV_SOURCE_DIR) + "/tests/e2e/golden/hello.png").c_str()),
                 cairo_surface_destroy);
  ASSERT_EQ(cairo_surface_status(golden.get()), CAIRO_STATUS_SUCCESS);
  Surface panel(cairo_image_surface_create_from_png((std::string(KIV_SOURCE_DIR) + "/skins/hello/panel.png").c_str()),
                cairo_surface_destroy);
  ASSERT_EQ(cairo_surface_status(panel.get()), CAIRO_STATUS_SUCCESS);
  const int width = cairo_image_surface_get_width(golden.get());
  const int height = cairo_image_surface_get_height(golden.get());
  ASSERT_EQ(width, 240);
  ASSERT_EQ(height, 160);
  ASSERT_EQ(cairo_image_surface_get_width(panel.get()), width);
  ASSERT_EQ(cairo_image_surface_get_height(panel.get()), height);
  // skins/hello/hello.xml; the footer's children sit at its own corner.
  const SampleText texts[] = {
      {"title", "Hello, Vorel", "Arial", 22, PANGO_WEIGHT_BOLD, PANGO_STYLE_NORMAL, false, PANGO_ALIGN_CENTER, 0, 10,
       240, 30, 0xFFFFFF},
      {"subtitle", "a desklet in one skin file", "Times New Roman", 14, PANGO_WEIGHT_NORMAL, PANGO_STYLE_ITALIC, false,
       PANGO_ALIGN_CENTER, 0, 40, 240, 20, 0xC8D2F0},
      {"mono", "x = 42", "Courier New", 12, PANGO_WEIGHT_NORMAL, PANGO_STYLE_NORMAL, false, PANGO_ALIGN_RIGHT, 120, 110,
       108, 16, 0xFFFF00},
      {"footer, left", "left", "Arial", 11, PANGO_WEIGHT_NORMAL, PANGO_STYLE_NORMAL, false, PANGO_ALIGN_LEFT, 12, 128,
       216, 24, 0x9FB4E8},
      {"footer, underlined", "underlined", "Arial", 11, PANGO_WEIGHT_NORMAL, PANGO_STYLE_NORMAL, true,
       PANGO_ALIGN_CENTER, 12, 128, 216, 24, 0xFFFFFF},
  };
  for (const SampleText& t : texts) {
    SCOPED_TRACE(t.what);
    const Box want = BarePangoBox(t, width, height);
    const Box got = TextInkBox(golden.get(), panel.get(), t);
    ASSERT_FALSE(want.Empty());
    if (got.Empty()) {
      ADD_FAILURE() << "no text in the golden picture";
      continue;
    }
    EXPECT_LE(std::abs(got.left - want.left), 2) << got.left << " against " << want.left;
    EXPECT_LE(std::abs(got.right - want.right), 2) << got.right << " against " << want.right;
    EXPECT_LE(std::abs(got.top - want.top), 2) << got.top << " against " << want.top;
    EXPECT_LE(std::abs(got.bottom - want.bottom), 2) << got.bottom << " against " << want.bottom;
    // Every glyph, not just the ends of the line (an underline spans it all).
    EXPECT_NEAR(static_cast<double>(got.pixels) / want.pixels, 1.0, 0.25) << got.pixels << " against " << want.pixels;
  }
}

}  // namespace
}  // namespace e2e
