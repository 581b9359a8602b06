// Compositing a desklet of 50 layers of 200 by 200 pixels with alpha,
// against a bare cairo loop painting the same surfaces at the same places
// (the limit).
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <memory>
#include <vector>

#include "kivhost/render/compositor.h"

namespace {

constexpr int kLayers = 50;
constexpr int kSize = 200;
constexpr int kDesklet = 400;

cairo_surface_t* Picture(int seed) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kSize, kSize);
  cairo_t* cr = cairo_create(s);
  cairo_set_source_rgba(cr, (seed % 7) / 7.0, (seed % 5) / 5.0, (seed % 3) / 3.0, 0.6);
  cairo_arc(cr, kSize / 2.0, kSize / 2.0, kSize / 2.0 - 4, 0, 6.3);
  cairo_fill(cr);
  cairo_destroy(cr);
  return s;
}

struct Scene {
  Scene() : desklet(1) {
    desklet.SetSize({kDesklet, kDesklet});
    for (int i = 0; i < kLayers; ++i) {
      cairo_surface_t* s = Picture(i);
      kivhost::HostLayer& l = *desklet.Layer(desklet.AddLayer("l" + std::to_string(i)));
      l.image = std::make_shared<kivhost::LayerImage>(s, 0);
      const int x = (i * 37) % (kDesklet - kSize), y = (i * 53) % (kDesklet - kSize);
      l.placement = kivhost::RefRect{{x, y, x + kSize, y + kSize}, kDesklet, kDesklet};
      surfaces.push_back(s);
      places.push_back({x, y});
    }
    target = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kDesklet, kDesklet);
  }
  ~Scene() {
    for (auto* s : surfaces) cairo_surface_destroy(s);
    cairo_surface_destroy(target);
  }
  kivhost::HostDesklet desklet;
  std::vector<cairo_surface_t*> surfaces;
  std::vector<std::pair<int, int>> places;
  cairo_surface_t* target;
};

void Clear(cairo_t* cr) {
  cairo_save(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
  cairo_paint(cr);
  cairo_restore(cr);
}

void BM_HostComposite(benchmark::State& state) {
  Scene scene;
  cairo_t* cr = cairo_create(scene.target);
  for (auto _ : state) {
    Clear(cr);
    kivhost::CompositeDesklet(cr, scene.desklet, nullptr);
    cairo_surface_flush(scene.target);
    benchmark::ClobberMemory();
  }
  cairo_destroy(cr);
}
BENCHMARK(BM_HostComposite)->Unit(benchmark::kMillisecond);

void BM_BareCairoLoop(benchmark::State& state) {
  Scene scene;
  cairo_t* cr = cairo_create(scene.target);
  for (auto _ : state) {
    Clear(cr);
    for (size_t i = 0; i < scene.surfaces.size(); ++i) {
      cairo_set_source_surface(cr, scene.surfaces[i], scene.places[i].first, scene.places[i].second);
      cairo_paint(cr);
    }
    cairo_surface_flush(scene.target);
    benchmark::ClobberMemory();
  }
  cairo_destroy(cr);
}
BENCHMARK(BM_BareCairoLoop)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
