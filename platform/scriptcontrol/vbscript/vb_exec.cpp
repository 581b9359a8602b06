// Statements: blocks with On Error Resume Next, declarations, branches
// and loops.
#include <new>

#include "platform/automation/automation_error.h"
#include "platform/automation/enum_variant.h"
#include "platform/automation/error_info.h"
#include "platform/scriptcontrol/vbscript/vb_convert.h"
#include "platform/scriptcontrol/vbscript/vb_err_object.h"
#include "platform/scriptcontrol/vbscript/vb_interpreter.h"
#include "platform/scriptcontrol/vbscript/vb_operators.h"
#include "platform/util/text.h"

namespace scriptcontrol::vbscript {

using automation::Variant;
using automation::VariantArray;

namespace {

constexpr const char* kRuntimeSource = "Microsoft VBScript runtime error";

// The elements of an array in order, arrays of arrays flattened.
void Flatten(const Variant& value, std::vector<Variant>& out) {
  const VariantArray* a = value.Deref().Array();
  if (!a) {
    out.push_back(value.Deref());
    return;
  }
  for (const Variant& item : a->Items()) {
    if (item.IsArray()) {
      Flatten(item, out);
    } else {
      out.push_back(item);
    }
  }
}

}  // namespace

void Interpreter::NoteError(const std::exception& failure) {
  ErrState& err = *err_;
  if (const auto* e = dynamic_cast<const VbError*>(&failure)) {
    err.number = e->Number();
    err.description = e->Description();
    err.source = e->Source().empty() ? kRuntimeSource : e->Source();
  } else {
    err.number = kErrOutOfMemory;
    err.description = ErrorText(kErrOutOfMemory);
    err.source = kRuntimeSource;
  }
}

Interpreter::Flow Interpreter::ExecBlock(const Block& block) {
  for (const StmtPtr& s : block) {
    Frame& frame = frames_.back();
    frame.statement = s.get();
    Tick();
    try {
      Flow flow = Exec(*s);
      if (flow != Flow::Normal) return flow;
    } catch (VbAbort&) {
      throw;
    } catch (VbError& e) {
      if (!e.Placed()) {
        e.Place(s->pos.line, s->pos.column);
        errorUnit_ = frame.unit;
      }
      if (!frame.resumeNext) throw;
      NoteError(e);
    } catch (const automation::AutomationError& failure) {
      VbError e = ErrorFromException(failure);
      e.Place(s->pos.line, s->pos.column);
      errorUnit_ = frame.unit;
      if (!frame.resumeNext) throw e;
      NoteError(e);
    } catch (const std::bad_alloc&) {
      VbError e(kErrOutOfMemory);
      e.Place(s->pos.line, s->pos.column);
      errorUnit_ = frame.unit;
      if (!frame.resumeNext) throw e;
      NoteError(e);
    }
  }
  return Flow::Normal;
}

Interpreter::Flow Interpreter::Exec(const Stmt& s) {
  switch (s.kind) {
    case StmtKind::Call: {
      const Expr& call = *static_cast<const CallStmt&>(s).call;
      if (call.kind == ExprKind::Call) {
        EvalCall(static_cast<const CallExpr&>(call), false);
      } else if (call.kind == ExprKind::Member) {
        EvalMember(static_cast<const MemberExpr&>(call), {}, automation::DISPATCH_METHOD);
      } else if (call.kind == ExprKind::Name) {
        auto& n = const_cast<NameExpr&>(static_cast<const NameExpr&>(call));
        CallExpr bare(nullptr, n.pos);
        // A bare name as a statement calls it: a procedure, a built-in, a
        // member; a variable that holds an object calls its default member.
        Frame& frame = frames_.back();
        if (n.scope == NameScope::Member && frame.self) {
          CallMemberOf(*frame.self, n.slot, {}, automation::DISPATCH_METHOD);
        } else if (n.scope == NameScope::Local || n.scope == NameScope::Field) {
          Variant v = EvalName(n);
          if (!v.IsObject()) throw VbError(kErrTypeMismatch).Named(n.name);
          CallValue(std::move(v), {}, automation::DISPATCH_METHOD);
        } else if (const Binding* b = FindGlobal(n)) {
          if (b->kind == Binding::Kind::Variable || b->kind == Binding::Kind::Constant) {
            Variant v = globals_[static_cast<size_t>(b->index)];
            if (!v.IsObject()) throw VbError(kErrTypeMismatch).Named(n.name);
            CallValue(std::move(v), {}, automation::DISPATCH_METHOD);
          } else {
            CallBinding(*b, n, nullptr, false);
          }
        } else {
          if (frames_.back().optionExplicit) Undefined(n.name);
          throw VbError(kErrTypeMismatch).Named(n.name);
        }
      } else {
        Eval(call);
      }
      return Flow::Normal;
    }
    case StmtKind::Assign: {
      const auto& st = static_cast<const AssignStmt&>(s);
      // s = s & x appends in place, so that building a string in a loop
      // takes time in proportion to its length.
      if (!st.isSet && st.target->kind == ExprKind::Name && st.value->kind == ExprKind::Binary) {
        const auto& b = static_cast<const BinaryExpr&>(*st.value);
        if (b.op == BinaryOp::Concat && b.left->kind == ExprKind::Name) {
          auto& target = const_cast<NameExpr&>(static_cast<const NameExpr&>(*st.target));
          auto& left = static_cast<const NameExpr&>(*b.left);
          if (left.scope == target.scope && left.slot == target.slot && target.scope != NameScope::Member &&
              kiv::EqualsIgnoreCase(left.name, target.name)) {
            Variant* var = VariableOf(target, Access::Write);
            if (var && var->Deref().Get<std::string>()) {
              Variant right = Eval(*b.right);
              if (!right.IsNull()) {
                std::string piece = ToVbString(right);
                // Evaluating the right side may have changed the variable.
                if (std::string* text = var->Deref().Get<std::string>()) {
                  text->append(piece);
                  return Flow::Normal;
                }
              }
              Assign(*st.target, Binary(BinaryOp::Concat, var->Deref(), right), false);
              return Flow::Normal;
            }
          }
        }
      }
      Assign(*st.target, Eval(*st.value), st.isSet);
      return Flow::Normal;
    }
    case StmtKind::Dim: ExecDim(static_cast<const DimStmt&>(s)); return Flow::Normal;
    case StmtKind::ReDim: ExecReDim(static_cast<const ReDimStmt&>(s)); return Flow::Normal;
    case StmtKind::Const: ExecConst(static_cast<const ConstStmt&>(s)); return Flow::Normal;
    case StmtKind::Erase: ExecErase(static_cast<const EraseStmt&>(s)); return Flow::Normal;
    case StmtKind::If: return ExecIf(static_cast<const IfStmt&>(s));
    case StmtKind::Select: return ExecSelect(static_cast<const SelectStmt&>(s));
    case StmtKind::For: return ExecFor(static_cast<const ForStmt&>(s));
    case StmtKind::ForEach: return ExecForEach(static_cast<const ForEachStmt&>(s));
    case StmtKind::Do: return ExecDo(static_cast<const DoStmt&>(s));
    case StmtKind::With: return ExecWith(static_cast<const WithStmt&>(s));
    case StmtKind::Exit:
      switch (static_cast<const ExitStmt&>(s).what) {
        case ExitStmt::What::Do: return Flow::ExitDo;
        case ExitStmt::What::For: return Flow::ExitFor;
        default: return Flow::ExitProcedure;
      }
    case StmtKind::OnError:
      frames_.back().resumeNext = static_cast<const OnErrorStmt&>(s).resumeNext;
      err_->Clear();
      return Flow::Normal;
  }
  return Flow::Normal;
}

bool Interpreter::Condition(const Expr& expr) {
  Variant v = Eval(expr);
  if (v.IsNull()) return false;
  return ToVbBool(v);
}

Interpreter::Flow Interpreter::ExecIf(const IfStmt& st) {
  for (const IfStmt::Branch& branch : st.branches) {
    bool taken = false;
    try {
      taken = Condition(*branch.condition);
    } catch (VbError& e) {
      Frame& frame = frames_.back();
      if (!frame.resumeNext || dynamic_cast<VbAbort*>(&e)) throw;
      // VBScript goes on with the next statement, which is the branch's
      // first: a failing condition counts as true.
      NoteError(e);
      taken = true;
    }
    if (taken) return ExecBlock(branch.body);
  }
  return ExecBlock(st.elseBody);
}

Interpreter::Flow Interpreter::ExecSelect(const SelectStmt& st) {
  Variant subject = Eval(*st.subject);
  for (const SelectStmt::Case& c : st.cases) {
    for (const CaseTest& test : c.tests) {
      bool match = false;
      switch (test.kind) {
        case CaseTest::Kind::Value: match = CompareValues(subject, Eval(*test.low)) == 0; break;
        case CaseTest::Kind::Range: {
          int low = CompareValues(subject, Eval(*test.low));
          int high = CompareValues(subject, Eval(*test.high));
          match = low != kCompareNull && high != kCompareNull && low >= 0 && high <= 0;
          break;
        }
        case CaseTest::Kind::Is: {
          Variant result = Binary(test.op, subject, Eval(*test.low));
          match = !result.IsNull() && ToVbBool(result);
          break;
        }
      }
      if (match) return ExecBlock(c.body);
    }
  }
  return ExecBlock(st.elseBody);
}

Interpreter::Flow Interpreter::ExecFor(const ForStmt& st) {
  Variant from = ValueOf(Eval(*st.from));
  Variant to = ValueOf(Eval(*st.to));
  Variant step = st.step ? ValueOf(Eval(*st.step)) : Variant(int16_t{1});
  if (from.IsNull() || to.IsNull() || step.IsNull()) throw VbError(kErrInvalidNull);
  bool down = ToVbDouble(step) < 0;
  // Numeric from here on, as VBScript's loop makes them.
  if (from.Get<std::string>()) from = Variant(ToVbDouble(from));
  if (to.Get<std::string>()) to = Variant(ToVbDouble(to));
  Variant* var = VariableOf(*st.variable, Access::Write);
  if (!var) throw VbError(kErrIllegalAssignment).Named(st.variable->name);
  Store(*var, from, false);
  for (;;) {
    int order = CompareValues(var->Deref(), to);
    if (order == kCompareNull || (down ? order < 0 : order > 0)) break;
    Flow flow = ExecBlock(st.body);
    if (flow == Flow::ExitFor) break;
    if (flow != Flow::Normal) return flow;
    Variant& current = var->Deref();
    current = Binary(BinaryOp::Add, current, step);
    Tick();
  }
  return Flow::Normal;
}

Interpreter::Flow Interpreter::ExecForEach(const ForEachStmt& st) {
  Variant collection = Eval(*st.collection);
  Variant* var = VariableOf(*st.variable, Access::Write);
  if (!var) throw VbError(kErrIllegalAssignment).Named(st.variable->name);
  auto body = [&](Variant item) -> std::optional<Flow> {
    var->Deref() = std::move(item);
    Flow flow = ExecBlock(st.body);
    if (flow == Flow::ExitFor) return Flow::Normal;
    if (flow != Flow::Normal) return flow;
    return std::nullopt;
  };
  if (collection.IsArray()) {
    std::vector<Variant> items;
    Flatten(collection, items);
    for (Variant& item : items)
      if (auto flow = body(std::move(item))) return *flow;
    return Flow::Normal;
  }
  automation::IDispatch* d = collection.IsObject() ? collection.Dispatch() : nullptr;
  if (!d) throw VbError(collection.IsObject() ? kErrObjectNotSet : kErrNotCollection);
  if (dynamic_cast<VbObject*>(d)) throw VbError(kErrNotCollection);
  Variant enumerator;
  try {
    enumerator = Invoke(d, automation::DISPID_NEWENUM, automation::DISPATCH_METHOD | automation::DISPATCH_PROPERTYGET, {});
  } catch (const VbError&) {
    throw VbError(kErrNotCollection);
  }
  automation::IUnknown* unknown =
      enumerator.Dispatch() ? static_cast<automation::IUnknown*>(enumerator.Dispatch()) : enumerator.UnknownPtr();
  if (!unknown) throw VbError(kErrNotCollection);
  automation::ComPtr<automation::IEnumVARIANT> walker;
  if (automation::Failed(unknown->QueryInterface(automation::IEnumVARIANT::kIid, reinterpret_cast<void**>(&walker))))
    throw VbError(kErrNotCollection);
  for (;;) {
    Variant item;
    uint32_t fetched = 0;
    automation::HRESULT hr = walker->Next(1, &item, &fetched);
    if (automation::Failed(hr)) throw ErrorFromResult(hr);
    if (fetched == 0) break;
    if (auto flow = body(std::move(item))) return *flow;
    Tick();
  }
  return Flow::Normal;
}

Interpreter::Flow Interpreter::ExecDo(const DoStmt& st) {
  using Test = DoStmt::Test;
  for (;;) {
    if (st.test == Test::PreWhile && !Condition(*st.condition)) break;
    if (st.test == Test::PreUntil && Condition(*st.condition)) break;
    Flow flow = ExecBlock(st.body);
    if (flow == Flow::ExitDo && !st.isWhileWend) break;
    if (flow != Flow::Normal) return flow;
    if (st.test == Test::PostWhile && !Condition(*st.condition)) break;
    if (st.test == Test::PostUntil && Condition(*st.condition)) break;
    Tick();
  }
  return Flow::Normal;
}

Interpreter::Flow Interpreter::ExecWith(const WithStmt& st) {
  Frame& frame = frames_.back();
  frame.with.push_back(Eval(*st.object));
  struct Pop {
    Frame& f;
    ~Pop() { f.with.pop_back(); }
  } pop{frame};
  return ExecBlock(st.body);
}

void Interpreter::ExecDim(const DimStmt& st) {
  for (const VarDecl& v : st.vars) {
    if (v.isArray) DeclaredVariable(v.name, false).Deref() = Variant(MakeArray(v.bounds));
  }
}

Variant& Interpreter::DeclaredVariable(const std::string& name, bool constant) {
  Frame& frame = frames_.back();
  if (frame.procedure) {
    const std::vector<std::string>& names = frame.procedure->localNames;
    for (size_t i = 0; i < names.size(); ++i)
      if (kiv::EqualsIgnoreCase(names[i], name)) return frame.locals[i];
  }
  return globals_[static_cast<size_t>(DefineGlobal(name, constant))];
}

void Interpreter::ExecReDim(const ReDimStmt& st) {
  for (const ReDimStmt::Target& t : st.targets) {
    std::vector<int32_t> bounds;
    for (const ExprPtr& b : t.bounds) bounds.push_back(ToVbLong(Eval(*b)));
    Variant* var = nullptr;
    if (t.name->scope == NameScope::Local || t.name->scope == NameScope::Field || FindGlobal(*t.name)) {
      var = VariableOf(*t.name, Access::Write);
    } else {
      // ReDim declares, Option Explicit or not.
      var = &globals_[static_cast<size_t>(DefineGlobal(t.name->name, false))];
    }
    if (!var) throw VbError(kErrIllegalAssignment).Named(t.name->name);
    Variant made = MakeArrayValue(bounds, 0);
    Variant& dest = var->Deref();
    if (st.preserve && dest.IsArray()) {
      // Copies what fits, level by level.
      struct Copier {
        static void Copy(const Variant& from, Variant& to) {
          const VariantArray* a = from.Array();
          VariantArray* b = to.Array();
          if (!a || !b) {
            to = from;
            return;
          }
          int32_t last = std::min(a->UpperBound(), b->UpperBound());
          for (int32_t i = b->LowerBound(); i <= last; ++i) Copy(a->At(i), b->At(i));
        }
      };
      Copier::Copy(dest, made);
    }
    dest = std::move(made);
  }
}

void Interpreter::ExecConst(const ConstStmt& st) {
  for (const ConstStmt::Item& item : st.items) {
    Variant value = ValueOf(Eval(*item.value));
    DeclaredVariable(item.name, true) = std::move(value);
  }
}

void Interpreter::ExecErase(const EraseStmt& st) {
  Variant* var = VariableOf(*st.target, Access::Write);
  if (!var || !var->Deref().IsArray()) throw VbError(kErrTypeMismatch).Named(st.target->name);
  struct Clearer {
    static void Clear(Variant& v) {
      VariantArray* a = v.Array();
      if (!a) {
        v.Clear();
        return;
      }
      for (Variant& item : a->Items()) {
        if (item.IsArray()) {
          Clear(item);
        } else {
          item.Clear();
        }
      }
    }
  };
  Clearer::Clear(var->Deref());
}

}  // namespace scriptcontrol::vbscript
