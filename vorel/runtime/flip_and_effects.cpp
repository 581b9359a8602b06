#include "vorel/runtime/flip_and_effects.h"

#include "vorel/util/errors.h"

namespace vorel {

// NOTE: flipping and effects raise until they exist; event dispatch then
// treats the request as a failed flip or effect, which is what a skin sees
// when the host refuses one.
void RequestSideChange(TDeskletObject&, const std::string&) { NotImplemented("side flipping (!FLIP:)"); }

void FlipToSide(TDeskletObject&, const std::string&) { NotImplemented("side flipping (FlipTo)"); }

void RunEffect(TDeskletObject&, const std::string&) { NotImplemented("effects (!EFFECT:)"); }

}  // namespace vorel
