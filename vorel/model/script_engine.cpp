#include "vorel/model/script_engine.h"

#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/automation/variant_convert.h"
#include "platform/scriptcontrol/script_control.h"
#include "platform/util/text.h"
#include "vorel/model/error_log.h"
#include "vorel/util/errors.h"

namespace vorel {
namespace {

class ControlScriptEngine final : public TScriptEngine {
 public:
  explicit ControlScriptEngine(TErrorLog& errorLog) : errorLog_(errorLog) {
    control_.SetLanguage("JScript");
    control_.SetAllowUI(true);
    control_.OnError([this](const scriptcontrol::ScriptError& e) {
      errorLog_.Report({e.number, e.source, e.description, e.line, e.column, e.text});
    });
    // NOTE: a statement that never ends would hold the window thread, and
    // with it every desklet of the host, for ever.
    const int32_t limit = TimeLimit();
    control_.SetTimeout(limit == 0 ? -1 : limit);
  }

  void SetLanguage(const std::string& language) override { control_.SetLanguage(language); }
  void AddObject(const std::string& name, automation::IDispatch* object, bool addMembers) override {
    control_.AddObject(name, object, addMembers);
  }
  void AddCode(const std::string& code) override { control_.AddCode(code); }

  void AddCodeFromFile(const std::string& path) override {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
      std::error_code ignored;
      if (!std::filesystem::exists(path, ignored)) return;
      throw KivError("cannot read the script file " + path);
    }
    // Read as lines and joined again with line breaks, whatever the file's
    // own line ends were.
    std::string joined, line;
    bool first = true;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (!first) joined += "\r\n";
      joined += line;
      first = false;
    }
    if (in.bad()) throw KivError("cannot read the script file " + path);
    control_.AddCode(joined);
  }

  void ExecuteStatement(const std::string& statement) override { control_.ExecuteStatement(statement); }
  automation::Variant Evaluate(const std::string& expression) override { return control_.Eval(expression); }
  std::string EvaluateToText(const std::string& expression) override {
    return automation::ToString(control_.Eval(expression));
  }
  automation::Variant Run(const std::string& procedure, const std::vector<automation::Variant>& args) override {
    return control_.Run(procedure, args);
  }

  void RunEventProcedure(const std::string& prefix, const std::string& member,
                         const std::vector<automation::Variant>& args) override {
    const std::string exact = kiv::Trim(prefix + member);
    const std::string catchAll = prefix + "_";
    for (const auto& p : control_.Procedures()) {
      if (kiv::EqualsIgnoreCase(p.name, exact) && p.numArgs == static_cast<int32_t>(args.size())) {
        control_.Run(p.name, args);
        return;
      }
      if (kiv::EqualsIgnoreCase(p.name, catchAll)) {
        control_.Run(p.name, {automation::Variant(member)});
        return;
      }
    }
  }

 private:
  int32_t TimeLimit() {
    const char* text = std::getenv(kTimeLimitVariable);
    if (!text) return kDefaultTimeLimitMs;
    if (std::optional<int32_t> limit = ParseTimeLimit(text)) return *limit;
    errorLog_.Report(std::make_exception_ptr(KivError(
                         std::string(kTimeLimitVariable) + " is not a number of milliseconds from 0 to 86400000; " +
                         "scripts run with the default limit of " + std::to_string(kDefaultTimeLimitMs) + " ms")),
                     text);
    return kDefaultTimeLimitMs;
  }

  TErrorLog& errorLog_;
  scriptcontrol::ScriptControl control_;
};

}  // namespace

std::optional<int32_t> ParseTimeLimit(const std::string& text) {
  int32_t value = -1;
  const char* end = text.data() + text.size();
  auto [rest, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || rest != end || text.empty() || value < 0 || value > 86'400'000) return std::nullopt;
  return value;
}

std::unique_ptr<TScriptEngine> CreateScriptEngine(TErrorLog& errorLog) {
  return std::make_unique<ControlScriptEngine>(errorLog);
}

}  // namespace vorel
