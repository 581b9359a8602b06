// Adding and deleting sides while the desklet runs, as the sides
// collection of the scripts does it. Deleting a side deletes its layers
// and controls; those of later sides keep their side numbers.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vorel {

class TDeskletObject;
struct TSideRecord;

// Appends a side; gives its index.
size_t AddSide(TDeskletObject& desklet, const TSideRecord& side);

// Deletes the side at the position with every layer and control on it.
void DeleteSideAt(TDeskletObject& desklet, size_t position);

}  // namespace vorel
