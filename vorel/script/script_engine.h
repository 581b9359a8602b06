// TScriptEngine: the desklet's script engine, a thin wrapper over the
// script control that hosts JScript (and VBScript). Every skin statement,
// script-source expression and event procedure runs through it, on the
// desklet window's thread. Script errors are reported by the control's
// error event into the desklet's error log.
#pragma once

#include <memory>
#include <string>

namespace vorel {

class TDeskletObject;

class TScriptEngine {
 public:
  virtual ~TScriptEngine() = default;

  virtual void SetLanguage(const std::string& language) = 0;
  virtual void AddCode(const std::string& code) = 0;
  // Nothing happens when the file does not exist.
  virtual void AddCodeFromFile(const std::string& path) = 0;
  virtual void ExecuteStatement(const std::string& statement) = 0;
  // The expression's value converted to text.
  virtual std::string EvaluateToText(const std::string& expression) = 0;
};

// Creates the configured engine of a desklet (language JScript, no time-out,
// errors reported into the desklet's error log). Raises when no engine can
// be made; the desklet then runs without scripting.
std::unique_ptr<TScriptEngine> CreateScriptEngine(TDeskletObject& desklet);

}  // namespace vorel
