#include "platform/scriptcontrol/jscript/jscript_engine.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

#include "platform/automation/hresult.h"
#include "platform/scriptcontrol/jscript/declared_functions.h"
#include "platform/scriptcontrol/jscript/jscript_error_texts.h"
#include "platform/scriptcontrol/jscript/js_enumerator.h"
#include "platform/scriptcontrol/jscript/js_vbarray.h"

namespace scriptcontrol::jscript {

using automation::Variant;

namespace {

constexpr const char* kCacheKey = "\xFF" "cache";

void PushCacheTable(duk_context* ctx) {
  duk_push_global_stash(ctx);
  if (!duk_get_prop_string(ctx, -1, kCacheKey)) {
    duk_pop(ctx);
    duk_push_object(ctx);
    duk_dup_top(ctx);
    duk_put_prop_string(ctx, -3, kCacheKey);
  }
  duk_remove(ctx, -2);
}

// "parse error (line 3, end of input)" -> 3, and the text before it.
int32_t TakeLineFromMessage(std::string& message, bool& atEndOfInput) {
  size_t at = message.rfind(" (line ");
  atEndOfInput = false;
  if (at == std::string::npos) return 0;
  int32_t line = std::atoi(message.c_str() + at + 7);
  atEndOfInput = message.find("end of input", at) != std::string::npos;
  message.erase(at);
  return line;
}

// The JScript built-ins plain ECMAScript lacks.
duk_ret_t DefineBuiltinsUnsafe(duk_context* ctx, void*) {
  DefineEnumerator(ctx);
  DefineVBArray(ctx);
  return 0;
}

}  // namespace

// One call from the control into the engine: keeps the stack as it was
// and, for the outermost call, the deadline of the time-out.
class JScriptEngine::CallScope {
 public:
  explicit CallScope(JScriptEngine& engine)
      : engine_(engine), ctx_(engine.heap_.get()), top_(duk_get_top(engine.heap_.get())) {
    if (engine_.depth_++ == 0) engine_.bridge_->Budget().Start(engine_.timeout_);
  }
  ~CallScope() {
    duk_set_top(ctx_, top_);
    if (--engine_.depth_ == 0) {
      engine_.bridge_->Budget().Stop();
      engine_.bridge_->ForgetMethodRead();
    }
  }
  CallScope(const CallScope&) = delete;
  CallScope& operator=(const CallScope&) = delete;

 private:
  JScriptEngine& engine_;
  duk_context* ctx_;
  duk_idx_t top_;
};

JScriptEngine::JScriptEngine() : life_(std::make_shared<EngineLife>()), heap_(CreateHeap(life_.get())) {
  life_->ctx = heap_.get();
  bridge_ = std::make_unique<JsBridge>(heap_.get(), life_);
  if (duk_safe_call(heap_.get(), DefineBuiltinsUnsafe, nullptr, 0, 1) != DUK_EXEC_SUCCESS)
    throw std::runtime_error("A script engine for the specified language can not be created.");
  duk_pop(heap_.get());
}

JScriptEngine::~JScriptEngine() {
  // Wrappers of script objects that outlive the engine must not touch the
  // heap, not even from the finalizers that run while it is destroyed.
  life_->ctx = nullptr;
  heap_.reset();
}

void JScriptEngine::AddObject(const std::string& name, automation::IDispatch* object, bool addMembers) {
  CallScope scope(*this);
  duk_context* ctx = heap_.get();
  duk_push_global_object(ctx);
  PushUtf8(ctx, name);
  bridge_->PushDispatch(object);
  duk_def_prop(ctx, -3, DUK_DEFPROP_HAVE_VALUE | DUK_DEFPROP_SET_WRITABLE | DUK_DEFPROP_SET_CONFIGURABLE |
                            DUK_DEFPROP_SET_ENUMERABLE);
  if (addMembers) bridge_->DefineGlobalMembers(object);
}

void JScriptEngine::AddCode(const std::string& code) {
  CallScope scope(*this);
  duk_context* ctx = heap_.get();
  std::string unit = std::string("code").append(std::to_string(nextUnit_++));
  units_[unit] = code;
  PushUtf8(ctx, code);
  duk_push_string(ctx, unit.c_str());
  if (duk_pcompile(ctx, 0) != 0) FailFromStack(true, code);
  // Declared functions are procedures even when running the code fails
  // later on, as its declarations are bound before its first statement.
  NoteProcedures(code);
  if (duk_pcall(ctx, 0) != DUK_EXEC_SUCCESS) FailFromStack(false, std::string());
}

void JScriptEngine::NoteProcedures(const std::string& code) {
  for (const std::string& name : DeclaredFunctions(heap_.get(), code))
    if (std::find(procedures_.begin(), procedures_.end(), name) == procedures_.end()) procedures_.push_back(name);
}

void JScriptEngine::PushCompiled(const std::string& text) {
  duk_context* ctx = heap_.get();
  auto it = cache_.find(text);
  if (it != cache_.end()) {
    PushCacheTable(ctx);
    duk_get_prop_index(ctx, -1, it->second.slot);
    duk_remove(ctx, -2);
    return;
  }
  std::string unit = std::string("statement").append(std::to_string(nextUnit_++));
  PushUtf8(ctx, text);
  duk_push_string(ctx, unit.c_str());
  if (duk_pcompile(ctx, DUK_COMPILE_EVAL) != 0) FailFromStack(true, text);
  // A statement may declare functions too; a text is compiled once, so its
  // declarations are listed once.
  NoteProcedures(text);
  uint32_t slot = nextSlot_++;
  PushCacheTable(ctx);
  duk_dup(ctx, -2);
  duk_put_prop_index(ctx, -2, slot);
  if (cache_.size() >= kCacheLimit) {
    const std::string& oldest = cacheOrder_.front();
    auto old = cache_.find(oldest);
    duk_del_prop_index(ctx, -1, old->second.slot);
    units_.erase(old->second.unit);
    cache_.erase(old);
    cacheOrder_.pop_front();
  }
  duk_pop(ctx);
  cache_.emplace(text, CacheEntry{slot, unit});
  cacheOrder_.push_back(text);
  units_[unit] = text;
}

void JScriptEngine::CallTop(duk_idx_t argc) {
  if (duk_pcall(heap_.get(), argc) != DUK_EXEC_SUCCESS) FailFromStack(false, std::string());
}

void JScriptEngine::ExecuteStatement(const std::string& statement) {
  CallScope scope(*this);
  PushCompiled(statement);
  CallTop(0);
}

Variant JScriptEngine::Eval(const std::string& expression) {
  CallScope scope(*this);
  PushCompiled(expression);
  CallTop(0);
  return bridge_->ToVariant(-1);
}

Variant JScriptEngine::Run(const std::string& procedure, const std::vector<Variant>& args) {
  CallScope scope(*this);
  duk_context* ctx = heap_.get();
  duk_push_global_object(ctx);
  SafeGetProp(ctx, -1, procedure.c_str());
  if (!duk_is_callable(ctx, -1)) {
    ScriptError error;
    error.number = automation::DISP_E_UNKNOWNNAME;
    error.source = kRuntimeErrorSource;
    error.description = "Unknown name.";
    throw ScriptFailure(error);
  }
  for (const Variant& arg : args) bridge_->PushVariant(arg);
  CallTop(static_cast<duk_idx_t>(args.size()));
  return bridge_->ToVariant(-1);
}

std::vector<Procedure> JScriptEngine::Procedures() {
  CallScope scope(*this);
  duk_context* ctx = heap_.get();
  std::vector<Procedure> result;
  duk_push_global_object(ctx);
  for (const std::string& name : procedures_) {
    SafeGetProp(ctx, -1, name.c_str());
    if (duk_is_function(ctx, -1)) {
      SafeGetProp(ctx, -1, "length");
      result.push_back(Procedure{name, duk_is_number(ctx, -1) ? duk_get_int(ctx, -1) : 0, true});
      duk_pop(ctx);
    }
    duk_pop(ctx);
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

void JScriptEngine::FailFromStack(bool compiling, const std::string& compiledText) {
  duk_context* ctx = heap_.get();
  ScriptError error;
  if (compiling) {
    std::string message = SafeGetString(ctx, -1, "message", SafeToString(ctx, -1));
    bool atEndOfInput = false;
    error.line = TakeLineFromMessage(message, atEndOfInput);
    error.source = kCompileErrorSource;
    units_["\x01" "compiling"] = compiledText;
    error.text = LineOf("\x01" "compiling", error.line);
    units_.erase("\x01" "compiling");
    JScriptErrorText mapped = CompileErrorText(message, atEndOfInput, compiledText, error.text);
    error.number = mapped.number;
    error.description = std::move(mapped.description);
  } else if (duk_is_error(ctx, -1) || duk_is_object(ctx, -1)) {
    std::string name = SafeGetString(ctx, -1, "name");
    std::string message = SafeGetString(ctx, -1, "message", SafeToString(ctx, -1));
    std::optional<int32_t> number = ErrorNumberOf(ctx, -1);
    error.source = kRuntimeErrorSource;
    if (number) {
      error.number = *number;
      error.description = SafeGetString(ctx, -1, "description", message);
    } else {
      JScriptErrorText mapped = RuntimeErrorText(name, message);
      error.description = mapped.number ? mapped.description : message;
      if (mapped.number) error.number = mapped.number;
      else if (name == "ReferenceError") error.number = kUndefinedErrorNumber;
      else if (name == "TypeError") error.number = kTypeErrorNumber;
      else if (name == "RangeError") error.number = kRangeErrorNumber;
      else if (name == "SyntaxError") error.number = kSyntaxErrorNumber;
      else error.number = kUncaughtErrorNumber;
    }
    SafeGetProp(ctx, -1, "lineNumber");
    error.line = duk_is_number(ctx, -1) ? duk_get_int(ctx, -1) : 0;
    duk_pop(ctx);
    error.text = LineOf(SafeGetString(ctx, -1, "fileName"), error.line);
  } else {
    error.number = kUncaughtErrorNumber;
    error.source = kRuntimeErrorSource;
    error.description = SafeToString(ctx, -1);
  }
  duk_pop(ctx);
  throw ScriptFailure(std::move(error));
}

}  // namespace scriptcontrol::jscript
