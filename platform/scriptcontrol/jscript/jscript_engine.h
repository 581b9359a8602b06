// JScriptEngine runs JScript on SpiderMonkey for the script control. Each
// engine is a global of its own (a realm) in its thread's context
// (sm_runtime.h); added objects, code and globals live as long as the
// engine. Objects the scripts drop are freed when the collector runs; the
// engine collects when it goes, so every object it held is released then.
//
// Statement and expression texts are compiled once and the compiled
// script is kept in a bounded cache keyed by the text, since skins run the
// same few event statements over and over. Every failure becomes a
// ScriptFailure with the JScript-style number, source, description, line
// and the text of the offending line. A call that runs past its time limit
// is stopped wherever it is, even in a loop that never leaves the script,
// and fails with "Script execution timed out".
#pragma once

#include <jsapi.h>

#include <list>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/scriptcontrol/jscript/js_bridge.h"
#include "platform/scriptcontrol/run_budget.h"
#include "platform/scriptcontrol/script_engine.h"

namespace scriptcontrol::jscript {

class SmRuntime;

class JScriptEngine : public ScriptEngine {
 public:
  static constexpr size_t kCacheLimit = 256;

  JScriptEngine();
  ~JScriptEngine() override;
  JScriptEngine(const JScriptEngine&) = delete;
  JScriptEngine& operator=(const JScriptEngine&) = delete;

  void AddObject(const std::string& name, automation::IDispatch* object, bool addMembers) override;
  void AddCode(const std::string& code) override;
  void ExecuteStatement(const std::string& statement) override;
  automation::Variant Eval(const std::string& expression) override;
  automation::Variant Run(const std::string& procedure, const std::vector<automation::Variant>& args) override;
  std::vector<Procedure> Procedures() override;
  void SetTimeout(int32_t milliseconds) override { timeout_ = milliseconds; }

  size_t CachedCount() const { return cache_.size(); }
  // Runs the collector now, as the script built-in CollectGarbage() does.
  void CollectGarbage();

 private:
  class CallScope;

  // The compiled script of a statement or expression text.
  JSScript* Compiled(const std::string& text);
  JSScript* Compile(const std::string& text, const std::string& unit);
  void Execute(JS::HandleScript script, JS::MutableHandleValue result);
  // The failure the engine has pending (or the stop), as a ScriptFailure.
  [[noreturn]] void Fail(bool compiling, const std::string& compiledText);
  std::string LineOf(const std::string& unit, int32_t line) const;
  // Adds the functions the code declares to the procedures.
  void NoteProcedures(const std::string& code);

  SmRuntime& runtime_;
  JSContext* cx_;
  std::shared_ptr<EngineLife> life_;
  std::unique_ptr<JS::PersistentRootedObject> global_;
  std::unique_ptr<JsBridge> bridge_;
  RunBudget budget_;
  int32_t timeout_ = -1;
  int depth_ = 0;

  struct CacheEntry {
    std::unique_ptr<JS::PersistentRootedScript> script;
    std::string unit;
  };
  std::unordered_map<std::string, CacheEntry> cache_;
  std::list<std::string> cacheOrder_;  // oldest first
  std::unordered_map<std::string, std::string> units_;  // unit name -> source
  uint32_t nextUnit_ = 1;
  std::vector<std::string> procedures_;  // declared functions, first declaration first
};

}  // namespace scriptcontrol::jscript
