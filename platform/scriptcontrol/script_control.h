// ScriptControl is the stand-in for the Script Control: it hosts one
// language engine (JScript or VBScript) and gives the
// members Language, Timeout, AllowUI, Error, Procedures, AddObject,
// AddCode, ExecuteStatement, Eval, Run and Reset, and the error event.
//
// A failing call fills Error, fires the error event (before the call
// returns) and throws ScriptFailure. Setting Language to the language it
// has keeps code and globals; another language starts a fresh engine.
// Used on one thread.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/automation/com_ptr.h"
#include "platform/automation/dispatch.h"
#include "platform/scriptcontrol/script_engine.h"
#include "platform/scriptcontrol/script_error.h"

namespace scriptcontrol {

class ScriptControl {
 public:
  using ErrorHandler = std::function<void(const ScriptError&)>;

  ScriptControl();
  ~ScriptControl();
  ScriptControl(const ScriptControl&) = delete;
  ScriptControl& operator=(const ScriptControl&) = delete;

  const std::string& Language() const { return language_; }
  // "JScript" or "VBScript" in any letter case; other names fail as
  // unsupported.
  void SetLanguage(const std::string& language);

  int32_t Timeout() const { return timeout_; }
  // -1 for no limit, else at least 0 milliseconds.
  void SetTimeout(int32_t milliseconds);
  bool AllowUI() const { return allowUI_; }
  void SetAllowUI(bool allow) { allowUI_ = allow; }

  const ScriptError& Error() const { return error_; }
  void ClearError() { error_ = ScriptError(); }
  std::vector<Procedure> Procedures();

  void AddObject(const std::string& name, automation::IDispatch* object, bool addMembers);
  void AddCode(const std::string& code);
  void ExecuteStatement(const std::string& statement);
  automation::Variant Eval(const std::string& expression);
  automation::Variant Run(const std::string& procedure, const std::vector<automation::Variant>& args = {});
  // Discards code, objects and globals; the language stays.
  void Reset();

  void OnError(ErrorHandler handler) { onError_ = std::move(handler); }

 private:
  ScriptEngine& Engine();
  // Runs the engine call; on failure records, fires and rethrows.
  template <class F>
  auto Guard(F&& call) -> decltype(call());
  [[noreturn]] void Fail(ScriptError error);

  std::string language_;
  int32_t timeout_ = 10000;
  bool allowUI_ = true;
  ScriptError error_;
  ErrorHandler onError_;
  std::unique_ptr<ScriptEngine> engine_;
};

}  // namespace scriptcontrol
