// The parser's expressions: operators by precedence, primaries, postfix
// chains and argument lists.
#include "platform/scriptcontrol/vbscript/vb_errors.h"
#include "platform/scriptcontrol/vbscript/vb_parser_internal.h"

namespace scriptcontrol::vbscript::detail {

namespace {

// Binding strength, weakest first. Not and the unary signs are prefixes
// at their own levels; the rest are left-associative binary operators.
enum Level : int {
  kImp = 1,
  kEqv,
  kXor,
  kOr,
  kAnd,
  kNot,
  kCompare,  // = <> < > <= >= Is
  kConcat,
  kAdd,  // + -
  kMod,
  kIntDivide,
  kMultiply,  // * /
  kSign,      // unary - +
  kPower,
  kPrimary,
};

struct BinaryInfo {
  int level = 0;  // 0: the token is no binary operator
  BinaryOp op = BinaryOp::Add;
  bool isIs = false;
};

BinaryInfo BinaryOperator(Tok kind) {
  switch (kind) {
    case Tok::KwImp: return {kImp, BinaryOp::Imp};
    case Tok::KwEqv: return {kEqv, BinaryOp::Eqv};
    case Tok::KwXor: return {kXor, BinaryOp::Xor};
    case Tok::KwOr: return {kOr, BinaryOp::Or};
    case Tok::KwAnd: return {kAnd, BinaryOp::And};
    case Tok::Eq: return {kCompare, BinaryOp::Equal};
    case Tok::Ne: return {kCompare, BinaryOp::NotEqual};
    case Tok::Lt: return {kCompare, BinaryOp::Less};
    case Tok::Le: return {kCompare, BinaryOp::LessEqual};
    case Tok::Gt: return {kCompare, BinaryOp::Greater};
    case Tok::Ge: return {kCompare, BinaryOp::GreaterEqual};
    case Tok::KwIs: return {kCompare, BinaryOp::Equal, true};
    case Tok::Amp: return {kConcat, BinaryOp::Concat};
    case Tok::Plus: return {kAdd, BinaryOp::Add};
    case Tok::Minus: return {kAdd, BinaryOp::Subtract};
    case Tok::KwMod: return {kMod, BinaryOp::Mod};
    case Tok::Backslash: return {kIntDivide, BinaryOp::IntDivide};
    case Tok::Star: return {kMultiply, BinaryOp::Multiply};
    case Tok::Slash: return {kMultiply, BinaryOp::Divide};
    case Tok::Caret: return {kPower, BinaryOp::Power};
    default: return {};
  }
}

}  // namespace

// expression := binary(Imp)
ExprPtr Parser::ParseExpr() { return ParseBinary(kImp); }

// binary(n) := prefix(n) { op binary(level(op) + 1) }   for every op with level(op) >= n
ExprPtr Parser::ParseBinary(int level) {
  Nest nest(*this);
  ExprPtr left = ParsePrefix(level);
  NestCount chain(*this);
  for (;;) {
    const BinaryInfo info = BinaryOperator(tok_.kind);
    if (info.level == 0 || info.level < level) return left;
    chain.Add();
    Advance();
    ExprPtr right = ParseBinary(info.level + 1);
    const SourcePos pos = left->pos;
    if (info.isIs)
      left = std::make_unique<IsExpr>(std::move(left), std::move(right), pos);
    else
      left = std::make_unique<BinaryExpr>(info.op, std::move(left), std::move(right), pos);
  }
}

// prefix(n) := Not binary(Not)            when n <= Not
//            | ('-' | '+') binary(Sign)   (-2^2 is -(2^2); after ^ the sign takes a primary: 2^-3)
//            | primary
ExprPtr Parser::ParsePrefix(int level) {
  if (pendingPrimary_) return ParsePrimary();
  const SourcePos pos = Pos();
  if (Is(Tok::KwNot) && level <= kNot) {
    Advance();
    return std::make_unique<UnaryExpr>(UnaryOp::Not, ParseBinary(kNot), pos);
  }
  if (Is(Tok::Minus) || Is(Tok::Plus)) {
    const UnaryOp op = Is(Tok::Minus) ? UnaryOp::Negate : UnaryOp::Plus;
    Advance();
    return std::make_unique<UnaryExpr>(op, ParseBinary(level <= kSign ? kSign : kPrimary), pos);
  }
  return ParsePrimary();
}

// primary := number | string | date | True | False | Nothing | Null | Empty
//          | '(' expression ')' | New name | chain
ExprPtr Parser::ParsePrimary() {
  if (pendingPrimary_) return std::move(pendingPrimary_);
  const SourcePos pos = Pos();
  automation::Variant value;
  switch (tok_.kind) {
    case Tok::Number:
    case Tok::Date: value = tok_.value; break;
    case Tok::String: value = automation::Variant(std::move(tok_.text)); break;
    case Tok::KwTrue: value = automation::Variant(true); break;
    case Tok::KwFalse: value = automation::Variant(false); break;
    case Tok::KwNothing: value = automation::Variant::Nothing(); break;
    case Tok::KwNull: value = automation::Variant::Null(); break;
    case Tok::KwEmpty: break;
    case Tok::LParen: {
      Advance();  // the nesting counts in ParseBinary
      ExprPtr inner = ParseExpr();
      Expect(Tok::RParen, kErrExpectedRParen);
      lastParenthesized_ = inner.get();
      return inner;
    }
    case Tok::KwNew: {
      Advance();
      return std::make_unique<NewExpr>(ExpectName(), pos);
    }
    case Tok::Name:
    case Tok::Dot:
    case Tok::KwMe: return ParseChain(false);
    default: Fail(kErrExpectedExpression);
  }
  Advance();
  return std::make_unique<LiteralExpr>(std::move(value), pos);
}

// chain := (name | '.' name | Me) { '.' name | '(' arguments }
//
// At the start of a statement a "." with blanks before it begins the
// first argument instead ("MsgBox .Name" inside With).
ExprPtr Parser::ParseChain(bool statementStart) {
  const SourcePos pos = Pos();
  ExprPtr head;
  if (Is(Tok::Name)) {
    head = std::make_unique<NameExpr>(std::move(tok_.text), pos);
    Advance();
  } else if (Is(Tok::Dot)) {
    Advance();
    head = std::make_unique<MemberExpr>(nullptr, ExpectName(), pos);
  } else if (Is(Tok::KwMe)) {
    Advance();
    head = std::make_unique<MeExpr>(pos);
  } else {
    Fail(kErrExpectedIdentifier);
  }
  return ParsePostfix(std::move(head), statementStart);
}

ExprPtr Parser::ParsePostfix(ExprPtr head, bool statementStart) {
  const SourcePos pos = head->pos;
  NestCount chain(*this);
  for (;;) {
    if (Is(Tok::Dot) && !(statementStart && tok_.spaceBefore)) {
      chain.Add();
      Advance();
      head = std::make_unique<MemberExpr>(std::move(head), ExpectName(), pos);
    } else if (Is(Tok::LParen)) {
      chain.Add();
      Advance();
      auto call = std::make_unique<CallExpr>(std::move(head), pos);
      ParseArgList(call->args);
      head = std::move(call);
    } else {
      return head;
    }
  }
}

// arguments := ')' | [argument] { ',' [argument] } ')'
void Parser::ParseArgList(std::vector<ExprPtr>& args) {
  if (Accept(Tok::RParen)) return;
  for (;;) {
    if (Is(Tok::Comma) || Is(Tok::RParen))
      args.push_back(nullptr);
    else
      args.push_back(ParseArgument());
    if (!Accept(Tok::Comma)) break;
  }
  Expect(Tok::RParen, kErrExpectedRParen);
}

// argument := expression   (one that is "(" expression ")" and nothing
//                           else is passed by value: a ParenExpr)
ExprPtr Parser::ParseArgument() {
  const SourcePos pos = Pos();
  lastParenthesized_ = nullptr;
  ExprPtr arg = ParseExpr();
  if (arg.get() == lastParenthesized_ && arg->kind != ExprKind::Paren)
    arg = std::make_unique<ParenExpr>(std::move(arg), pos);
  lastParenthesized_ = nullptr;
  return arg;
}

// The first argument of a call statement whose leading primary was read
// already, as the parenthesis group of "f (1) + 2".
ExprPtr Parser::ParseArgumentWithFirst(ExprPtr first) {
  pendingPrimary_ = std::move(first);
  lastParenthesized_ = nullptr;
  ExprPtr arg = ParseExpr();
  lastParenthesized_ = nullptr;
  return arg;
}

// bare-arguments := [argument] { ',' [argument] }   up to the end of the statement
void Parser::ParseBareArgs(std::vector<ExprPtr>& args) {
  for (;;) {
    if (Is(Tok::Comma) || AtStatementEnd() || Is(Tok::KwElse))
      args.push_back(nullptr);
    else
      args.push_back(ParseArgument());
    if (!Accept(Tok::Comma)) return;
  }
}

}  // namespace scriptcontrol::vbscript::detail
