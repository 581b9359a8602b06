// vbs and js: run a script file through the script control from the
// command line, the way cscript runs one, with a WScript object for its
// output and arguments. The language comes from the program's name (vbs
// runs VBScript, js JScript) unless --language names one.
//
// Exit codes: 0 when the script ran to its end, the code of WScript.Quit,
// 1 for an uncaught script error (one line on standard error:
// "FILE(LINE, COLUMN) SOURCE: DESCRIPTION"), 2 for a bad command line or
// a file that cannot be read.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/scriptcontrol/script_control.h"
#include "platform/util/text.h"
#include "tools/script-runner/wscript_object.h"

namespace {

constexpr int kUsageExit = 2;

struct Options {
  std::string language;
  std::string script;
  std::vector<std::string> arguments;
  bool help = false;
};

void PrintUsage(std::FILE* to, const std::string& program) {
  std::fprintf(to,
               "Usage: %s [--language NAME] FILE [ARGUMENTS...]\n"
               "Runs FILE (UTF-8, a byte order mark is skipped) through the script control, with a\n"
               "WScript object: Echo, Arguments, Quit, ScriptName, ScriptFullName, StdOut, StdErr.\n"
               "  --language NAME  VBScript or JScript; by default the program's name decides\n"
               "                   (vbs: VBScript, js: JScript)\n"
               "  --help           shows this text\n"
               "The arguments after FILE go to the script as WScript.Arguments.\n"
               "Exit code: 0, or the code given to WScript.Quit; 1 after an uncaught script error,\n"
               "reported on standard error as FILE(LINE, COLUMN) SOURCE: DESCRIPTION; 2 for a bad\n"
               "command line or an unreadable file.\n",
               program.c_str());
}

std::string LanguageOfProgram(const std::string& program) {
  const std::string name = kiv::ToLowerAscii(std::filesystem::path(program).stem().string());
  if (name == "js" || name == "jscript") return "JScript";
  return "VBScript";
}

// Nothing when the command line is wrong (and said so).
std::optional<Options> ParseArguments(int argc, char** argv, const std::string& program) {
  Options options;
  options.language = LanguageOfProgram(program);
  int i = 1;
  for (; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      options.help = true;
      return options;
    }
    if (arg == "--language") {
      if (i + 1 >= argc) {
        std::fprintf(stderr, "%s: --language needs a name\n", program.c_str());
        return std::nullopt;
      }
      options.language = argv[++i];
      continue;
    }
    if (arg == "--") {
      ++i;
      break;
    }
    if (kiv::StartsWith(arg, "--")) {
      std::fprintf(stderr, "%s: unknown option %s (try --help)\n", program.c_str(), arg.c_str());
      return std::nullopt;
    }
    break;
  }
  if (i >= argc) {
    std::fprintf(stderr, "%s: no script file given (try --help)\n", program.c_str());
    return std::nullopt;
  }
  options.script = argv[i++];
  for (; i < argc; ++i) options.arguments.emplace_back(argv[i]);
  return options;
}

std::optional<std::string> ReadScript(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) return std::nullopt;
  std::string code = text.str();
  if (kiv::StartsWith(code, "\xEF\xBB\xBF")) code.erase(0, 3);
  return code;
}

void ReportScriptError(const std::string& script, const scriptcontrol::ScriptError& error) {
  if (error.line > 0)
    std::fprintf(stderr, "%s(%d, %d) %s: %s\n", script.c_str(), error.line, error.column, error.source.c_str(),
                 error.description.c_str());
  else
    std::fprintf(stderr, "%s %s: %s\n", script.c_str(), error.source.c_str(), error.description.c_str());
}

int Run(const Options& options, const std::string& program) {
  const std::optional<std::string> code = ReadScript(options.script);
  if (!code) {
    std::fprintf(stderr, "%s: cannot read %s: %s\n", program.c_str(), options.script.c_str(), std::strerror(errno));
    return kUsageExit;
  }
  auto wscript = automation::MakeObject<script_runner::WScriptObject>(options.script, options.arguments, stdout, stderr);
  int exitCode = 0;
  try {
    scriptcontrol::ScriptControl control;
    control.SetTimeout(-1);  // as cscript: a script runs as long as it needs
    control.SetLanguage(options.language);
    control.AddObject("WScript", wscript.Get(), false);
    control.AddCode(*code);
  } catch (const script_runner::QuitRequest& quit) {
    exitCode = quit.code;
  } catch (const scriptcontrol::ScriptFailure& failure) {
    // An engine may have turned Quit into a script error of its own.
    if (std::optional<int32_t> quit = wscript->QuitCode()) {
      exitCode = *quit;
    } else {
      std::fflush(stdout);
      ReportScriptError(options.script, failure.Error());
      exitCode = 1;
    }
  }
  // A script may have caught the error Quit became and run on, silenced.
  if (std::optional<int32_t> quit = wscript->QuitCode()) exitCode = *quit;
  std::fflush(stdout);
  return exitCode;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string program = argc > 0 ? std::filesystem::path(argv[0]).filename().string() : "vbs";
  try {
    const std::optional<Options> options = ParseArguments(argc, argv, program);
    if (!options) return kUsageExit;
    if (options->help) {
      PrintUsage(stdout, program);
      return 0;
    }
    return Run(*options, program);
  } catch (const std::exception& e) {
    std::fflush(stdout);
    std::fprintf(stderr, "%s: %s\n", program.c_str(), e.what());
    return 1;
  }
}
