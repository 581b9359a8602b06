// Assignment: Let and Set to variables, array elements, members and
// default members.
#include "platform/scriptcontrol/vbscript/vb_convert.h"
#include "platform/scriptcontrol/vbscript/vb_interpreter.h"

namespace scriptcontrol::vbscript {

using automation::Variant;

namespace {

uint16_t PutFlags(bool isSet) { return isSet ? automation::DISPATCH_PROPERTYPUTREF : automation::DISPATCH_PROPERTYPUT; }

}  // namespace

void Interpreter::Store(Variant& variable, Variant value, bool isSet) {
  Variant& dest = variable.Deref();
  if (isSet) {
    if (!value.IsObject()) throw VbError(kErrObjectRequired);
    dest = std::move(value);
    return;
  }
  if (value.IsObject()) {
    if (value.IsNothing()) throw VbError(kErrObjectNotSet);
    value = ValueOf(value);
  }
  if (dest.IsObject() && !dest.IsNothing()) {
    // Let to a variable that holds an object sets the object's default
    // member.
    automation::IDispatch* d = dest.Dispatch();
    if (auto* vo = dynamic_cast<VbObject*>(d)) {
      if (vo->Class().defaultMember < 0) throw VbError(kErrNoSuchMember);
      std::vector<Variant> args;
      args.push_back(std::move(value));
      CallMemberOf(*vo, vo->Class().defaultMember, std::move(args), automation::DISPATCH_PROPERTYPUT);
      return;
    }
    if (d) {
      std::vector<Variant> args;
      args.push_back(std::move(value));
      Invoke(d, automation::DISPID_VALUE, automation::DISPATCH_PROPERTYPUT, std::move(args));
      return;
    }
  }
  dest = std::move(value);
}

Variant& Interpreter::Element(Variant& array, std::span<Variant> indices) {
  Variant* at = &array.Deref();
  for (Variant& index : indices) {
    automation::VariantArray* a = at->Array();
    if (!a) throw VbError(at->IsEmpty() ? kErrTypeMismatch : kErrSubscript);
    if (index.Deref().IsMissing()) throw VbError(kErrSubscript);
    int32_t i = ToVbLong(index);
    if (i < a->LowerBound() || i > a->UpperBound()) throw VbError(kErrSubscript);
    at = &a->At(i);
  }
  return *at;
}

void Interpreter::Assign(const Expr& target, Variant value, bool isSet) {
  switch (target.kind) {
    case ExprKind::Name: {
      auto& n = const_cast<NameExpr&>(static_cast<const NameExpr&>(target));
      Frame& frame = frames_.back();
      if (n.scope == NameScope::Member && frame.self) {
        std::vector<Variant> args;
        args.push_back(std::move(value));
        CallMemberOf(*frame.self, n.slot, std::move(args), PutFlags(isSet));
        return;
      }
      if (Variant* var = VariableOf(n, Access::Write)) {
        Store(*var, std::move(value), isSet);
        return;
      }
      const Binding* b = FindGlobal(n);
      if (b && b->kind == Binding::Kind::ObjectMember) {
        std::vector<Variant> args;
        args.push_back(std::move(value));
        Invoke(objects_[static_cast<size_t>(b->index)].object.Get(), b->id, PutFlags(isSet), std::move(args));
        return;
      }
      throw VbError(kErrIllegalAssignment).Named(n.name);
    }
    case ExprKind::Member: {
      const auto& m = static_cast<const MemberExpr&>(target);
      std::vector<Variant> args;
      args.push_back(std::move(value));
      EvalMember(m, std::move(args), PutFlags(isSet));
      return;
    }
    case ExprKind::Call: {
      const auto& call = static_cast<const CallExpr&>(target);
      std::vector<Variant> args = EvalArgs(call.args);
      if (call.callee->kind == ExprKind::Member) {
        args.push_back(std::move(value));
        EvalMember(static_cast<const MemberExpr&>(*call.callee), std::move(args), PutFlags(isSet));
        return;
      }
      Variant* holder = nullptr;
      Variant temporary;
      if (call.callee->kind == ExprKind::Name) {
        auto& n = const_cast<NameExpr&>(static_cast<const NameExpr&>(*call.callee));
        Frame& frame = frames_.back();
        if (n.scope == NameScope::Member && frame.self) {
          args.push_back(std::move(value));
          CallMemberOf(*frame.self, n.slot, std::move(args), PutFlags(isSet));
          return;
        }
        holder = VariableOf(n, Access::Read);
        if (!holder) {
          const Binding* b = FindGlobal(n);
          if (b && (b->kind == Binding::Kind::ObjectMember || b->kind == Binding::Kind::Object)) {
            args.push_back(std::move(value));
            const auto& o = objects_[static_cast<size_t>(b->index)];
            Invoke(o.object.Get(), b->kind == Binding::Kind::Object ? automation::DISPID_VALUE : b->id,
                   PutFlags(isSet), std::move(args));
            return;
          }
          throw VbError(kErrIllegalAssignment).Named(n.name);
        }
      } else {
        temporary = Eval(*call.callee);
        holder = &temporary;
      }
      Variant& held = holder->Deref();
      if (held.IsArray()) {
        try {
          Store(Element(held, args), std::move(value), isSet);
        } catch (VbError& e) {
          if (e.Number() == kErrSubscript && e.Name().empty()) e.Named(DescribeIndex(call.args));
          throw;
        }
        return;
      }
      if (held.IsObject() && held.Dispatch()) {
        args.push_back(std::move(value));
        CallValue(held, std::move(args), PutFlags(isSet));
        return;
      }
      throw VbError(held.IsEmpty() ? kErrTypeMismatch : kErrIllegalAssignment);
    }
    default: break;
  }
  throw VbError(kErrIllegalAssignment);
}

}  // namespace scriptcontrol::vbscript
