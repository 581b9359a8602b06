#include "platform/automation/dispatch_table.h"

#include <array>
#include <optional>

#include "platform/automation/error_info.h"
#include "platform/util/text.h"

namespace automation {

namespace {

bool IsPut(MemberKind kind) { return kind == MemberKind::PropertyPut || kind == MemberKind::PropertyPutRef; }

// The result an unbound member gives under UnboundRule::SucceedEmpty.
Variant ZeroOf(VarType type) {
  if (IsNumericType(type) || type == VarType::Date) return ChangeType(Variant(0), type);
  switch (type) {
    case VarType::Bool: return Variant(false);
    case VarType::String: return Variant(std::string());
    case VarType::Dispatch: return Variant::Nothing();
    default: return Variant();
  }
}

}  // namespace

DispatchTableBase::DispatchTableBase(std::shared_ptr<InterfaceInfo> info) : info_(std::move(info)) {
  if (!info_) throw std::logic_error("dispatch table without an interface");
  source_ = info_->Name();
  invokers_.resize(info_->Members().size());
}

void DispatchTableBase::AddRow(MemberInfo member, Invoker invoker, std::span<const VarType> argTypes,
                               std::span<const bool> argByRef, VarType resultType) {
  const std::string where = info_->Name() + "." + member.name;
  if (member.params.size() > argTypes.size()) throw std::logic_error(where + ": more parameters than the code takes");
  while (member.params.size() < argTypes.size())
    member.params.push_back(Param("Param" + std::to_string(member.params.size() + 1)));
  if (member.params.size() > kMaxParams) throw std::logic_error(where + ": too many parameters");
  for (size_t i = 0; i < argTypes.size(); ++i) {
    ParamInfo& p = member.params[i];
    // A declared type stands when the code takes any variant; otherwise
    // the code's type is the parameter's type.
    if (argTypes[i] != VarType::Variant) {
      if (p.type != VarType::Variant && p.type != argTypes[i])
        throw std::logic_error(where + ": parameter " + p.name + " is declared " + TypeName(p.type) +
                               " but the code takes " + TypeName(argTypes[i]));
      p.type = argTypes[i];
    }
    if (argByRef[i]) p.byRef = true;
    if (p.defaultValue) p.defaultValue = ChangeType(*p.defaultValue, p.type);
  }
  if (member.kind == MemberKind::PropertyGet) member.resultType = resultType;
  if (member.kind == MemberKind::Method) member.resultType = resultType;
  if (IsPut(member.kind) && resultType != VarType::Empty) throw std::logic_error(where + ": a setter has no result");
  info_->Add(std::move(member));
  invokers_.push_back(std::move(invoker));
}

void DispatchTableBase::BindExisting(std::string_view name, MemberKind kind, Invoker invoker, size_t arity) {
  const auto& members = info_->Members();
  invokers_.resize(members.size());
  for (size_t i = 0; i < members.size(); ++i) {
    if (members[i].kind != kind || !kiv::EqualsIgnoreCase(members[i].name, name)) continue;
    if (members[i].params.size() != arity)
      throw std::logic_error(info_->Name() + "." + members[i].name + ": declared with " +
                             std::to_string(members[i].params.size()) + " parameters, code takes " +
                             std::to_string(arity));
    invokers_[i] = std::move(invoker);
    return;
  }
  throw std::logic_error(info_->Name() + ": no " + KindName(kind) + " " + std::string(name) + " to implement");
}

HRESULT DispatchTableBase::GetIDsOfNames(std::span<const std::string> names, std::span<DispId> ids) const noexcept {
  if (ids.size() < names.size()) return E_INVALIDARG;
  if (names.empty()) return S_OK;
  HRESULT hr = S_OK;
  std::optional<DispId> member = info_->IdOfName(names[0]);
  ids[0] = member ? *member : DISPID_UNKNOWN;
  if (!member) hr = DISP_E_UNKNOWNNAME;
  for (size_t i = 1; i < names.size(); ++i) {
    std::optional<DispId> param = member ? info_->ParamIdOfName(*member, names[i]) : std::nullopt;
    ids[i] = param ? *param : DISPID_UNKNOWN;
    if (!param) hr = DISP_E_UNKNOWNNAME;
  }
  return hr;
}

int DispatchTableBase::Resolve(DispId id, uint16_t flags) const {
  const auto& members = info_->Members();
  int method = -1, getter = -1, put = -1, putRef = -1;
  for (size_t i = 0; i < members.size(); ++i) {
    if (members[i].id != id) continue;
    switch (members[i].kind) {
      case MemberKind::Method: method = static_cast<int>(i); break;
      case MemberKind::PropertyGet: getter = static_cast<int>(i); break;
      case MemberKind::PropertyPut: put = static_cast<int>(i); break;
      case MemberKind::PropertyPutRef: putRef = static_cast<int>(i); break;
    }
  }
  // An assignment reaches whichever setter there is; call syntax reaches a
  // property getter too (Items(0) as well as Items.Item(0)).
  if (flags & DISPATCH_PROPERTYPUTREF) return putRef >= 0 ? putRef : put;
  if (flags & DISPATCH_PROPERTYPUT) return put >= 0 ? put : putRef;
  if ((flags & DISPATCH_METHOD) && method >= 0) return method;
  if (flags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD)) return getter;
  return -1;
}

HRESULT DispatchTableBase::Invoke(void* self, bool bound, DispId id, uint16_t flags, DispParams& params,
                                  Variant* result) const noexcept {
  try {
    int index = Resolve(id, flags);
    if (index < 0) return ReportFailure(DISP_E_MEMBERNOTFOUND, DescribeHResult(DISP_E_MEMBERNOTFOUND), source_);
    const MemberInfo& m = info_->Members()[static_cast<size_t>(index)];
    const Invoker& invoker = invokers_[static_cast<size_t>(index)];
    if (!invoker) return ReportFailure(E_NOTIMPL, m.name + ": Not implemented", source_);

    const size_t count = m.params.size();
    const bool put = IsPut(m.kind);
    const size_t named = params.namedIds.size();
    if (named > params.args.size()) return ReportFailure(E_INVALIDARG, DescribeHResult(E_INVALIDARG), source_);
    std::array<Variant*, kMaxParams> slots{};
    // Filled only for omitted arguments: most calls need none, and each
    // empty Variant would still cost a destructor call.
    std::array<std::optional<Variant>, kMaxParams> temps;

    auto place = [&slots](size_t at, Variant* v) {
      if (slots[at]) return false;
      slots[at] = v;
      return true;
    };
    size_t positional = params.args.size() - named;
    // The assigned value of a put is the DISPID_PROPERTYPUT argument, or
    // else the last positional one.
    bool valuePlaced = false;
    for (size_t i = 0; i < named; ++i) {
      DispId pid = params.namedIds[i];
      if (put && pid == DISPID_PROPERTYPUT) {
        valuePlaced = place(count - 1, &params.args[i]);
        if (!valuePlaced) return ReportFailure(E_INVALIDARG, DescribeHResult(E_INVALIDARG), source_);
        continue;
      }
      size_t limit = put ? count - 1 : count;
      if (pid < 0 || static_cast<size_t>(pid) >= limit)
        return ReportFailure(DISP_E_PARAMNOTFOUND, DescribeHResult(DISP_E_PARAMNOTFOUND), source_);
      if (!place(static_cast<size_t>(pid), &params.args[i]))
        return ReportFailure(E_INVALIDARG, DescribeHResult(E_INVALIDARG), source_);
    }
    if (put && !valuePlaced) {
      if (positional == 0) return ReportFailure(DISP_E_BADPARAMCOUNT, DescribeHResult(DISP_E_BADPARAMCOUNT), source_);
      place(count - 1, &params.args[named]);  // last argument, first in the array
      --positional;
    }
    size_t room = put ? count - 1 : count;
    if (positional > room) return ReportFailure(DISP_E_BADPARAMCOUNT, DescribeHResult(DISP_E_BADPARAMCOUNT), source_);
    for (size_t p = 0; p < positional; ++p)
      if (!place(p, &params.args[params.args.size() - 1 - p]))
        return ReportFailure(E_INVALIDARG, DescribeHResult(E_INVALIDARG), source_);

    for (size_t i = 0; i < count; ++i) {
      const ParamInfo& info = m.params[i];
      if (slots[i] && !slots[i]->Deref().IsMissing()) continue;
      if (!info.optional) {
        HRESULT code = slots[i] ? DISP_E_PARAMNOTOPTIONAL : DISP_E_BADPARAMCOUNT;
        return ReportFailure(code, DescribeHResult(code), source_);
      }
      slots[i] = &temps[i].emplace(info.defaultValue ? *info.defaultValue : Variant::Missing());
    }

    if (!bound) {
      if (unbound_ == UnboundRule::Fail) return ReportFailure(E_UNEXPECTED, kUnboundMessage, source_);
      if (result) *result = ZeroOf(m.resultType);
      return S_OK;
    }
    Variant value = invoker(self, slots.data());
    if (result) *result = std::move(value);
    return S_OK;
  } catch (...) {
    return ReportCurrentException(source_);
  }
}

}  // namespace automation
