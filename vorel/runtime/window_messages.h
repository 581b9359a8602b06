// The window messages the plug-in handles when the host passes them to
// OnProcessMessageEx: character input and the private messages by which
// workers and deferred work reach the desklet window's thread.
#pragma once

#include <string>

#include "platform/abi/kiv_types.h"

namespace vorel {

class TDeskletObject;

// Handles one message; `result` receives the message result where the
// message has one (character input sets it true). Raises on a parameter out
// of range; ignores unknown messages. The skin-load message is the
// plug-in's own (it needs the whole loader) and is handled before this.
void HandleWindowMessage(TDeskletObject& desklet, uint32_t message, WPARAM wParam, LPARAM lParam, LRESULT* result);

// The key text of a character code: "CR", "ESC", "TAB", "BS" or the
// character itself.
std::string KeyText(uint32_t code);

}  // namespace vorel
