#include "platform/scriptcontrol/jscript/declared_functions.h"

#include <stdexcept>

#include "platform/scriptcontrol/jscript/duk_support.h"

namespace scriptcontrol::jscript {

namespace {

// The file name the probe compiles under: functions carrying it were
// created by the probe's own declaration binding.
constexpr const char* kProbeUnit = "\x01" "declarations";

// Declaration binding happens when global code starts, before its first
// statement, so a leading throw leaves exactly the declared functions bound
// and nothing else run. It shares the first line, keeping line numbers.
constexpr const char* kStopBeforeFirstStatement = "throw 0;";

struct ProbeArgs {
  const std::string* code;
  std::vector<std::string>* names;
  std::string* failure;
};

duk_ret_t ProbeUnsafe(duk_context* ctx, void* udata) {
  auto& args = *static_cast<ProbeArgs*>(udata);
  duk_push_thread_new_globalenv(ctx);
  duk_context* probe = duk_get_context(ctx, -1);
  PushUtf8(probe, std::string(kStopBeforeFirstStatement).append(*args.code));
  duk_push_string(probe, kProbeUnit);
  if (duk_pcompile(probe, 0) != 0) {
    // Errors stay on the probe's own stack; only the text crosses over.
    *args.failure = SafeToString(probe, -1);
    return 0;
  }
  if (duk_pcall(probe, 0) == DUK_EXEC_SUCCESS) {
    *args.failure = "the code ran past its first statement";
    return 0;
  }
  duk_pop(probe);

  duk_push_global_object(probe);
  duk_enum(probe, -1, DUK_ENUM_OWN_PROPERTIES_ONLY);
  while (duk_next(probe, -1, 1)) {
    if (duk_is_string(probe, -2) && !duk_is_symbol(probe, -2) && duk_is_function(probe, -1)) {
      duk_get_prop_string(probe, -1, "fileName");
      const bool declared = duk_is_string(probe, -1) && GetUtf8(probe, -1) == kProbeUnit;
      duk_pop(probe);
      if (declared) args.names->push_back(GetUtf8(probe, -2));
    }
    duk_pop_2(probe);
  }
  duk_pop_2(probe);
  return 0;
}

}  // namespace

std::vector<std::string> DeclaredFunctions(duk_context* ctx, const std::string& code) {
  std::vector<std::string> names;
  std::string failure;
  ProbeArgs args{&code, &names, &failure};
  if (duk_safe_call(ctx, ProbeUnsafe, &args, 0, 1) != DUK_EXEC_SUCCESS) failure = SafeToString(ctx, -1);
  duk_pop(ctx);
  if (!failure.empty()) throw std::runtime_error("Listing the declared functions failed: " + failure);
  return names;
}

}  // namespace scriptcontrol::jscript
