// Adding and deleting controls while the desklet runs, as the controls
// collection of the scripts does it. Deleting frees the library control,
// whose host layer goes with it, and so renumbers the host's layers: every
// deletion ends by reading the host identifiers again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vorel {

class TDeskletObject;
struct TControlObject;

// The control of that name, or a new one of the type at (x, y) on the
// side, made in the library at once. Raises for a type that is not one of
// the six, an empty name, or the name of one of the desklet's layers.
TControlObject& AddControl(TDeskletObject& desklet, const std::string& name, const std::string& type, int16_t x,
                           int16_t y, uint8_t side);

// Takes the control at the position out of the library's container, frees
// it there and its record here; then refreshes the host identifiers.
void DeleteControlAt(TDeskletObject& desklet, size_t position);

// Deletes every control on the side under one lock of the library's
// container; then refreshes the host identifiers.
void DeleteControlsOfSide(TDeskletObject& desklet, uint8_t side);

// Frees every library control and then every record, for a desklet that
// goes: no control is left on the host's window, and none can call back
// into a freed record.
void FreeAllControls(TDeskletObject& desklet);

}  // namespace vorel
