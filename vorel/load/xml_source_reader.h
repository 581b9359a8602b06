// The reader of the skin's "xmls" section: one data source for each "xml"
// element, attributes paired by position as for sides. The sources are
// made anew at every load; when there is one, the first fetch of all of
// them starts on a worker.
#pragma once

#include "platform/xml/node.h"

namespace vorel {

class TDeskletObject;

// Raises for a negative interval or a "usewintmp" that is not a boolean,
// which fails the load.
void ReadXmlSources(TDeskletObject& desklet, const xml::Node& xmlsElement);

}  // namespace vorel
