// TErrorLog: the desklet's error log, and the one routine through which
// every failure the plug-in catches is reported. A report is three lines:
// the number and the source, the description with line, column and the
// offending text, and a rule of 31 hyphens. Script errors come from the
// engine's error event with their own number, line and column; any other
// failure (a skin that does not load, a layer that cannot be drawn, an
// attribute that does not read) is reported with the place it happened.
//
// Where a failure happened is kept as a stack of scopes (the skin file, the
// section or layer, the event): the innermost scopes are named after the
// report's source, so a script error says which layer's statement failed.
// Every line also goes to the host, which shows and traces it.
//
// Used on the desklet window's thread only.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <vector>

#include "platform/abi/kiv_types.h"

namespace vorel {

struct TErrorReport {
  int32_t number = 0;
  std::string source;
  std::string description;
  int32_t line = 0;
  int32_t column = 0;  // 1-based; 0 when unknown
  std::string text;    // the statement or attribute text
};

class TErrorLog {
 public:
  // Carries a failure on that has been reported already, so that the
  // catches further out stop their work without reporting it again.
  struct Reported : std::exception {
    const char* what() const noexcept override { return "reported"; }
  };

  // Names one place work is being done for while it lasts.
  class Scope {
   public:
    Scope(TErrorLog& log, std::string where);
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    TErrorLog& log_;
  };

  void SetWindow(HWND window) { window_ = window; }

  // Appends the report's three lines and tells the host of each.
  void Report(const TErrorReport& report);
  // Reports a caught failure. A script failure is skipped: the engine's
  // error event reported it already, with its line and column; so is one
  // that comes as Reported.
  void Report(std::exception_ptr failure, const std::string& text = {});

  // Runs `work` in a scope named `where`. A failure is reported while the
  // scope still names the place, then goes on as Reported.
  template <typename Work>
  void Within(std::string where, Work&& work) {
    Scope scope(*this, std::move(where));
    try {
      work();
    } catch (...) {
      Report(std::current_exception());
      throw Reported{};
    }
  }

  const std::vector<std::string>& Lines() const { return lines_; }
  void Clear() { lines_.clear(); }

  // The places now open, innermost last, joined by ", ".
  std::string Context() const;

 private:
  HWND window_ = 0;
  std::vector<std::string> lines_;
  std::vector<std::string> scopes_;
};

// What the log shows for the column of a report that has none (column 0):
// the JScript engine reports the line of a failure, never its column.
inline constexpr const char* kUnknownColumn = "?";

// The three lines of one report, as they stand in the log.
std::vector<std::string> ErrorReportLines(const TErrorReport& report);

// The source that the plug-in's own failures are reported under, and the
// one of warnings about a skin that loads but may not do what its author
// meant (number 0).
inline constexpr const char* kPluginErrorSource = "Vorel";
inline constexpr const char* kSkinWarningSource = "Vorel skin warning";
// The source of reports about remote XML data that could not be fetched.
inline constexpr const char* kDataSource = "Vorel XML data";

}  // namespace vorel
