// ScriptEngine is one language's engine behind the script control: it
// holds the added objects, the code and the global variables of one
// session. Every failure throws ScriptFailure with the error filled in;
// the control reports it and fires its error event.
#pragma once

#include <string>
#include <vector>

#include "platform/automation/dispatch.h"
#include "platform/automation/variant.h"
#include "platform/scriptcontrol/script_error.h"

namespace scriptcontrol {

struct Procedure {
  std::string name;
  int32_t numArgs = 0;
  bool hasReturnValue = true;
};

class ScriptEngine {
 public:
  virtual ~ScriptEngine() = default;

  // With addMembers the object's members also become global names.
  virtual void AddObject(const std::string& name, automation::IDispatch* object, bool addMembers) = 0;
  virtual void AddCode(const std::string& code) = 0;
  virtual void ExecuteStatement(const std::string& statement) = 0;
  virtual automation::Variant Eval(const std::string& expression) = 0;
  // args in natural order.
  virtual automation::Variant Run(const std::string& procedure, const std::vector<automation::Variant>& args) = 0;
  // The procedures added code defined, in definition order.
  virtual std::vector<Procedure> Procedures() = 0;
  // Milliseconds a call may run; -1 for no limit.
  virtual void SetTimeout(int32_t milliseconds) = 0;
};

}  // namespace scriptcontrol
