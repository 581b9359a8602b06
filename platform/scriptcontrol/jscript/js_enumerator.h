// Enumerator, the JScript built-in that walks a collection:
//
//   for (var e = new Enumerator(kiv.Layers); !e.atEnd(); e.moveNext()) e.item().Visible = true;
//
// over an automation object whose _NewEnum member (dispatch id -4, a
// property or a method) hands out an IEnumVARIANT, or over a script array.
// atEnd(), item() (the current element; undefined at the end), moveNext()
// and moveFirst() (back to the first element) as JScript has them; an
// Enumerator made without a collection is at its end from the start. A
// value that is no collection fails with JScript's TypeError "Object
// doesn't support this property or method".
//
// The native walker belongs to the Enumerator object, whose finalizer
// releases it. Its current element is fetched when the walker moves and
// kept as a script value, so item() gives the same value until the next
// move. Over an array the walker reads the array afresh at every step.
#pragma once

#include <jsapi.h>

namespace scriptcontrol::jscript {

// Defines the global constructor on the engine's global.
void DefineEnumerator(JSContext* cx, JS::HandleObject global);

}  // namespace scriptcontrol::jscript
