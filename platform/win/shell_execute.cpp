#include "platform/win/shell_execute.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cctype>
#include <cstring>

#include "platform/util/text.h"

namespace win {

namespace {

std::string Slashes(std::string_view path) {
  std::string out(path);
  std::replace(out.begin(), out.end(), '\\', '/');
  return out;
}

bool IsExecutableFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

bool Exists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

// A bare program name on PATH, as execvp would find it; "" when none.
std::string FindOnPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string_view rest = path ? path : "/usr/local/bin:/usr/bin:/bin";
  while (true) {
    const size_t colon = rest.find(':');
    std::string folder(rest.substr(0, colon));
    if (folder.empty()) folder = ".";
    const std::string candidate = folder + "/" + name;
    if (IsExecutableFile(candidate)) return candidate;
    if (colon == std::string_view::npos) return {};
    rest.remove_prefix(colon + 1);
  }
}

// "https:", "mailto:", "file:": letters, digits, + - . and a colon, not a
// drive letter.
bool HasScheme(std::string_view text) {
  const size_t colon = text.find(':');
  if (colon == std::string_view::npos || colon < 2) return false;
  if (!std::isalpha(static_cast<unsigned char>(text[0]))) return false;
  return std::all_of(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(colon), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
  });
}

bool IsOpen(std::string_view operation) {
  return operation.empty() || kiv::EqualsIgnoreCase(operation, "open") || kiv::EqualsIgnoreCase(operation, "runas");
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view line) {
  std::vector<std::string> args;
  std::string current;
  bool inArgument = false, quoted = false;
  size_t i = 0;
  while (i < line.size()) {
    const char c = line[i];
    if (!quoted && (c == ' ' || c == '\t')) {
      if (inArgument) args.push_back(std::move(current));
      current.clear();
      inArgument = false;
      ++i;
      continue;
    }
    inArgument = true;
    if (c == '\\') {
      size_t n = 0;
      while (i < line.size() && line[i] == '\\') ++n, ++i;
      if (i < line.size() && line[i] == '"') {
        current.append(n / 2, '\\');
        if (n % 2 == 1) {
          current += '"';
          ++i;
        }
      } else {
        current.append(n, '\\');
      }
      continue;
    }
    if (c == '"') {
      if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
        current += '"';
        i += 2;
        continue;
      }
      quoted = !quoted;
      ++i;
      continue;
    }
    current += c;
    ++i;
  }
  if (inArgument) args.push_back(std::move(current));
  return args;
}

ShellCommand PlanShellExecute(std::string_view operation, std::string_view file, std::string_view parameters,
                              std::string_view folder) {
  ShellCommand command;
  command.folder = Slashes(folder);
  const std::string trimmed = kiv::Trim(file);
  if (trimmed.empty()) return command;
  if (HasScheme(trimmed) && !kiv::StartsWithIgnoreCase(trimmed, "file:")) {
    command.argv = {"xdg-open", trimmed};
  } else {
    std::string path = Slashes(trimmed);
    if (kiv::StartsWithIgnoreCase(path, "file://")) path.erase(0, 7);
    std::string program;
    if (path.find('/') == std::string::npos) {
      // A bare name is a program on PATH first, then a file in the folder.
      program = FindOnPath(path);
      if (program.empty() && !command.folder.empty()) path = command.folder + "/" + path;
    } else if (path[0] != '/' && !command.folder.empty() && !Exists(path)) {
      path = command.folder + "/" + path;
    }
    if (program.empty() && IsExecutableFile(path)) program = path;
    if (!program.empty() && IsOpen(operation)) {
      command.argv.push_back(program);
      for (std::string& arg : SplitCommandLine(parameters)) command.argv.push_back(std::move(arg));
    } else if (Exists(path) || !program.empty()) {
      command.argv = {"xdg-open", program.empty() ? path : program};
    }
  }
  // xdg-open itself is found on PATH like any program.
  if (!command.argv.empty() && command.argv[0] == "xdg-open") {
    const std::string opener = FindOnPath("xdg-open");
    if (opener.empty()) command.argv.clear();
    else command.argv[0] = opener;
  }
  return command;
}

int StartDetached(const ShellCommand& command) {
  if (command.argv.empty()) return ENOENT;
  // Everything the child needs is made before fork: after it, only calls
  // that are safe in a copy of a threaded process.
  std::vector<char*> argv;
  for (const std::string& arg : command.argv) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  const char* folder = command.folder.empty() ? nullptr : command.folder.c_str();

  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) return errno;
  const pid_t child = ::fork();
  if (child < 0) {
    const int failed = errno;
    ::close(report[0]);
    ::close(report[1]);
    return failed;
  }
  if (child == 0) {
    // The middle process leaves at once, so the program is nobody's child
    // to wait for; the program tells through the pipe when it fails to
    // start (the pipe closes by itself when it does start).
    ::close(report[0]);
    ::setsid();
    const pid_t grandchild = ::fork();
    if (grandchild != 0) ::_exit(grandchild < 0 ? 1 : 0);
    int failed = 0;
    if (folder && ::chdir(folder) != 0) failed = errno;
    if (failed == 0) {
      ::execv(argv[0], argv.data());
      failed = errno;
    }
    ssize_t ignored = ::write(report[1], &failed, sizeof failed);
    (void)ignored;
    ::_exit(127);
  }
  ::close(report[1]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  int failed = 0;
  ssize_t got = 0;
  do {
    got = ::read(report[0], &failed, sizeof failed);
  } while (got < 0 && errno == EINTR);
  ::close(report[0]);
  if (got == static_cast<ssize_t>(sizeof failed)) return failed;
  if (WIFEXITED(status) && WEXITSTATUS(status) != 0) return ECHILD;
  return 0;
}

intptr_t ShellExecuteNow(std::string_view operation, std::string_view file, std::string_view parameters,
                         std::string_view folder) {
  const ShellCommand command = PlanShellExecute(operation, file, parameters, folder);
  if (command.argv.empty()) return 2;
  switch (StartDetached(command)) {
    case 0: return 42;
    case ENOENT: return command.folder.empty() ? 2 : 3;
    case ENOTDIR: return 3;
    case EACCES:
    case EPERM: return 5;
    default: return 31;
  }
}

}  // namespace win
