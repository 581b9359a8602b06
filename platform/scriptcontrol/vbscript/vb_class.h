// Script classes at run time. ClassInfo is what the interpreter makes of a
// Class declaration: its variables (fields) and its members by name, each
// member with the procedures that read, let and set it, the default
// member, Class_Initialize and Class_Terminate, and the interface
// description that gives the class's name to TypeName. VbObject is one
// instance: its fields and a link back to the interpreter that runs its
// procedures. Instances are dispatch objects, so the host, JScript and
// other objects call them as they call any automation object; the
// interpreter itself calls them directly.
//
// Class_Terminate runs when the last reference goes (VBScript's rule), on
// the thread that lets it go; an instance whose interpreter is gone just
// frees its fields.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/automation/com_object.h"
#include "platform/automation/dispatch.h"
#include "platform/automation/type_info.h"
#include "platform/scriptcontrol/vbscript/vb_ast.h"

namespace scriptcontrol::vbscript {

class Interpreter;

struct ClassMember {
  std::string name;
  bool isPublic = true;
  int32_t field = -1;  // the field's slot when the member is a variable
  const ProcedureDecl* get = nullptr;  // Function, Sub or Property Get
  const ProcedureDecl* let = nullptr;  // Property Let
  const ProcedureDecl* set = nullptr;  // Property Set
};

struct ClassInfo {
  // Throws VbError 1041 "Name redefined" for a name declared twice.
  explicit ClassInfo(ClassPtr declaration);

  ClassPtr decl;
  std::vector<ClassMember> members;
  std::unordered_map<std::string, int32_t> byName;  // lower-case name -> member
  std::vector<const VarDecl*> fields;               // by slot
  int32_t defaultMember = -1;
  const ProcedureDecl* initialize = nullptr;
  const ProcedureDecl* terminate = nullptr;
  automation::InterfaceInfo typeInfo;

  // -1 when the class has no member of that name.
  int32_t Find(std::string_view name) const;
  // A member's dispatch id for outside callers, and back.
  static automation::DispId IdOf(int32_t member) { return member + 1; }
  int32_t MemberOf(automation::DispId id) const;
};

// Shared by an interpreter and everything it made that may outlive it.
struct InterpreterLink {
  Interpreter* interpreter = nullptr;  // null once the interpreter is gone
};

class VbObject final : public automation::ComObject<automation::IDispatch> {
 public:
  VbObject(std::shared_ptr<const ClassInfo> cls, std::shared_ptr<InterpreterLink> link);

  const ClassInfo& Class() const { return *class_; }
  std::vector<automation::Variant>& Fields() { return fields_; }

  uint32_t AddRef() override;
  uint32_t Release() override;

  automation::HRESULT GetTypeInfoCount(uint32_t* count) override;
  automation::HRESULT GetTypeInfo(uint32_t index, const automation::InterfaceInfo** info) override;
  automation::HRESULT GetIDsOfNames(std::span<const std::string> names, std::span<automation::DispId> ids) override;
  automation::HRESULT Invoke(automation::DispId id, uint16_t flags, automation::DispParams& params,
                 automation::Variant* result) override;

 private:
  ~VbObject() override = default;

  std::shared_ptr<const ClassInfo> class_;
  std::shared_ptr<InterpreterLink> link_;
  std::vector<automation::Variant> fields_;
  std::atomic<uint32_t> refs_{0};
  bool terminated_ = false;
};

}  // namespace scriptcontrol::vbscript
