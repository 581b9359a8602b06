// JScript statements calling the object model: a desklet with layers,
// a timer, a parameter and a second side runs the input as a skin
// statement, with its objects ("kiv", "this", the layers' names) and any
// arguments the input passes to them. Every end must be the statement's
// result or a script error; a crash, a leak or an exception of another
// kind is a finding. A statement that loops is stopped by the engine's
// time limit, set short here.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/desklet_harness.h"
#include "platform/automation/automation_error.h"
#include "vorel/model/desklet.h"
#include "vorel/model/script_engine.h"
#include "vorel/util/errors.h"

namespace {

constexpr const char* kSkin = R"xml(<skindata><skininfo><name>Fuzz</name></skininfo>
  <parameters><param name="City" default="Oslo"/></parameters>
  <sides><side id="0" width="120" height="60"/><side id="1" width="60" height="60"/></sides>
  <desklet><label>Fuzz</label></desklet>
  <timers><timer name="tick" type="0" interval="1000" ontimer="kiv.DeskletLabel = 'tick'"/></timers>
  <layers><layer name="a" text="hello" x="1" y="2" width="40" height="10"/>
    <layer name="b" src="pic.png" x="5" y="5"/><layer name="d" text="back" side="1"/></layers>
</skindata>)xml";

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  ::setenv(vorel::kTimeLimitVariable, "200", 1);
  fuzzing::Prepare();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string statement(reinterpret_cast<const char*>(data), size);
  fuzzing::FuzzDesklet desklet;
  desklet.Load(kSkin);
  vorel::TScriptEngine* engine = desklet.D().scripting.scriptEngine.get();
  if (!engine) std::abort();
  try {
    engine->ExecuteStatement(statement);
  } catch (const automation::AutomationError&) {
    // A script error, with its number and description: the expected end.
  } catch (const vorel::KivError&) {
  }
  return 0;
}
