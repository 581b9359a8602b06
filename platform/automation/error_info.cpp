#include "platform/automation/error_info.h"

namespace automation {

namespace {
thread_local std::optional<ErrorInfo> current;
}

void SetErrorInfo(ErrorInfo info) { current = std::move(info); }

void ClearErrorInfo() { current.reset(); }

std::optional<ErrorInfo> TakeErrorInfo() {
  std::optional<ErrorInfo> info = std::move(current);
  current.reset();
  return info;
}

const std::optional<ErrorInfo>& PeekErrorInfo() { return current; }

HRESULT ReportFailure(HRESULT code, std::string description, std::string source) {
  if (Succeeded(code)) code = E_UNEXPECTED;  // a failure never reads as success
  current = ErrorInfo{code, std::move(source), std::move(description)};
  return code;
}

HRESULT ReportCurrentException(std::string_view source) noexcept {
  try {
    try {
      throw;
    } catch (const AutomationError& e) {
      return ReportFailure(e.Code(), e.what(), std::string(source));
    } catch (const std::bad_alloc&) {
      return ReportFailure(E_OUTOFMEMORY, DescribeHResult(E_OUTOFMEMORY), std::string(source));
    } catch (const std::exception& e) {
      return ReportFailure(E_UNEXPECTED, e.what(), std::string(source));
    } catch (...) {
      return ReportFailure(E_UNEXPECTED, DescribeHResult(E_UNEXPECTED), std::string(source));
    }
  } catch (...) {
    // Recording itself ran out of memory: the code alone still tells.
    return E_OUTOFMEMORY;
  }
}

}  // namespace automation
