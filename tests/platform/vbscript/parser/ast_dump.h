// Writes syntax trees as short S-expressions, so that a test can state
// the whole tree it expects in one line: "(+ 1 (* 2 3))", "(call f 1 _ 3)".
// Literals show their type: 1 is an Integer, 1& a Long, 1.5# a Double,
// "a" a String, #2.5# a Date (its day number); an omitted argument is _.
#pragma once

#include <string>
#include <string_view>

#include "platform/scriptcontrol/vbscript/vb_ast.h"

namespace vbtest {

std::string Dump(const scriptcontrol::vbscript::Expr* e);
std::string Dump(const scriptcontrol::vbscript::Stmt& s);
std::string Dump(const scriptcontrol::vbscript::Block& block);

// Parses and dumps; "error N at L:C" when the parse fails.
std::string DumpExpression(std::string_view source);
std::string DumpProgram(std::string_view source);  // the body only
std::string ErrorOf(std::string_view source);      // "ok" when the parse succeeds

}  // namespace vbtest
