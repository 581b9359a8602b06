// Pushing a control record into the host's control library: the first
// ApplyControl makes the library control (and, for the desklet's first
// control, the library's resources and container); every later one
// updates it in place. RefreshControlValues puts the controls of one side
// back to what their value texts say now.
//
// Window thread only: the library runs its controls' callbacks, and so
// the skin's statements, from inside these calls.
#pragma once

#include <cstdint>

namespace vorel {

class TDeskletObject;
struct TControlObject;

// Sends the record's font, colours, placement, visibility, value and
// modes to the library and registers the notifications its type has.
// A record whose Created flag is clear gets its library control (and host
// layer) made first. A failure (a negative
// font size, a value that does not convert, a missing library) raises and
// ends the update; what was sent stays, and the library's locks are
// released.
void ApplyControl(TDeskletObject& desklet, TControlObject& control);

// For every made control of the side: a drop-down list selects the item
// its value names (the first item when the value is empty); a text field
// or edit box shows its value text again, when `xmlOnly` only if its value
// comes from XML data. Other types keep what they show.
void RefreshControlValues(TDeskletObject& desklet, uint8_t side, bool xmlOnly);

}  // namespace vorel
