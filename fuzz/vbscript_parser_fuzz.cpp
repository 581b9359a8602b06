// The VBScript parser on any text: it must give a tree or a placed
// compile error, and nothing else (no crash, no other exception, no hang).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/scriptcontrol/vbscript/vb_errors.h"
#include "platform/scriptcontrol/vbscript/vb_parser.h"

namespace vb = scriptcontrol::vbscript;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  for (bool expression : {false, true}) {
    try {
      if (expression) {
        vb::ParseExpression(text);
      } else {
        vb::ParseProgram(text);
      }
    } catch (const vb::VbError& e) {
      // A compile error must say where it is.
      if (!e.Placed()) std::abort();
    }
  }
  return 0;
}
