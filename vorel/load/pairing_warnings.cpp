#include "vorel/load/pairing_warnings.h"

#include "vorel/model/desklet.h"

namespace vorel {

void WarnOfPairingShifts(TDeskletObject& desklet, const xml::Node& section, const std::string& element, size_t count,
                         std::initializer_list<TAttributeCount> attributes) {
  for (const TPairingShift& shift : FindPairingShifts(section, element, count, attributes))
    desklet.errorLog.Report({0, kSkinWarningSource, DescribePairingShift(element, shift), 0, 0, ""});
}

}  // namespace vorel
