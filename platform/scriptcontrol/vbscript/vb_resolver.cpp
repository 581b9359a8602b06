#include "platform/scriptcontrol/vbscript/vb_resolver.h"

#include <string>
#include <unordered_map>

#include "platform/scriptcontrol/vbscript/vb_errors.h"
#include "platform/util/text.h"

namespace scriptcontrol::vbscript {

namespace {

class Resolver {
 public:
  Resolver(const ClassInfo* owner, bool mayAddSlots) : owner_(owner), mayAddSlots_(mayAddSlots) {}

  int32_t Declare(const std::string& name) {
    std::string key = kiv::ToLowerAscii(name);
    auto it = slots_.find(key);
    if (it != slots_.end()) return it->second;
    int32_t slot = static_cast<int32_t>(names_.size());
    slots_.emplace(std::move(key), slot);
    names_.push_back(name);
    return slot;
  }
  void Adopt(const ProcedureDecl& procedure) {
    for (const std::string& name : procedure.localNames) Declare(name);
  }
  // Dim, ReDim and Const anywhere in the body declare for the whole body.
  void DeclareIn(const Block& block) {
    for (const StmtPtr& s : block) DeclareIn(*s);
  }
  void DeclareIn(const Stmt& s) {
    switch (s.kind) {
      case StmtKind::Dim:
        for (const VarDecl& v : static_cast<const DimStmt&>(s).vars) Declare(v.name);
        break;
      case StmtKind::ReDim:
        for (const auto& t : static_cast<const ReDimStmt&>(s).targets) Declare(t.name->name);
        break;
      case StmtKind::Const:
        for (const auto& item : static_cast<const ConstStmt&>(s).items) Declare(item.name);
        break;
      case StmtKind::If: {
        const auto& st = static_cast<const IfStmt&>(s);
        for (const auto& b : st.branches) DeclareIn(b.body);
        DeclareIn(st.elseBody);
        break;
      }
      case StmtKind::Select: {
        const auto& st = static_cast<const SelectStmt&>(s);
        for (const auto& c : st.cases) DeclareIn(c.body);
        DeclareIn(st.elseBody);
        break;
      }
      case StmtKind::For: DeclareIn(static_cast<const ForStmt&>(s).body); break;
      case StmtKind::ForEach: DeclareIn(static_cast<const ForEachStmt&>(s).body); break;
      case StmtKind::Do: DeclareIn(static_cast<const DoStmt&>(s).body); break;
      case StmtKind::With: DeclareIn(static_cast<const WithStmt&>(s).body); break;
      default: break;
    }
  }

  // target: the name is assigned, looped over or passed by reference.
  void Name(NameExpr& n, bool target) {
    std::string key = kiv::ToLowerAscii(n.name);
    n.cacheGeneration = 0;
    n.cacheIndex = -1;
    auto it = slots_.find(key);
    if (it != slots_.end()) {
      n.scope = NameScope::Local;
      n.slot = it->second;
      return;
    }
    if (owner_) {
      int32_t member = owner_->Find(key);
      if (member >= 0) {
        const ClassMember& m = owner_->members[static_cast<size_t>(member)];
        n.scope = m.field >= 0 ? NameScope::Field : NameScope::Member;
        n.slot = m.field >= 0 ? m.field : member;
        return;
      }
    }
    n.scope = NameScope::Dynamic;
    n.slot = -1;
    if (mayAddSlots_) {
      auto implicit = implicit_.find(key);
      if (implicit != implicit_.end()) {
        n.slot = implicit->second;
      } else if (target && collecting_) {
        int32_t slot = static_cast<int32_t>(names_.size());
        implicit_.emplace(std::move(key), slot);
        names_.push_back(n.name);
        n.slot = slot;
      }
    }
  }

  // The first walk gives slots to the implicit variables; the second sees
  // them at every use, before the first assignment too.
  void SetCollecting(bool collecting) { collecting_ = collecting; }

  void Expression(Expr* e, bool target = false) {
    if (!e) return;
    switch (e->kind) {
      case ExprKind::Name: Name(static_cast<NameExpr&>(*e), target); break;
      case ExprKind::Member: Expression(static_cast<MemberExpr&>(*e).object.get()); break;
      case ExprKind::Call: {
        auto& c = static_cast<CallExpr&>(*e);
        Expression(c.callee.get(), target);
        // A bare variable passed to a procedure may be assigned through
        // its by-reference parameter.
        for (auto& a : c.args) Expression(a.get(), a && a->kind == ExprKind::Name);
        break;
      }
      case ExprKind::Paren: Expression(static_cast<ParenExpr&>(*e).inner.get()); break;
      case ExprKind::Unary: Expression(static_cast<UnaryExpr&>(*e).operand.get()); break;
      case ExprKind::Binary: {
        auto& b = static_cast<BinaryExpr&>(*e);
        Expression(b.left.get());
        Expression(b.right.get());
        break;
      }
      case ExprKind::Is: {
        auto& b = static_cast<IsExpr&>(*e);
        Expression(b.left.get());
        Expression(b.right.get());
        break;
      }
      case ExprKind::Literal:
      case ExprKind::New:
      case ExprKind::Me: break;
    }
  }

  void Statements(Block& block) {
    for (StmtPtr& s : block) Statement(*s);
  }

  void Statement(Stmt& s) {
    switch (s.kind) {
      case StmtKind::Call: {
        auto& st = static_cast<CallStmt&>(s);
        Expression(st.call.get());
        break;
      }
      case StmtKind::Assign: {
        auto& st = static_cast<AssignStmt&>(s);
        Expression(st.target.get(), true);
        Expression(st.value.get());
        break;
      }
      case StmtKind::Dim:
        for (VarDecl& v : static_cast<DimStmt&>(s).vars)
          for (auto& b : v.bounds) Expression(b.get());
        break;
      case StmtKind::ReDim:
        for (auto& t : static_cast<ReDimStmt&>(s).targets) {
          Name(*t.name, true);
          for (auto& b : t.bounds) Expression(b.get());
        }
        break;
      case StmtKind::Const:
        for (auto& item : static_cast<ConstStmt&>(s).items) Expression(item.value.get());
        break;
      case StmtKind::Erase: Name(*static_cast<EraseStmt&>(s).target, true); break;
      case StmtKind::If: {
        auto& st = static_cast<IfStmt&>(s);
        for (auto& b : st.branches) {
          Expression(b.condition.get());
          Statements(b.body);
        }
        Statements(st.elseBody);
        break;
      }
      case StmtKind::Select: {
        auto& st = static_cast<SelectStmt&>(s);
        Expression(st.subject.get());
        for (auto& c : st.cases) {
          for (auto& t : c.tests) {
            Expression(t.low.get());
            Expression(t.high.get());
          }
          Statements(c.body);
        }
        Statements(st.elseBody);
        break;
      }
      case StmtKind::For: {
        auto& st = static_cast<ForStmt&>(s);
        Name(*st.variable, true);
        Expression(st.from.get());
        Expression(st.to.get());
        Expression(st.step.get());
        Statements(st.body);
        break;
      }
      case StmtKind::ForEach: {
        auto& st = static_cast<ForEachStmt&>(s);
        Name(*st.variable, true);
        Expression(st.collection.get());
        Statements(st.body);
        break;
      }
      case StmtKind::Do: {
        auto& st = static_cast<DoStmt&>(s);
        Expression(st.condition.get());
        Statements(st.body);
        break;
      }
      case StmtKind::With: {
        auto& st = static_cast<WithStmt&>(s);
        Expression(st.object.get());
        Statements(st.body);
        break;
      }
      case StmtKind::Exit:
      case StmtKind::OnError: break;
    }
  }

  int32_t Size() const { return static_cast<int32_t>(names_.size()); }
  std::vector<std::string> TakeNames() { return std::move(names_); }

 private:
  const ClassInfo* owner_;
  bool mayAddSlots_;
  std::unordered_map<std::string, int32_t> slots_;     // declared variables
  std::unordered_map<std::string, int32_t> implicit_;  // used as variables, not declared
  std::vector<std::string> names_;
  bool collecting_ = false;
};

}  // namespace

void ResolveProcedure(ProcedureDecl& procedure, const ClassInfo* owner) {
  Resolver r(owner, true);
  // Parameters and the result take the first slots, one each: a name
  // given twice would make two of them share one.
  auto unique = [&](const std::string& name, SourcePos pos) {
    int32_t before = r.Size();
    if (r.Declare(name) != before) {
      VbError error(kErrNameRedefined);
      error.Place(pos.line, pos.column);
      throw error;
    }
  };
  for (const Param& p : procedure.params) unique(p.name, p.pos);
  if (procedure.kind == ProcedureDecl::Kind::Function || procedure.kind == ProcedureDecl::Kind::PropertyGet)
    unique(procedure.name, procedure.pos);
  r.DeclareIn(procedure.body);
  r.SetCollecting(true);
  r.Statements(procedure.body);
  r.SetCollecting(false);
  r.Statements(procedure.body);
  procedure.frameSize = r.Size();
  procedure.localNames = r.TakeNames();
}

void ResolveInScope(Expr& expr, const ProcedureDecl* procedure, const ClassInfo* owner) {
  Resolver r(owner, false);
  if (procedure) r.Adopt(*procedure);
  r.Expression(&expr);
}

void ResolveInScope(Block& block, const ProcedureDecl* procedure, const ClassInfo* owner) {
  Resolver r(owner, false);
  if (procedure) r.Adopt(*procedure);
  r.Statements(block);
}

}  // namespace scriptcontrol::vbscript
