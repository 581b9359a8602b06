// One step of a layer slide, end to end: the step message handed to the
// plug-in (clip, placement and invalidation sent to the host), the thread
// started for the next step, and the wait until that thread has posted it.
// The slide runs for ever over a 200 by 100 layer with a delay of 0, so
// that the figure is the step's own cost and the thread round trip.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "platform/abi/plugin_api.h"
#include "platform/win/win_services.h"
#include "tests/support/test_host.h"
#include "vorel/host/messages.h"
#include "vorel/load/skin_loader.h"
#include "vorel/model/desklet.h"
#include "vorel/runtime/layer_animation.h"

namespace {

constexpr HWND kWindow = 0x5300;

struct Desklet {
  Desklet() {
    testhost::TestHost::Get().Reset();
    instance = OnCreate(kWindow, 1, nullptr, nullptr);
    testhost::TestHost::Get().DeskletOf(kWindow).instance = instance;
    const std::string file = (std::filesystem::temp_directory_path() / "vorel-slide-bench.xml").string();
    std::ofstream(file) << "<skindata><skininfo><name>Slides</name></skininfo>"
                           "<sides><side id=\"0\" width=\"240\" height=\"120\"/></sides><desklet><label>Bench</label>"
                           "</desklet><layers><layer name=\"p\" src=\"!BLANKSPACE\" x=\"10\" y=\"10\" width=\"200\" "
                           "height=\"100\"/></layers></skindata>";
    vorel::LoadSkin(D(), file, true, false);
  }
  ~Desklet() { OnDestroy(instance, kWindow); }
  vorel::TDeskletObject& D() { return *vorel::AsDesklet(instance); }
  void* instance;
};

// Hands posted messages to the plug-in until a slide step has been
// handled; the reaping of finished threads comes along.
void RunOneStep() {
  for (;;) {
    WinMsg message{};
    if (!testhost::TestHost::Get().PopMessage(message)) {
      std::this_thread::yield();  // the step's thread needs the core to post
      continue;
    }
    win::DispatchMessage(message);
    if (message.message == vorel::MSG_SLIDE_STEP) return;
  }
}

void BM_SlideStepEndToEnd(benchmark::State& state) {
  Desklet desklet;
  vorel::TSlideRequest forever{{0, 0, 0, 100}, {0, 0, 200, 100}, {0, 0, 1, 0}, 0, -1, true, ""};
  vorel::StartLayerSlide(desklet.D(), *desklet.D().FindLayerByName("p"), forever);
  int64_t n = 0;
  for (auto _ : state) {
    RunOneStep();
    if (++n % 1000) continue;
    state.PauseTiming();
    std::lock_guard lock(testhost::TestHost::Get().mutex);
    testhost::TestHost::Get().calls.clear();
    state.ResumeTiming();
  }
  if (!desklet.D().errorLog.Lines().empty()) state.SkipWithError(desklet.D().errorLog.Lines()[0].c_str());
}
BENCHMARK(BM_SlideStepEndToEnd)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
