// The two statement prefixes that do not run script: "!FLIP:" changes the
// desklet's side and "!EFFECT:" runs a visual effect. Side flipping and
// effects are built on the host's flip call with its completion callback.
#pragma once

#include <string>

namespace vorel {

class TDeskletObject;

// The text after "!FLIP:" names the side to show.
void RequestSideChange(TDeskletObject& desklet, const std::string& statement);
// A flip request ("!FILE:" and a side number) from the main object; the
// desklet flips only when the side differs from the one shown.
void FlipToSide(TDeskletObject& desklet, const std::string& request);
// The text after "!EFFECT:" up to the first "|" names the effect.
void RunEffect(TDeskletObject& desklet, const std::string& statement);

}  // namespace vorel
