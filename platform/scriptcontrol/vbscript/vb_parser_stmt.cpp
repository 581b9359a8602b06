// The parser's statements: assignments and calls, declarations of
// variables and constants, and the compound statements with their blocks.
#include "platform/scriptcontrol/vbscript/vb_errors.h"
#include "platform/scriptcontrol/vbscript/vb_parser_internal.h"

namespace scriptcontrol::vbscript::detail {

namespace {

// The words that close a block; a block stops in front of them and the
// statement that owns it decides whether it is the right one.
bool ClosesBlock(Tok kind) {
  switch (kind) {
    case Tok::Eof:
    case Tok::KwEnd:
    case Tok::KwElse:
    case Tok::KwElseIf:
    case Tok::KwCase:
    case Tok::KwLoop:
    case Tok::KwNext:
    case Tok::KwWend: return true;
    default: return false;
  }
}

// After "f (1)" these go on with an expression whose first operand is
// the parenthesis group ("f (1) + 2", "f (1), 2").
bool ContinuesArgument(Tok kind) {
  switch (kind) {
    case Tok::Comma:
    case Tok::Plus:
    case Tok::Minus:
    case Tok::Star:
    case Tok::Slash:
    case Tok::Backslash:
    case Tok::Caret:
    case Tok::Amp:
    case Tok::Ne:
    case Tok::Lt:
    case Tok::Gt:
    case Tok::Le:
    case Tok::Ge:
    case Tok::KwMod:
    case Tok::KwAnd:
    case Tok::KwOr:
    case Tok::KwXor:
    case Tok::KwEqv:
    case Tok::KwImp:
    case Tok::KwIs: return true;
    default: return false;
  }
}

bool IsAssignable(const Expr& e) {
  return e.kind == ExprKind::Name || e.kind == ExprKind::Member || e.kind == ExprKind::Call;
}

ExprPtr ByValue(ExprPtr arg) {
  if (!arg || arg->kind == ExprKind::Paren) return arg;
  const SourcePos pos = arg->pos;
  return std::make_unique<ParenExpr>(std::move(arg), pos);
}

// A constant's value may combine literals with operators, nothing else.
bool IsConstantExpression(const Expr& e) {
  switch (e.kind) {
    case ExprKind::Literal: return true;
    case ExprKind::Unary: return IsConstantExpression(*static_cast<const UnaryExpr&>(e).operand);
    case ExprKind::Binary: {
      const auto& b = static_cast<const BinaryExpr&>(e);
      return IsConstantExpression(*b.left) && IsConstantExpression(*b.right);
    }
    default: return false;
  }
}

}  // namespace

// statement := assign-or-call | Set ... | Call ... | Dim ... | ReDim ... | Const ...
//            | Erase ... | If ... | Select ... | For ... | Do ... | While ... | With ...
//            | Exit ... | On Error ... | Stop
// Stop gives no statement (null): the script runs on.
StmtPtr Parser::ParseStatement() {
  const SourcePos pos = Pos();
  switch (tok_.kind) {
    case Tok::Name:
    case Tok::Dot:
    case Tok::KwMe: return ParseAssignOrCall();
    case Tok::KwSet: return ParseSet();
    case Tok::KwCall: return ParseCallKeyword();
    case Tok::KwDim: Advance(); return ParseDimList(Visibility::Default, pos);
    case Tok::KwReDim: return ParseReDim();
    case Tok::KwConst: Advance(); return ParseConstList(Visibility::Default, pos);
    case Tok::KwErase: return ParseErase();
    case Tok::KwIf: return ParseIf();
    case Tok::KwSelect: return ParseSelect();
    case Tok::KwFor: return ParseFor();
    case Tok::KwDo: return ParseDo();
    case Tok::KwWhile: return ParseWhile();
    case Tok::KwWith: return ParseWith();
    case Tok::KwExit: return ParseExit();
    case Tok::KwOn: return ParseOnError();
    case Tok::KwStop: Advance(); return nullptr;
    case Tok::KwLoop: Fail(kErrLoopWithoutDo);
    case Tok::KwNext: Fail(kErrUnexpectedNext);
    default: Fail(kErrExpectedStatement);
  }
}

// block := { [statement] separator }   up to a word that closes blocks
void Parser::ParseBlock(Block& block) {
  for (;;) {
    SkipSeparators();
    if (ClosesBlock(tok_.kind)) return;
    if (StmtPtr stmt = ParseStatement()) block.push_back(std::move(stmt));
    ExpectStatementEnd();
  }
}

// line-statements := [statement] { ':' [statement] }   up to the end of the line or Else
void Parser::ParseLineStatements(Block& block) {
  for (;;) {
    while (Accept(Tok::Colon)) {
    }
    if (Is(Tok::Newline) || Is(Tok::Eof) || Is(Tok::KwElse)) return;
    if (StmtPtr stmt = ParseStatement()) block.push_back(std::move(stmt));
    if (Is(Tok::Newline) || Is(Tok::Eof) || Is(Tok::KwElse)) return;
    Expect(Tok::Colon, kErrExpectedEndOfStatement);
  }
}

// assign-or-call := chain '=' expression
//                 | chain                       (f, o.m, f(), f(1): "(1)" by value)
//                 | chain bare-arguments        (f 1, 2; f (1) + 2; f (1), 2)
StmtPtr Parser::ParseAssignOrCall() {
  const SourcePos pos = Pos();
  ExprPtr target = ParseChain(true);
  if (Is(Tok::Eq)) {
    if (target->kind == ExprKind::Me) Fail(kErrInvalidMe);
    Advance();
    auto stmt = std::make_unique<AssignStmt>(pos);
    stmt->target = std::move(target);
    stmt->value = ParseExpr();
    return stmt;
  }
  if (target->kind == ExprKind::Me) Fail(kErrInvalidMe);
  auto stmt = std::make_unique<CallStmt>(pos);
  const bool ends = AtStatementEnd() || Is(Tok::KwElse);
  if (target->kind != ExprKind::Call) {
    if (!ends) {
      auto call = std::make_unique<CallExpr>(std::move(target), pos);
      ParseBareArgs(call->args);
      target = std::move(call);
    }
    stmt->call = std::move(target);
    return stmt;
  }
  auto& group = static_cast<CallExpr&>(*target);
  // VBScript points at the closing parenthesis.
  if (group.args.size() > 1) FailAt(kErrParenthesesInSubCall, previous_);
  if (ends) {
    // f() or f(x), whose x is passed by value.
    if (!group.args.empty()) group.args[0] = ByValue(std::move(group.args[0]));
    stmt->call = std::move(target);
    return stmt;
  }
  if (group.args.size() != 1 || !ContinuesArgument(tok_.kind)) Fail(kErrExpectedEndOfStatement);
  // The group was the start of the first argument: read it again as such.
  ExprPtr first = std::move(group.args[0]);
  if (first->kind == ExprKind::Paren) first = std::move(static_cast<ParenExpr&>(*first).inner);
  auto call = std::make_unique<CallExpr>(std::move(group.callee), pos);
  if (Is(Tok::Comma))
    call->args.push_back(ByValue(std::move(first)));
  else
    call->args.push_back(ParseArgumentWithFirst(std::move(first)));
  if (Accept(Tok::Comma)) ParseBareArgs(call->args);
  stmt->call = std::move(call);
  return stmt;
}

// set := Set chain '=' expression
StmtPtr Parser::ParseSet() {
  const SourcePos pos = Pos();
  Advance();
  if (!Is(Tok::Name) && !Is(Tok::Dot) && !Is(Tok::KwMe)) Fail(kErrExpectedIdentifier);
  ExprPtr target = ParseChain(false);
  if (target->kind == ExprKind::Me) FailAt(kErrInvalidMe, target->pos);
  if (!IsAssignable(*target)) Fail(kErrExpectedEquals);
  Expect(Tok::Eq, kErrExpectedEquals);
  auto stmt = std::make_unique<AssignStmt>(pos);
  stmt->isSet = true;
  stmt->target = std::move(target);
  stmt->value = ParseExpr();
  return stmt;
}

// call := Call chain
StmtPtr Parser::ParseCallKeyword() {
  const SourcePos pos = Pos();
  Advance();
  if (!Is(Tok::Name) && !Is(Tok::Dot) && !Is(Tok::KwMe)) Fail(kErrExpectedIdentifier);
  auto stmt = std::make_unique<CallStmt>(pos);
  stmt->call = ParseChain(false);
  if (stmt->call->kind == ExprKind::Me) FailAt(kErrInvalidMe, stmt->call->pos);
  return stmt;
}

// var-list := var { ',' var }
// var := name [ '(' [integer { ',' integer }] ')' ]
std::unique_ptr<DimStmt> Parser::ParseDimList(Visibility visibility, SourcePos pos) {
  auto stmt = std::make_unique<DimStmt>(pos);
  stmt->visibility = visibility;
  do {
    VarDecl var;
    var.pos = Pos();
    var.name = ExpectName();
    if (Accept(Tok::LParen)) {
      var.isArray = true;
      if (!Accept(Tok::RParen)) {
        do {
          const Token& t = Cur();
          if (t.kind != Tok::Number || (t.value.Type() != automation::VarType::Int16 &&
                                        t.value.Type() != automation::VarType::Int32))
            Fail(kErrExpectedInteger);
          var.bounds.push_back(std::make_unique<LiteralExpr>(t.value, Pos()));
          Advance();
        } while (Accept(Tok::Comma));
        Expect(Tok::RParen, kErrExpectedRParen);
      }
    }
    stmt->vars.push_back(std::move(var));
  } while (Accept(Tok::Comma));
  return stmt;
}

// const-list := name '=' expression { ',' name '=' expression }
std::unique_ptr<ConstStmt> Parser::ParseConstList(Visibility visibility, SourcePos pos) {
  auto stmt = std::make_unique<ConstStmt>(pos);
  stmt->visibility = visibility;
  do {
    ConstStmt::Item item;
    item.pos = Pos();
    item.name = ExpectName();
    Expect(Tok::Eq, kErrExpectedEquals);
    const SourcePos valuePos = Pos();
    item.value = ParseExpr();
    if (!IsConstantExpression(*item.value)) FailAt(kErrExpectedLiteral, valuePos);
    stmt->items.push_back(std::move(item));
  } while (Accept(Tok::Comma));
  return stmt;
}

std::unique_ptr<NameExpr> Parser::ParsePlainName() {
  const SourcePos pos = Pos();
  return std::make_unique<NameExpr>(ExpectName(), pos);
}

// redim := ReDim [Preserve] name '(' expression { ',' expression } ')' { ',' name '(' ... ')' }
StmtPtr Parser::ParseReDim() {
  auto stmt = std::make_unique<ReDimStmt>(Pos());
  Advance();
  if (IsWord("Preserve")) {
    stmt->preserve = true;
    Advance();
  }
  do {
    ReDimStmt::Target target;
    target.name = ParsePlainName();
    Expect(Tok::LParen, kErrExpectedLParen);
    do {
      target.bounds.push_back(ParseExpr());
    } while (Accept(Tok::Comma));
    Expect(Tok::RParen, kErrExpectedRParen);
    stmt->targets.push_back(std::move(target));
  } while (Accept(Tok::Comma));
  return stmt;
}

// erase := Erase name
StmtPtr Parser::ParseErase() {
  auto stmt = std::make_unique<EraseStmt>(Pos());
  Advance();
  stmt->target = ParsePlainName();
  return stmt;
}

// end := End closer
void Parser::ParseBlockEnd(Tok closer, int32_t missingCloser) {
  Expect(Tok::KwEnd, kErrExpectedEnd);
  Expect(closer, missingCloser);
}

// if := If expression Then Newline block { ElseIf expression Then block } [Else block] End If
//     | If expression Then line-statements [Else line-statements]
StmtPtr Parser::ParseIf() {
  Nest nest(*this);
  auto stmt = std::make_unique<IfStmt>(Pos());
  Advance();
  IfStmt::Branch first;
  first.condition = ParseExpr();
  Expect(Tok::KwThen, kErrExpectedThen);
  if (!Is(Tok::Newline) && !Is(Tok::Eof)) {
    ParseLineStatements(first.body);
    stmt->branches.push_back(std::move(first));
    if (Accept(Tok::KwElse)) ParseLineStatements(stmt->elseBody);
    return stmt;
  }
  ParseBlock(first.body);
  stmt->branches.push_back(std::move(first));
  while (Is(Tok::KwElseIf)) {
    Advance();
    IfStmt::Branch branch;
    branch.condition = ParseExpr();
    Expect(Tok::KwThen, kErrExpectedThen);
    ParseBlock(branch.body);
    stmt->branches.push_back(std::move(branch));
  }
  if (Accept(Tok::KwElse)) ParseBlock(stmt->elseBody);
  ParseBlockEnd(Tok::KwIf, kErrExpectedIf);
  return stmt;
}

// select := Select Case expression separator { Case (Else | case-tests) block } End Select
StmtPtr Parser::ParseSelect() {
  Nest nest(*this);
  auto stmt = std::make_unique<SelectStmt>(Pos());
  Advance();
  Expect(Tok::KwCase, kErrExpectedCase);
  stmt->subject = ParseExpr();
  ExpectStatementEnd();
  SkipSeparators();
  while (Is(Tok::KwCase)) {
    const SourcePos casePos = Pos();
    Advance();
    if (Accept(Tok::KwElse)) {
      stmt->hasElse = true;
      ParseBlock(stmt->elseBody);
      break;
    }
    SelectStmt::Case c;
    c.pos = casePos;
    ParseCaseTests(c.tests);
    ExpectStatementEnd();
    ParseBlock(c.body);
    stmt->cases.push_back(std::move(c));
  }
  if (!Is(Tok::KwEnd) && !Is(Tok::Eof) && !stmt->hasElse && stmt->cases.empty()) Fail(kErrExpectedCase);
  ParseBlockEnd(Tok::KwSelect, kErrExpectedSelect);
  return stmt;
}

// case-tests := case-test { ',' case-test }
// case-test := Is ('=' | '<>' | '<' | '>' | '<=' | '>=') expression | expression [To expression]
void Parser::ParseCaseTests(std::vector<CaseTest>& tests) {
  do {
    CaseTest test;
    if (Accept(Tok::KwIs)) {
      test.kind = CaseTest::Kind::Is;
      switch (tok_.kind) {
        case Tok::Eq: test.op = BinaryOp::Equal; break;
        case Tok::Ne: test.op = BinaryOp::NotEqual; break;
        case Tok::Lt: test.op = BinaryOp::Less; break;
        case Tok::Le: test.op = BinaryOp::LessEqual; break;
        case Tok::Gt: test.op = BinaryOp::Greater; break;
        case Tok::Ge: test.op = BinaryOp::GreaterEqual; break;
        default: Fail(kErrSyntax);
      }
      Advance();
      test.low = ParseExpr();
    } else {
      test.low = ParseExpr();
      if (Accept(Tok::KwTo)) {
        test.kind = CaseTest::Kind::Range;
        test.high = ParseExpr();
      }
    }
    tests.push_back(std::move(test));
  } while (Accept(Tok::Comma));
}

// for := For name '=' expression To expression [Step expression] block Next [name]
//      | For Each ...
StmtPtr Parser::ParseFor() {
  Nest nest(*this);
  const SourcePos pos = Pos();
  Advance();
  if (Accept(Tok::KwEach)) return ParseForEach(pos);
  auto stmt = std::make_unique<ForStmt>(pos);
  stmt->variable = ParsePlainName();
  Expect(Tok::Eq, kErrExpectedEquals);
  stmt->from = ParseExpr();
  Expect(Tok::KwTo, kErrExpectedTo);
  stmt->to = ParseExpr();
  if (IsWord("Step")) {
    Advance();
    stmt->step = ParseExpr();
  }
  ExpectStatementEnd();
  ++forLoops_;
  ParseBlock(stmt->body);
  --forLoops_;
  Expect(Tok::KwNext, kErrExpectedNext);
  if (Is(Tok::Name)) Advance();
  return stmt;
}

// for-each := For Each name In expression block Next [name]
StmtPtr Parser::ParseForEach(SourcePos pos) {
  auto stmt = std::make_unique<ForEachStmt>(pos);
  stmt->variable = ParsePlainName();
  Expect(Tok::KwIn, kErrExpectedIn);
  stmt->collection = ParseExpr();
  ExpectStatementEnd();
  ++forLoops_;
  ParseBlock(stmt->body);
  --forLoops_;
  Expect(Tok::KwNext, kErrExpectedNext);
  if (Is(Tok::Name)) Advance();
  return stmt;
}

// do := Do [(While | Until) expression] block Loop [(While | Until) expression]
StmtPtr Parser::ParseDo() {
  Nest nest(*this);
  auto stmt = std::make_unique<DoStmt>(Pos());
  Advance();
  if (Is(Tok::KwWhile) || Is(Tok::KwUntil)) {
    stmt->test = Is(Tok::KwWhile) ? DoStmt::Test::PreWhile : DoStmt::Test::PreUntil;
    Advance();
    stmt->condition = ParseExpr();
    ExpectStatementEnd();
  } else if (!AtStatementEnd()) {
    Fail(kErrExpectedWhileUntilEnd);
  }
  ++doLoops_;
  ParseBlock(stmt->body);
  --doLoops_;
  Expect(Tok::KwLoop, kErrExpectedLoop);
  if (Is(Tok::KwWhile) || Is(Tok::KwUntil)) {
    if (stmt->test != DoStmt::Test::None) Fail(kErrExpectedEndOfStatement);
    stmt->test = Is(Tok::KwWhile) ? DoStmt::Test::PostWhile : DoStmt::Test::PostUntil;
    Advance();
    stmt->condition = ParseExpr();
  } else if (!AtStatementEnd() && !Is(Tok::KwElse)) {
    Fail(kErrExpectedWhileUntilEnd);
  }
  return stmt;
}

// while := While expression block Wend
StmtPtr Parser::ParseWhile() {
  Nest nest(*this);
  auto stmt = std::make_unique<DoStmt>(Pos());
  Advance();
  stmt->isWhileWend = true;
  stmt->test = DoStmt::Test::PreWhile;
  stmt->condition = ParseExpr();
  ExpectStatementEnd();
  ParseBlock(stmt->body);
  Expect(Tok::KwWend, kErrExpectedWend);
  return stmt;
}

// with := With expression block End With
StmtPtr Parser::ParseWith() {
  Nest nest(*this);
  auto stmt = std::make_unique<WithStmt>(Pos());
  Advance();
  stmt->object = ParseExpr();
  ExpectStatementEnd();
  ParseBlock(stmt->body);
  ParseBlockEnd(Tok::KwWith, kErrExpectedWith);
  return stmt;
}

// exit := Exit (Do | For | Function | Sub | Property)   inside such a loop or procedure
StmtPtr Parser::ParseExit() {
  const SourcePos pos = Pos();
  Advance();
  ExitStmt::What what;
  bool allowed = false;
  using Kind = ProcedureDecl::Kind;
  switch (tok_.kind) {
    case Tok::KwDo:
      what = ExitStmt::What::Do;
      allowed = doLoops_ > 0;
      break;
    case Tok::KwFor:
      what = ExitStmt::What::For;
      allowed = forLoops_ > 0;
      break;
    case Tok::KwFunction:
      what = ExitStmt::What::Function;
      allowed = procedure_ == Kind::Function;
      break;
    case Tok::KwSub:
      what = ExitStmt::What::Sub;
      allowed = procedure_ == Kind::Sub;
      break;
    case Tok::KwProperty:
      what = ExitStmt::What::Property;
      allowed = procedure_ == Kind::PropertyGet || procedure_ == Kind::PropertyLet || procedure_ == Kind::PropertySet;
      break;
    default: Fail(kErrSyntax);
  }
  if (!allowed) Fail(kErrInvalidExit);
  Advance();
  return std::make_unique<ExitStmt>(what, pos);
}

// on-error := On Error (Resume Next | GoTo 0)
StmtPtr Parser::ParseOnError() {
  const SourcePos pos = Pos();
  Advance();
  if (!IsWord("Error")) Fail(kErrSyntax);
  Advance();
  if (IsWord("Resume")) {
    Advance();
    Expect(Tok::KwNext, kErrSyntax);
    return std::make_unique<OnErrorStmt>(true, pos);
  }
  if (!IsWord("GoTo")) Fail(kErrSyntax);
  Advance();
  const Token& t = Cur();
  if (t.kind != Tok::Number || !(t.value == automation::Variant(int16_t{0}))) Fail(kErrSyntax);
  Advance();
  return std::make_unique<OnErrorStmt>(false, pos);
}

}  // namespace scriptcontrol::vbscript::detail
