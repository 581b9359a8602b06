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

// An attribute and how many of the section's elements carry it.
struct TAttributeCount {
  const char* name;
  size_t count;
};

struct TPairingShift {
  std::string attribute;
  size_t element = 0;  // the first element, from 0, that leaves it out
  size_t count = 0;    // how many elements the section has
};

// Every attribute of `attributes` that some `elementName` child of
// `section` (there are `elements` of them) leaves out while a later one
// carries it. The readers know the counts already; an attribute that every
// element or no element carries cannot shift, so the elements are looked
// at only when a count says that some leave it out.
std::vector<TPairingShift> FindPairingShifts(const xml::Node& section, const std::string& elementName,
                                             size_t elements, std::initializer_list<TAttributeCount> attributes);

// "side 2 of 3 has no "width" attribute but a later one has: ..."
std::string DescribePairingShift(const std::string& elementName, const TPairingShift& shift);

}  // namespace vorel
