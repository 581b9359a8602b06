// Prints a type library as text: as IDL, the way interface definitions are
// read by programmers, and as Markdown for skin authors (one section per
// class with a table of its members). Both come straight from the library's
// declarations, so the printed documentation cannot drift from what
// scripts actually meet. The output depends on nothing but the library:
// printing twice gives the same bytes.
#pragma once

#include <string>

#include "platform/automation/type_library.h"

namespace typelib_print {

std::string PrintIdl(const automation::TypeLibrary& library);
std::string PrintMarkdown(const automation::TypeLibrary& library);

// How a member's type reads in either text ("BSTR", "string").
std::string IdlTypeName(automation::VarType type);
std::string ScriptTypeName(automation::VarType type);

}  // namespace typelib_print
