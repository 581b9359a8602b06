// Readers of the skin's "sides" and "parameters" sections. Attributes are
// paired by position: the k-th element takes the k-th match of each
// attribute's own path, so an element that omits an attribute shifts the
// values of the elements after it.
#pragma once

#include "platform/xml/document.h"

namespace vorel {

class TDeskletObject;

// Rebuilds the side table; when fresh, sizes the desklet to side 0; always
// sets the close point. Raises on a negative size or close point.
void ReadSides(TDeskletObject& desklet, const xml::Node& sidesElement, bool fresh);

// Adds the parameters that do not exist yet; existing ones keep their value
// and persistence and take the new onupdate statement.
void ReadParameters(TDeskletObject& desklet, const xml::Node& parametersElement);

}  // namespace vorel
