// JScriptEngine runs JScript on Duktape for the script control. One heap
// per engine, owned here; added objects, code and globals live as long as
// the engine.
//
// Statement and expression texts are compiled once and the compiled
// function is kept in a bounded cache keyed by the text, since skins run
// the same few event statements over and over. Every failure becomes a
// ScriptFailure with the JScript-style number, source, description, line
// and the text of the offending line.
#pragma once

#include <list>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/scriptcontrol/jscript/duk_support.h"
#include "platform/scriptcontrol/jscript/js_bridge.h"
#include "platform/scriptcontrol/script_engine.h"

namespace scriptcontrol::jscript {

class JScriptEngine : public ScriptEngine {
 public:
  static constexpr size_t kCacheLimit = 256;

  JScriptEngine();
  ~JScriptEngine() override;

  void AddObject(const std::string& name, automation::IDispatch* object, bool addMembers) override;
  void AddCode(const std::string& code) override;
  void ExecuteStatement(const std::string& statement) override;
  automation::Variant Eval(const std::string& expression) override;
  automation::Variant Run(const std::string& procedure, const std::vector<automation::Variant>& args) override;
  std::vector<Procedure> Procedures() override;
  void SetTimeout(int32_t milliseconds) override { timeout_ = milliseconds; }

  size_t CachedCount() const { return cache_.size(); }

 private:
  class CallScope;

  // Pushes the compiled function of a statement or expression text.
  void PushCompiled(const std::string& text);
  // Runs the function on the stack top with argc arguments above it;
  // leaves the result, or throws ScriptFailure.
  void CallTop(duk_idx_t argc);
  [[noreturn]] void FailFromStack(bool compiling, const std::string& compiledText);
  std::string LineOf(const std::string& unit, int32_t line) const;
  // Adds the functions the code declares to the procedures.
  void NoteProcedures(const std::string& code);

  std::shared_ptr<EngineLife> life_;
  HeapPtr heap_;
  std::unique_ptr<JsBridge> bridge_;
  int32_t timeout_ = -1;
  int depth_ = 0;

  struct CacheEntry {
    uint32_t slot;
    std::string unit;
  };
  std::unordered_map<std::string, CacheEntry> cache_;
  std::list<std::string> cacheOrder_;  // oldest first
  uint32_t nextSlot_ = 1;
  std::unordered_map<std::string, std::string> units_;  // unit name -> source
  uint32_t nextUnit_ = 1;
  std::vector<std::string> procedures_;  // declared functions, first declaration first
};

}  // namespace scriptcontrol::jscript
