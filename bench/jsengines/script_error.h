// How both engine wrappers report a script that failed: the engine's own
// message and line, or that the host stopped it (nothing the script could
// catch). Benchmarks catch it and mark the run as failed.
#pragma once

#include <stdexcept>
#include <string>

namespace jsengines {

class ScriptError : public std::runtime_error {
 public:
  ScriptError(const std::string& message, int line, bool stopped)
      : std::runtime_error(message), line_(line), stopped_(stopped) {}
  int Line() const { return line_; }
  // The host's interrupt ended the script.
  bool Stopped() const { return stopped_; }

 private:
  int line_;
  bool stopped_;
};

}  // namespace jsengines
