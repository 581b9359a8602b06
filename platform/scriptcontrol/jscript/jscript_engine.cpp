#include "platform/scriptcontrol/jscript/jscript_engine.h"

#include <js/CallAndConstruct.h>
#include <js/CompilationAndEvaluation.h>
#include <js/PropertyAndElement.h>
#include <js/PropertyDescriptor.h>
#include <js/SourceText.h>

#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "platform/automation/hresult.h"
#include "platform/scriptcontrol/jscript/declared_functions.h"
#include "platform/scriptcontrol/jscript/js_enumerator.h"
#include "platform/scriptcontrol/jscript/js_vbarray.h"
#include "platform/scriptcontrol/jscript/jscript_error_texts.h"
#include "platform/scriptcontrol/jscript/sm_runtime.h"
#include "platform/scriptcontrol/jscript/sm_support.h"

namespace scriptcontrol::jscript {

using automation::Variant;

namespace {

constexpr const char* kCannotCreate = "A script engine for the specified language can not be created.";

// CollectGarbage(), as JScript has it.
bool CollectGarbageNative(JSContext*, unsigned argc, JS::Value* vp) {
  JS::CallArgs args = JS::CallArgsFromVp(argc, vp);
  SmRuntime::OnThisThread().CollectGarbage();
  args.rval().setUndefined();
  return true;
}

bool IsIdentifier(const std::string& text) {
  if (text.empty() || std::isdigit(static_cast<unsigned char>(text[0]))) return false;
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$'; });
}

}  // namespace

// One call from the control into the engine: enters the engine's realm
// and, for the outermost call, keeps the time limit.
class JScriptEngine::CallScope {
 public:
  explicit CallScope(JScriptEngine& engine) : engine_(engine), realm_(engine.cx_, *engine.global_) {
    if (engine_.depth_++ == 0) {
      engine_.budget_.Start(engine_.timeout_);
      engine_.runtime_.PushBudget(&engine_.budget_);
    }
    engine_.bridge_->DropUnkept();
  }
  ~CallScope() {
    if (--engine_.depth_ == 0) {
      engine_.runtime_.PopBudget();
      engine_.budget_.Stop();
    }
  }
  CallScope(const CallScope&) = delete;
  CallScope& operator=(const CallScope&) = delete;

 private:
  JScriptEngine& engine_;
  JSAutoRealm realm_;
};

JScriptEngine::JScriptEngine()
    : runtime_(SmRuntime::OnThisThread()), cx_(runtime_.Context()), life_(std::make_shared<EngineLife>()) {
  try {
    global_ = std::make_unique<JS::PersistentRootedObject>(cx_, NewGlobal(cx_));
    JSAutoRealm realm(cx_, *global_);
    JS::RootedObject global(cx_, *global_);
    bridge_ = std::make_unique<JsBridge>(cx_, global, life_);
    DefineEnumerator(cx_, global);
    DefineVBArray(cx_, global);
    Check(JS_DefineFunction(cx_, global, "CollectGarbage", CollectGarbageNative, 0, 0) != nullptr);
  } catch (const PendingScriptError&) {
    JS_ClearPendingException(cx_);
    throw std::runtime_error(kCannotCreate);
  }
  runtime_.AddEngine();
}

JScriptEngine::~JScriptEngine() {
  cache_.clear();
  bridge_.reset();
  global_.reset();
  // Everything the scripts held goes now, and the automation objects with it.
  runtime_.CollectGarbage();
  runtime_.RemoveEngine();
}

void JScriptEngine::CollectGarbage() { runtime_.CollectGarbage(); }

void JScriptEngine::AddObject(const std::string& name, automation::IDispatch* object, bool addMembers) {
  CallScope scope(*this);
  try {
    JS::RootedObject global(cx_, *global_);
    JS::RootedString text(cx_, NewString(cx_, name));
    Check(text != nullptr);
    JS::RootedId id(cx_);
    Check(JS_StringToId(cx_, text, &id));
    JS::RootedValue value(cx_, bridge_->DispatchValue(object));
    Check(JS_DefinePropertyById(cx_, global, id, value, JSPROP_ENUMERATE));
    if (addMembers) bridge_->DefineGlobalMembers(object);
  } catch (const PendingScriptError&) {
    Fail(false, std::string());
  }
}

JSScript* JScriptEngine::Compile(const std::string& text, const std::string& unit) {
  JS::CompileOptions options(cx_);
  options.setFileAndLine(unit.c_str(), 1);
  JS::SourceText<mozilla::Utf8Unit> source;
  JSScript* script = nullptr;
  if (source.init(cx_, text.data(), text.size(), JS::SourceOwnership::Borrowed))
    script = JS::Compile(cx_, options, source);
  if (!script) Fail(true, text);
  return script;
}

void JScriptEngine::Execute(JS::HandleScript script, JS::MutableHandleValue result) {
  if (!JS_ExecuteScript(cx_, script, result)) Fail(false, std::string());
}

void JScriptEngine::AddCode(const std::string& code) {
  CallScope scope(*this);
  std::string unit = std::string("code").append(std::to_string(nextUnit_++));
  units_[unit] = code;
  JS::RootedScript script(cx_, Compile(code, unit));
  // Declared functions are procedures even when running the code fails
  // later on, as its declarations are bound before its first statement.
  NoteProcedures(code);
  JS::RootedValue ignored(cx_);
  Execute(script, &ignored);
}

void JScriptEngine::NoteProcedures(const std::string& code) {
  for (const std::string& name : DeclaredFunctions(cx_, code))
    if (std::find(procedures_.begin(), procedures_.end(), name) == procedures_.end()) procedures_.push_back(name);
}

JSScript* JScriptEngine::Compiled(const std::string& text) {
  auto it = cache_.find(text);
  if (it != cache_.end()) return *it->second.script;
  std::string unit = std::string("statement").append(std::to_string(nextUnit_++));
  JS::RootedScript script(cx_, Compile(text, unit));
  // A statement may declare functions too; a text is compiled once, so its
  // declarations are listed once.
  NoteProcedures(text);
  if (cache_.size() >= kCacheLimit) {
    auto old = cache_.find(cacheOrder_.front());
    units_.erase(old->second.unit);
    cache_.erase(old);
    cacheOrder_.pop_front();
  }
  cache_.emplace(text, CacheEntry{std::make_unique<JS::PersistentRootedScript>(cx_, script), unit});
  cacheOrder_.push_back(text);
  units_[unit] = text;
  return script;
}

void JScriptEngine::ExecuteStatement(const std::string& statement) {
  CallScope scope(*this);
  JS::RootedScript script(cx_, Compiled(statement));
  JS::RootedValue ignored(cx_);
  Execute(script, &ignored);
}

Variant JScriptEngine::Eval(const std::string& expression) {
  CallScope scope(*this);
  JS::RootedScript script(cx_, Compiled(expression));
  JS::RootedValue result(cx_);
  Execute(script, &result);
  try {
    return bridge_->ToVariant(result);
  } catch (const PendingScriptError&) {
    Fail(false, std::string());
  }
}

Variant JScriptEngine::Run(const std::string& procedure, const std::vector<Variant>& args) {
  CallScope scope(*this);
  JS::RootedObject global(cx_, *global_);
  JS::RootedValue function(cx_);
  JS::RootedValue result(cx_);
  try {
    JS::RootedString name(cx_, NewString(cx_, procedure));
    Check(name != nullptr);
    JS::RootedId id(cx_);
    Check(JS_StringToId(cx_, name, &id));
    Check(JS_GetPropertyById(cx_, global, id, &function));
    if (!function.isObject() || !JS::IsCallable(&function.toObject())) {
      ScriptError error;
      error.number = automation::DISP_E_UNKNOWNNAME;
      error.source = kRuntimeErrorSource;
      error.description = "Unknown name.";
      throw ScriptFailure(error);
    }
    JS::RootedValueVector argv(cx_);
    for (const Variant& arg : args) Check(argv.append(bridge_->ToValue(arg)));
    Check(JS::Call(cx_, JS::UndefinedHandleValue, function, argv, &result));
    return bridge_->ToVariant(result);
  } catch (const PendingScriptError&) {
    Fail(false, std::string());
  }
}

std::vector<Procedure> JScriptEngine::Procedures() {
  CallScope scope(*this);
  JS::RootedObject global(cx_, *global_);
  std::vector<Procedure> result;
  JS::RootedValue value(cx_);
  for (const std::string& name : procedures_) {
    value = SafeGet(cx_, global, name.c_str());
    if (!value.isObject() || !JS_ObjectIsFunction(&value.toObject())) continue;
    JS::RootedObject function(cx_, &value.toObject());
    JS::RootedValue length(cx_, SafeGet(cx_, function, "length"));
    result.push_back(Procedure{name, length.isInt32() ? length.toInt32() : 0, true});
  }
  return result;
}

std::string JScriptEngine::LineOf(const std::string& unit, int32_t line) const {
  auto it = units_.find(unit);
  if (it == units_.end() || line < 1) return std::string();
  const std::string& text = it->second;
  size_t start = 0;
  for (int32_t n = 1; n < line; ++n) {
    start = text.find('\n', start);
    if (start == std::string::npos) return std::string();
    ++start;
  }
  size_t end = text.find('\n', start);
  std::string result = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
  if (!result.empty() && result.back() == '\r') result.pop_back();
  return result;
}

void JScriptEngine::Fail(bool compiling, const std::string& compiledText) {
  ScriptError error;
  error.source = compiling ? kCompileErrorSource : kRuntimeErrorSource;
  JS::RootedValue exception(cx_);
  if (!JS_IsExceptionPending(cx_) || !JS_GetPendingException(cx_, &exception)) {
    JS_ClearPendingException(cx_);
    // Stopped: by the time limit, or for want of memory.
    if (runtime_.StoppedForTime()) {
      error.number = kTimeoutErrorNumber;
      error.description = "Script execution timed out";
    } else {
      error.number = kOutOfMemoryErrorNumber;
      error.description = kOutOfMemoryErrorText;
    }
    throw ScriptFailure(std::move(error));
  }
  JS_ClearPendingException(cx_);
  if (!exception.isObject()) {
    error.number = kUncaughtErrorNumber;
    error.description = SafeToString(cx_, exception);
    throw ScriptFailure(std::move(error));
  }
  JS::RootedObject object(cx_, &exception.toObject());
  const std::string name = SafeGetString(cx_, object, "name");
  const std::string message = SafeGetString(cx_, object, "message", SafeToString(cx_, exception));
  JS::RootedValue line(cx_, SafeGet(cx_, object, "lineNumber"));
  error.line = line.isNumber() ? static_cast<int32_t>(line.toNumber()) : 0;
  if (compiling) {
    units_["\x01" "compiling"] = compiledText;
    error.text = LineOf("\x01" "compiling", error.line);
    units_.erase("\x01" "compiling");
    JScriptErrorText mapped = CompileErrorText(name, message, compiledText, error.text);
    error.number = mapped.number;
    error.description = std::move(mapped.description);
    throw ScriptFailure(std::move(error));
  }
  error.text = LineOf(SafeGetString(cx_, object, "fileName"), error.line);
  if (std::optional<int32_t> number = ErrorNumberOf(cx_, object)) {
    error.number = *number;
    error.description = SafeGetString(cx_, object, "description", message);
    throw ScriptFailure(std::move(error));
  }
  // What a call failed on, when the message names a global by itself.
  Callee callee = Callee::Unknown;
  const std::string notAFunction = " is not a function";
  if (name == "TypeError" && message.ends_with(notAFunction)) {
    const std::string expression = message.substr(0, message.size() - notAFunction.size());
    JS::RootedObject global(cx_, *global_);
    JS::Rooted<mozilla::Maybe<JS::PropertyDescriptor>> desc(cx_);
    if (IsIdentifier(expression) &&
        JS_GetOwnPropertyDescriptor(cx_, global, expression.c_str(), &desc) && desc.isSome() && desc->hasValue()) {
      const JS::Value value = desc->value();
      callee = value.isNullOrUndefined() ? Callee::Nothing : value.isObject() ? Callee::Object : Callee::Value;
    }
    JS_ClearPendingException(cx_);
  }
  JScriptErrorText mapped = RuntimeErrorText(name, message, callee);
  error.description = mapped.number ? mapped.description : message;
  if (mapped.number) error.number = mapped.number;
  else if (name == "ReferenceError") error.number = kUndefinedErrorNumber;
  else if (name == "TypeError") error.number = kTypeErrorNumber;
  else if (name == "RangeError") error.number = kRangeErrorNumber;
  else if (name == "SyntaxError") error.number = kSyntaxErrorNumber;
  else error.number = kUncaughtErrorNumber;
  throw ScriptFailure(std::move(error));
}

}  // namespace scriptcontrol::jscript
