// The event sinker: routes the events of foreign automation objects to
// script procedures named by a prefix. Connecting finds the object's
// connection points, looks up each point's event interface among the
// interfaces the process knows (automation/interface_registry.h) -- a
// point whose interface is not known is skipped -- and advises a
// connection on each. An event, fired on any thread, waits in the
// desklet's event queue until the window thread runs
// "<prefix><event name>" (or "<prefix>_") with the event's arguments, in
// their own order.
//
// One sink per (prefix, ProgID): connecting again with the same pair
// replaces the earlier sink, whatever object it was connected to
// (ConnectObject's ProgID is empty). Disconnecting removes every sink of
// the object (compared by identity); the desklet frees all of them when
// it goes, and events still queued for a removed sink are dropped.
#pragma once

#include <string>

#include "platform/automation/com_ptr.h"
#include "platform/automation/dispatch.h"

namespace vorel {

class TDeskletObject;

// Nothing for a null object; an object with no connection points, or none
// the process knows, is accepted and never delivers events. Raises when a
// point cannot tell its interface.
void ConnectEvents(TDeskletObject& desklet, automation::IDispatch* object, const std::string& progId,
                   const std::string& prefix);
void DisconnectEvents(TDeskletObject& desklet, automation::IUnknown* object);
// Every sink goes, and the queue drops what arrives later.
void DisconnectAllEvents(TDeskletObject& desklet);

// On the window thread, for MSG_OBJECT_EVENT: runs the queued events of
// the sinks still connected.
void DeliverObjectEvents(TDeskletObject& desklet);

}  // namespace vorel
