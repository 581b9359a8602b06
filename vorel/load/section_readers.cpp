// NOTE: these sections are read by the steps that bring their records to
// life (data sources, menus, timers, controls). Until a reader is there, a
// skin's section of that kind is left unread, which is what a skin without
// that section gives as well.
#include "vorel/load/section_readers.h"

#include "vorel/model/desklet.h"

namespace vorel {

void ReadXmlSources(TDeskletObject&, const xml::Node&) {}
void ReadMenus(TDeskletObject&, const xml::Node&) {}
void ReadTimers(TDeskletObject&, const xml::Node&) {}
void ReadControls(TDeskletObject&, const xml::Node&) {}

// NOTE: the ticker has work only with timers or data sources; an idle
// desklet keeps it suspended and so has no thread that wakes.
void StartTimersAfterLoad(TDeskletObject& desklet) {
  const bool work = !desklet.timing.timers.empty() || !desklet.data.xmlSources.empty();
  if (work && desklet.timing.secondsThread) desklet.timing.secondsThread->Resume();
}

}  // namespace vorel
