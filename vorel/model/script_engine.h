// TScriptEngine: the desklet's script engine, a thin wrapper over the
// script control that hosts JScript (and VBScript). Every skin statement,
// script-source expression and event procedure runs through it, on the
// desklet window's thread. Script errors are reported by the control's
// error event into the desklet's error log.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/automation/dispatch.h"
#include "platform/automation/variant.h"

namespace vorel {

class TErrorLog;

class TScriptEngine {
 public:
  virtual ~TScriptEngine() = default;

  virtual void SetLanguage(const std::string& language) = 0;
  virtual void AddObject(const std::string& name, automation::IDispatch* object, bool addMembers) = 0;
  virtual void AddCode(const std::string& code) = 0;
  // Nothing happens when the file does not exist.
  virtual void AddCodeFromFile(const std::string& path) = 0;
  virtual void ExecuteStatement(const std::string& statement) = 0;
  virtual automation::Variant Evaluate(const std::string& expression) = 0;
  // The expression's value converted to text.
  virtual std::string EvaluateToText(const std::string& expression) = 0;
  virtual automation::Variant Run(const std::string& procedure, const std::vector<automation::Variant>& args) = 0;
  // Runs the event procedure for an event `member` of a connection with
  // this prefix: "<prefix><member>" when its parameter count matches,
  // else "<prefix>_" with the member name; the first match in procedure
  // order wins. `args` are the event's arguments, first argument first.
  virtual void RunEventProcedure(const std::string& prefix, const std::string& member,
                                 const std::vector<automation::Variant>& args) = 0;
};

// How long one call into the engine (a statement, an expression, an event
// procedure, the skin's script code as it loads) may run before it is
// stopped with an error in the log, in processor time of the window thread.
// A host sets it for its process in the environment variable
// VOREL_TIME_LIMIT_MS before the first desklet starts; 0 is no limit.
inline constexpr int32_t kDefaultTimeLimitMs = 5000;
inline constexpr const char* kTimeLimitVariable = "VOREL_TIME_LIMIT_MS";

// The limit a value of that variable asks for: nullopt when the text is
// not a whole number of milliseconds from 0 to a day.
std::optional<int32_t> ParseTimeLimit(const std::string& text);

// Creates the configured engine of a desklet (language JScript, the time
// limit above, errors reported into the desklet's error log). Raises when
// no engine can be made; the desklet then runs without scripting.
std::unique_ptr<TScriptEngine> CreateScriptEngine(TErrorLog& errorLog);

}  // namespace vorel
