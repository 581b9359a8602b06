// The interpreter's entry points from outside: adding objects, running a
// unit at global scope, evaluating, calling a procedure by name, calls on
// script objects; and the frame and time-limit bookkeeping around them.
#include "platform/scriptcontrol/vbscript/vb_interpreter.h"

#include <pthread.h>

#include <cstdio>

#include "platform/automation/com_object.h"
#include "platform/scriptcontrol/vbscript/vb_interpreter_scopes.h"
#include "platform/scriptcontrol/vbscript/vb_resolver.h"
#include "platform/util/text.h"

namespace scriptcontrol::vbscript {

using automation::Variant;

namespace {

// What deep script calls leave free of the thread's stack, for the C++
// below the last script frame (built-ins, objects, the host's handlers).
constexpr ptrdiff_t kStackReserve = 512 * 1024;
// When the thread's stack cannot be measured.
constexpr ptrdiff_t kStackBudgetUnknown = 1024 * 1024;

// The lowest address script calls may reach on this thread; the stack
// grows down.
const char* StackLimit(const char* here) {
  pthread_attr_t attr;
  if (pthread_getattr_np(pthread_self(), &attr) != 0) return here - kStackBudgetUnknown;
  void* low = nullptr;
  size_t size = 0;
  int failed = pthread_attr_getstack(&attr, &low, &size);
  pthread_attr_destroy(&attr);
  if (failed != 0 || !low || static_cast<ptrdiff_t>(size) <= 2 * kStackReserve) return here - kStackBudgetUnknown;
  return static_cast<const char*>(low) + kStackReserve;
}

}  // namespace

Interpreter::Interpreter(AddUnit addUnit)
    : link_(std::make_shared<InterpreterLink>()), addUnit_(std::move(addUnit)), err_(std::make_shared<ErrState>()) {
  link_->interpreter = this;
  errObject_ = automation::MakeObject<ErrObject>(err_);
  objects_.push_back(NamedObject{"Err", errObject_, false});
  frames_.emplace_back();
}

Interpreter::~Interpreter() {
  // Script objects held by globals run their Class_Terminate now, while
  // there is still an interpreter to run it.
  for (Variant& v : globals_) v.Clear();
  link_->interpreter = nullptr;
}

void Interpreter::AddObject(const std::string& name, automation::IDispatch* object, bool addMembers) {
  for (NamedObject& o : objects_) {
    if (kiv::EqualsIgnoreCase(o.name, name)) {
      o.object = object;
      o.addMembers = addMembers;
      derived_.clear();
      ++generation_;
      return;
    }
  }
  objects_.push_back(NamedObject{name, object, addMembers});
  derived_.clear();
  ++generation_;
}

void Interpreter::RunProgram(const std::shared_ptr<Program>& program, int32_t unit) {
  Entry entry(*this);
  try {
    Declare(*program, unit);
  } catch (VbError& e) {
    errorUnit_ = unit;
    throw;
  }
  ResolveInScope(program->body, nullptr, nullptr);
  Frame frame;
  frame.unit = unit;
  frame.optionExplicit = program->optionExplicit;
  FramePush push(*this, std::move(frame));
  ExecBlock(program->body);
}

Variant Interpreter::Evaluate(Expr& expr, int32_t unit) {
  Entry entry(*this);
  ResolveInScope(expr, nullptr, nullptr);
  Frame frame;
  frame.unit = unit;
  FramePush push(*this, std::move(frame));
  try {
    return Eval(expr);
  } catch (VbError& e) {
    if (!e.Placed()) {
      e.Place(expr.pos.line, expr.pos.column);
      errorUnit_ = unit;
    }
    throw;
  }
}

Variant Interpreter::CallProcedure(const std::string& name, std::vector<Variant> args) {
  Entry entry(*this);
  const Binding* b = LookupGlobal(name);
  if (!b || b->kind != Binding::Kind::Procedure) throw VbError(kErrNotDefined).Named(name);
  // Arguments from outside are values; by-reference parameters get their
  // own copies.
  std::vector<Variant> values;
  values.reserve(args.size());
  for (Variant& a : args) values.push_back(a.Deref());
  return CallScript(*procedures_[static_cast<size_t>(b->index)], nullptr, std::move(values));
}

std::vector<Interpreter::ProcedureInfo> Interpreter::Procedures() const {
  std::vector<ProcedureInfo> list;
  for (const auto& p : procedures_)
    list.push_back({p->name, static_cast<int32_t>(p->params.size()), p->kind == ProcedureDecl::Kind::Function});
  return list;
}

Variant Interpreter::InvokeObject(VbObject& object, int32_t member, uint16_t flags, std::vector<Variant> args) {
  Entry entry(*this);
  return CallMemberOf(object, member, std::move(args), flags);
}

Variant Interpreter::InvokeProcedure(const ProcedureDecl& procedure, std::vector<Variant> args) {
  Entry entry(*this);
  return CallScript(procedure, nullptr, std::move(args));
}

void Interpreter::Terminate(VbObject& object) {
  Entry entry(*this);
  try {
    CallScript(*object.Class().terminate, &object, {});
  } catch (const std::exception& e) {
    // VBScript lets a failing Class_Terminate go unreported to the script;
    // the host's log still hears of it.
    std::fprintf(stderr, "VBScript: Class_Terminate of %s failed: %s\n", object.Class().decl->name.c_str(), e.what());
  }
}

void Interpreter::Tick() {
  if (!budget_.Running() || (++ticks_ & 1023u) != 0) return;
  if (budget_.Spent()) throw VbAbort(kErrTimeout);
}

const char* Interpreter::StackLimitOf(const char* here) { return StackLimit(here); }

void Interpreter::CheckStack() {
  char probe = 0;
  if (stackLimit_ && &probe < stackLimit_) throw VbError(kErrOutOfStack);
}

}  // namespace scriptcontrol::vbscript
