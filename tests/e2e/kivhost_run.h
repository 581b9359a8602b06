// Running the real kivhost program with the real plug-in for end-to-end
// tests: its exit code, its error output, and its trace and state files.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace e2e {

using nlohmann::json;

struct RunResult {
  int exitCode = -1;
  std::string errors;  // standard error
};

// Runs kivhost with the arguments (each quoted for the shell).
RunResult RunHost(const std::vector<std::string>& args, const testing_support::TempDir& dir);

std::vector<json> ReadTrace(const std::string& path);
json ReadJson(const std::string& path);
std::string ReadText(const std::string& path);
// The calls of the trace with this function name, in order.
std::vector<json> CallsOf(const std::vector<json>& trace, const std::string& fn);
std::string SampleSkin(const std::string& name);

}  // namespace e2e
