// The tokens the VBScript lexer hands to the parser: a kind, the place
// where the token starts (1-based line and column, columns counted in
// characters) and, for names, strings, numbers and dates, what was read.
//
// Only the language's reserved words have kinds of their own. Words that
// mean something in one place only (Step, Preserve, Default, Get, Let,
// ByVal, ByRef, Error, Resume, GoTo, Explicit) stay names, so scripts may
// still use them as variables; the parser recognises them by their text.
#pragma once

#include <cstdint>
#include <string>

#include "platform/automation/variant.h"

namespace scriptcontrol::vbscript {

enum class Tok : uint8_t {
  Eof,
  Newline,  // the end of a line (comments are left out)
  Colon,    // ":" separates statements on one line
  Name,     // x, [any name]; text holds it without brackets
  Number,   // value: Int16, Int32 or Double
  String,   // text holds the contents, "" already made one quote
  Date,     // value: a Date
  LParen,
  RParen,
  Comma,
  Dot,
  Plus,
  Minus,
  Star,
  Slash,
  Backslash,
  Caret,
  Amp,
  Eq,
  Ne,
  Lt,
  Gt,
  Le,
  Ge,
  // Reserved words.
  KwAnd,
  KwCall,
  KwCase,
  KwClass,
  KwConst,
  KwDim,
  KwDo,
  KwEach,
  KwElse,
  KwElseIf,
  KwEmpty,
  KwEnd,
  KwEqv,
  KwErase,
  KwExit,
  KwFalse,
  KwFor,
  KwFunction,
  KwIf,
  KwImp,
  KwIn,
  KwIs,
  KwLoop,
  KwMe,
  KwMod,
  KwNew,
  KwNext,
  KwNot,
  KwNothing,
  KwNull,
  KwOn,
  KwOption,
  KwOr,
  KwPrivate,
  KwProperty,
  KwPublic,
  KwReDim,
  KwSelect,
  KwSet,
  KwStop,
  KwSub,
  KwThen,
  KwTo,
  KwTrue,
  KwUntil,
  KwWend,
  KwWhile,
  KwWith,
  KwXor,
};

struct Token {
  Tok kind = Tok::Eof;
  int32_t line = 1;
  int32_t column = 1;
  // Blanks stand between this token and the one before it on the line:
  // "MsgBox .Name" inside With passes .Name, "o.Name" reads a member.
  bool spaceBefore = false;
  // Written as [name]: never one of the context words.
  bool bracketed = false;
  std::string text;
  automation::Variant value;
};

// How a token kind reads in the source ("(", "Then", "name"), for tests
// and diagnostics.
const char* TokName(Tok kind);

}  // namespace scriptcontrol::vbscript
