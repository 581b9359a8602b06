// ScriptError is what the script control reports about the latest failure
// (its Error object): the error number, where it came from, its text, and
// the place in the code with that line's text. ScriptFailure is the
// exception a failing script-control call raises, after the error event.
#pragma once

#include <cstdint>
#include <string>

#include "platform/automation/automation_error.h"

namespace scriptcontrol {

struct ScriptError {
  int32_t number = 0;
  std::string source;
  std::string description;
  std::string text;  // the offending line of code
  int32_t line = 0;    // 1-based; 0 when unknown
  int32_t column = 0;  // 0 when the engine does not tell

  bool IsSet() const { return number != 0 || !description.empty(); }
};

// The numbers scripts see for the engines' own failures, as JScript
// numbers them.
inline constexpr int32_t kSyntaxErrorNumber = static_cast<int32_t>(0x800A03EAu);
inline constexpr int32_t kUndefinedErrorNumber = static_cast<int32_t>(0x800A1391u);
inline constexpr int32_t kTypeErrorNumber = static_cast<int32_t>(0x800A01B6u);
inline constexpr int32_t kRangeErrorNumber = static_cast<int32_t>(0x800A01A8u);
inline constexpr int32_t kUncaughtErrorNumber = static_cast<int32_t>(0x800A139Eu);
inline constexpr int32_t kTimeoutErrorNumber = static_cast<int32_t>(0x800A0005u);

inline constexpr const char* kCompileErrorSource = "Microsoft JScript compilation error";
inline constexpr const char* kRuntimeErrorSource = "Microsoft JScript runtime error";

class ScriptFailure : public automation::AutomationError {
 public:
  explicit ScriptFailure(ScriptError error)
      : automation::AutomationError(error.number, error.description), error_(std::move(error)) {}
  const ScriptError& Error() const { return error_; }

 private:
  ScriptError error_;
};

}  // namespace scriptcontrol
