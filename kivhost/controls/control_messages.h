// The message codes of KivSendMessage, carried out on one control.
#pragma once

#include "kivhost/controls/control_store.h"

namespace kivcontrols {

// Carries out one code on a control; unknown codes give 0. Codes that
// change the control's look mark it to be drawn again.
int32_t HandleControlMessage(Control& control, uint32_t code, WPARAM wParam, LPARAM lParam);

// True for the codes that change how a control looks.
bool ChangesLook(uint32_t code);

}  // namespace kivcontrols
