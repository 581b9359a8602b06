// The routines the control library calls when the user acts on a control:
// focus entering and leaving, the Enter key, a changed text or scroll
// position, and a drop-down selection about to change. Each runs the
// control's statement and answers -1, or 0 when the statement is empty.
#pragma once

namespace vorel {

struct TControlObject;

// Registers with the library the notifications the control's type has.
void RegisterControlNotifications(const TControlObject& control);

}  // namespace vorel
