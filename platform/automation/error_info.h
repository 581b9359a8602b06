// The thread's error information: the description of the latest failed
// call, kept beside its result code as COM's SetErrorInfo/GetErrorInfo
// keep it. A member that fails records it here and returns the code; the
// caller (a script engine) reads it to tell the script what went wrong.
//
// GuardCall is the boundary every member runs behind: whatever it throws
// becomes an error result with the exception's text as description, so no
// C++ exception leaves a dispatch call.
#pragma once

#include <exception>
#include <new>
#include <optional>
#include <string>
#include <string_view>

#include "platform/automation/automation_error.h"
#include "platform/automation/hresult.h"

namespace automation {

struct ErrorInfo {
  HRESULT code = S_OK;
  std::string source;
  std::string description;
};

void SetErrorInfo(ErrorInfo info);
void ClearErrorInfo();
// Takes the information, leaving none behind, as COM's GetErrorInfo does.
std::optional<ErrorInfo> TakeErrorInfo();
// Looks without taking.
const std::optional<ErrorInfo>& PeekErrorInfo();

// Records the failure and returns its code.
HRESULT ReportFailure(HRESULT code, std::string description, std::string source = {});

// The result code and error information for the exception being handled;
// call only inside a catch block.
HRESULT ReportCurrentException(std::string_view source) noexcept;

template <class F>
HRESULT GuardCall(std::string_view source, F&& body) noexcept {
  try {
    body();
    return S_OK;
  } catch (...) {
    return ReportCurrentException(source);
  }
}

}  // namespace automation
