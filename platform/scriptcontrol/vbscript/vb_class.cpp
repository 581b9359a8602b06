#include "platform/scriptcontrol/vbscript/vb_class.h"

#include <cstdio>

#include "platform/automation/error_info.h"
#include "platform/automation/guid.h"
#include "platform/scriptcontrol/vbscript/vb_err_object.h"
#include "platform/scriptcontrol/vbscript/vb_interpreter.h"
#include "platform/util/text.h"

namespace scriptcontrol::vbscript {

using automation::DispId;
using automation::Variant;

namespace {

bool IsPublic(Visibility v) { return v != Visibility::Private; }

}  // namespace

ClassInfo::ClassInfo(ClassPtr declaration) : decl(std::move(declaration)), typeInfo(decl->name, automation::Guid{}) {
  auto add = [&](const std::string& name, SourcePos pos) -> ClassMember& {
    std::string key = kiv::ToLowerAscii(name);
    auto [it, fresh] = byName.emplace(key, static_cast<int32_t>(members.size()));
    if (!fresh) {
      VbError error(kErrNameRedefined);
      error.Place(pos.line, pos.column);
      throw error;
    }
    members.push_back(ClassMember{name});
    return members.back();
  };
  for (const auto& dim : decl->fields) {
    for (const VarDecl& var : dim->vars) {
      ClassMember& m = add(var.name, var.pos);
      m.isPublic = IsPublic(dim->visibility);
      m.field = static_cast<int32_t>(fields.size());
      fields.push_back(&var);
    }
  }
  for (const ProcedurePtr& p : decl->members) {
    std::string key = kiv::ToLowerAscii(p->name);
    if (p->kind == ProcedureDecl::Kind::Sub && key == "class_initialize") initialize = p.get();
    if (p->kind == ProcedureDecl::Kind::Sub && key == "class_terminate") terminate = p.get();
    auto it = byName.find(key);
    ClassMember* m = nullptr;
    bool property = p->kind == ProcedureDecl::Kind::PropertyGet || p->kind == ProcedureDecl::Kind::PropertyLet ||
                    p->kind == ProcedureDecl::Kind::PropertySet;
    if (it != byName.end() && property && members[static_cast<size_t>(it->second)].field < 0) {
      m = &members[static_cast<size_t>(it->second)];
    } else {
      m = &add(p->name, p->pos);
    }
    const ProcedureDecl** slot = p->kind == ProcedureDecl::Kind::PropertyLet   ? &m->let
                                 : p->kind == ProcedureDecl::Kind::PropertySet ? &m->set
                                                                               : &m->get;
    if (*slot) {
      VbError error(kErrNameRedefined);
      error.Place(p->pos.line, p->pos.column);
      throw error;
    }
    *slot = p.get();
    m->isPublic = IsPublic(p->visibility);
    if (p->isDefault) {
      int32_t index = static_cast<int32_t>(m - members.data());
      if (defaultMember >= 0 && defaultMember != index) {
        VbError error(kErrMultipleDefault);
        error.Place(p->pos.line, p->pos.column);
        throw error;
      }
      defaultMember = index;
    }
  }
}

int32_t ClassInfo::Find(std::string_view name) const {
  auto it = byName.find(kiv::ToLowerAscii(name));
  return it == byName.end() ? -1 : it->second;
}

int32_t ClassInfo::MemberOf(DispId id) const {
  if (id == automation::DISPID_VALUE) return defaultMember;
  int32_t member = id - 1;
  return member >= 0 && member < static_cast<int32_t>(members.size()) ? member : -1;
}

VbObject::VbObject(std::shared_ptr<const ClassInfo> cls, std::shared_ptr<InterpreterLink> link)
    : class_(std::move(cls)), link_(std::move(link)), fields_(class_->fields.size()) {}

uint32_t VbObject::AddRef() { return refs_.fetch_add(1, std::memory_order_relaxed) + 1; }

uint32_t VbObject::Release() {
  uint32_t left = refs_.fetch_sub(1, std::memory_order_acq_rel) - 1;
  if (left != 0) return left;
  if (!terminated_ && class_->terminate && link_->interpreter) {
    terminated_ = true;
    // Held while Class_Terminate runs; the script may keep Me alive.
    refs_.fetch_add(1, std::memory_order_relaxed);
    link_->interpreter->Terminate(*this);
    left = refs_.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (left != 0) return left;
  }
  delete this;
  return 0;
}

automation::HRESULT VbObject::GetTypeInfoCount(uint32_t* count) {
  if (!count) return automation::E_POINTER;
  *count = 1;
  return automation::S_OK;
}

automation::HRESULT VbObject::GetTypeInfo(uint32_t index, const automation::InterfaceInfo** info) {
  if (!info) return automation::E_POINTER;
  *info = nullptr;
  if (index != 0) return automation::DISP_E_BADINDEX;
  *info = &class_->typeInfo;
  return automation::S_OK;
}

automation::HRESULT VbObject::GetIDsOfNames(std::span<const std::string> names, std::span<DispId> ids) {
  if (names.empty() || ids.size() < names.size()) return automation::E_INVALIDARG;
  for (auto& id : ids) id = automation::DISPID_UNKNOWN;
  int32_t member = class_->Find(names[0]);
  if (member < 0 || !class_->members[static_cast<size_t>(member)].isPublic) return automation::DISP_E_UNKNOWNNAME;
  ids[0] = ClassInfo::IdOf(member);
  return names.size() == 1 ? automation::S_OK : automation::DISP_E_UNKNOWNNAME;
}

automation::HRESULT VbObject::Invoke(DispId id, uint16_t flags, automation::DispParams& params, Variant* result) {
  try {
    int32_t member = class_->MemberOf(id);
    if (member < 0) return automation::DISP_E_MEMBERNOTFOUND;
    Interpreter* interpreter = link_->interpreter;
    if (!interpreter)
      return automation::ReportFailure(automation::E_UNEXPECTED, "The script that made this object has ended");
    std::vector<Variant> args(params.args.rbegin(), params.args.rend());
    automation::ComPtr<VbObject> hold(this);
    Variant answer = interpreter->InvokeObject(*this, member, flags, std::move(args));
    if (result) *result = std::move(answer);
    return automation::S_OK;
  } catch (const VbError& e) {
    return ReportVbError(e);
  } catch (...) {
    return automation::ReportCurrentException("");
  }
}

}  // namespace scriptcontrol::vbscript
