// The parser's entry points, its token cursor and its one error path.
#include "platform/scriptcontrol/vbscript/vb_parser.h"

#include "platform/scriptcontrol/vbscript/vb_errors.h"
#include "platform/scriptcontrol/vbscript/vb_parser_internal.h"
#include "platform/util/text.h"

namespace scriptcontrol::vbscript {

Program ParseProgram(std::string_view source) { return detail::Parser(source).ParseWholeProgram(); }

ExprPtr ParseExpression(std::string_view source) { return detail::Parser(source).ParseWholeExpression(); }

namespace detail {

Parser::Parser(std::string_view source) : lexer_(source) { tok_ = lexer_.Next(); }

void Parser::Deepen() {
  if (depth_ >= kMaxNesting) Fail(kErrOutOfStack);
  ++depth_;
}

bool Parser::IsWord(std::string_view word) const {
  return tok_.kind == Tok::Name && !tok_.bracketed && kiv::EqualsIgnoreCase(tok_.text, word);
}

void Parser::Advance() {
  if (tok_.kind == Tok::Eof) return;
  previous_ = Pos();
  tok_ = lexer_.Next();
}

bool Parser::Accept(Tok kind) {
  if (tok_.kind != kind) return false;
  Advance();
  return true;
}

void Parser::Expect(Tok kind, int32_t number) {
  if (!Accept(kind)) Fail(number);
}

std::string Parser::ExpectName() {
  if (tok_.kind != Tok::Name) Fail(kErrExpectedIdentifier);
  std::string name = std::move(tok_.text);
  Advance();
  return name;
}

bool Parser::AtStatementEnd() const { return Is(Tok::Newline) || Is(Tok::Colon) || Is(Tok::Eof); }

void Parser::ExpectStatementEnd() {
  if (!AtStatementEnd()) Fail(kErrExpectedEndOfStatement);
}

void Parser::SkipSeparators() {
  while (Is(Tok::Newline) || Is(Tok::Colon)) Advance();
}

void Parser::Fail(int32_t number) const { FailAt(number, Pos()); }

void Parser::FailAt(int32_t number, SourcePos pos) const {
  VbError error(number);
  error.Place(pos.line, pos.column);
  throw error;
}

// program := { [statement | declaration | Option Explicit] separator }
Program Parser::ParseWholeProgram() {
  Program program;
  bool first = true;
  for (;;) {
    SkipSeparators();
    if (Is(Tok::Eof)) break;
    if (Is(Tok::KwOption)) {
      // Only before everything else.
      if (!first) Fail(kErrExpectedStatement);
      Advance();
      if (!IsWord("Explicit")) Fail(kErrSyntax);
      Advance();
      program.optionExplicit = true;
    } else if (!ParseScriptDeclaration(program)) {
      if (StmtPtr stmt = ParseStatement()) program.body.push_back(std::move(stmt));
    }
    first = false;
    ExpectStatementEnd();
  }
  return program;
}

// whole-expression := { Newline } expression { Newline }
ExprPtr Parser::ParseWholeExpression() {
  while (Is(Tok::Newline)) Advance();
  ExprPtr expr = ParseExpr();
  while (Is(Tok::Newline)) Advance();
  if (!Is(Tok::Eof)) Fail(kErrExpectedEndOfStatement);
  return expr;
}

}  // namespace detail
}  // namespace scriptcontrol::vbscript
