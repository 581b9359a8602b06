// The parser's class, shared by the files that hold its parts: the token
// cursor and the one error path (vb_parser.cpp), expressions
// (vb_parser_expr.cpp), statements (vb_parser_stmt.cpp) and procedures
// and classes (vb_parser_decl.cpp). Not for use outside the parser; the
// entry points are in vb_parser.h.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/scriptcontrol/vbscript/vb_ast.h"
#include "platform/scriptcontrol/vbscript/vb_lexer.h"

namespace scriptcontrol::vbscript::detail {

class Parser {
 public:
  explicit Parser(std::string_view source);

  Program ParseWholeProgram();
  ExprPtr ParseWholeExpression();

 private:
  // Deeper nesting than this fails with 28 "Out of stack space" instead
  // of running the C++ stack out: each level is a parenthesis, a unary
  // operator, a block or one more operator or postfix in a chain (a chain
  // is a tree as deep as it is long, and the tree's walkers recurse too).
  static constexpr int32_t kMaxNesting = 1000;

  // One more level of nesting for the lifetime of the object.
  class Nest {
   public:
    explicit Nest(Parser& parser) : parser_(parser) { parser_.Deepen(); }
    ~Nest() { --parser_.depth_; }
    Nest(const Nest&) = delete;
    Nest& operator=(const Nest&) = delete;

   private:
    Parser& parser_;
  };
  // Levels added one at a time by a loop and given back at its end.
  class NestCount {
   public:
    explicit NestCount(Parser& parser) : parser_(parser) {}
    ~NestCount() { parser_.depth_ -= count_; }
    void Add() {
      parser_.Deepen();
      ++count_;
    }
    NestCount(const NestCount&) = delete;
    NestCount& operator=(const NestCount&) = delete;

   private:
    Parser& parser_;
    int32_t count_ = 0;
  };
  void Deepen();

  // --- Tokens and the error path (vb_parser.cpp).
  const Token& Cur() const { return tok_; }
  bool Is(Tok kind) const { return tok_.kind == kind; }
  // A name token spelled like the context word (any case), not bracketed.
  bool IsWord(std::string_view word) const;
  SourcePos Pos() const { return {tok_.line, tok_.column}; }
  void Advance();
  bool Accept(Tok kind);
  void Expect(Tok kind, int32_t number);
  // A name; 1010 "Expected identifier" otherwise.
  std::string ExpectName();
  // Newline, ":" or the end of the script.
  bool AtStatementEnd() const;
  void ExpectStatementEnd();
  void SkipSeparators();
  // The one way a parse fails: VbError(number) placed at the current token
  // or at the given place.
  [[noreturn]] void Fail(int32_t number) const;
  [[noreturn]] void FailAt(int32_t number, SourcePos pos) const;

  // --- Expressions (vb_parser_expr.cpp).
  ExprPtr ParseExpr();
  ExprPtr ParseBinary(int level);
  ExprPtr ParsePrefix(int level);
  ExprPtr ParsePrimary();
  ExprPtr ParseChain(bool statementStart);
  ExprPtr ParsePostfix(ExprPtr head, bool statementStart);
  void ParseArgList(std::vector<ExprPtr>& args);
  ExprPtr ParseArgument();
  ExprPtr ParseArgumentWithFirst(ExprPtr first);
  void ParseBareArgs(std::vector<ExprPtr>& args);

  // --- Statements (vb_parser_stmt.cpp).
  StmtPtr ParseStatement();
  void ParseBlock(Block& block);
  void ParseLineStatements(Block& block);
  StmtPtr ParseAssignOrCall();
  StmtPtr ParseSet();
  StmtPtr ParseCallKeyword();
  StmtPtr ParseIf();
  StmtPtr ParseSelect();
  void ParseCaseTests(std::vector<CaseTest>& tests);
  StmtPtr ParseFor();
  StmtPtr ParseForEach(SourcePos pos);
  StmtPtr ParseDo();
  StmtPtr ParseWhile();
  StmtPtr ParseWith();
  StmtPtr ParseExit();
  StmtPtr ParseOnError();
  StmtPtr ParseReDim();
  StmtPtr ParseErase();
  void ParseBlockEnd(Tok closer, int32_t missingCloser);
  std::unique_ptr<DimStmt> ParseDimList(Visibility visibility, SourcePos pos);
  std::unique_ptr<ConstStmt> ParseConstList(Visibility visibility, SourcePos pos);
  std::unique_ptr<NameExpr> ParsePlainName();

  // --- Procedures and classes (vb_parser_decl.cpp).
  bool ParseScriptDeclaration(Program& program);
  ClassPtr ParseClass();
  void ParseClassMember(ClassDecl& cls);
  ProcedurePtr ParseProcedure(Visibility visibility, bool isDefault, SourcePos pos, bool inClass);
  void ParseParams(ProcedureDecl& proc);
  void CheckClass(const ClassDecl& cls) const;

  Lexer lexer_;
  Token tok_;
  SourcePos previous_;  // where the token before tok_ began
  int32_t depth_ = 0;
  // The procedure being read, for Exit's checks.
  std::optional<ProcedureDecl::Kind> procedure_;
  int32_t doLoops_ = 0;
  int32_t forLoops_ = 0;
  // The inner expression of the parenthesis the expression reader read
  // last: an argument that comes back as this very node was written as
  // (x) and nothing else, and is passed by value.
  const Expr* lastParenthesized_ = nullptr;
  // A primary already read, for the expression reader to start with (the
  // "(1)" of "f (1) + 2", read first as f's parentheses).
  ExprPtr pendingPrimary_;
};

}  // namespace scriptcontrol::vbscript::detail
