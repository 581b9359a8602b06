// The VBScript interpreter on any text that parses: it runs with a short
// time limit and without the services that reach outside the process
// (dialogs, objects of the class registry), and every failure must come
// back as a script failure with its number, never as a crash or another
// exception.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/scriptcontrol/script_error.h"
#include "platform/scriptcontrol/vbscript/vbscript_engine.h"

namespace sc = scriptcontrol;

namespace {

void RunOnce(const std::string& text) {
  sc::vbscript::VBScriptEngine engine;
  engine.SetTimeout(100);
  auto& context = engine.Context();
  context.messageBox = nullptr;
  context.inputBox = nullptr;
  context.createObject = nullptr;
  context.getObject = nullptr;
  try {
    engine.AddCode(text);
  } catch (const sc::ScriptFailure& f) {
    if (f.Error().number == 0) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  RunOnce(text);
  // Again past every run-time error, so that the statements after the
  // first failure run too (the seeds call objects this target lacks).
  RunOnce("On Error Resume Next\n" + text);
  return 0;
}
