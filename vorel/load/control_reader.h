// The reader of a skin's controls: every "control" element under the
// root's "controls" elements becomes a control record of the desklet and,
// through ApplyControl, a control of the host's control library.
#pragma once

#include "platform/xml/document.h"

namespace vorel {

class TDeskletObject;

// Reads every "controls" group under the root. A group side outside
// 0..255 raises (the load fails). A control element of an unknown type,
// without a name, or named like a control or layer that exists is passed
// over; one that fails part-way keeps its record, with the fields read so
// far and no library control, and the reader goes on with the next.
void ReadControls(TDeskletObject& desklet, const xml::Node& root);

}  // namespace vorel
