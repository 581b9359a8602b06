// ExpandVariables: replaces the skin's parameters ("%name%") and the fixed
// tokens ("%SKINPATH%", "%MOUSEX%" ...) in statements and attribute texts.
// Parameters are replaced first, in list order, so a parameter's value may
// itself hold fixed tokens. Expansion never fails on content.
#pragma once

#include <string>
#include <string_view>

namespace vorel {

class TDeskletObject;

std::string ExpandVariables(TDeskletObject& desklet, std::string_view text);

}  // namespace vorel
