// Sections whose attributes pair by position (sides, parameters, timers)
// tell the author, as a skin warning, where an element that leaves out an
// attribute makes the elements after it take their successors' values.
#pragma once

#include <initializer_list>
#include <string>

#include "platform/xml/node.h"
#include "vorel/skin/attribute_pairing.h"

namespace vorel {

class TDeskletObject;

void WarnOfPairingShifts(TDeskletObject& desklet, const xml::Node& section, const std::string& element, size_t count,
                         std::initializer_list<TAttributeCount> attributes);

}  // namespace vorel
