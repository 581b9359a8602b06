// RunStatement: runs one skin statement (an event statement, a timer's or a
// menu item's statement). Blank text is skipped; otherwise the text is
// expanded and executed by the desklet's script engine. Every failure is
// swallowed here: reporting script errors is the engine's error event.
#pragma once

#include <string>

namespace vorel {

class TDeskletObject;

void RunStatement(TDeskletObject& desklet, const std::string& statement);

}  // namespace vorel
