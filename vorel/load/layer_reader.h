// The reader of a skin's layers: every "layer" element under the root's
// "layers" elements becomes a layer record of the desklet and a host layer,
// with its attributes converted, its side, name and hit testing set, its
// child layers read, and its first picture drawn.
#pragma once

#include "platform/xml/document.h"

namespace vorel {

class TDeskletObject;
struct TLayerObject;
struct TChildLayer;

// Reads every "layers" group under the root. A group side outside 0..255
// raises (the load fails); a broken layer element is skipped alone.
void ReadLayers(TDeskletObject& desklet, const xml::Node& root);

// The attributes of one layer element into its record, in the fixed order.
// Raises on a value out of its field's range or a boolean that is not one.
void ReadLayerAttributes(TDeskletObject& desklet, const xml::Node& element, TLayerObject& layer);
void ReadChildLayerAttributes(TDeskletObject& desklet, const xml::Node& element, TChildLayer& child);

}  // namespace vorel
