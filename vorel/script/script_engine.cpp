#include "vorel/script/script_engine.h"

#include "vorel/util/errors.h"

namespace vorel {

std::unique_ptr<TScriptEngine> CreateScriptEngine(TDeskletObject&) {
  // The script control arrives with the scripting step; until then a desklet
  // has no engine and its statements are skipped.
  NotImplemented("script engine");
}

}  // namespace vorel
