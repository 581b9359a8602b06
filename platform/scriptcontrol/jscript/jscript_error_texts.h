// JScript's numbers and texts for the failures Duktape reports in its own
// words. Scripts test `e.number` and the error log shows the description,
// both as JScript gives them; Duktape's message follows in parentheses
// where it names what the JScript text leaves out:
//
//   Object expected (cannot read property 'c' of undefined)
//   'x' is undefined
//   Expected ';'
//
// Every mapping lives in the one table in jscript_error_texts.cpp.
#pragma once

#include <cstdint>
#include <string>

namespace scriptcontrol::jscript {

struct JScriptErrorText {
  int32_t number = 0;  // as scripts see it: 0x800A0000 plus JScript's code
  std::string description;
};

// A compile failure: Duktape's message with its "(line ...)" part already
// taken off, whether it ended at the end of the input, the code compiled
// and the text of the failing line. Gives a syntax error of some kind, or
// "Out of stack space" for nesting deeper than the compiler goes.
JScriptErrorText CompileErrorText(const std::string& message, bool atEndOfInput, const std::string& code,
                                  const std::string& lineText);

// A run-time failure by Duktape's error name and message; empty number when
// the table has no row for it.
JScriptErrorText RuntimeErrorText(const std::string& name, const std::string& message);

}  // namespace scriptcontrol::jscript
