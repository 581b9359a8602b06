// What GetRef("Name") gives: an object whose default member calls the
// script procedure, so that a host or another object can hold a procedure
// as an event handler (obj.onchange = GetRef("Changed")).
#pragma once

#include <memory>

#include "platform/automation/com_object.h"
#include "platform/automation/dispatch.h"
#include "platform/scriptcontrol/vbscript/vb_ast.h"
#include "platform/scriptcontrol/vbscript/vb_class.h"

namespace scriptcontrol::vbscript {

class ProcedureRef final : public automation::ComObject<automation::IDispatch> {
 public:
  ProcedureRef(ProcedurePtr procedure, std::shared_ptr<InterpreterLink> link)
      : procedure_(std::move(procedure)), link_(std::move(link)) {}

  automation::HRESULT GetTypeInfoCount(uint32_t* count) override;
  automation::HRESULT GetTypeInfo(uint32_t index, const automation::InterfaceInfo** info) override;
  automation::HRESULT GetIDsOfNames(std::span<const std::string> names, std::span<automation::DispId> ids) override;
  automation::HRESULT Invoke(automation::DispId id, uint16_t flags, automation::DispParams& params,
                 automation::Variant* result) override;

 private:
  ~ProcedureRef() override = default;
  ProcedurePtr procedure_;
  std::shared_ptr<InterpreterLink> link_;
};

}  // namespace scriptcontrol::vbscript
