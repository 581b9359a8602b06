// Calls: script procedures and class members, built-ins, dispatch calls
// on objects, indexing of arrays, and the arguments of each.
#include <algorithm>

#include "platform/automation/dispatch_call.h"
#include "platform/automation/error_info.h"
#include "platform/automation/type_info.h"
#include "platform/scriptcontrol/vbscript/vb_convert.h"
#include "platform/scriptcontrol/vbscript/vb_interpreter.h"
#include "platform/scriptcontrol/vbscript/vb_interpreter_scopes.h"
#include "platform/scriptcontrol/vbscript/vb_parser.h"
#include "platform/scriptcontrol/vbscript/vb_proc_ref.h"
#include "platform/scriptcontrol/vbscript/vb_resolver.h"

namespace scriptcontrol::vbscript {

using automation::DispId;
using automation::Variant;

namespace {

constexpr uint16_t kGetOrCall = automation::DISPATCH_PROPERTYGET | automation::DISPATCH_METHOD;

bool IsPut(uint16_t flags) {
  return (flags & (automation::DISPATCH_PROPERTYPUT | automation::DISPATCH_PROPERTYPUTREF)) != 0;
}

}  // namespace

std::vector<Variant> Interpreter::EvalArgs(const std::vector<ExprPtr>& args) {
  std::vector<Variant> values;
  values.reserve(args.size());
  for (const ExprPtr& a : args) {
    if (!a) {
      values.push_back(Variant::Missing());
      continue;
    }
    // A variable written as it is goes by reference; the callee decides
    // whether it keeps the reference (ByRef) or copies (ByVal).
    if (a->kind == ExprKind::Name) {
      auto& n = const_cast<NameExpr&>(static_cast<const NameExpr&>(*a));
      if (n.scope != NameScope::Member) {
        if (Variant* var = VariableOf(n, Access::Reference)) {
          values.push_back(Variant::Ref(&var->Deref()));
          continue;
        }
      }
    }
    values.push_back(Eval(*a));
  }
  return values;
}

Variant Interpreter::CallScript(const ProcedureDecl& p, VbObject* self, std::vector<Variant> args) {
  CheckStack();
  if (args.size() != p.params.size()) throw VbError(kErrWrongArgCount).Named(p.name);
  Frame frame;
  frame.procedure = &p;
  frame.self = self;
  frame.unit = p.unit;
  frame.optionExplicit = p.optionExplicit;
  frame.locals.resize(static_cast<size_t>(p.frameSize));
  for (size_t i = 0; i < args.size(); ++i) {
    Variant& a = args[i];
    if (p.params[i].byVal || !a.IsByRef()) {
      frame.locals[i] = a.Deref();
    } else {
      frame.locals[i] = std::move(a);
    }
  }
  // Keeps the object alive while its own code runs.
  automation::ComPtr<VbObject> hold(self);
  FramePush push(*this, std::move(frame));
  ExecBlock(p.body);
  if (p.kind == ProcedureDecl::Kind::Function || p.kind == ProcedureDecl::Kind::PropertyGet)
    return frames_.back().locals[p.params.size()].Deref();
  return Variant();
}

Variant Interpreter::CallMemberOf(VbObject& object, int32_t index, std::vector<Variant> args, uint16_t flags) {
  const ClassMember& m = object.Class().members[static_cast<size_t>(index)];
  if (m.field >= 0) {
    Variant& field = object.Fields()[static_cast<size_t>(m.field)];
    if (IsPut(flags)) {
      Variant value = std::move(args.back());
      args.pop_back();
      bool isSet = (flags & automation::DISPATCH_PROPERTYPUTREF) != 0;
      if (args.empty()) {
        Store(field, value.Deref(), isSet);
      } else {
        Store(Element(field, args), value.Deref(), isSet);
      }
      return Variant();
    }
    return CallValue(field, std::move(args), flags);
  }
  const ProcedureDecl* p = nullptr;
  if (IsPut(flags)) {
    p = (flags & automation::DISPATCH_PROPERTYPUTREF) ? m.set : m.let;
    if (!p) p = m.let ? m.let : m.set;
  } else {
    p = m.get;
  }
  if (!p) throw VbError(kErrNoSuchMember).Named(m.name);
  if (!IsPut(flags) && p->params.empty() && !args.empty()) {
    // Arguments for what the member gives: c.Items(2) with Items an array.
    Variant whole = CallScript(*p, &object, {});
    return CallValue(std::move(whole), std::move(args), flags);
  }
  return CallScript(*p, &object, std::move(args));
}

Variant Interpreter::CallValue(Variant target, std::vector<Variant> args, uint16_t flags,
                               const std::vector<ExprPtr>* indexExprs) {
  Variant& v = target.Deref();
  if (v.IsArray()) {
    if (args.empty()) return v;
    try {
      return Element(v, args);
    } catch (VbError& e) {
      if (indexExprs && e.Number() == kErrSubscript && e.Name().empty()) e.Named(DescribeIndex(*indexExprs));
      throw;
    }
  }
  if (v.IsObject()) {
    automation::IDispatch* d = v.Dispatch();
    if (!d) throw VbError(kErrObjectNotSet);
    if (args.empty() && !IsPut(flags) && (flags & automation::DISPATCH_METHOD) == 0) return v;
    if (auto* vo = dynamic_cast<VbObject*>(d)) {
      if (vo->Class().defaultMember < 0) throw VbError(kErrNoSuchMember);
      return CallMemberOf(*vo, vo->Class().defaultMember, std::move(args), flags);
    }
    return Invoke(d, automation::DISPID_VALUE, flags, std::move(args));
  }
  if (args.empty()) return v;
  throw VbError(kErrTypeMismatch);
}

Variant Interpreter::CallBinding(const Binding& b, NameExpr& name, const std::vector<ExprPtr>* argExprs,
                                 bool wantValue) {
  static const std::vector<ExprPtr> kNone;
  const std::vector<ExprPtr>& exprs = argExprs ? *argExprs : kNone;
  uint16_t flags = wantValue ? kGetOrCall : automation::DISPATCH_METHOD;
  switch (b.kind) {
    case Binding::Kind::Variable:
    case Binding::Kind::Constant:
      return CallValue(Variant::Ref(&globals_[static_cast<size_t>(b.index)]), EvalArgs(exprs), kGetOrCall,
                       &exprs);
    case Binding::Kind::Procedure: {
      const ProcedureDecl& p = *procedures_[static_cast<size_t>(b.index)];
      return CallScript(p, nullptr, EvalArgs(exprs));
    }
    case Binding::Kind::Object:
      if (exprs.empty() && wantValue) return Variant(objects_[static_cast<size_t>(b.index)].object);
      return CallValue(Variant(objects_[static_cast<size_t>(b.index)].object), EvalArgs(exprs), flags);
    case Binding::Kind::ObjectMember:
      return Invoke(objects_[static_cast<size_t>(b.index)].object.Get(), b.id, flags, EvalArgs(exprs));
    case Binding::Kind::Builtin: {
      std::vector<Variant> args = EvalArgs(exprs);
      if (static_cast<int>(args.size()) < b.builtin->minArgs || static_cast<int>(args.size()) > b.builtin->maxArgs)
        throw VbError(kErrWrongArgCount).Named(name.name);
      BuiltinCall call{args, context_};
      return b.builtin->function(call);
    }
    case Binding::Kind::Special: return CallSpecial(b.index, EvalArgs(exprs));
    case Binding::Kind::BuiltinConstant:
      if (exprs.empty()) return *b.constant;
      break;
    case Binding::Kind::Class: break;
  }
  throw VbError(kErrTypeMismatch).Named(name.name);
}

// How VBScript names the index of a failed subscript: the variable, or
// the number written.
std::string DescribeIndex(const std::vector<ExprPtr>& args) {
  if (args.size() != 1 || !args[0]) return {};
  const Expr& index = *args[0];
  if (index.kind == ExprKind::Name) return static_cast<const NameExpr&>(index).name;
  if (index.kind == ExprKind::Literal) {
    const Variant& v = static_cast<const LiteralExpr&>(index).value;
    if (automation::IsNumericType(v.Type())) return "[number: " + ToVbString(v) + "]";
  }
  return {};
}

Variant Interpreter::EvalCall(const CallExpr& call, bool wantValue) {
  uint16_t flags = wantValue ? kGetOrCall : automation::DISPATCH_METHOD;
  const Expr& callee = *call.callee;
  if (callee.kind == ExprKind::Name) {
    auto& n = const_cast<NameExpr&>(static_cast<const NameExpr&>(callee));
    Frame& frame = frames_.back();
    switch (n.scope) {
      case NameScope::Local: {
        Variant& local = frame.locals[static_cast<size_t>(n.slot)];
        const Variant& value = local.Deref();
        // Inside a function its own name is its result; with arguments (or
        // parentheses) and a result that is no array or object, the name
        // calls the function again.
        if (!value.IsArray() && !value.IsObject() && frame.procedure &&
            static_cast<size_t>(n.slot) == frame.procedure->params.size() &&
            (frame.procedure->kind == ProcedureDecl::Kind::Function ||
             frame.procedure->kind == ProcedureDecl::Kind::PropertyGet)) {
          const ProcedureDecl& p = *frame.procedure;
          VbObject* self = frame.self;
          if (self) return CallMemberOf(*self, self->Class().Find(p.name), EvalArgs(call.args), flags);
          return CallScript(p, nullptr, EvalArgs(call.args));
        }
        return CallValue(Variant::Ref(&local.Deref()), EvalArgs(call.args), kGetOrCall, &call.args);
      }
      case NameScope::Field:
        if (frame.self) {
          Variant& field = frame.self->Fields()[static_cast<size_t>(n.slot)];
          return CallValue(Variant::Ref(&field), EvalArgs(call.args), kGetOrCall, &call.args);
        }
        break;
      case NameScope::Member:
        if (frame.self) return CallMemberOf(*frame.self, n.slot, EvalArgs(call.args), flags);
        break;
      case NameScope::Unresolved:
      case NameScope::Dynamic: break;
    }
    if (const Binding* b = FindGlobal(n)) return CallBinding(*b, n, &call.args, wantValue);
    if (frame.optionExplicit) Undefined(n.name);
    if (n.scope == NameScope::Dynamic && n.slot >= 0) {
      Variant& local = frame.locals[static_cast<size_t>(n.slot)];
      if (!local.Deref().IsEmpty())
        return CallValue(Variant::Ref(&local.Deref()), EvalArgs(call.args), kGetOrCall, &call.args);
    }
    throw VbError(kErrTypeMismatch).Named(n.name);
  }
  if (callee.kind == ExprKind::Member)
    return EvalMember(static_cast<const MemberExpr&>(callee), EvalArgs(call.args), flags);
  Variant target = Eval(callee);
  return CallValue(std::move(target), EvalArgs(call.args), kGetOrCall);
}

Variant Interpreter::Invoke(automation::IDispatch* d, DispId id, uint16_t flags, std::vector<Variant> args) {
  if (!d) throw VbError(kErrObjectNotSet);
  std::reverse(args.begin(), args.end());
  static const DispId kPutId[1] = {automation::DISPID_PROPERTYPUT};
  automation::DispParams params;
  params.args = args;
  if (IsPut(flags)) params.namedIds = kPutId;
  Variant result;
  automation::ClearErrorInfo();
  automation::HRESULT hr = d->Invoke(id, flags, params, &result);
  if (hr == automation::DISP_E_MEMBERNOTFOUND && (flags & automation::DISPATCH_PROPERTYPUTREF)) {
    // An object that has no Set form of the property takes the value.
    automation::ClearErrorInfo();
    hr = d->Invoke(id, automation::DISPATCH_PROPERTYPUT, params, &result);
  }
  if (automation::Failed(hr)) throw ErrorFromResult(hr);
  if (result.IsByRef()) return result.Deref();
  return result;
}

DispId Interpreter::IdOf(automation::IDispatch* d, const std::string& name, const MemberExpr* cache) {
  const automation::InterfaceInfo* info = cache ? automation::TypeInfoOf(d) : nullptr;
  if (info && cache->cacheType == info) return cache->cacheId;
  std::string names[1] = {name};
  DispId ids[1] = {automation::DISPID_UNKNOWN};
  if (automation::Failed(d->GetIDsOfNames(names, ids))) {
    automation::ClearErrorInfo();
    throw VbError(kErrNoSuchMember).Named(name);
  }
  if (cache && info) {
    auto* writable = const_cast<MemberExpr*>(cache);
    writable->cacheType = info;
    writable->cacheId = ids[0];
  }
  return ids[0];
}

Variant Interpreter::CallSpecial(int32_t which, std::vector<Variant> args) {
  auto text = [&]() -> std::string {
    if (args.size() != 1) throw VbError(kErrWrongArgCount);
    return ToVbString(args[0]);
  };
  Frame& frame = frames_.back();
  const ClassInfo* owner = frame.self ? &frame.self->Class() : nullptr;
  switch (which) {
    case 0: {  // Eval
      std::string source = text();
      int32_t unit = addUnit_(source);
      ExprPtr expr;
      try {
        expr = ParseExpression(source);
      } catch (VbError&) {
        errorUnit_ = unit;
        throw;
      }
      ResolveInScope(*expr, frame.procedure, owner);
      return Eval(*expr);
    }
    case 1:    // Execute
    case 2: {  // ExecuteGlobal
      std::string source = text();
      int32_t unit = addUnit_(source);
      auto program = std::make_shared<Program>();
      try {
        *program = ParseProgram(source);
      } catch (VbError&) {
        errorUnit_ = unit;
        throw;
      }
      if (which == 2 || !frame.procedure) {
        RunProgram(program, unit);
        return Variant();
      }
      Declare(*program, unit);
      ResolveInScope(program->body, frame.procedure, owner);
      int32_t outer = frame.unit;
      frame.unit = unit;
      struct Restore {
        Frame& f;
        int32_t unit;
        ~Restore() { f.unit = unit; }
      } restore{frame, outer};
      ExecBlock(program->body);
      return Variant();
    }
    case 3: {  // GetRef
      std::string name = text();
      const Binding* b = LookupGlobal(name);
      if (!b || b->kind != Binding::Kind::Procedure) throw VbError(kErrInvalidCall);
      return Variant(static_cast<automation::IDispatch*>(
          automation::MakeObject<ProcedureRef>(procedures_[static_cast<size_t>(b->index)], link_).Get()));
    }
    default: break;
  }
  throw VbError(kErrNotDefined);
}

}  // namespace scriptcontrol::vbscript
