// "!EFFECT:" statements: a fade of a layer's opacity in steps ("SHOW",
// "HIDE") and an animated change of the shown part of a layer's image
// ("SLIDE"), written as comma-separated fields:
//   !EFFECT:SHOW|HIDE,target,goal,step,pause
//   !EFFECT:SLIDE,target,12 formulas over x y width height offsetx offsety,pause
// The target is "SELF" or a layer's name. Both run to their end before the
// statement's event goes on.
#pragma once

#include <string>

namespace vorel {

class TDeskletObject;
struct TLayerObject;

// `own` is the layer whose statement it is. An unknown effect does
// nothing; a field that does not read, is out of range, or names no layer
// raises KivError, leaving what the effect did so far.
void RunEffect(TDeskletObject& desklet, TLayerObject& own, const std::string& statement);

}  // namespace vorel
