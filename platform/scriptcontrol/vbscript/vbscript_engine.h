// VBScriptEngine runs VBScript for the script control with our own
// interpreter: the parser makes a tree of each added text, statement or
// expression, the interpreter runs it. Statement and expression texts are
// parsed once and kept in a bounded cache, as skins run the same few
// event statements over and over. Every failure becomes a ScriptFailure
// with VBScript's number, source ("Microsoft VBScript runtime error" or
// "... compilation error"), description, line, column and the text of the
// offending line.
#pragma once

#include <list>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/scriptcontrol/script_engine.h"
#include "platform/scriptcontrol/vbscript/vb_ast.h"
#include "platform/scriptcontrol/vbscript/vb_builtins.h"

namespace scriptcontrol::vbscript {

class Interpreter;
class VbError;

class VBScriptEngine : public ScriptEngine {
 public:
  static constexpr size_t kCacheLimit = 256;

  VBScriptEngine();
  ~VBScriptEngine() override;

  void AddObject(const std::string& name, automation::IDispatch* object, bool addMembers) override;
  void AddCode(const std::string& code) override;
  void ExecuteStatement(const std::string& statement) override;
  automation::Variant Eval(const std::string& expression) override;
  automation::Variant Run(const std::string& procedure, const std::vector<automation::Variant>& args) override;
  std::vector<Procedure> Procedures() override;
  void SetTimeout(int32_t milliseconds) override;

  // The services MsgBox, InputBox and CreateObject use; the host's window
  // services and the class registry unless a caller sets others.
  BuiltinContext& Context();
  size_t CachedCount() const { return cache_.size(); }

 private:
  struct Compiled {
    std::shared_ptr<Program> program;  // a statement
    std::shared_ptr<Expr> expression;  // an expression
    int32_t unit = 0;
  };

  // A text the engine keeps for the lines of its errors. Added code and
  // statements are kept for good (once per text); what Eval and Execute
  // run inside a script goes to a ring of the latest kTransientUnits.
  int32_t AddUnit(const std::string& text);
  int32_t AddTransientUnit(const std::string& text);
  const std::string* UnitText(int32_t unit) const;
  static constexpr size_t kTransientUnits = 64;
  const Compiled& Compile(const std::string& text, bool expression);
  // Runs a call into the interpreter; failures become ScriptFailure.
  template <class F>
  auto Guard(F&& body) -> decltype(body());
  [[noreturn]] void Fail(const VbError& error, int32_t unit);

  std::vector<std::string> units_;  // index 0 is no unit
  std::unordered_map<std::string, int32_t> unitOfText_;
  struct TransientUnit {
    int32_t id = 0;  // negative
    std::string text;
  };
  std::vector<TransientUnit> transient_;
  int32_t nextTransient_ = -1;
  std::unique_ptr<Interpreter> interpreter_;
  std::unordered_map<std::string, Compiled> cache_;
  std::list<std::string> cacheOrder_;  // oldest first
};

}  // namespace scriptcontrol::vbscript
