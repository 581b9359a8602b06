// RunStatement: runs one skin statement (an event statement, a timer's or a
// menu item's statement). Blank text is skipped; otherwise the text is
// expanded and executed by the desklet's script engine. No failure leaves
// it: each goes to the desklet's error log (script errors by the engine's
// error event), and the caller carries on.
#pragma once

#include <string>

namespace vorel {

class TDeskletObject;

void RunStatement(TDeskletObject& desklet, const std::string& statement);

}  // namespace vorel
