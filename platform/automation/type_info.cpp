#include "platform/automation/type_info.h"

#include <stdexcept>

#include "platform/util/text.h"

namespace automation {

const char* KindName(MemberKind kind) {
  switch (kind) {
    case MemberKind::Method: return "method";
    case MemberKind::PropertyGet: return "propget";
    case MemberKind::PropertyPut: return "propput";
    case MemberKind::PropertyPutRef: return "propputref";
  }
  return "method";
}

ParamInfo Param(std::string name, VarType type) { return ParamInfo{std::move(name), type, false, false, {}}; }

ParamInfo OptionalParam(std::string name, VarType type, std::optional<Variant> defaultValue) {
  return ParamInfo{std::move(name), type, true, false, std::move(defaultValue)};
}

ParamInfo RefParam(std::string name, VarType type) { return ParamInfo{std::move(name), type, false, true, {}}; }

size_t MemberInfo::RequiredCount() const {
  size_t count = 0;
  for (const ParamInfo& p : params)
    if (!p.optional) ++count;
  return count;
}

InterfaceInfo::InterfaceInfo(std::string name, Guid iid, std::string doc)
    : name_(std::move(name)), iid_(iid), doc_(std::move(doc)) {}

namespace {

MemberInfo Declared(std::string name, DispId id, MemberKind kind, std::vector<ParamInfo> params, VarType result) {
  MemberInfo m;
  m.name = std::move(name);
  m.id = id;
  m.kind = kind;
  m.params = std::move(params);
  m.resultType = result;
  return m;
}

// A put's value is its last parameter, after the index parameters.
std::vector<ParamInfo> WithValue(std::vector<ParamInfo> indexParams, VarType type) {
  indexParams.push_back(Param("Value", type));
  return indexParams;
}

}  // namespace

InterfaceInfo& InterfaceInfo::Method(std::string name, DispId id, std::vector<ParamInfo> params, VarType result) {
  return Add(Declared(std::move(name), id, MemberKind::Method, std::move(params), result));
}

InterfaceInfo& InterfaceInfo::Get(std::string name, DispId id, VarType type, std::vector<ParamInfo> indexParams) {
  return Add(Declared(std::move(name), id, MemberKind::PropertyGet, std::move(indexParams), type));
}

InterfaceInfo& InterfaceInfo::Put(std::string name, DispId id, VarType type, std::vector<ParamInfo> indexParams) {
  return Add(Declared(std::move(name), id, MemberKind::PropertyPut, WithValue(std::move(indexParams), type),
                      VarType::Empty));
}

InterfaceInfo& InterfaceInfo::PutRef(std::string name, DispId id, VarType type, std::vector<ParamInfo> indexParams) {
  return Add(Declared(std::move(name), id, MemberKind::PropertyPutRef, WithValue(std::move(indexParams), type),
                      VarType::Empty));
}

InterfaceInfo& InterfaceInfo::Property(std::string name, DispId id, VarType type, std::vector<ParamInfo> indexParams) {
  Get(name, id, type, indexParams);
  return Put(std::move(name), id, type, std::move(indexParams));
}

InterfaceInfo& InterfaceInfo::Add(MemberInfo member) {
  std::string lower = kiv::ToLowerAscii(member.name);
  if (member.name.empty()) throw std::logic_error(name_ + ": a member needs a name");
  for (const MemberInfo& m : members_) {
    if (m.id == member.id && !kiv::EqualsIgnoreCase(m.name, member.name))
      throw std::logic_error(name_ + ": dispatch id " + std::to_string(member.id) + " is used by " + m.name +
                             " and " + member.name);
    if (m.id == member.id && m.kind == member.kind)
      throw std::logic_error(name_ + ": " + member.name + " is declared twice as " + KindName(member.kind));
    if (m.id != member.id && kiv::EqualsIgnoreCase(m.name, member.name))
      throw std::logic_error(name_ + ": " + member.name + " has two dispatch ids");
  }
  bool seenOptional = false;
  for (const ParamInfo& p : member.params) {
    if (p.defaultValue && !p.optional) throw std::logic_error(name_ + "." + member.name + ": default on a required parameter");
    if (seenOptional && !p.optional && member.kind == MemberKind::Method)
      throw std::logic_error(name_ + "." + member.name + ": required parameter after an optional one");
    seenOptional = seenOptional || p.optional;
  }
  member.vtableSlot = kFirstSlot + static_cast<int>(members_.size());
  idsByLowerName_.emplace(lower, member.id);
  members_.push_back(std::move(member));
  return *this;
}

InterfaceInfo& InterfaceInfo::Doc(std::string doc) {
  if (members_.empty()) throw std::logic_error(name_ + ": no member to document");
  members_.back().doc = std::move(doc);
  return *this;
}

std::optional<DispId> InterfaceInfo::IdOfName(std::string_view name) const {
  auto it = idsByLowerName_.find(kiv::ToLowerAscii(name));
  if (it == idsByLowerName_.end()) return std::nullopt;
  return it->second;
}

const MemberInfo* InterfaceInfo::Find(DispId id, MemberKind kind) const {
  for (const MemberInfo& m : members_)
    if (m.id == id && m.kind == kind) return &m;
  return nullptr;
}

const MemberInfo* InterfaceInfo::FindByName(std::string_view name, MemberKind kind) const {
  std::optional<DispId> id = IdOfName(name);
  return id ? Find(*id, kind) : nullptr;
}

std::string InterfaceInfo::NameOf(DispId id) const {
  for (const MemberInfo& m : members_)
    if (m.id == id) return m.name;
  return std::string();
}

bool InterfaceInfo::HasId(DispId id) const {
  for (const MemberInfo& m : members_)
    if (m.id == id) return true;
  return false;
}

std::optional<DispId> InterfaceInfo::ParamIdOfName(DispId id, std::string_view paramName) const {
  for (const MemberInfo& m : members_) {
    if (m.id != id) continue;
    for (size_t i = 0; i < m.params.size(); ++i)
      if (kiv::EqualsIgnoreCase(m.params[i].name, paramName)) return static_cast<DispId>(i);
  }
  return std::nullopt;
}

}  // namespace automation
