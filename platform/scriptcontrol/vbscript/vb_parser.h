// The parser: VBScript source text to the syntax tree of vb_ast.h. The
// lexer (vb_lexer.h) gives it tokens; each parse function has the grammar
// rule it reads above it. The first fault ends the parse with a VbError
// carrying a compile-error number (1002 "Syntax error", 1025 "Expected end
// of statement", ...) and the line and column where it was found.
#pragma once

#include <string_view>

#include "platform/scriptcontrol/vbscript/vb_ast.h"

namespace scriptcontrol::vbscript {

// A whole script (AddCode, ExecuteStatement, Execute, ExecuteGlobal).
Program ParseProgram(std::string_view source);
// One expression and nothing after it (Eval); "=" compares here.
ExprPtr ParseExpression(std::string_view source);

}  // namespace scriptcontrol::vbscript
