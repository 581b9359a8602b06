#include "vorel/model/error_log.h"

#include "platform/automation/automation_error.h"
#include "platform/automation/hresult.h"
#include "platform/scriptcontrol/script_error.h"
#include "platform/win/win_services.h"

namespace vorel {

TErrorLog::Scope::Scope(TErrorLog& log, std::string where) : log_(log) { log_.scopes_.push_back(std::move(where)); }

TErrorLog::Scope::~Scope() { log_.scopes_.pop_back(); }

std::string TErrorLog::Context() const {
  std::string joined;
  for (const auto& where : scopes_) {
    if (where.empty()) continue;
    if (!joined.empty()) joined += ", ";
    joined += where;
  }
  return joined;
}

std::vector<std::string> ErrorReportLines(const TErrorReport& r) {
  // Columns count from 1; the script engine never tells one, and 0 in the
  // log would read as a place in the line, so an unknown column shows "?".
  const std::string column = r.column > 0 ? std::to_string(r.column) : std::string(kUnknownColumn);
  return {std::to_string(r.number) + "  " + r.source,
          r.description + "  Line:" + std::to_string(r.line) + "   Column:" + column + "   " + r.text,
          "-------------------------------"};
}

void TErrorLog::Report(const TErrorReport& report) {
  TErrorReport placed = report;
  if (const std::string where = Context(); !where.empty()) placed.source += " (" + where + ")";
  for (auto& line : ErrorReportLines(placed)) {
    win::ErrorLogLine(window_, line);
    lines_.push_back(std::move(line));
  }
}

void TErrorLog::Report(std::exception_ptr failure, const std::string& text) {
  TErrorReport report;
  report.source = kPluginErrorSource;
  report.text = text;
  report.number = automation::E_FAIL;
  try {
    std::rethrow_exception(failure);
  } catch (const scriptcontrol::ScriptFailure&) {
    return;
  } catch (const Reported&) {
    return;
  } catch (const automation::AutomationError& e) {
    report.number = e.Code();
    report.description = e.what();
  } catch (const std::exception& e) {
    report.description = e.what();
  } catch (...) {
    report.description = "unknown failure";
  }
  Report(report);
}

}  // namespace vorel
