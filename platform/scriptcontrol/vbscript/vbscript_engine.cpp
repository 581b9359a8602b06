#include "platform/scriptcontrol/vbscript/vbscript_engine.h"

#include <new>

#include "platform/automation/automation_error.h"
#include "platform/automation/prog_id_registry.h"
#include "platform/scriptcontrol/vbscript/vb_err_object.h"
#include "platform/scriptcontrol/vbscript/vb_interpreter.h"
#include "platform/scriptcontrol/vbscript/vb_parser.h"
#include "platform/win/win_services.h"

namespace scriptcontrol::vbscript {

using automation::Variant;

namespace {

constexpr const char* kVbRuntimeSource = "Microsoft VBScript runtime error";
constexpr const char* kVbCompileSource = "Microsoft VBScript compilation error";

std::string LineOf(const std::string& text, int32_t line) {
  if (line <= 0) return {};
  size_t start = 0;
  for (int32_t i = 1; i < line; ++i) {
    start = text.find('\n', start);
    if (start == std::string::npos) return {};
    ++start;
  }
  size_t end = text.find('\n', start);
  std::string result = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
  if (!result.empty() && result.back() == '\r') result.pop_back();
  return result;
}

}  // namespace

VBScriptEngine::VBScriptEngine() : units_(1) {
  interpreter_ = std::make_unique<Interpreter>([this](const std::string& text) { return AddTransientUnit(text); });
  BuiltinContext& context = interpreter_->Context();
  if (win::HostExports("WinMessageBox")) {
    context.messageBox = [](const std::string& prompt, int32_t buttons, const std::string& title) {
      return win::MessageBox(HWND{}, prompt, title, static_cast<uint32_t>(buttons));
    };
  }
  context.createObject = [](const std::string& progId, const std::string& server) -> Variant {
    // NOTE: objects come from this process's class registry only; there is
    // no other machine to create them on.
    if (!server.empty()) throw VbError(462).Named(server);
    try {
      return Variant(automation::ProgIdRegistry::Instance().Create(progId));
    } catch (const automation::AutomationError&) {
      throw VbError(kErrCannotCreate).Named(progId);
    }
  };
  context.getObject = [](const std::string& path, const std::string& progId) -> Variant {
    // Only the form that asks for a new object of a class: there are no
    // running objects or documents to reach by name here.
    if (!path.empty() || progId.empty()) throw VbError(kErrCannotCreate).Named(path.empty() ? progId : path);
    try {
      return Variant(automation::ProgIdRegistry::Instance().Create(progId));
    } catch (const automation::AutomationError&) {
      throw VbError(kErrCannotCreate).Named(progId);
    }
  };
  if (win::HostExports("WinInputBox")) {
    context.inputBox = [](const std::string& prompt, const std::string& title, const std::string& text) {
      return win::InputBox(HWND{}, title, prompt, text);
    };
  }
}

VBScriptEngine::~VBScriptEngine() = default;

BuiltinContext& VBScriptEngine::Context() { return interpreter_->Context(); }

void VBScriptEngine::SetTimeout(int32_t milliseconds) { interpreter_->SetTimeout(milliseconds); }

int32_t VBScriptEngine::AddUnit(const std::string& text) {
  if (auto it = unitOfText_.find(text); it != unitOfText_.end()) return it->second;
  units_.push_back(text);
  int32_t unit = static_cast<int32_t>(units_.size() - 1);
  unitOfText_.emplace(text, unit);
  return unit;
}

int32_t VBScriptEngine::AddTransientUnit(const std::string& text) {
  int32_t id = nextTransient_--;
  if (nextTransient_ < -1000000000) nextTransient_ = -1;
  if (transient_.size() < kTransientUnits) {
    transient_.push_back({id, text});
  } else {
    transient_[static_cast<size_t>(-id) % kTransientUnits] = {id, text};
  }
  return id;
}

const std::string* VBScriptEngine::UnitText(int32_t unit) const {
  if (unit > 0 && static_cast<size_t>(unit) < units_.size()) return &units_[static_cast<size_t>(unit)];
  for (const TransientUnit& t : transient_)
    if (t.id == unit && unit < 0) return &t.text;
  return nullptr;
}

void VBScriptEngine::Fail(const VbError& error, int32_t unit) {
  ScriptError e;
  e.number = error.Number();
  e.source = !error.Source().empty()        ? error.Source()
             : IsCompileError(error.Number()) ? kVbCompileSource
                                              : kVbRuntimeSource;
  e.description = error.Description();
  if (!error.Name().empty()) e.description += ": '" + error.Name() + "'";
  e.line = error.Line();
  e.column = error.Column();
  if (const std::string* text = UnitText(unit)) e.text = LineOf(*text, e.line);
  throw ScriptFailure(std::move(e));
}

template <class F>
auto VBScriptEngine::Guard(F&& body) -> decltype(body()) {
  try {
    return body();
  } catch (const VbError& e) {
    Fail(e, interpreter_->ErrorUnit());
  } catch (const automation::AutomationError& e) {
    Fail(ErrorFromException(e), interpreter_->ErrorUnit());
  } catch (const std::bad_alloc&) {
    Fail(VbError(kErrOutOfMemory), 0);
  }
}

const VBScriptEngine::Compiled& VBScriptEngine::Compile(const std::string& text, bool expression) {
  std::string key = (expression ? "E" : "S") + text;
  if (auto it = cache_.find(key); it != cache_.end()) return it->second;
  Compiled compiled;
  compiled.unit = AddUnit(text);
  try {
    if (expression) {
      compiled.expression = std::shared_ptr<Expr>(ParseExpression(text).release());
    } else {
      compiled.program = std::make_shared<Program>(ParseProgram(text));
    }
  } catch (const VbError& e) {
    Fail(e, compiled.unit);
  }
  if (cache_.size() >= kCacheLimit) {
    cache_.erase(cacheOrder_.front());
    cacheOrder_.pop_front();
  }
  cacheOrder_.push_back(key);
  return cache_.emplace(std::move(key), std::move(compiled)).first->second;
}

void VBScriptEngine::AddObject(const std::string& name, automation::IDispatch* object, bool addMembers) {
  interpreter_->AddObject(name, object, addMembers);
}

void VBScriptEngine::AddCode(const std::string& code) {
  int32_t unit = AddUnit(code);
  std::shared_ptr<Program> program;
  try {
    program = std::make_shared<Program>(ParseProgram(code));
  } catch (const VbError& e) {
    Fail(e, unit);
  }
  Guard([&] { interpreter_->RunProgram(program, unit); });
}

void VBScriptEngine::ExecuteStatement(const std::string& statement) {
  // Copies, not references: running may add to the cache and push this
  // entry out.
  Compiled compiled = Compile(statement, false);
  Guard([&] { interpreter_->RunProgram(compiled.program, compiled.unit); });
}

Variant VBScriptEngine::Eval(const std::string& expression) {
  Compiled compiled = Compile(expression, true);
  return Guard([&] { return interpreter_->Evaluate(*compiled.expression, compiled.unit); });
}

Variant VBScriptEngine::Run(const std::string& procedure, const std::vector<Variant>& args) {
  return Guard([&] { return interpreter_->CallProcedure(procedure, args); });
}

std::vector<Procedure> VBScriptEngine::Procedures() {
  std::vector<Procedure> list;
  for (const auto& p : interpreter_->Procedures()) list.push_back({p.name, p.numArgs, p.isFunction});
  return list;
}

}  // namespace scriptcontrol::vbscript
