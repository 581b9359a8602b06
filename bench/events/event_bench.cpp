// A pointer move over a 200 by 40 text layer whose onmousemove statement
// sets the layer's Text from the pointer position: the whole event from
// OnLayerMouseMove to the new image handed to the host, then its parts:
// the statement's expansion, the script with a store-only member, and the
// layer's render alone, beside the bare Pango work of drawing the same
// text the same way (laid out, outlined and filled antialiased).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "bench/support/bare_pango.h"
#include "platform/abi/plugin_api.h"
#include "tests/support/test_host.h"
#include "vorel/host/control_library.h"
#include "vorel/model/desklet.h"
#include "vorel/runtime/render_layer.h"
#include "vorel/runtime/variable_expansion.h"
#include "vorel/model/script_engine.h"
#include "vorel/load/skin_loader.h"

namespace {

constexpr HWND kWindow = 0x5200;
constexpr const char* kStatement = "Layers('t').Text = 'x = ' + GetLayerMouseXPos() + ', y = ' + GetLayerMouseYPos()";

struct Desklet {
  Desklet() {
    testhost::TestHost::Get().Reset();
    instance = OnCreate(kWindow, 1, nullptr, nullptr);
    const std::string file = (std::filesystem::temp_directory_path() / "vorel-event-bench.xml").string();
    std::ofstream(file) << "<skindata><skininfo><name>Events</name></skininfo>"
                           "<sides><side id=\"0\" width=\"240\" height=\"80\"/></sides><desklet><label>Bench</label></desklet><layers>"
                           "<layer name=\"t\" text=\"x = 0\" x=\"10\" y=\"10\" width=\"200\" height=\"40\" "
                           "fontname=\"Arial\" fontsize=\"14\" fontcolor=\"clWhite\" fontalign=\"CM\" onmousemove=\""
                        << kStatement << "\"/></layers></skindata>";
    vorel::LoadSkin(D(), file, true, false);
    layer = D().FindLayerByName("t");
  }
  ~Desklet() { OnDestroy(instance, kWindow); }
  vorel::TDeskletObject& D() { return *vorel::AsDesklet(instance); }
  void* instance;
  vorel::TLayerObject* layer = nullptr;
};

// The recording host keeps every call; forget them now and then, outside
// the timing.
void ForgetCallsEvery(benchmark::State& state, int64_t& n) {
  if (++n % 1000) return;
  state.PauseTiming();
  std::lock_guard lock(testhost::TestHost::Get().mutex);
  testhost::TestHost::Get().calls.clear();
  state.ResumeTiming();
}

void BM_MouseMoveSetsText(benchmark::State& state) {
  Desklet desklet;
  KivSize size{200, 40};
  int64_t n = 0;
  for (auto _ : state) {
    KivPoint point{static_cast<int32_t>(n % 200), static_cast<int32_t>(n % 40)};
    benchmark::DoNotOptimize(OnLayerMouseMove(desklet.instance, desklet.layer->Id, "t", &point, &size));
    ForgetCallsEvery(state, n);
  }
  if (!desklet.D().errorLog.Lines().empty()) state.SkipWithError(desklet.D().errorLog.Lines()[0].c_str());
}
BENCHMARK(BM_MouseMoveSetsText)->Unit(benchmark::kMicrosecond);

void BM_ExpandStatement(benchmark::State& state) {
  Desklet desklet;
  for (auto _ : state) benchmark::DoNotOptimize(vorel::ExpandVariables(desklet.D(), kStatement));
}
BENCHMARK(BM_ExpandStatement)->Unit(benchmark::kMicrosecond);

// The same statement shape with a member that only stores.
void BM_ScriptStoreOnly(benchmark::State& state) {
  Desklet desklet;
  for (auto _ : state)
    desklet.D().scripting.scriptEngine->ExecuteStatement(
        "Layers('t').Data = 'x = ' + GetLayerMouseXPos() + ', y = ' + GetLayerMouseYPos()");
}
BENCHMARK(BM_ScriptStoreOnly)->Unit(benchmark::kMicrosecond);

void BM_RenderTextLayer(benchmark::State& state) {
  Desklet desklet;
  int64_t n = 0;
  for (auto _ : state) {
    desklet.layer->Src = "!TXT:x = " + std::to_string(n % 200) + ", y = " + std::to_string(n % 40);
    vorel::RenderLayer(desklet.D(), *desklet.layer, vorel::TLook::Normal, true, true);
    ForgetCallsEvery(state, n);
  }
}
BENCHMARK(BM_RenderTextLayer)->Unit(benchmark::kMicrosecond);

void BM_BarePangoSameText(benchmark::State& state) {
  // Middle alignment puts the text's top at half the height less half the size.
  constexpr int kHeight = 40, kPixels = 14, kTop = kHeight / 2 - kPixels / 2;
  int64_t n = 0;
  for (auto _ : state) {
    const std::string text = "x = " + std::to_string(n % 200) + ", y = " + std::to_string(n % 40);
    ++n;
    bench::DrawBarePangoText(text.c_str(), 200, kHeight, kPixels, kTop);
  }
}
BENCHMARK(BM_BarePangoSameText)->Unit(benchmark::kMicrosecond);

// A character typed into a focused text field, as the host hands it over:
// OnProcessMessageEx with message 258, the plug-in's own key handling and
// its forwarding to the control library, the edit, the drawing of the
// field and the new picture handed to the host.
void BM_TypeIntoTextField(benchmark::State& state) {
  testhost::TestHost::Get().Reset();
  void* instance = OnCreate(kWindow, 1, nullptr, nullptr);
  const std::string file = (std::filesystem::temp_directory_path() / "vorel-typing-bench.xml").string();
  std::ofstream(file) << "<skindata><skininfo><name>Typing</name></skininfo>"
                         "<sides><side id=\"0\" width=\"240\" height=\"60\"/></sides>"
                         "<desklet><label>Bench</label><keypressanim>0</keypressanim></desklet>"
                         "<controls><control name=\"f\" type=\"TEXTFIELD\" x=\"10\" y=\"10\" width=\"200\" "
                         "height=\"20\" fontsize=\"10\"/></controls></skindata>";
  vorel::TDeskletObject& d = *vorel::AsDesklet(instance);
  vorel::LoadSkin(d, file, true, false);
  vorel::TControlObject* field = d.FindControl("f");
  if (!field || !field->Created) {
    state.SkipWithError("the text field was not made");
    OnDestroy(instance, kWindow);
    return;
  }
  const KivPoint pt{5, 5};
  const KivSize size{200, 20};
  OnLayerMouseDown(instance, field->LayerId, "f", &pt, &size, 1);
  OnLayerMouseUp(instance, field->LayerId, "f", &pt, &size, 1);
  int64_t n = 0;
  for (auto _ : state) {
    // Keep the text about one field long, as someone typing would.
    if (n % 40 == 39) vorel::controls::KivSendMessage(field->Handle, vorel::controls::kSetText, 0,
                                                      reinterpret_cast<LPARAM>(u""));
    LRESULT result = 0;
    OnProcessMessageEx(instance, kWindow, 258, static_cast<WPARAM>('a' + n % 26), 0, &result);
    ForgetCallsEvery(state, n);
  }
  if (!d.errorLog.Lines().empty()) state.SkipWithError(d.errorLog.Lines()[0].c_str());
  OnDestroy(instance, kWindow);
}
BENCHMARK(BM_TypeIntoTextField)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
