// NOTE: these sections are read by the steps that bring their records to
// life (menus). Until a reader is there, a skin's section of that kind is
// left unread, which is what a skin without
// that section gives as well.
#include "vorel/load/section_readers.h"

#include "vorel/model/desklet.h"

namespace vorel {

void ReadMenus(TDeskletObject&, const xml::Node&) {}

}  // namespace vorel
