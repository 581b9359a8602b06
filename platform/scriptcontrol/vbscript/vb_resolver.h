// The resolver: before a procedure first runs, gives each name in it its
// place. Parameters, the function's own name (its result), and the
// variables that Dim, ReDim and Const declare anywhere in the body become
// slots of the frame; in a class, the class's variables and members are
// found next; every other name is dynamic (global, looked up at run time).
// A dynamic name the procedure assigns, loops over or passes by reference
// also gets a slot, used as the implicit local variable of that name when
// no global exists and Option Explicit is off.
#pragma once

#include "platform/scriptcontrol/vbscript/vb_ast.h"
#include "platform/scriptcontrol/vbscript/vb_class.h"

namespace scriptcontrol::vbscript {

// Fills the procedure's frameSize, localNames and the scope of its names.
// owner is the class the procedure belongs to, or null.
void ResolveProcedure(ProcedureDecl& procedure, const ClassInfo* owner);

// For Eval and Execute inside a running procedure: names the procedure
// has slots for are local; no new slots are made.
void ResolveInScope(Expr& expr, const ProcedureDecl* procedure, const ClassInfo* owner);
void ResolveInScope(Block& block, const ProcedureDecl* procedure, const ClassInfo* owner);

}  // namespace scriptcontrol::vbscript
