// VBArray, the JScript built-in that reads a variant array an automation
// member returned (such arrays reach scripts as opaque values):
//
//   var a = new VBArray(kiv.Numbers());
//   a.lbound(), a.ubound(), a.dimensions(), a.getItem(a.lbound()), a.toArray()
//
// Variant arrays have one dimension, so dimensions() is 1 and lbound and
// ubound know dimension 1 only. An index or dimension outside the bounds
// fails with JScript's "Subscript out of range"; a value that is no
// variant array with the TypeError "VBArray expected".
#pragma once

#include <jsapi.h>

namespace scriptcontrol::jscript {

// Defines the global constructor on the engine's global.
void DefineVBArray(JSContext* cx, JS::HandleObject global);

}  // namespace scriptcontrol::jscript
