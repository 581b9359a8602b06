// One character typed into a focused text field through KivForwardMessage
// (258): the edit, the drawing of the field and the host taking the new
// picture for its layer. The field is the size the plug-in asks for a
// 200 x 20 field, doubled.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "kivhost/loop/host.h"
#include "platform/abi/controls_api.h"

namespace {

struct Fonts {
  Fonts() { setenv("FONTCONFIG_FILE", KIV_FONTS_CONF, 1); }
} fonts;

void TypeIntoTextField(benchmark::State& state) {
  const HWND hwnd = kivhost::Host::Get().CreateDesklet().Hwnd();
  const KivHandle resources = KivCreateResources("/tmp/");
  const KivHandle container = KivCreateControlContainer(hwnd, resources);
  const KivHandle field = KivCreateControl(container, "field", "TEXTFIELD", 0, 0);
  KivRect rect{0, 0, 400, 40};
  KivSize side{512, 512};
  KivSendMessage(field, 4, reinterpret_cast<WPARAM>(&rect), reinterpret_cast<LPARAM>(&side));
  KivAddControlToContainer(container, field);
  KivSendMessage(field, 7, 0, 0);
  BOOL32 found = kFalse;
  const uint32_t layer = DeskletLayerGetLayer(hwnd, "field", &found);
  KivPoint pt{1, 1};
  KivSize size{200, 20};
  KivForwardMouseDown(container, layer, "field", &pt, &size, 1);
  KivForwardMouseUp(container, layer, "field", &pt, &size, 1);

  int typed = 0;
  for (auto _ : state) {
    // Keep the text about one field long, as someone typing would.
    if (++typed % 40 == 0) KivSendMessage(field, 114, 0, reinterpret_cast<LPARAM>(u""));
    benchmark::DoNotOptimize(KivForwardMessage(container, 258, 'a' + typed % 26, 0));
  }
  KivFreeControl(field);
  KivFreeControlContainer(container);
  KivFreeResources(resources);
  kivhost::Host::Get().RemoveDesklet(hwnd);
}
BENCHMARK(TypeIntoTextField)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
