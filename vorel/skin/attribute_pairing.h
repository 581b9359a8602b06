// The pairing of a section's attributes: the readers of sides and
// parameters fetch each attribute with its own path over all the section's
// elements, and the k-th element takes the k-th match. An element that
// leaves out an attribute which a later element carries shifts that
// attribute's values: every element after it takes its successor's value.
// The rule stays; this finds where it bites, so that the author can be
// told why a value landed on the wrong element.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/xml/node.h"

namespace vorel {

struct TPairingShift {
  std::string attribute;
  size_t element = 0;  // the first element, from 0, that leaves it out
  size_t count = 0;    // how many elements the section has
};

// Every attribute of `attributes` that some `elementName` child of
// `section` leaves out while a later one carries it.
std::vector<TPairingShift> FindPairingShifts(const xml::Node& section, const std::string& elementName,
                                             std::initializer_list<const char*> attributes);

// "side 2 of 3 has no "width" attribute but a later one has: ..."
std::string DescribePairingShift(const std::string& elementName, const TPairingShift& shift);

}  // namespace vorel
