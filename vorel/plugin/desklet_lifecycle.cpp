#include "vorel/plugin/desklet_lifecycle.h"

#include "platform/win/win_services.h"
#include "vorel/host/control_library.h"
#include "vorel/runtime/control_list.h"
#include "vorel/runtime/event_sinker.h"
#include "vorel/host/host_api.h"
#include "vorel/load/skin_loader.h"
#include "vorel/model/desklet.h"
#include "vorel/runtime/statement_runner.h"
#include "vorel/script/objects/vorel_main.h"
#include "vorel/ui/property_page.h"

namespace vorel {

namespace {

// A clean-up step whose failure must not stop the rest of the teardown.
template <typename Fn>
void Step(TDeskletObject& d, Fn&& fn) {
  try {
    fn();
  } catch (...) {
    d.errorLog.Report(std::current_exception());
  }
}

}  // namespace

void DestroyDesklet(std::unique_ptr<TDeskletObject> desklet) {
  if (!desklet) return;
  TDeskletObject& d = *desklet;
  d.destroying = true;
  // A page still open for the desklet must not outlive it.
  ClosePropertyPage(d);
  RunStatement(d, d.settings.onDestroy);
  d.errorLog.Clear();
  d.StopTicker();
  // Workers only post; messages for this desklet that arrive meanwhile are
  // dropped (destroying), the others go on being dispatched.
  // NOTE: downloads under way give up at once rather than at their
  // time-outs.
  d.data.stopping = true;
  d.threads.StopAll([] { win::PumpMessages(); });
  d.timing.timers.Clear();
  DisconnectAllEvents(d);
  for (auto& layer : d.layers) layer->Children.clear();
  d.layers.clear();
  d.menus.clear();
  TErrorLog::Scope scope(d.errorLog, "closing the desklet");
  // NOTE: the library controls go before their records (and before the
  // container, which would leave them on the window): the library may
  // still call a control's record while it lets go of the control.
  Step(d, [&] { FreeAllControls(d); });
  if (d.controlState.controlContainer != 0)
    Step(d, [&] { controls::KivFreeControlContainer(d.controlState.controlContainer); });
  if (d.controlState.controlResources != 0)
    Step(d, [&] { controls::KivFreeResources(d.controlState.controlResources); });
  // Scripts that still hold the main object see it unbound from here on.
  if (TVorelMain* main = TVorelMain::From(d.scripting.mainObject.Get())) main->Unbind();
  d.scripting.scriptEngine.reset();
  d.scripting.mainObject = nullptr;
  d.parameters.clear();
}

void LoadSkinMessage(TDeskletObject& desklet, WPARAM wParam) {
  std::unique_ptr<TSkinInfo> info = LoadSkin(desklet, desklet.settings.skinPath, wParam == 1, true);
  host::DeskletSetSkinInfoW(desklet.windowHandle, info ? info->Record() : nullptr);
}

}  // namespace vorel
