// Layer rendering against its bare equivalent in the same run: a 200 by 40
// text layer against one Pango layout drawn, a 1024 by 768 picture scaled
// into a 256 by 192 layer against one cairo scaled paint, and masking and
// recolouring a 256 by 256 layer in pixels per second.
#include <benchmark/benchmark.h>
#include <cairo.h>
#include <pango/pangocairo.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/support/bare_pango.h"
#include "platform/gdiplus/graphics.h"
#include "vorel/model/desklet.h"
#include "vorel/runtime/image_ops.h"
#include "vorel/runtime/layer_source.h"

namespace {

const char* const kText = "Sunny, 21 degrees in Oslo";

struct Fonts {
  Fonts() { setenv("FONTCONFIG_FILE", KIV_FONTS_CONF, 1); }
} fonts;

vorel::TDeskletObject& Desklet() {
  static vorel::TDeskletObject desklet(0x7100, 1);
  static bool ready = [] {
    const std::string folder = (std::filesystem::temp_directory_path() / "vorel-render-bench").string() + "/";
    std::filesystem::create_directories(folder);
    gdiplus::Bitmap photo(1024, 768);
    {
      gdiplus::Graphics g(photo);
      g.Clear(0xFF3060A0);
      cairo_t* cr = g.Context();
      for (int i = 0; i < 40; ++i) {
        cairo_set_source_rgba(cr, (i % 5) / 5.0, (i % 7) / 7.0, (i % 3) / 3.0, 0.8);
        cairo_arc(cr, 25.0 * i, 19.0 * i, 60, 0, 6.3);
        cairo_fill(cr);
      }
    }
    cairo_surface_write_to_png(photo.Surface(), (folder + "photo.png").c_str());
    desklet.settings.resourcePath = folder;
    return true;
  }();
  (void)ready;
  return desklet;
}

void MakeTextLayer(vorel::TLayerObject& layer) {
  layer.Width = 200;
  layer.Height = 40;
  layer.FontSize = 16;
  layer.FontColor = 0xFFFFFF;
  layer.FontStyle = 16;
  layer.FontAlign = 2 | 8;
}

void BM_TextLayer(benchmark::State& state) {
  vorel::TLayerObject layer;
  MakeTextLayer(layer);
  const std::string source = std::string("!TXT:") + kText;
  for (auto _ : state) benchmark::DoNotOptimize(vorel::RenderLayerSource(Desklet(), layer, source));
}
BENCHMARK(BM_TextLayer);

void BM_TextLayerPlain(benchmark::State& state) {
  vorel::TLayerObject layer;
  MakeTextLayer(layer);
  layer.FontStyle = 0;
  const std::string source = std::string("!TXT:") + kText;
  for (auto _ : state) benchmark::DoNotOptimize(vorel::RenderLayerSource(Desklet(), layer, source));
}
BENCHMARK(BM_TextLayerPlain);

// The same text on a fresh 200 by 40 surface, laid out and filled as
// outlines (the antialiased path) with nothing else around it.
void BM_BarePangoText(benchmark::State& state) {
  for (auto _ : state) bench::DrawBarePangoText(kText, 200, 40, 16);
}
BENCHMARK(BM_BarePangoText);

void BM_ScaledPictureLayer(benchmark::State& state) {
  vorel::TDeskletObject& d = Desklet();
  vorel::TLayerObject layer;
  layer.Width = 256;
  layer.Height = 192;
  layer.Flags = vorel::Scale;
  for (auto _ : state) {
    auto image = vorel::RenderLayerSource(d, layer, "photo");
    benchmark::DoNotOptimize(vorel::ScaleIntoLayer(*image, 256, 192, layer.Flags));
  }
}
BENCHMARK(BM_ScaledPictureLayer);

void BM_BareCairoScaledPicture(benchmark::State& state) {
  const std::string file = Desklet().settings.resourcePath + "photo.png";
  for (auto _ : state) {
    cairo_surface_t* photo = cairo_image_surface_create_from_png(file.c_str());
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 256, 192);
    cairo_t* cr = cairo_create(s);
    cairo_scale(cr, 256.0 / 1024, 192.0 / 768);
    cairo_set_source_surface(cr, photo, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BEST);
    cairo_paint(cr);
    cairo_surface_flush(s);
    benchmark::DoNotOptimize(cairo_image_surface_get_data(s));
    cairo_destroy(cr);
    cairo_surface_destroy(s);
    cairo_surface_destroy(photo);
  }
}
BENCHMARK(BM_BareCairoScaledPicture);

void BM_MaskAndRecolour(benchmark::State& state) {
  gdiplus::Bitmap mask(256, 256);
  {
    gdiplus::Graphics g(mask);
    g.Clear(0xFF000000);
    g.FillRectangle(gdiplus::SolidBrush(0xFFFFFFFF), {64, 64, 128, 128});
  }
  gdiplus::Bitmap source(256, 256);
  gdiplus::Graphics(source).Clear(0xC0406080);
  for (auto _ : state) {
    auto image = source.Clone();
    vorel::ApplyMask(*image, mask, 0, 0);
    vorel::Recolor(*image, 0x00FF00);
    benchmark::DoNotOptimize(image->Row(0));
  }
  state.counters["pixels"] = benchmark::Counter(2.0 * 256 * 256 * static_cast<double>(state.iterations()),
                                                benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MaskAndRecolour);

}  // namespace

BENCHMARK_MAIN();
