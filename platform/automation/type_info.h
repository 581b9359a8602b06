// Static type information: what an interface offers to callers that only
// know it by its dispatch interface. An InterfaceInfo lists its members in
// vtable order; each MemberInfo has its name, dispatch id, kind (method,
// property get, put or put-by-reference), vtable slot, parameters (name,
// type, optional, default, by-reference) and result type. Lookups by name
// ignore letter case, as the type-information path of IDispatch does.
//
// Members are declared with the chaining helpers Method, Get, Put and
// Property, one line per member:
//   info.Method("Redraw", 17, {OptionalParam("XMLOnly", VarType::Bool, false)})
//       .Property("DeskletLabel", 2, VarType::String);
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/automation/dispatch.h"
#include "platform/automation/guid.h"
#include "platform/automation/variant.h"

namespace automation {

enum class MemberKind : uint8_t { Method, PropertyGet, PropertyPut, PropertyPutRef };

const char* KindName(MemberKind kind);  // "method", "propget", "propput", "propputref"

struct ParamInfo {
  std::string name;
  VarType type = VarType::Variant;
  bool optional = false;
  bool byRef = false;
  // Only for optional parameters; an optional parameter without one
  // receives the missing-argument marker.
  std::optional<Variant> defaultValue;
};

ParamInfo Param(std::string name, VarType type = VarType::Variant);
ParamInfo OptionalParam(std::string name, VarType type, std::optional<Variant> defaultValue = std::nullopt);
ParamInfo RefParam(std::string name, VarType type = VarType::Variant);

struct MemberInfo {
  std::string name;
  DispId id = 0;
  MemberKind kind = MemberKind::Method;
  int vtableSlot = 0;
  // For a put, the assigned value is the last parameter.
  std::vector<ParamInfo> params;
  VarType resultType = VarType::Empty;  // Empty: no result
  std::string doc;

  size_t RequiredCount() const;
};

class InterfaceInfo {
 public:
  // IUnknown's three and IDispatch's four methods come first in a dual
  // interface's vtable.
  static constexpr int kFirstSlot = 7;

  InterfaceInfo(std::string name, Guid iid, std::string doc = {});

  const std::string& Name() const { return name_; }
  const Guid& Iid() const { return iid_; }
  const std::string& Doc() const { return doc_; }
  bool IsDual() const { return dual_; }
  void SetDual(bool dual) { dual_ = dual; }

  // Declaring members, in vtable order. A dispatch id belongs to one name;
  // a name and kind appear once. Breaking either throws std::logic_error.
  InterfaceInfo& Method(std::string name, DispId id, std::vector<ParamInfo> params = {},
                        VarType result = VarType::Empty);
  InterfaceInfo& Get(std::string name, DispId id, VarType type, std::vector<ParamInfo> indexParams = {});
  InterfaceInfo& Put(std::string name, DispId id, VarType type, std::vector<ParamInfo> indexParams = {});
  InterfaceInfo& PutRef(std::string name, DispId id, VarType type, std::vector<ParamInfo> indexParams = {});
  // Get and Put under one id.
  InterfaceInfo& Property(std::string name, DispId id, VarType type, std::vector<ParamInfo> indexParams = {});
  InterfaceInfo& Add(MemberInfo member);
  // Sets the documentation string of the member declared last.
  InterfaceInfo& Doc(std::string doc);

  const std::vector<MemberInfo>& Members() const { return members_; }

  std::optional<DispId> IdOfName(std::string_view name) const;
  const MemberInfo* Find(DispId id, MemberKind kind) const;
  const MemberInfo* FindByName(std::string_view name, MemberKind kind) const;
  // Empty when no member has the id.
  std::string NameOf(DispId id) const;
  bool HasId(DispId id) const;
  // The index of the named parameter among the id's parameters, for named
  // arguments; nothing when no member of the id has it.
  std::optional<DispId> ParamIdOfName(DispId id, std::string_view paramName) const;

 private:
  std::string name_;
  Guid iid_;
  std::string doc_;
  bool dual_ = true;
  std::vector<MemberInfo> members_;
  std::unordered_map<std::string, DispId> idsByLowerName_;
};

}  // namespace automation
