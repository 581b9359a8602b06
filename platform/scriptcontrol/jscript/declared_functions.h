// The names of the functions a piece of JScript declares with function
// declarations, in the order they are written. These, and not every global
// that happens to hold a function afterwards, are the control's procedures:
// `var g = function () {}` is a variable, while a declaration counts however
// the code was added.
#pragma once

#include <jsapi.h>

#include <string>
#include <vector>

namespace scriptcontrol::jscript {

// Compiles the code once more and lets it bind its declarations in a
// fresh global of its own, stopping before its first statement runs, so
// nothing the script sees changes. The code must already have compiled; a
// failure here raises std::runtime_error.
std::vector<std::string> DeclaredFunctions(JSContext* cx, const std::string& code);

}  // namespace scriptcontrol::jscript
