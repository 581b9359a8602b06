// Expressions: values of names, members, operators, New, Me and With.
#include <typeinfo>

#include "platform/scriptcontrol/vbscript/vb_convert.h"
#include "platform/scriptcontrol/vbscript/vb_interpreter.h"
#include "platform/scriptcontrol/vbscript/vb_operators.h"

namespace scriptcontrol::vbscript {

using automation::Variant;
using automation::VariantArray;

Variant Interpreter::Eval(const Expr& e) {
  switch (e.kind) {
    case ExprKind::Literal: return static_cast<const LiteralExpr&>(e).value;
    case ExprKind::Name: return EvalName(const_cast<NameExpr&>(static_cast<const NameExpr&>(e)));
    case ExprKind::Member:
      return EvalMember(static_cast<const MemberExpr&>(e), {},
                        automation::DISPATCH_PROPERTYGET | automation::DISPATCH_METHOD);
    case ExprKind::Call: return EvalCall(static_cast<const CallExpr&>(e), true);
    case ExprKind::Paren: return Eval(*static_cast<const ParenExpr&>(e).inner);
    case ExprKind::Unary: {
      const auto& u = static_cast<const UnaryExpr&>(e);
      return Unary(u.op, Eval(*u.operand));
    }
    case ExprKind::Binary: {
      const auto& b = static_cast<const BinaryExpr&>(e);
      // Both sides always run: VBScript's And and Or do not short-circuit.
      Variant left = Eval(*b.left);
      Variant right = Eval(*b.right);
      return Binary(b.op, left, right);
    }
    case ExprKind::Is: {
      const auto& b = static_cast<const IsExpr&>(e);
      Variant left = Eval(*b.left);
      Variant right = Eval(*b.right);
      return Variant(SameObject(left, right));
    }
    case ExprKind::New: return NewObject(static_cast<const NewExpr&>(e));
    case ExprKind::Me: return MeObject();
  }
  throw VbError(kErrSyntax);
}

Variant Interpreter::EvalName(NameExpr& n) {
  Frame& frame = frames_.back();
  switch (n.scope) {
    case NameScope::Local: return frame.locals[static_cast<size_t>(n.slot)].Deref();
    case NameScope::Field:
      if (frame.self) return frame.self->Fields()[static_cast<size_t>(n.slot)];
      break;
    case NameScope::Member:
      if (frame.self)
        return CallMemberOf(*frame.self, n.slot, {}, automation::DISPATCH_PROPERTYGET | automation::DISPATCH_METHOD);
      break;
    case NameScope::Unresolved:
    case NameScope::Dynamic: break;
  }
  const Binding* b = FindGlobal(n);
  if (!b) {
    if (frame.optionExplicit) Undefined(n.name);
    if (n.scope == NameScope::Dynamic && n.slot >= 0) return frame.locals[static_cast<size_t>(n.slot)].Deref();
    return Variant();
  }
  switch (b->kind) {
    case Binding::Kind::Variable:
    case Binding::Kind::Constant: return globals_[static_cast<size_t>(b->index)];
    case Binding::Kind::Procedure: return CallScript(*procedures_[static_cast<size_t>(b->index)], nullptr, {});
    case Binding::Kind::Object: return Variant(objects_[static_cast<size_t>(b->index)].object);
    case Binding::Kind::ObjectMember:
      return Invoke(objects_[static_cast<size_t>(b->index)].object.Get(), b->id,
                    automation::DISPATCH_PROPERTYGET | automation::DISPATCH_METHOD, {});
    case Binding::Kind::Builtin:
    case Binding::Kind::Special:
      // A procedure's variable named like a built-in hides it once set.
      if (n.scope == NameScope::Dynamic && n.slot >= 0 && !frame.locals[static_cast<size_t>(n.slot)].IsEmpty())
        return frame.locals[static_cast<size_t>(n.slot)].Deref();
      return CallBinding(*b, n, nullptr, true);
    case Binding::Kind::BuiltinConstant: return *b->constant;
    case Binding::Kind::Class: break;
  }
  throw VbError(kErrTypeMismatch).Named(n.name);
}

Variant Interpreter::EvalMember(const MemberExpr& m, std::vector<Variant> args, uint16_t flags) {
  Variant object = m.object ? Eval(*m.object) : WithObject();
  if (!object.IsObject()) {
    // VBScript names the variable that should have held the object.
    const Expr* holder = m.object.get();
    if (holder && holder->kind == ExprKind::Call) holder = static_cast<const CallExpr*>(holder)->callee.get();
    bool named = holder && holder->kind == ExprKind::Name;
    throw VbError(kErrObjectRequired).Named(named ? static_cast<const NameExpr*>(holder)->name : m.name);
  }
  automation::IDispatch* d = object.Dispatch();
  if (!d) throw VbError(object.IsNothing() ? kErrObjectNotSet : kErrNoSuchMember).Named(m.name);
  if (auto* vo = dynamic_cast<VbObject*>(d)) {
    int32_t member = vo->Class().Find(m.name);
    if (member < 0 || (!vo->Class().members[static_cast<size_t>(member)].isPublic && frames_.back().self != vo))
      throw VbError(kErrNoSuchMember).Named(m.name);
    return CallMemberOf(*vo, member, std::move(args), flags);
  }
  automation::DispId id = IdOf(d, m.name, &m);
  if (args.empty() || (flags & automation::DISPATCH_PROPERTYGET) == 0) return Invoke(d, id, flags, std::move(args));
  try {
    return Invoke(d, id, flags, args);
  } catch (const VbError& e) {
    // A property without parameters, given arguments, hands them to the
    // default member of what it gives (WScript.Arguments(0)).
    if (e.Number() != kErrWrongArgCount) throw;
  }
  return CallValue(Invoke(d, id, flags, {}), std::move(args), flags);
}

Variant Interpreter::WithObject() {
  Frame& frame = frames_.back();
  if (frame.with.empty()) throw VbError(kErrObjectRequired);
  return frame.with.back();
}

Variant Interpreter::MeObject() {
  VbObject* self = frames_.back().self;
  if (!self) throw VbError(kErrInvalidMe);
  return Variant(static_cast<automation::IDispatch*>(self));
}

Variant Interpreter::MakeArrayValue(const std::vector<int32_t>& bounds, size_t level) {
  int32_t upper = bounds[level];
  if (upper < -1) throw VbError(kErrSubscript);
  std::vector<Variant> items(static_cast<size_t>(upper + 1));
  if (level + 1 < bounds.size())
    for (Variant& item : items) item = MakeArrayValue(bounds, level + 1);
  return Variant(VariantArray(std::move(items)));
}

VariantArray Interpreter::MakeArray(const std::vector<ExprPtr>& boundExprs) {
  std::vector<int32_t> bounds;
  for (const ExprPtr& b : boundExprs) bounds.push_back(ToVbLong(Eval(*b)));
  if (bounds.empty()) return VariantArray();
  Variant made = MakeArrayValue(bounds, 0);
  return std::move(*made.Array());
}

Variant Interpreter::NewObject(const NewExpr& e) {
  std::string names[1] = {e.className};
  const Binding* b = LookupGlobal(e.className);
  if (!b || b->kind != Binding::Kind::Class) throw VbError(kErrClassNotDefined).Named(e.className);
  std::shared_ptr<const ClassInfo> cls = classes_[static_cast<size_t>(b->index)];
  automation::ComPtr<VbObject> object = automation::MakeObject<VbObject>(cls, link_);
  for (size_t i = 0; i < cls->fields.size(); ++i) {
    const VarDecl& field = *cls->fields[i];
    if (field.isArray) object->Fields()[i] = Variant(MakeArray(field.bounds));
  }
  if (cls->initialize) CallScript(*cls->initialize, object.Get(), {});
  return Variant(static_cast<automation::IDispatch*>(object.Get()));
}

}  // namespace scriptcontrol::vbscript
