// Global names: declaring variables, procedures and classes, and finding
// what a name stands for at run time.
#include <string>

#include "platform/automation/dispatch_call.h"
#include "platform/scriptcontrol/vbscript/vb_interpreter.h"
#include "platform/scriptcontrol/vbscript/vb_resolver.h"
#include "platform/util/text.h"

namespace scriptcontrol::vbscript {

using automation::Variant;

namespace {

struct SpecialName {
  std::string_view name;
  int32_t which;
};
// The built-ins that need the interpreter; CallSpecial numbers them so.
constexpr SpecialName kSpecials[] = {{"eval", 0}, {"execute", 1}, {"executeglobal", 2}, {"getref", 3}};

}  // namespace

void Interpreter::Bind(const std::string& name, Binding binding) {
  std::string key = kiv::ToLowerAscii(name);
  auto it = defined_.find(key);
  if (it != defined_.end()) {
    bindings_[static_cast<size_t>(it->second)] = binding;
  } else {
    defined_.emplace(std::move(key), static_cast<int32_t>(bindings_.size()));
    bindings_.push_back(binding);
  }
  // Looked-up names may now mean something else.
  derived_.clear();
  ++generation_;
}

int32_t Interpreter::DefineGlobal(const std::string& name, bool constant) {
  std::string key = kiv::ToLowerAscii(name);
  auto it = defined_.find(key);
  if (it != defined_.end()) {
    Binding& b = bindings_[static_cast<size_t>(it->second)];
    if (b.kind == Binding::Kind::Variable || b.kind == Binding::Kind::Constant) {
      b.kind = constant ? Binding::Kind::Constant : Binding::Kind::Variable;
      return b.index;
    }
  }
  int32_t index = static_cast<int32_t>(globals_.size());
  globals_.emplace_back();
  Binding b;
  b.kind = constant ? Binding::Kind::Constant : Binding::Kind::Variable;
  b.index = index;
  Bind(name, b);
  return index;
}

void Interpreter::DeclareProcedure(const ProcedurePtr& procedure) {
  ResolveProcedure(*procedure, nullptr);
  std::string key = kiv::ToLowerAscii(procedure->name);
  auto it = defined_.find(key);
  Binding b;
  b.kind = Binding::Kind::Procedure;
  if (it != defined_.end() && bindings_[static_cast<size_t>(it->second)].kind == Binding::Kind::Procedure) {
    // A later definition replaces the earlier one, as VBScript's does.
    b.index = bindings_[static_cast<size_t>(it->second)].index;
    procedures_[static_cast<size_t>(b.index)] = procedure;
  } else {
    b.index = static_cast<int32_t>(procedures_.size());
    procedures_.push_back(procedure);
    procedureOrder_.push_back(key);
  }
  Bind(procedure->name, b);
}

void Interpreter::DeclareClass(const ClassPtr& declaration) {
  auto info = std::make_shared<ClassInfo>(declaration);
  for (const ProcedurePtr& p : declaration->members) ResolveProcedure(*p, info.get());
  Binding b;
  b.kind = Binding::Kind::Class;
  b.index = static_cast<int32_t>(classes_.size());
  classes_.push_back(std::move(info));
  Bind(declaration->name, b);
}

void Interpreter::Declare(Program& program, int32_t unit) {
  for (const ProcedurePtr& p : program.procedures) {
    p->unit = unit;
    p->optionExplicit = program.optionExplicit;
    DeclareProcedure(p);
  }
  for (const ClassPtr& c : program.classes) {
    for (const ProcedurePtr& p : c->members) {
      p->unit = unit;
      p->optionExplicit = program.optionExplicit;
    }
    DeclareClass(c);
  }
  // Script-level variables exist before the first statement runs.
  for (const StmtPtr& s : program.body) {
    if (s->kind == StmtKind::Dim) {
      for (const VarDecl& v : static_cast<const DimStmt&>(*s).vars) DefineGlobal(v.name, false);
    }
  }
}

const Binding* Interpreter::LookupGlobal(const std::string& name) {
  int32_t index = LookupGlobalIndex(name);
  return index < 0 ? nullptr : &bindings_[static_cast<size_t>(index)];
}

int32_t Interpreter::LookupGlobalIndex(const std::string& name) {
  std::string key = kiv::ToLowerAscii(name);
  if (auto it = defined_.find(key); it != defined_.end()) return it->second;
  if (auto it = derived_.find(key); it != derived_.end()) return it->second;

  Binding found;
  bool have = false;
  for (size_t i = 0; i < objects_.size() && !have; ++i) {
    const NamedObject& o = objects_[i];
    if (kiv::EqualsIgnoreCase(o.name, key)) {
      found.kind = Binding::Kind::Object;
      found.index = static_cast<int32_t>(i);
      have = true;
    }
  }
  for (size_t i = objects_.size(); i-- > 0 && !have;) {
    const NamedObject& o = objects_[i];
    if (!o.addMembers) continue;
    std::string names[1] = {name};
    automation::DispId ids[1] = {automation::DISPID_UNKNOWN};
    if (automation::Succeeded(o.object->GetIDsOfNames(names, ids))) {
      found.kind = Binding::Kind::ObjectMember;
      found.index = static_cast<int32_t>(i);
      found.id = ids[0];
      have = true;
    }
  }
  if (!have) {
    for (const SpecialName& s : kSpecials) {
      if (s.name == key) {
        found.kind = Binding::Kind::Special;
        found.index = s.which;
        have = true;
      }
    }
  }
  if (!have) {
    if (const Builtin* builtin = FindBuiltin(key)) {
      found.kind = Binding::Kind::Builtin;
      found.builtin = builtin;
      have = true;
    } else if (const Variant* constant = FindConstant(key)) {
      found.kind = Binding::Kind::BuiltinConstant;
      found.constant = constant;
      have = true;
    }
  }
  if (!have) {
    derived_.emplace(std::move(key), -1);
    return -1;
  }
  int32_t index = static_cast<int32_t>(bindings_.size());
  derived_.emplace(std::move(key), index);
  bindings_.push_back(found);
  return index;
}

const Binding* Interpreter::FindGlobal(NameExpr& name) {
  if (name.cacheGeneration == generation_)
    return name.cacheIndex < 0 ? nullptr : &bindings_[static_cast<size_t>(name.cacheIndex)];
  int32_t index = LookupGlobalIndex(name.name);
  name.cacheGeneration = generation_;
  name.cacheIndex = index;
  return index < 0 ? nullptr : &bindings_[static_cast<size_t>(index)];
}

void Interpreter::Undefined(const std::string& name) { throw VbError(kErrUndefined).Named(name); }

Variant* Interpreter::VariableOf(NameExpr& name, Access access) {
  const bool create = access != Access::Read;
  Frame& frame = frames_.back();
  switch (name.scope) {
    case NameScope::Local: return &frame.locals[static_cast<size_t>(name.slot)];
    case NameScope::Field:
      if (frame.self) return &frame.self->Fields()[static_cast<size_t>(name.slot)];
      break;
    case NameScope::Member: return nullptr;
    case NameScope::Unresolved:
    case NameScope::Dynamic: break;
  }
  if (const Binding* b = FindGlobal(name)) {
    if (b->kind == Binding::Kind::Variable) return &globals_[static_cast<size_t>(b->index)];
    if (b->kind == Binding::Kind::Constant) {
      if (access == Access::Write) throw VbError(kErrIllegalAssignment).Named(name.name);
      if (access == Access::Reference) return nullptr;
      return &globals_[static_cast<size_t>(b->index)];
    }
    // A built-in function's name may be taken for a variable; the variable
    // then hides the function.
    bool builtin = b->kind == Binding::Kind::Builtin || b->kind == Binding::Kind::Special;
    if (!builtin || access != Access::Write) return nullptr;
    if (frame.optionExplicit) Undefined(name.name);
  } else if (frame.optionExplicit) {
    Undefined(name.name);
  }
  if (name.scope == NameScope::Dynamic && name.slot >= 0) return &frame.locals[static_cast<size_t>(name.slot)];
  if (!create) return nullptr;
  // NOTE: inside a procedure, a name the resolver gave no slot (it came
  // through Execute) becomes a global, not a variable of the procedure.
  int32_t index = DefineGlobal(name.name, false);
  return &globals_[static_cast<size_t>(index)];
}

}  // namespace scriptcontrol::vbscript
