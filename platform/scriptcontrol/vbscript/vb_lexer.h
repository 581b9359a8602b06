// The VBScript lexer: source text to tokens, one at a time, as the parser
// asks for them. It leaves out blanks, comments (' and Rem) and line
// continuations (" _" at the end of a line), reads literals into their
// values with VBScript's typing (10 is an Integer, 40000 a Long, &HFFFF
// the Integer -1, 1.5 a Double, #1/2/2003# a Date) and after a "." reads
// any word, reserved or not, as a name (obj.Type, x.End).
//
// Text it cannot read ends the lexing with a VbError placed where the bad
// text starts: 1032 "Invalid character", 1033 "Unterminated string
// constant", 1031 "Invalid number", 1030 "Identifier too long".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/scriptcontrol/vbscript/vb_token.h"

namespace scriptcontrol::vbscript {

class Lexer {
 public:
  // The text must outlive the lexer. A UTF-8 byte order mark before it
  // is no part of the script.
  explicit Lexer(std::string_view source);

  // The next token; Eof again and again at the end, placed on the last
  // line.
  Token Next();

 private:
  char At(size_t offset = 0) const { return pos_ + offset < src_.size() ? src_[pos_ + offset] : '\0'; }
  bool AtEnd() const { return pos_ >= src_.size(); }
  // Moves over n bytes, counting columns in characters (UTF-8 sequences
  // count once).
  void Skip(size_t n = 1);
  // Moves over a line break (\n, \r\n or \r).
  void SkipLineBreak();
  bool AtLineBreak() const { return At() == '\n' || At() == '\r'; }
  // Blanks, continuations and comments; whether any blank was seen.
  bool SkipSpace();
  [[noreturn]] void Fail(int32_t number, int32_t line, int32_t column) const;

  void ReadWord(Token& t);
  void ReadBracketedName(Token& t);
  void ReadNumber(Token& t);
  // &H... and &O...; false when the "&" is the operator.
  bool ReadRadixNumber(Token& t);
  void ReadString(Token& t);
  void ReadDate(Token& t);
  bool ReadOperator(Token& t);

  std::string_view src_;
  size_t pos_ = 0;
  int32_t line_ = 1;
  int32_t column_ = 1;
  Tok last_ = Tok::Newline;
  int32_t lastLine_ = 1;
  int32_t lastColumn_ = 1;
};

}  // namespace scriptcontrol::vbscript
