// The readers of the skin sections that build records for the runtime:
// data sources, menus, timers, layers and controls, and the timer start at
// the end of a load. The loader calls them in its fixed order.
#pragma once

#include "platform/xml/document.h"
#include "vorel/load/layer_reader.h"

namespace vorel {

class TDeskletObject;

void ReadXmlSources(TDeskletObject& desklet, const xml::Node& xmlsElement);
void ReadMenus(TDeskletObject& desklet, const xml::Node& menusElement);
void ReadTimers(TDeskletObject& desklet, const xml::Node& timersElement);
void ReadControls(TDeskletObject& desklet, const xml::Node& root);
// After a successful load: converts the timers' delays, resumes the ticker
// and starts the millisecond timers.
void StartTimersAfterLoad(TDeskletObject& desklet);

}  // namespace vorel
