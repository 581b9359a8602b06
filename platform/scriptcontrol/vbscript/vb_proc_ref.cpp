#include "platform/scriptcontrol/vbscript/vb_proc_ref.h"

#include "platform/automation/error_info.h"
#include "platform/scriptcontrol/vbscript/vb_err_object.h"
#include "platform/scriptcontrol/vbscript/vb_interpreter.h"

namespace scriptcontrol::vbscript {

automation::HRESULT ProcedureRef::GetTypeInfoCount(uint32_t* count) {
  if (!count) return automation::E_POINTER;
  *count = 0;
  return automation::S_OK;
}

automation::HRESULT ProcedureRef::GetTypeInfo(uint32_t, const automation::InterfaceInfo** info) {
  if (info) *info = nullptr;
  return automation::DISP_E_BADINDEX;
}

automation::HRESULT ProcedureRef::GetIDsOfNames(std::span<const std::string>, std::span<automation::DispId> ids) {
  for (auto& id : ids) id = automation::DISPID_UNKNOWN;
  return automation::DISP_E_UNKNOWNNAME;
}

automation::HRESULT ProcedureRef::Invoke(automation::DispId id, uint16_t, automation::DispParams& params,
                             automation::Variant* result) {
  if (id != automation::DISPID_VALUE) return automation::DISP_E_MEMBERNOTFOUND;
  try {
    Interpreter* interpreter = link_->interpreter;
    if (!interpreter)
      return automation::ReportFailure(automation::E_UNEXPECTED, "The script that made this object has ended");
    std::vector<automation::Variant> args(params.args.rbegin(), params.args.rend());
    // Callers may pass fewer arguments than an event handler declares.
    args.resize(procedure_->params.size());
    automation::Variant answer = interpreter->InvokeProcedure(*procedure_, std::move(args));
    if (result) *result = std::move(answer);
    return automation::S_OK;
  } catch (const VbError& e) {
    return ReportVbError(e);
  } catch (...) {
    return automation::ReportCurrentException("");
  }
}

}  // namespace scriptcontrol::vbscript
