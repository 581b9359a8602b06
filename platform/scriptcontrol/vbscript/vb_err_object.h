// VBScript's Err object: the latest error that On Error Resume Next let
// pass (Number, its default member, Description, Source, HelpFile,
// HelpContext), Clear, and Raise, which throws. ErrState is the data, kept
// by the interpreter; ErrObject is what scripts and objects hold.
//
// Numbers travel through dispatch calls as result codes: VBScript's own
// numbers (1 to 65535) as 0x800A0000 plus the number, larger ones as they
// are (vbObjectError + n is a result code already); VbNumberOf undoes it.
#pragma once

#include <memory>
#include <string>

#include "platform/automation/automation_error.h"
#include "platform/automation/com_object.h"
#include "platform/automation/dispatch.h"
#include "platform/scriptcontrol/vbscript/vb_errors.h"

namespace scriptcontrol::vbscript {

struct ErrState {
  int32_t number = 0;
  std::string description;
  std::string source;
  std::string helpFile;
  int32_t helpContext = 0;

  void Clear() { *this = ErrState(); }
};

automation::HRESULT ResultCodeOf(int32_t vbNumber);
int32_t VbNumberOf(automation::HRESULT code);

// The VbError a failed dispatch call stands for: the number from its
// result code, the description and source from the error information
// (the standard text of the number when there is none).
VbError ErrorFromResult(automation::HRESULT code);

// The VbError an automation failure thrown inside (a conversion, a
// member) stands for: its number from the code, its text as description.
VbError ErrorFromException(const automation::AutomationError& failure);

// Reports a VbError as a dispatch call's failure (result code and error
// information) and returns the code.
automation::HRESULT ReportVbError(const VbError& error);

class ErrObject final : public automation::ComObject<automation::IDispatch> {
 public:
  explicit ErrObject(std::shared_ptr<ErrState> state) : state_(std::move(state)) {}

  automation::HRESULT GetTypeInfoCount(uint32_t* count) override;
  automation::HRESULT GetTypeInfo(uint32_t index, const automation::InterfaceInfo** info) override;
  automation::HRESULT GetIDsOfNames(std::span<const std::string> names, std::span<automation::DispId> ids) override;
  automation::HRESULT Invoke(automation::DispId id, uint16_t flags, automation::DispParams& params,
                 automation::Variant* result) override;

 private:
  ~ErrObject() override = default;
  std::shared_ptr<ErrState> state_;
};

}  // namespace scriptcontrol::vbscript
