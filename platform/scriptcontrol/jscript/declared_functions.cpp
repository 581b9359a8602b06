#include "platform/scriptcontrol/jscript/declared_functions.h"

#include <js/CompilationAndEvaluation.h>
#include <js/PropertyAndElement.h>
#include <js/PropertyDescriptor.h>
#include <js/SourceText.h>
#include <jsfriendapi.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "platform/scriptcontrol/jscript/sm_support.h"

namespace scriptcontrol::jscript {

namespace {

// The file name the probe compiles under: functions carrying it were
// created by the probe's own declaration binding.
constexpr const char* kProbeUnit = "\x01" "declarations";

// Declaration binding happens when global code starts, before its first
// statement, so a leading throw leaves exactly the declared functions bound
// and nothing else run. It shares the first line, keeping line numbers.
constexpr const char* kStopBeforeFirstStatement = "throw 0;";

struct Declared {
  std::string name;
  unsigned line;
  size_t order;
};

}  // namespace

std::vector<std::string> DeclaredFunctions(JSContext* cx, const std::string& code) {
  // Code without the word declares nothing; most statements are such.
  if (code.find("function") == std::string::npos) return {};
  std::vector<Declared> found;
  try {
    JS::RootedObject global(cx, NewGlobal(cx));
    JSAutoRealm realm(cx, global);
    const std::string probe = std::string(kStopBeforeFirstStatement).append(code);
    JS::CompileOptions options(cx);
    options.setFileAndLine(kProbeUnit, 1);
    JS::SourceText<mozilla::Utf8Unit> source;
    Check(source.init(cx, probe.data(), probe.size(), JS::SourceOwnership::Borrowed));
    JS::RootedValue ignored(cx);
    if (JS::Evaluate(cx, options, source, &ignored)) throw std::runtime_error("the code ran past its first statement");
    if (!JS_IsExceptionPending(cx)) throw PendingScriptError();  // stopped
    JS_ClearPendingException(cx);
    JS::Rooted<JS::IdVector> ids(cx, JS::IdVector(cx));
    Check(JS_Enumerate(cx, global, &ids));
    JS::Rooted<mozilla::Maybe<JS::PropertyDescriptor>> desc(cx);
    JS::RootedId id(cx);
    for (size_t i = 0; i < ids.length(); ++i) {
      id = ids[i];
      if (!id.isString()) continue;
      Check(JS_GetOwnPropertyDescriptorById(cx, global, id, &desc));
      if (desc.isNothing() || !desc->hasValue() || !desc->value().isObject()) continue;
      JSFunction* fn = JS_GetObjectFunction(&desc->value().toObject());
      if (!fn || !JS::IsCallable(&desc->value().toObject())) continue;
      JS::RootedFunction function(cx, fn);
      JSScript* script = JS_GetFunctionScript(cx, function);  // none for a native function
      JS_ClearPendingException(cx);
      const char* file = script ? JS_GetScriptFilename(script) : nullptr;
      if (!file || std::strcmp(file, kProbeUnit) != 0) continue;
      found.push_back(Declared{Utf8Of(cx, id.toString()), JS_GetScriptBaseLineNumber(cx, script), found.size()});
    }
  } catch (const PendingScriptError&) {
    JS_ClearPendingException(cx);
    throw std::runtime_error("Listing the declared functions failed");
  }
  std::stable_sort(found.begin(), found.end(), [](const Declared& a, const Declared& b) { return a.line < b.line; });
  std::vector<std::string> names;
  for (Declared& d : found) names.push_back(std::move(d.name));
  return names;
}

}  // namespace scriptcontrol::jscript
