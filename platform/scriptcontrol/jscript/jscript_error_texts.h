// JScript's numbers and texts for the failures SpiderMonkey reports in its
// own words. Scripts test `e.number` and the error log shows the
// description, both as JScript gives them; SpiderMonkey's message follows
// in parentheses where it names what the JScript text leaves out:
//
//   Object expected (can't access property "c", a is undefined)
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

// A compile failure: SpiderMonkey's error name and message, the code
// compiled and the text of the failing line. Gives a syntax error of some
// kind, or "Out of stack space" for nesting deeper than the compiler goes.
JScriptErrorText CompileErrorText(const std::string& name, const std::string& message, const std::string& code,
                                  const std::string& lineText);

// What a failed call was made on, when the engine could tell: "x is not a
// function" means "Object expected" for an x that holds nothing, a missing
// member for an object that cannot be called, and "Function expected" for
// any other value.
enum class Callee { Unknown, Nothing, Object, Value };

// A run-time failure by SpiderMonkey's error name and message; empty
// number when the table has no row for it.
JScriptErrorText RuntimeErrorText(const std::string& name, const std::string& message, Callee callee = Callee::Unknown);

}  // namespace scriptcontrol::jscript
