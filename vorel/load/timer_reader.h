// The reader of the skin's "timers" section. Attributes pair by position,
// as for sides. A timer whose name is taken updates that timer; one without
// an interval or a statement is not added. The delays are converted when
// the timers start at the end of the load.
#pragma once

#include "platform/xml/node.h"

namespace vorel {

class TDeskletObject;

// Raises "Range check error" for a type above 255, which fails the load.
void ReadTimers(TDeskletObject& desklet, const xml::Node& timersElement);

}  // namespace vorel
