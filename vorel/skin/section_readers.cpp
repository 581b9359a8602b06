// NOTE: these sections are read by the steps that bring their records to
// life (data sources, menus, timers, controls). Until a reader is there, a
// skin's section of that kind is left unread, which is what a skin without
// that section gives as well.
#include "vorel/skin/section_readers.h"

#include "vorel/host/desklet_object.h"

namespace vorel {

void ReadXmlSources(TDeskletObject&, const xml::Node&) {}
void ReadMenus(TDeskletObject&, const xml::Node&) {}
void ReadTimers(TDeskletObject&, const xml::Node&) {}
void ReadControls(TDeskletObject&, const xml::Node&) {}

void StartTimersAfterLoad(TDeskletObject& desklet) {
  if (desklet.secondsThread) desklet.secondsThread->Resume();
}

}  // namespace vorel
