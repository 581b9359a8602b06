// The interpreter: runs the syntax trees the parser makes, with VBScript's
// scopes. It owns the script's global state (variables, procedures,
// classes, the objects the host added, the Err object) and a stack of
// frames, one per running procedure.
//
// Names: a procedure's parameters and variables live in slots of its frame
// (found by the resolver before the first run); a class method also sees
// its object's fields and members; every other name is looked up in the
// global bindings at run time and the answer is kept in the name's node
// until the bindings change (a generation count).
//
// Every failure is a VbError placed at the statement that failed; the unit
// (which added text) of the failing code is kept for the report. Used on
// one thread.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <thread>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/automation/com_ptr.h"
#include "platform/automation/dispatch.h"
#include "platform/automation/variant.h"
#include "platform/scriptcontrol/run_budget.h"
#include "platform/scriptcontrol/vbscript/vb_ast.h"
#include "platform/scriptcontrol/vbscript/vb_builtins.h"
#include "platform/scriptcontrol/vbscript/vb_class.h"
#include "platform/scriptcontrol/vbscript/vb_err_object.h"
#include "platform/scriptcontrol/vbscript/vb_errors.h"

namespace scriptcontrol::vbscript {

// A failure no On Error Resume Next may pass over: the script ran longer
// than its time limit.
class VbAbort : public VbError {
 public:
  using VbError::VbError;
};

// What a global name stands for.
struct Binding {
  enum class Kind : uint8_t {
    Variable,      // globals_[index]
    Constant,      // globals_[index], not assignable
    Procedure,     // procedures_[index]
    Class,         // classes_[index]
    Object,        // objects_[index]: a named object
    ObjectMember,  // a member (id) of objects_[index], added with its members
    Builtin,       // builtin
    BuiltinConstant,
    Special,       // Eval, Execute, ExecuteGlobal, GetRef
  };
  Kind kind = Kind::Variable;
  int32_t index = 0;
  automation::DispId id = 0;
  const Builtin* builtin = nullptr;
  const automation::Variant* constant = nullptr;
};

// "[number: 3]" or the variable's name, for a failed subscript.
std::string DescribeIndex(const std::vector<ExprPtr>& args);

class Interpreter {
 public:
  // unitOf gives the text of an added unit, for Execute and Eval the
  // interpreter parses itself; addUnit registers such a text.
  using AddUnit = std::function<int32_t(const std::string& text)>;

  explicit Interpreter(AddUnit addUnit);
  ~Interpreter();
  Interpreter(const Interpreter&) = delete;
  Interpreter& operator=(const Interpreter&) = delete;

  BuiltinContext& Context() { return context_; }
  void SetTimeout(int32_t milliseconds) { timeout_ = milliseconds; }

  void AddObject(const std::string& name, automation::IDispatch* object, bool addMembers);
  // Declares the program's procedures and classes and runs its statements
  // at global scope. The program may be run again (a cached statement).
  void RunProgram(const std::shared_ptr<Program>& program, int32_t unit);
  // An expression at global scope.
  automation::Variant Evaluate(Expr& expr, int32_t unit);
  // A global procedure by name, arguments by value.
  automation::Variant CallProcedure(const std::string& name, std::vector<automation::Variant> args);
  struct ProcedureInfo {
    std::string name;
    int32_t numArgs;
    bool isFunction;
  };
  std::vector<ProcedureInfo> Procedures() const;

  // The unit of the code that failed last.
  int32_t ErrorUnit() const { return errorUnit_; }

  // Calls on instances of script classes and on GetRef references, from
  // outside (their IDispatch::Invoke).
  automation::Variant InvokeObject(VbObject& object, int32_t member, uint16_t flags,
                                   std::vector<automation::Variant> args);
  automation::Variant InvokeProcedure(const ProcedureDecl& procedure, std::vector<automation::Variant> args);
  void Terminate(VbObject& object);

 private:
  friend class Evaluator;

  struct Frame {
    const ProcedureDecl* procedure = nullptr;  // null at global scope
    VbObject* self = nullptr;
    std::vector<automation::Variant> locals;
    std::vector<automation::Variant> with;  // the With objects, innermost last
    const Stmt* statement = nullptr;         // the statement running now
    int32_t unit = 0;
    bool resumeNext = false;
    bool optionExplicit = false;
  };
  enum class Flow : uint8_t { Normal, ExitDo, ExitFor, ExitProcedure };

  // ----- declarations (vb_declare.cpp)
  void Declare(Program& program, int32_t unit);
  void DeclareProcedure(const ProcedurePtr& procedure);
  void DeclareClass(const ClassPtr& declaration);
  int32_t DefineGlobal(const std::string& name, bool constant);
  void Bind(const std::string& name, Binding binding);

  // ----- names (vb_names.cpp)
  // Null when nothing global has the name.
  const Binding* FindGlobal(NameExpr& name);
  const Binding* LookupGlobal(const std::string& name);
  // The index in bindings_, -1 when nothing global has the name.
  int32_t LookupGlobalIndex(const std::string& name);
  // How a caller will use a variable.
  enum class Access : uint8_t {
    Read,       // reads only: nothing is made
    Write,      // assigns: an implicit variable is made; constants refuse (501)
    Reference,  // passes by reference: an implicit variable is made; constants give null
  };
  // The variable a name stands for, made when the rules allow an implicit
  // one; null when the name is not a variable (a procedure, an object).
  automation::Variant* VariableOf(NameExpr& name, Access access);
  automation::Variant& Local(int32_t slot) { return frames_.back().locals[static_cast<size_t>(slot)]; }
  // The running procedure's variable of that name; failing that (at
  // script level, or a name only Execute brought), the global one, made
  // when missing.
  automation::Variant& DeclaredVariable(const std::string& name, bool constant);
  [[noreturn]] void Undefined(const std::string& name);

  // ----- statements (vb_exec.cpp)
  Flow ExecBlock(const Block& block);
  Flow Exec(const Stmt& stmt);
  Flow ExecIf(const IfStmt& stmt);
  Flow ExecSelect(const SelectStmt& stmt);
  Flow ExecFor(const ForStmt& stmt);
  Flow ExecForEach(const ForEachStmt& stmt);
  Flow ExecDo(const DoStmt& stmt);
  Flow ExecWith(const WithStmt& stmt);
  void ExecDim(const DimStmt& stmt);
  void ExecReDim(const ReDimStmt& stmt);
  void ExecConst(const ConstStmt& stmt);
  void ExecErase(const EraseStmt& stmt);
  bool Condition(const Expr& expr);
  // Records a caught failure in Err (On Error Resume Next).
  void NoteError(const std::exception& failure);
  void Tick();
  void CheckStack();
  static const char* StackLimitOf(const char* here);
  class Entry;
  class FramePush;

  // ----- expressions (vb_eval.cpp)
  automation::Variant Eval(const Expr& expr);
  automation::Variant EvalName(NameExpr& name);
  automation::Variant EvalMember(const MemberExpr& member, std::vector<automation::Variant> args, uint16_t flags);
  automation::Variant EvalCall(const CallExpr& call, bool wantValue);
  automation::Variant NewObject(const NewExpr& expr);
  automation::Variant WithObject();
  automation::Variant MeObject();
  // Array bounds from expressions; multi-dimensional arrays nest.
  automation::VariantArray MakeArray(const std::vector<ExprPtr>& bounds);
  automation::Variant MakeArrayValue(const std::vector<int32_t>& bounds, size_t level);

  // ----- assignment (vb_assign.cpp)
  void Assign(const Expr& target, automation::Variant value, bool isSet);
  void Store(automation::Variant& variable, automation::Variant value, bool isSet);
  automation::Variant& Element(automation::Variant& array, std::span<automation::Variant> indices);

  // ----- calls (vb_calls.cpp)
  // Arguments for a call: variables written as they are go by reference
  // (the callee keeps or copies them), everything else by value.
  std::vector<automation::Variant> EvalArgs(const std::vector<ExprPtr>& args);
  automation::Variant CallScript(const ProcedureDecl& procedure, VbObject* self,
                                 std::vector<automation::Variant> args);
  automation::Variant CallBinding(const Binding& binding, NameExpr& name, const std::vector<ExprPtr>* args,
                                  bool wantValue);
  // Indexes an array or calls an object's default member; indexExprs name
  // a failed subscript.
  automation::Variant CallValue(automation::Variant target, std::vector<automation::Variant> args,
                                uint16_t flags, const std::vector<ExprPtr>* indexExprs = nullptr);
  automation::Variant CallSpecial(int32_t which, std::vector<automation::Variant> args);
  automation::Variant CallMemberOf(VbObject& object, int32_t member, std::vector<automation::Variant> args,
                                   uint16_t flags);
  automation::Variant Invoke(automation::IDispatch* object, automation::DispId id, uint16_t flags,
                             std::vector<automation::Variant> args);
  automation::DispId IdOf(automation::IDispatch* object, const std::string& name, const MemberExpr* cache);

  std::shared_ptr<InterpreterLink> link_;
  AddUnit addUnit_;
  BuiltinContext context_;
  std::shared_ptr<ErrState> err_;
  automation::ComPtr<automation::IDispatch> errObject_;

  // Global state.
  std::deque<automation::Variant> globals_;  // stable addresses: by-reference arguments point here
  std::vector<std::shared_ptr<ProcedureDecl>> procedures_;
  std::vector<std::string> procedureOrder_;  // lower-case, first definition first
  std::vector<std::shared_ptr<const ClassInfo>> classes_;
  struct NamedObject {
    std::string name;
    automation::ComPtr<automation::IDispatch> object;
    bool addMembers = false;
  };
  std::vector<NamedObject> objects_;
  std::deque<Binding> bindings_;  // never shrinks: pointers to bindings stay valid
  std::unordered_map<std::string, int32_t> defined_;  // lower-case name -> binding
  std::unordered_map<std::string, int32_t> derived_;  // lookups of members and built-ins
  uint32_t generation_ = 1;

  std::deque<Frame> frames_;  // deque: by-reference arguments point into frames below the top
  int32_t errorUnit_ = 0;
  int32_t timeout_ = -1;
  RunBudget budget_;
  uint32_t ticks_ = 0;
  const char* stackLimit_ = nullptr;  // deeper calls fail with Out of stack space
  std::thread::id stackThread_;       // the thread stackLimit_ was measured on
  int32_t entries_ = 0;  // calls into the interpreter from outside, nested
};

}  // namespace scriptcontrol::vbscript
