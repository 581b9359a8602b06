// Starting programs and opening documents the way the Windows shell's
// "execute" does, without ever handing text to a shell: an executable file
// runs directly, its parameters split into arguments by the rules of a
// Windows command line (blanks separate, double quotes group, backslashes
// escape only before a quote); a document, a folder or an address opens
// with xdg-open. A quote, a semicolon or "$(...)" in a name or a parameter
// is only ever part of an argument.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace win {

// The arguments of a Windows command line, as CommandLineToArgvW splits
// them (every argument, not a program name first): runs of blanks and
// tabs separate; "..." groups; 2n backslashes before a quote give n
// backslashes and the quote opens or closes, 2n+1 give n and a literal
// quote; "" inside quotes is a literal quote; other backslashes are kept.
std::vector<std::string> SplitCommandLine(std::string_view line);

struct ShellCommand {
  std::vector<std::string> argv;  // argv[0] is the program's path
  std::string folder;             // working folder; empty keeps the caller's
};

// What ShellExecute would start for the request. File names may use "\"
// for "/". An executable file (a path, or a bare name found on PATH) runs
// with its parameters under the "open" operation (or none); anything else
// that exists, and any address with a scheme ("https:", "mailto:"), is
// handed to xdg-open alone. Empty argv: nothing to start (no such file).
ShellCommand PlanShellExecute(std::string_view operation, std::string_view file, std::string_view parameters,
                              std::string_view folder);

// Starts the command detached (its own session, never waited for by the
// caller), with argv as given. Returns 0 when the program runs, else the
// errno of what failed (the working folder, the program itself).
int StartDetached(const ShellCommand& command);

// The whole request, answering as the Windows call does: above 32 when
// something was started, 2 when the file was not found, 3 when the folder
// was not found, 5 when access was denied, 31 when nothing can open it.
intptr_t ShellExecuteNow(std::string_view operation, std::string_view file, std::string_view parameters,
                         std::string_view folder);

}  // namespace win
