// The parser's procedures and classes, the parts of a script that exist
// before its first statement runs.
#include <map>

#include "platform/scriptcontrol/vbscript/vb_errors.h"
#include "platform/scriptcontrol/vbscript/vb_parser_internal.h"
#include "platform/util/text.h"

namespace scriptcontrol::vbscript::detail {

namespace {

bool IsProperty(ProcedureDecl::Kind kind) {
  return kind == ProcedureDecl::Kind::PropertyGet || kind == ProcedureDecl::Kind::PropertyLet ||
         kind == ProcedureDecl::Kind::PropertySet;
}

}  // namespace

// declaration := [Public | Private] (Sub | Function) procedure
//              | Class class
//              | (Public | Private) (Const const-list | var-list)
// False when the statement is no declaration.
bool Parser::ParseScriptDeclaration(Program& program) {
  const SourcePos pos = Pos();
  Visibility visibility = Visibility::Default;
  switch (tok_.kind) {
    case Tok::KwSub:
    case Tok::KwFunction: program.procedures.push_back(ParseProcedure(visibility, false, pos, false)); return true;
    case Tok::KwClass: program.classes.push_back(ParseClass()); return true;
    case Tok::KwProperty: Fail(kErrMustBeInClass);
    case Tok::KwPublic:
    case Tok::KwPrivate: break;
    default: return false;
  }
  visibility = Is(Tok::KwPublic) ? Visibility::Public : Visibility::Private;
  Advance();
  if (IsWord("Default") || Is(Tok::KwProperty)) Fail(kErrMustBeInClass);
  if (Is(Tok::KwSub) || Is(Tok::KwFunction)) {
    program.procedures.push_back(ParseProcedure(visibility, false, pos, false));
  } else if (Accept(Tok::KwConst)) {
    program.body.push_back(ParseConstList(visibility, pos));
  } else {
    program.body.push_back(ParseDimList(visibility, pos));
  }
  return true;
}

// class := Class name separator { [member] separator } End Class
ClassPtr Parser::ParseClass() {
  Nest nest(*this);
  auto cls = std::make_shared<ClassDecl>();
  cls->pos = Pos();
  Advance();
  cls->name = ExpectName();
  ExpectStatementEnd();
  for (;;) {
    SkipSeparators();
    if (Is(Tok::KwEnd) || Is(Tok::Eof)) break;
    ParseClassMember(*cls);
    ExpectStatementEnd();
  }
  ParseBlockEnd(Tok::KwClass, kErrExpectedClass);
  CheckClass(*cls);
  return cls;
}

// member := [Public [Default] | Private] (Sub | Function | Property (Get | Let | Set)) procedure
//         | (Dim | Public | Private) var-list
void Parser::ParseClassMember(ClassDecl& cls) {
  const SourcePos pos = Pos();
  if (Accept(Tok::KwDim)) {
    cls.fields.push_back(ParseDimList(Visibility::Default, pos));
    return;
  }
  if (IsWord("Default")) Fail(kErrDefaultNotPublic);
  Visibility visibility = Visibility::Default;
  bool isDefault = false;
  if (Is(Tok::KwPublic) || Is(Tok::KwPrivate)) {
    visibility = Is(Tok::KwPublic) ? Visibility::Public : Visibility::Private;
    Advance();
    if (IsWord("Default")) {
      if (visibility != Visibility::Public) Fail(kErrDefaultNotPublic);
      for (const auto& m : cls.members)
        if (m->isDefault) Fail(kErrMultipleDefault);
      isDefault = true;
      Advance();
    }
  }
  if (Is(Tok::KwSub) || Is(Tok::KwFunction) || Is(Tok::KwProperty)) {
    cls.members.push_back(ParseProcedure(visibility, isDefault, pos, true));
    return;
  }
  if (isDefault) Fail(kErrDefaultPlacement);
  if (visibility == Visibility::Default) Fail(kErrExpectedStatement);
  cls.fields.push_back(ParseDimList(visibility, pos));
}

// procedure := (Sub | Function | Property (Get | Let | Set)) name ['(' params] separator
//              block End (Sub | Function | Property)
ProcedurePtr Parser::ParseProcedure(Visibility visibility, bool isDefault, SourcePos pos, bool inClass) {
  using Kind = ProcedureDecl::Kind;
  auto proc = std::make_shared<ProcedureDecl>();
  proc->pos = pos;
  proc->visibility = visibility;
  proc->isDefault = isDefault;
  Tok closer = Tok::KwSub;
  int32_t missingCloser = kErrExpectedSub;
  if (Accept(Tok::KwSub)) {
    proc->kind = Kind::Sub;
  } else if (Accept(Tok::KwFunction)) {
    proc->kind = Kind::Function;
    closer = Tok::KwFunction;
    missingCloser = kErrExpectedFunction;
  } else {
    Advance();  // Property
    closer = Tok::KwProperty;
    missingCloser = kErrExpectedProperty;
    if (IsWord("Get"))
      proc->kind = Kind::PropertyGet;
    else if (IsWord("Let"))
      proc->kind = Kind::PropertyLet;
    else if (Is(Tok::KwSet))
      proc->kind = Kind::PropertySet;
    else
      Fail(kErrExpectedLetSetGet);
    if (isDefault && proc->kind != Kind::PropertyGet) Fail(kErrDefaultNotGet);
    Advance();
  }
  proc->name = ExpectName();
  if (Accept(Tok::LParen)) ParseParams(*proc);
  if (inClass && !proc->params.empty() &&
      (kiv::EqualsIgnoreCase(proc->name, "Class_Initialize") || kiv::EqualsIgnoreCase(proc->name, "Class_Terminate")))
    FailAt(kErrInitTerminateArgs, proc->params.front().pos);
  if ((proc->kind == Kind::PropertyLet || proc->kind == Kind::PropertySet) && proc->params.empty())
    Fail(kErrPropertyNeedsArgument);
  ExpectStatementEnd();

  procedure_ = proc->kind;
  doLoops_ = 0;
  forLoops_ = 0;
  {
    Nest nest(*this);
    ParseBlock(proc->body);
  }
  procedure_.reset();
  ParseBlockEnd(closer, missingCloser);
  return proc;
}

// params := ')' | param { ',' param } ')'
// param := [ByVal | ByRef] name ['(' ')']
void Parser::ParseParams(ProcedureDecl& proc) {
  if (Accept(Tok::RParen)) return;
  do {
    Param param;
    if (IsWord("ByVal")) {
      param.byVal = true;
      Advance();
    } else if (IsWord("ByRef")) {
      Advance();
    }
    param.pos = Pos();
    param.name = ExpectName();
    if (Accept(Tok::LParen)) {
      Expect(Tok::RParen, kErrExpectedRParen);
      param.isArray = true;
    }
    proc.params.push_back(std::move(param));
  } while (Accept(Tok::Comma));
  Expect(Tok::RParen, kErrExpectedRParen);
}

// A property's Let and Set take one argument more than its Get.
void Parser::CheckClass(const ClassDecl& cls) const {
  std::map<std::string, size_t> getArgs;
  for (const auto& m : cls.members)
    if (m->kind == ProcedureDecl::Kind::PropertyGet) getArgs.emplace(kiv::ToLowerAscii(m->name), m->params.size());
  for (const auto& m : cls.members) {
    if (!IsProperty(m->kind) || m->kind == ProcedureDecl::Kind::PropertyGet) continue;
    const auto get = getArgs.find(kiv::ToLowerAscii(m->name));
    if (get != getArgs.end() && get->second + 1 != m->params.size()) FailAt(kErrInconsistentArgs, m->pos);
  }
}

}  // namespace scriptcontrol::vbscript::detail
