#include "vorel/skin/attribute_pairing.h"

namespace vorel {

std::vector<TPairingShift> FindPairingShifts(const xml::Node& section, const std::string& elementName,
                                             size_t count, std::initializer_list<TAttributeCount> attributes) {
  std::vector<TPairingShift> shifts;
  if (!section) return shifts;
  std::vector<xml::Node> elements;
  for (const auto& [attribute, carried] : attributes) {
    if (carried == 0 || carried >= count) continue;
    if (elements.empty()) elements = section.SelectNodes(elementName);
    size_t firstMissing = elements.size();
    for (size_t k = 0; k < elements.size(); ++k) {
      const bool has = elements[k].Attribute(attribute).has_value();
      if (!has && firstMissing == elements.size()) firstMissing = k;
      if (has && firstMissing < k) {
        shifts.push_back({attribute, firstMissing, elements.size()});
        break;
      }
    }
  }
  return shifts;
}

std::string DescribePairingShift(const std::string& elementName, const TPairingShift& shift) {
  return elementName + " " + std::to_string(shift.element + 1) + " of " + std::to_string(shift.count) +
         " has no \"" + shift.attribute + "\" attribute but a later " + elementName +
         " has one: from there on each " + elementName + " takes the next one's " + shift.attribute +
         " (give every " + elementName + " the attribute, or leave it out only at the end)";
}

}  // namespace vorel
