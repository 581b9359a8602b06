#include "platform/scriptcontrol/script_control.h"

#include <cstdio>

#include "platform/scriptcontrol/jscript/jscript_engine.h"
#include "platform/scriptcontrol/vbscript/vbscript_engine.h"
#include "platform/util/text.h"

namespace scriptcontrol {

namespace {

ScriptError ControlError(automation::HRESULT code, const std::string& description) {
  ScriptError error;
  error.number = code;
  error.source = "ScriptControl";
  error.description = description;
  return error;
}

// A fresh engine of the language; null for a language there is none for.
std::unique_ptr<ScriptEngine> MakeEngine(const std::string& language) {
  if (kiv::EqualsIgnoreCase(language, "JScript")) return std::make_unique<jscript::JScriptEngine>();
  if (kiv::EqualsIgnoreCase(language, "VBScript")) return std::make_unique<vbscript::VBScriptEngine>();
  return nullptr;
}

}  // namespace

ScriptControl::ScriptControl() = default;
ScriptControl::~ScriptControl() = default;

void ScriptControl::Fail(ScriptError error) {
  error_ = std::move(error);
  if (onError_) {
    try {
      onError_(error_);
    } catch (const std::exception& e) {
      // The handler's own trouble (out of memory while it logged) must not
      // hide the failure it was told of; standard error still shows both.
      std::fprintf(stderr, "script control: the error handler failed (%s) on: %s\n", e.what(),
                   error_.description.c_str());
    }
  }
  throw ScriptFailure(error_);
}

template <class F>
auto ScriptControl::Guard(F&& call) -> decltype(call()) {
  try {
    return call();
  } catch (const ScriptFailure& f) {
    Fail(f.Error());
  } catch (const automation::AutomationError& e) {
    Fail(ControlError(e.Code(), e.what()));
  } catch (const std::bad_alloc&) {
    Fail(ControlError(automation::E_OUTOFMEMORY, automation::DescribeHResult(automation::E_OUTOFMEMORY)));
  } catch (const std::exception& e) {
    Fail(ControlError(automation::E_UNEXPECTED, e.what()));
  }
}

ScriptEngine& ScriptControl::Engine() {
  if (!engine_)
    throw automation::AutomationError(automation::E_UNEXPECTED,
                                      "The operation could not be completed because no language has been set");
  return *engine_;
}

void ScriptControl::SetLanguage(const std::string& language) {
  Guard([&] {
    if (engine_ && kiv::EqualsIgnoreCase(language, language_)) return;
    std::unique_ptr<ScriptEngine> engine = MakeEngine(language);
    if (!engine)
      throw automation::AutomationError(automation::E_FAIL,
                                        "A script engine for the specified language can not be created.");
    engine->SetTimeout(timeout_);
    engine_ = std::move(engine);
    language_ = kiv::EqualsIgnoreCase(language, "JScript") ? "JScript" : "VBScript";
  });
}

void ScriptControl::SetTimeout(int32_t milliseconds) {
  Guard([&] {
    if (milliseconds < -1) throw automation::AutomationError(automation::E_INVALIDARG, "Invalid time-out value");
    timeout_ = milliseconds;
    if (engine_) engine_->SetTimeout(milliseconds);
  });
}

std::vector<Procedure> ScriptControl::Procedures() {
  return Guard([&] { return Engine().Procedures(); });
}

void ScriptControl::AddObject(const std::string& name, automation::IDispatch* object, bool addMembers) {
  Guard([&] {
    if (!object) throw automation::AutomationError(automation::E_POINTER, "Object required");
    if (name.empty()) throw automation::AutomationError(automation::E_INVALIDARG, "A named object needs a name");
    Engine().AddObject(name, object, addMembers);
  });
}

void ScriptControl::AddCode(const std::string& code) {
  Guard([&] { Engine().AddCode(code); });
}

void ScriptControl::ExecuteStatement(const std::string& statement) {
  Guard([&] { Engine().ExecuteStatement(statement); });
}

automation::Variant ScriptControl::Eval(const std::string& expression) {
  return Guard([&] { return Engine().Eval(expression); });
}

automation::Variant ScriptControl::Run(const std::string& procedure, const std::vector<automation::Variant>& args) {
  return Guard([&] { return Engine().Run(procedure, args); });
}

void ScriptControl::Reset() {
  Guard([&] {
    if (!engine_) return;
    std::unique_ptr<ScriptEngine> engine = MakeEngine(language_);
    engine->SetTimeout(timeout_);
    engine_ = std::move(engine);
  });
}

}  // namespace scriptcontrol
