#include "vorel/runtime/statement_runner.h"

#include "platform/util/text.h"
#include "vorel/model/desklet.h"
#include "vorel/runtime/variable_expansion.h"
#include "vorel/model/script_engine.h"

namespace vorel {

void RunStatement(TDeskletObject& desklet, const std::string& statement) {
  if (kiv::IsBlank(statement)) return;
  if (!desklet.scripting.scriptEngine) return;
  try {
    desklet.scripting.scriptEngine->ExecuteStatement(ExpandVariables(desklet, statement));
  } catch (...) {
    // The caller goes on as if the statement had run. A script error is in
    // the log already (the engine's error event); anything else goes there
    // now.
    desklet.errorLog.Report(std::current_exception(), statement);
  }
}

}  // namespace vorel
