#include "vorel/runtime/statement_runner.h"

#include "platform/util/text.h"
#include "vorel/host/desklet_object.h"
#include "vorel/runtime/variable_expansion.h"
#include "vorel/script/script_engine.h"

namespace vorel {

void RunStatement(TDeskletObject& desklet, const std::string& statement) {
  if (kiv::IsBlank(statement)) return;
  if (!desklet.scriptEngine) return;
  try {
    desklet.scriptEngine->ExecuteStatement(ExpandVariables(desklet, statement));
  } catch (...) {
    // The engine's error event has logged a script error already; the
    // caller goes on as if the statement had run.
  }
}

}  // namespace vorel
