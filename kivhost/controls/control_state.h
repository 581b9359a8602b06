// What the host asks of its control library beyond the plug-in's calls:
// the controls of a desklet as JSON for the state dump.
#pragma once

#include "platform/abi/kiv_types.h"

extern "C" {
// [{"name","type","visible","text","rect","fontName","fontSize",...}]
// for the desklet's containers; the text stays valid until the next call
// for the same window.
const char* KivControlsDescribe(HWND hwnd);
}
