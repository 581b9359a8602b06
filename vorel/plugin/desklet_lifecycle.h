// Making and ending a desklet: the create exports build a TDeskletObject
// and queue its skin load; OnDestroy tears it down in its fixed order. The
// skin load itself runs here too, when the load message comes back,
// because it needs the whole plug-in (readers, drawing, script objects).
#pragma once

#include <memory>

#include "platform/abi/kiv_types.h"

namespace vorel {

class TDeskletObject;

// Runs the skin's ondestroy statement, stops the workers and frees the
// desklet's records in order: timers, event sinks, layers, menus, controls
// with the control library's container and resources, the script engine
// (after unbinding the main object that scripts may still hold) and the
// parameters. Failures of the host's calls are reported and do not stop
// the rest.
void DestroyDesklet(std::unique_ptr<TDeskletObject> desklet);

// The load-skin message: loads the desklet's skin (fresh when wParam is 1)
// and hands the skin's information to the host.
void LoadSkinMessage(TDeskletObject& desklet, WPARAM wParam);

}  // namespace vorel
