// The syntax tree of a VBScript program, as the parser builds it and the
// interpreter walks it. Every node knows its kind (for the interpreter's
// switch) and where it starts in the source (1-based line and column).
//
// Names are kept as written; the interpreter compares them without regard
// to case. The name-resolution fields of NameExpr belong to the
// interpreter's resolver: the parser leaves them as they are constructed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/automation/variant.h"
#include "platform/scriptcontrol/vbscript/vb_operators.h"

namespace scriptcontrol::vbscript {

struct SourcePos {
  int32_t line = 0;
  int32_t column = 0;
};

// ---------------------------------------------------------------------------
// Expressions

enum class ExprKind : uint8_t {
  Literal,  // 1, "a", #1/2/2003#, True, Nothing, Empty, Null
  Name,     // x
  Member,   // a.b, or .b inside With
  Call,     // f(1, 2), a(1), a.b(1), f 1, 2 (in a call statement)
  Paren,    // (x): an argument written in parentheses is passed by value
  Unary,    // -x, Not x
  Binary,   // a + b, a = b
  Is,       // a Is b
  New,      // New ClassName
  Me,       // Me
};

struct Expr {
  explicit Expr(ExprKind k, SourcePos p = {}) : kind(k), pos(p) {}
  virtual ~Expr() = default;
  ExprKind kind;
  SourcePos pos;
};
using ExprPtr = std::unique_ptr<Expr>;

struct LiteralExpr : Expr {
  explicit LiteralExpr(automation::Variant v, SourcePos p = {}) : Expr(ExprKind::Literal, p), value(std::move(v)) {}
  automation::Variant value;
};

// Where the resolver found a name.
enum class NameScope : uint8_t {
  Unresolved,  // not looked at yet
  Local,       // a procedure's parameter or local variable: slot in the frame
  Field,       // a variable of the class whose method runs: slot in the object
  Member,      // a method or property of that class: slot in its member list
  Dynamic,     // looked up at run time (globals, procedures, objects, built-ins);
               // slot, when set, is the frame's implicit variable of that name
};

struct NameExpr : Expr {
  NameExpr(std::string n, SourcePos p = {}) : Expr(ExprKind::Name, p), name(std::move(n)) {}
  std::string name;
  // The resolver's, not the parser's.
  NameScope scope = NameScope::Unresolved;
  int32_t slot = -1;
  uint32_t cacheGeneration = 0;
  int32_t cacheIndex = -1;
};

struct MemberExpr : Expr {
  MemberExpr(ExprPtr obj, std::string n, SourcePos p = {})
      : Expr(ExprKind::Member, p), object(std::move(obj)), name(std::move(n)) {}
  ExprPtr object;  // null for ".name" inside With
  std::string name;
  // The interpreter's: the member's dispatch id for objects of one
  // interface description (ids of a described interface never change).
  const void* cacheType = nullptr;
  int32_t cacheId = 0;
};

struct CallExpr : Expr {
  CallExpr(ExprPtr c, SourcePos p = {}) : Expr(ExprKind::Call, p), callee(std::move(c)) {}
  ExprPtr callee;  // a Name, Member or Call (a(1)(2))
  // Natural order; a null entry is an omitted argument (f(1, , 3)).
  std::vector<ExprPtr> args;
};

struct ParenExpr : Expr {
  ParenExpr(ExprPtr e, SourcePos p = {}) : Expr(ExprKind::Paren, p), inner(std::move(e)) {}
  ExprPtr inner;
};

struct UnaryExpr : Expr {
  UnaryExpr(UnaryOp o, ExprPtr e, SourcePos p = {}) : Expr(ExprKind::Unary, p), op(o), operand(std::move(e)) {}
  UnaryOp op;
  ExprPtr operand;
};

struct BinaryExpr : Expr {
  BinaryExpr(BinaryOp o, ExprPtr l, ExprPtr r, SourcePos p = {})
      : Expr(ExprKind::Binary, p), op(o), left(std::move(l)), right(std::move(r)) {}
  BinaryOp op;
  ExprPtr left, right;
};

struct IsExpr : Expr {
  IsExpr(ExprPtr l, ExprPtr r, SourcePos p = {}) : Expr(ExprKind::Is, p), left(std::move(l)), right(std::move(r)) {}
  ExprPtr left, right;
};

struct NewExpr : Expr {
  NewExpr(std::string c, SourcePos p = {}) : Expr(ExprKind::New, p), className(std::move(c)) {}
  std::string className;
};

struct MeExpr : Expr {
  explicit MeExpr(SourcePos p = {}) : Expr(ExprKind::Me, p) {}
};

// ---------------------------------------------------------------------------
// Statements

enum class StmtKind : uint8_t {
  Call,     // f 1, 2 / Call f(1, 2) / obj.m / f
  Assign,   // x = 1 / a(1) = 2 / o.p = 3 / Set x = o
  Dim,      // Dim / Private / Public variables (also a class's fields)
  ReDim,    // ReDim [Preserve] a(n)
  Const,    // Const a = 1, b = "x"
  Erase,    // Erase a
  If,
  Select,
  For,      // For i = a To b [Step c]
  ForEach,  // For Each x In c
  Do,       // Do [While|Until] ... Loop [While|Until]; While ... Wend
  With,
  Exit,     // Exit Do / For / Function / Sub / Property
  OnError,  // On Error Resume Next / On Error GoTo 0
};

struct Stmt {
  explicit Stmt(StmtKind k, SourcePos p = {}) : kind(k), pos(p) {}
  virtual ~Stmt() = default;
  StmtKind kind;
  SourcePos pos;
};
using StmtPtr = std::unique_ptr<Stmt>;
using Block = std::vector<StmtPtr>;

struct CallStmt : Stmt {
  explicit CallStmt(SourcePos p = {}) : Stmt(StmtKind::Call, p) {}
  // A CallExpr when there are arguments or parentheses, else the bare Name
  // or Member ("f", "obj.Refresh").
  ExprPtr call;
};

struct AssignStmt : Stmt {
  explicit AssignStmt(SourcePos p = {}) : Stmt(StmtKind::Assign, p) {}
  ExprPtr target;  // Name, Member or Call (indexed)
  ExprPtr value;
  bool isSet = false;
};

struct VarDecl {
  std::string name;
  SourcePos pos;
  bool isArray = false;          // declared with parentheses
  std::vector<ExprPtr> bounds;   // upper bounds; empty for "a()" (a dynamic array)
};

enum class Visibility : uint8_t { Default, Public, Private };

struct DimStmt : Stmt {
  explicit DimStmt(SourcePos p = {}) : Stmt(StmtKind::Dim, p) {}
  Visibility visibility = Visibility::Default;  // Dim is Default
  std::vector<VarDecl> vars;
};

struct ReDimStmt : Stmt {
  explicit ReDimStmt(SourcePos p = {}) : Stmt(StmtKind::ReDim, p) {}
  bool preserve = false;
  struct Target {
    std::unique_ptr<NameExpr> name;
    std::vector<ExprPtr> bounds;
  };
  std::vector<Target> targets;
};

struct ConstStmt : Stmt {
  explicit ConstStmt(SourcePos p = {}) : Stmt(StmtKind::Const, p) {}
  Visibility visibility = Visibility::Default;
  struct Item {
    std::string name;
    SourcePos pos;
    ExprPtr value;  // a literal, possibly signed, or a constant expression
  };
  std::vector<Item> items;
};

struct EraseStmt : Stmt {
  explicit EraseStmt(SourcePos p = {}) : Stmt(StmtKind::Erase, p) {}
  std::unique_ptr<NameExpr> target;
};

struct IfStmt : Stmt {
  explicit IfStmt(SourcePos p = {}) : Stmt(StmtKind::If, p) {}
  struct Branch {
    ExprPtr condition;
    Block body;
  };
  std::vector<Branch> branches;  // If, then each ElseIf
  Block elseBody;
};

struct CaseTest {
  enum class Kind : uint8_t { Value, Range, Is } kind = Kind::Value;
  BinaryOp op = BinaryOp::Equal;  // for Is: Case Is > 5
  ExprPtr low;                    // the value, the range's start, or Is's operand
  ExprPtr high;                   // the range's end
};

struct SelectStmt : Stmt {
  explicit SelectStmt(SourcePos p = {}) : Stmt(StmtKind::Select, p) {}
  ExprPtr subject;
  struct Case {
    SourcePos pos;
    std::vector<CaseTest> tests;
    Block body;
  };
  std::vector<Case> cases;
  bool hasElse = false;
  Block elseBody;
};

struct ForStmt : Stmt {
  explicit ForStmt(SourcePos p = {}) : Stmt(StmtKind::For, p) {}
  std::unique_ptr<NameExpr> variable;
  ExprPtr from, to, step;  // step may be null
  Block body;
};

struct ForEachStmt : Stmt {
  explicit ForEachStmt(SourcePos p = {}) : Stmt(StmtKind::ForEach, p) {}
  std::unique_ptr<NameExpr> variable;
  ExprPtr collection;
  Block body;
};

struct DoStmt : Stmt {
  explicit DoStmt(SourcePos p = {}) : Stmt(StmtKind::Do, p) {}
  enum class Test : uint8_t { None, PreWhile, PreUntil, PostWhile, PostUntil } test = Test::None;
  ExprPtr condition;  // null for Test::None
  Block body;
  bool isWhileWend = false;  // While ... Wend (Exit Do does not leave it)
};

struct WithStmt : Stmt {
  explicit WithStmt(SourcePos p = {}) : Stmt(StmtKind::With, p) {}
  ExprPtr object;
  Block body;
};

struct ExitStmt : Stmt {
  enum class What : uint8_t { Do, For, Function, Sub, Property };
  ExitStmt(What w, SourcePos p = {}) : Stmt(StmtKind::Exit, p), what(w) {}
  What what;
};

struct OnErrorStmt : Stmt {
  OnErrorStmt(bool resume, SourcePos p = {}) : Stmt(StmtKind::OnError, p), resumeNext(resume) {}
  bool resumeNext;  // false: GoTo 0
};

// ---------------------------------------------------------------------------
// Declarations

struct Param {
  std::string name;
  SourcePos pos;
  bool byVal = false;  // ByRef is the default
  bool isArray = false;  // declared "a()"
};

struct ProcedureDecl {
  enum class Kind : uint8_t { Sub, Function, PropertyGet, PropertyLet, PropertySet } kind = Kind::Sub;
  std::string name;
  SourcePos pos;
  std::vector<Param> params;
  Block body;
  Visibility visibility = Visibility::Default;  // Default counts as Public
  bool isDefault = false;                       // Public Default Function / Property Get
  // The resolver's: the frame's size (parameters, then locals, then the
  // implicit variables of a script without Option Explicit).
  int32_t frameSize = 0;
  std::vector<std::string> localNames;
  bool optionExplicit = false;  // of the code that declared it
  int32_t unit = 0;             // which added text it came from
};
using ProcedurePtr = std::shared_ptr<ProcedureDecl>;

struct ClassDecl {
  std::string name;
  SourcePos pos;
  // The class's variables (Public, Private or Dim), in declaration order.
  std::vector<std::unique_ptr<DimStmt>> fields;
  std::vector<ProcedurePtr> members;  // methods and properties
};
using ClassPtr = std::shared_ptr<ClassDecl>;

// One unit of code: a whole AddCode text or one statement. Procedures and
// classes are pulled out of the statements (they exist before the first
// statement runs); Dim, Const and the rest stay in place.
struct Program {
  bool optionExplicit = false;
  Block body;
  std::vector<ProcedurePtr> procedures;
  std::vector<ClassPtr> classes;
};

}  // namespace scriptcontrol::vbscript
