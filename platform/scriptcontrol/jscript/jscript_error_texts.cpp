#include "platform/scriptcontrol/jscript/jscript_error_texts.h"

#include <array>
#include <cctype>
#include <string_view>
#include <vector>

namespace scriptcontrol::jscript {

namespace {

constexpr int32_t JScript(int32_t code) { return static_cast<int32_t>(0x800A0000u | static_cast<uint32_t>(code)); }

// How a row recognises Duktape's message.
enum class Match { Prefix, Exact, Contains };

struct Row {
  bool compile;           // a compile failure rather than a run-time one
  const char* errorName;  // run-time rows: Duktape's error name
  Match match;
  const char* duktape;    // Duktape's words
  int32_t code;           // JScript's number
  const char* text;       // JScript's words; %s stands for the quoted name
  bool keepDetail;        // Duktape's message follows in parentheses
};

// Rows are tried in order; the first that matches wins.
constexpr std::array kRows{
    // Compile failures.
    Row{true, "", Match::Prefix, "unterminated string", 1015, "Unterminated string constant", false},
    Row{true, "", Match::Prefix, "unterminated comment", 1016, "Unterminated comment", false},
    Row{true, "", Match::Prefix, "unterminated statement", 1004, "Expected ';'", false},
    Row{true, "", Match::Prefix, "invalid number literal", 1013, "Invalid number", false},
    Row{true, "", Match::Prefix, "invalid token", 1014, "Invalid character", false},
    Row{true, "", Match::Prefix, "expected identifier", 1010, "Expected identifier", false},
    Row{true, "", Match::Prefix, "invalid return", 1018, "'return' statement outside of function", false},
    // Duktape's plain "parse error" says nothing of what was expected; the
    // code itself tells (ExpectedByCode below).
    // Nesting too deep for the compiler's own recursion.
    Row{true, "", Match::Prefix, "compiler recursion limit", 28, "Out of stack space", false},
    Row{true, "", Match::Prefix, "expected '('", 1005, "Expected '('", false},
    Row{true, "", Match::Prefix, "expected ')'", 1006, "Expected ')'", false},
    Row{true, "", Match::Prefix, "expected ']'", 1007, "Expected ']'", false},
    Row{true, "", Match::Prefix, "expected '}'", 1009, "Expected '}'", false},
    Row{true, "", Match::Prefix, "", 1002, "Syntax error", true},
    // Run-time failures.
    // Recursion without end: Duktape counts script calls and, apart, its
    // own C recursion (getters, toString, callbacks of the built-ins).
    Row{false, "RangeError", Match::Exact, "callstack limit", 28, "Out of stack space", false},
    Row{false, "RangeError", Match::Exact, "C stack depth limit", 28, "Out of stack space", false},
    Row{false, "ReferenceError", Match::Prefix, "identifier ", 5009, "%s is undefined", false},
    Row{false, "TypeError", Match::Prefix, "cannot read property", 5007, "Object expected", true},
    Row{false, "TypeError", Match::Prefix, "cannot write property", 5007, "Object expected", true},
    Row{false, "TypeError", Match::Prefix, "undefined not callable (property", 438,
        "Object doesn't support this property or method", true},
    Row{false, "TypeError", Match::Exact, "undefined not callable", 5007, "Object expected", true},
    Row{false, "TypeError", Match::Exact, "null not callable", 5007, "Object expected", true},
    // An object that cannot be called (an automation object without a
    // default member) lacks the member; a plain value is no function.
    Row{false, "TypeError", Match::Prefix, "[object ", 438, "Object doesn't support this property or method", true},
    Row{false, "TypeError", Match::Contains, " not callable", 5002, "Function expected", true},
};

bool Matches(const Row& row, std::string_view message) {
  switch (row.match) {
    case Match::Prefix: return message.starts_with(row.duktape);
    case Match::Exact: return message == row.duktape;
    case Match::Contains: return message.find(row.duktape) != std::string_view::npos;
  }
  return false;
}

// The first quoted name in Duktape's message, quotes included.
std::string QuotedName(const std::string& message) {
  const size_t open = message.find('\'');
  const size_t close = open == std::string::npos ? open : message.find('\'', open + 1);
  return close == std::string::npos ? std::string() : message.substr(open, close - open + 1);
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

JScriptErrorText CompileErrorText(const std::string& message, bool atEndOfInput, const std::string& code,
                                  const std::string& lineText) {
  std::string key = message;
  if (message == "parse error") {
    if (KeywordLacksParenthesis(lineText)) key = "expected '('";
    else if (atEndOfInput) key = std::string(UnclosedBracket(code));
    if (key.empty()) key = message;
  }
  for (const Row& row : kRows)
    if (row.compile && Matches(row, key)) return FromRow(row, message);
  return {JScript(1002), "Syntax error"};
}

JScriptErrorText RuntimeErrorText(const std::string& name, const std::string& message) {
  for (const Row& row : kRows)
    if (!row.compile && name == row.errorName && Matches(row, message)) return FromRow(row, message);
  return {};
}

}  // namespace scriptcontrol::jscript
