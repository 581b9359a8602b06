#include "platform/vbscript/parser/ast_dump.h"

#include <cstdio>

#include "platform/scriptcontrol/vbscript/vb_errors.h"
#include "platform/scriptcontrol/vbscript/vb_parser.h"

namespace vbtest {

using namespace scriptcontrol::vbscript;
using automation::VarType;

namespace {

std::string Number(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.17g", v);
  return buf;
}

std::string Literal(const automation::Variant& v) {
  switch (v.Type()) {
    case VarType::Empty: return "Empty";
    case VarType::Null: return "Null";
    case VarType::Int16: return std::to_string(*v.Get<int16_t>());
    case VarType::Int32: return std::to_string(*v.Get<int32_t>()) + "&";
    case VarType::Double: return Number(*v.Get<double>()) + "#";
    case VarType::Bool: return *v.Get<bool>() ? "True" : "False";
    case VarType::String: return "\"" + *v.Get<std::string>() + "\"";
    case VarType::Date: return "#" + Number(v.Get<automation::Date>()->days) + "#";
    case VarType::Dispatch: return v.IsNothing() ? "Nothing" : "object";
    default: return "?";
  }
}

const char* OpName(BinaryOp op) {
  switch (op) {
    case BinaryOp::Power: return "^";
    case BinaryOp::Multiply: return "*";
    case BinaryOp::Divide: return "/";
    case BinaryOp::IntDivide: return "\\";
    case BinaryOp::Mod: return "mod";
    case BinaryOp::Add: return "+";
    case BinaryOp::Subtract: return "-";
    case BinaryOp::Concat: return "&";
    case BinaryOp::Equal: return "=";
    case BinaryOp::NotEqual: return "<>";
    case BinaryOp::Less: return "<";
    case BinaryOp::LessEqual: return "<=";
    case BinaryOp::Greater: return ">";
    case BinaryOp::GreaterEqual: return ">=";
    case BinaryOp::And: return "and";
    case BinaryOp::Or: return "or";
    case BinaryOp::Xor: return "xor";
    case BinaryOp::Eqv: return "eqv";
    case BinaryOp::Imp: return "imp";
  }
  return "?";
}

std::string Visibility(scriptcontrol::vbscript::Visibility v) {
  switch (v) {
    case Visibility::Public: return " public";
    case Visibility::Private: return " private";
    default: return "";
  }
}

std::string Bounds(const std::vector<ExprPtr>& bounds) {
  std::string out = "(";
  for (size_t i = 0; i < bounds.size(); ++i) out += (i ? "," : "") + Dump(bounds[i].get());
  return out + ")";
}

std::string CaseTestText(const CaseTest& t) {
  switch (t.kind) {
    case CaseTest::Kind::Value: return Dump(t.low.get());
    case CaseTest::Kind::Range: return "(to " + Dump(t.low.get()) + " " + Dump(t.high.get()) + ")";
    case CaseTest::Kind::Is: return std::string("(is") + OpName(t.op) + " " + Dump(t.low.get()) + ")";
  }
  return "?";
}

}  // namespace

std::string Dump(const Expr* e) {
  if (!e) return "_";
  switch (e->kind) {
    case ExprKind::Literal: return Literal(static_cast<const LiteralExpr*>(e)->value);
    case ExprKind::Name: return static_cast<const NameExpr*>(e)->name;
    case ExprKind::Member: {
      auto m = static_cast<const MemberExpr*>(e);
      return "(. " + Dump(m->object.get()) + " " + m->name + ")";
    }
    case ExprKind::Call: {
      auto c = static_cast<const CallExpr*>(e);
      std::string out = "(call " + Dump(c->callee.get());
      for (const auto& a : c->args) out += " " + Dump(a.get());
      return out + ")";
    }
    case ExprKind::Paren: return "(paren " + Dump(static_cast<const ParenExpr*>(e)->inner.get()) + ")";
    case ExprKind::Unary: {
      auto u = static_cast<const UnaryExpr*>(e);
      const char* op = u->op == UnaryOp::Negate ? "neg" : u->op == UnaryOp::Plus ? "pos" : "not";
      return std::string("(") + op + " " + Dump(u->operand.get()) + ")";
    }
    case ExprKind::Binary: {
      auto b = static_cast<const BinaryExpr*>(e);
      return std::string("(") + OpName(b->op) + " " + Dump(b->left.get()) + " " + Dump(b->right.get()) + ")";
    }
    case ExprKind::Is: {
      auto i = static_cast<const IsExpr*>(e);
      return "(is " + Dump(i->left.get()) + " " + Dump(i->right.get()) + ")";
    }
    case ExprKind::New: return "(new " + static_cast<const NewExpr*>(e)->className + ")";
    case ExprKind::Me: return "me";
  }
  return "?";
}

std::string Dump(const Block& block) {
  std::string out = "[";
  for (size_t i = 0; i < block.size(); ++i) out += (i ? " " : "") + Dump(*block[i]);
  return out + "]";
}

std::string Dump(const Stmt& s) {
  switch (s.kind) {
    case StmtKind::Call: return "(callstmt " + Dump(static_cast<const CallStmt&>(s).call.get()) + ")";
    case StmtKind::Assign: {
      auto& a = static_cast<const AssignStmt&>(s);
      return std::string(a.isSet ? "(set " : "(let ") + Dump(a.target.get()) + " " + Dump(a.value.get()) + ")";
    }
    case StmtKind::Dim: {
      auto& d = static_cast<const DimStmt&>(s);
      std::string out = "(dim" + Visibility(d.visibility);
      for (const auto& v : d.vars) out += " " + v.name + (v.isArray ? Bounds(v.bounds) : "");
      return out + ")";
    }
    case StmtKind::ReDim: {
      auto& r = static_cast<const ReDimStmt&>(s);
      std::string out = r.preserve ? "(redim preserve" : "(redim";
      for (const auto& t : r.targets) out += " " + t.name->name + Bounds(t.bounds);
      return out + ")";
    }
    case StmtKind::Const: {
      auto& c = static_cast<const ConstStmt&>(s);
      std::string out = "(const" + Visibility(c.visibility);
      for (const auto& item : c.items) out += " " + item.name + "=" + Dump(item.value.get());
      return out + ")";
    }
    case StmtKind::Erase: return "(erase " + static_cast<const EraseStmt&>(s).target->name + ")";
    case StmtKind::If: {
      auto& i = static_cast<const IfStmt&>(s);
      std::string out = "(if";
      for (const auto& b : i.branches) out += " (" + Dump(b.condition.get()) + " " + Dump(b.body) + ")";
      if (!i.elseBody.empty()) out += " else " + Dump(i.elseBody);
      return out + ")";
    }
    case StmtKind::Select: {
      auto& sel = static_cast<const SelectStmt&>(s);
      std::string out = "(select " + Dump(sel.subject.get());
      for (const auto& c : sel.cases) {
        out += " (case";
        for (const auto& t : c.tests) out += " " + CaseTestText(t);
        out += " " + Dump(c.body) + ")";
      }
      if (sel.hasElse) out += " (else " + Dump(sel.elseBody) + ")";
      return out + ")";
    }
    case StmtKind::For: {
      auto& f = static_cast<const ForStmt&>(s);
      return "(for " + f.variable->name + " " + Dump(f.from.get()) + " " + Dump(f.to.get()) + " " +
             Dump(f.step.get()) + " " + Dump(f.body) + ")";
    }
    case StmtKind::ForEach: {
      auto& f = static_cast<const ForEachStmt&>(s);
      return "(foreach " + f.variable->name + " " + Dump(f.collection.get()) + " " + Dump(f.body) + ")";
    }
    case StmtKind::Do: {
      auto& d = static_cast<const DoStmt&>(s);
      if (d.isWhileWend) return "(while " + Dump(d.condition.get()) + " " + Dump(d.body) + ")";
      const char* test[] = {"", " pre-while ", " pre-until ", " post-while ", " post-until "};
      const std::string cond = d.condition ? test[static_cast<int>(d.test)] + Dump(d.condition.get()) : "";
      return "(do" + cond + " " + Dump(d.body) + ")";
    }
    case StmtKind::With: {
      auto& w = static_cast<const WithStmt&>(s);
      return "(with " + Dump(w.object.get()) + " " + Dump(w.body) + ")";
    }
    case StmtKind::Exit: {
      const char* what[] = {"do", "for", "function", "sub", "property"};
      return std::string("(exit ") + what[static_cast<int>(static_cast<const ExitStmt&>(s).what)] + ")";
    }
    case StmtKind::OnError:
      return static_cast<const OnErrorStmt&>(s).resumeNext ? "(on-error resume-next)" : "(on-error goto-0)";
  }
  return "?";
}

namespace {

std::string Where(const VbError& e) {
  return "error " + std::to_string(e.Number()) + " at " + std::to_string(e.Line()) + ":" +
         std::to_string(e.Column());
}

}  // namespace

std::string DumpExpression(std::string_view source) {
  try {
    return Dump(ParseExpression(source).get());
  } catch (const VbError& e) {
    return Where(e);
  }
}

std::string DumpProgram(std::string_view source) {
  try {
    return Dump(ParseProgram(source).body);
  } catch (const VbError& e) {
    return Where(e);
  }
}

std::string ErrorOf(std::string_view source) {
  try {
    ParseProgram(source);
    return "ok";
  } catch (const VbError& e) {
    return Where(e);
  }
}

}  // namespace vbtest
