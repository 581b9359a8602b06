#include "platform/scriptcontrol/jscript/jscript_error_texts.h"

#include <array>
#include <cctype>
#include <string_view>
#include <vector>

namespace scriptcontrol::jscript {

namespace {

constexpr int32_t JScript(int32_t code) { return static_cast<int32_t>(0x800A0000u | static_cast<uint32_t>(code)); }

// How a row recognises SpiderMonkey's message.
enum class Match { Prefix, Exact, Contains, Suffix };

struct Row {
  bool compile;           // a compile failure rather than a run-time one
  const char* errorName;  // run-time rows: SpiderMonkey's error name
  Match match;
  const char* words;      // SpiderMonkey's words
  int32_t code;           // JScript's number
  const char* text;       // JScript's words; %s stands for the quoted name
  bool keepDetail;        // SpiderMonkey's message follows in parentheses
};

// Rows are tried in order; the first that matches wins.
constexpr std::array kRows{
    // Compile failures.
    Row{true, "", Match::Prefix, "unterminated string", 1015, "Unterminated string constant", false},
    Row{true, "", Match::Contains, "literal not terminated", 1015, "Unterminated string constant", false},
    Row{true, "", Match::Prefix, "unterminated comment", 1016, "Unterminated comment", false},
    Row{true, "", Match::Prefix, "missing ; before statement", 1004, "Expected ';'", false},
    // A statement goes on where it should have ended.
    Row{true, "", Match::Prefix, "unexpected token: ", 1004, "Expected ';'", false},
    Row{true, "", Match::Prefix, "identifier starts immediately after numeric literal", 1013, "Invalid number", false},
    Row{true, "", Match::Prefix, "missing exponent", 1013, "Invalid number", false},
    Row{true, "", Match::Prefix, "missing hexadecimal digits", 1013, "Invalid number", false},
    Row{true, "", Match::Prefix, "illegal character", 1014, "Invalid character", false},
    Row{true, "", Match::Prefix, "missing name after", 1010, "Expected identifier", false},
    Row{true, "", Match::Prefix, "return not in function", 1018, "'return' statement outside of function", false},
    // Nesting too deep for the compiler's own recursion.
    Row{true, "", Match::Exact, "too much recursion", 28, "Out of stack space", false},
    Row{true, "", Match::Prefix, "missing ( ", 1005, "Expected '('", false},
    Row{true, "", Match::Prefix, "missing ) ", 1006, "Expected ')'", false},
    Row{true, "", Match::Prefix, "missing ] ", 1007, "Expected ']'", false},
    Row{true, "", Match::Prefix, "missing } ", 1009, "Expected '}'", false},
    // The end of the code came too soon; what is still open tells what
    // was expected (UnclosedBracket below).
    Row{true, "", Match::Exact, "expected ')'", 1006, "Expected ')'", false},
    Row{true, "", Match::Exact, "expected ']'", 1007, "Expected ']'", false},
    Row{true, "", Match::Exact, "expected '}'", 1009, "Expected '}'", false},
    Row{true, "", Match::Prefix, "", 1002, "Syntax error", true},
    // Run-time failures.
    // Recursion without end, in script calls or through the built-ins.
    Row{false, "InternalError", Match::Exact, "too much recursion", 28, "Out of stack space", false},
    Row{false, "ReferenceError", Match::Suffix, " is not defined", 5009, "%s is undefined", false},
    Row{false, "TypeError", Match::Prefix, "can't access property", 5007, "Object expected", true},
    Row{false, "TypeError", Match::Suffix, " is undefined", 5007, "Object expected", true},
    Row{false, "TypeError", Match::Suffix, " is null", 5007, "Object expected", true},
    Row{false, "TypeError", Match::Suffix, " has no properties", 5007, "Object expected", true},
};

// The rows of "x is not a function", chosen by what x is.
constexpr Row kCallOfNothing{false, "TypeError", Match::Suffix, "", 5007, "Object expected", true};
constexpr Row kCallOfMember{false, "TypeError", Match::Suffix, "", 438,
                            "Object doesn't support this property or method", true};
constexpr Row kCallOfValue{false, "TypeError", Match::Suffix, "", 5002, "Function expected", true};

bool Matches(const Row& row, std::string_view message) {
  switch (row.match) {
    case Match::Prefix: return message.starts_with(row.words);
    case Match::Exact: return message == row.words;
    case Match::Contains: return message.find(row.words) != std::string_view::npos;
    case Match::Suffix: return message.size() > std::string_view(row.words).size() && message.ends_with(row.words);
  }
  return false;
}

// The name a "name is not defined" message starts with, quoted.
std::string QuotedName(const std::string& message) {
  const size_t end = message.find(' ');
  return "'" + message.substr(0, end) + "'";
}

JScriptErrorText FromRow(const Row& row, const std::string& message) {
  std::string text = row.text;
  if (const size_t at = text.find("%s"); at != std::string::npos) text.replace(at, 2, QuotedName(message));
  if (row.keepDetail && !message.empty()) text += " (" + message + ")";
  return {JScript(row.code), text};
}

// The closing bracket still owed when the code ends, if any: the code is
// scanned with its strings and comments skipped.
std::string_view UnclosedBracket(const std::string& code) {
  std::vector<char> open;
  for (size_t i = 0; i < code.size(); ++i) {
    const char c = code[i];
    if (c == '\'' || c == '"') {
      for (++i; i < code.size() && code[i] != c && code[i] != '\n'; ++i)
        if (code[i] == '\\') ++i;
    } else if (c == '/' && i + 1 < code.size() && code[i + 1] == '/') {
      i = code.find('\n', i);
      if (i == std::string::npos) break;
    } else if (c == '/' && i + 1 < code.size() && code[i + 1] == '*') {
      i = code.find("*/", i + 2);
      if (i == std::string::npos) break;
      ++i;
    } else if (c == '(' || c == '[' || c == '{') {
      open.push_back(c);
    } else if ((c == ')' || c == ']' || c == '}') && !open.empty()) {
      open.pop_back();
    }
  }
  if (open.empty()) return {};
  return open.back() == '(' ? "expected ')'" : open.back() == '[' ? "expected ']'" : "expected '}'";
}

// A statement keyword whose condition must start with "(" and does not.
bool KeywordLacksParenthesis(const std::string& line) {
  for (std::string_view keyword : {"if", "while", "for", "switch", "catch", "with"}) {
    size_t at = line.find(keyword);
    while (at != std::string::npos) {
      const size_t end = at + keyword.size();
      const bool alone = (at == 0 || !std::isalnum(static_cast<unsigned char>(line[at - 1]))) &&
                         (end >= line.size() || !std::isalnum(static_cast<unsigned char>(line[end])));
      if (alone) {
        size_t next = line.find_first_not_of(" \t", end);
        if (next != std::string::npos && line[next] != '(') return true;
      }
      at = line.find(keyword, end);
    }
  }
  return false;
}

}  // namespace

JScriptErrorText CompileErrorText(const std::string& name, const std::string& message, const std::string& code,
                                  const std::string& lineText) {
  std::string key = message;
  if (name == "InternalError" && message == "too much recursion") key = message;
  else if (message.find("end of script") != std::string::npos && message.find("literal") == std::string::npos)
    key = std::string(UnclosedBracket(code));
  else if (message.starts_with("expected expression") && KeywordLacksParenthesis(lineText)) key = "missing ( ";
  if (key.empty()) key = message;
  for (const Row& row : kRows)
    if (row.compile && Matches(row, key)) return FromRow(row, message);
  return {JScript(1002), "Syntax error"};
}

JScriptErrorText RuntimeErrorText(const std::string& name, const std::string& message, Callee callee) {
  const std::string_view notAFunction = " is not a function";
  if (name == "TypeError" && message.ends_with(notAFunction)) {
    const std::string expression = message.substr(0, message.size() - notAFunction.size());
    if (callee == Callee::Nothing) return FromRow(kCallOfNothing, message);
    if (callee == Callee::Object || expression.find_first_of(".[") != std::string::npos)
      return FromRow(kCallOfMember, message);
    return FromRow(kCallOfValue, message);
  }
  for (const Row& row : kRows)
    if (!row.compile && name == row.errorName && Matches(row, message)) return FromRow(row, message);
  return {};
}

}  // namespace scriptcontrol::jscript
