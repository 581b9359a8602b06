#include "kivhost_run.h"

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace e2e {

namespace {
std::string Quote(const std::string& s) {
  std::string out = "'";
  for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}
}  // namespace

RunResult RunHost(const std::vector<std::string>& args, const testing_support::TempDir& dir) {
  std::string command = Quote(std::string(KIV_BIN_DIR) + "/kivhost");
  for (const auto& a : args) command += " " + Quote(a);
  const std::string errFile = dir.File("stderr.txt");
  command += " >" + Quote(dir.File("stdout.txt")) + " 2>" + Quote(errFile);
  const int status = std::system(command.c_str());
  RunResult r;
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  r.errors = ReadText(errFile);
  return r;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<json> ReadTrace(const std::string& path) {
  std::ifstream in(path);
  std::vector<json> out;
  for (std::string line; std::getline(in, line);) out.push_back(json::parse(line));
  return out;
}

json ReadJson(const std::string& path) { return json::parse(ReadText(path)); }

std::vector<json> CallsOf(const std::vector<json>& trace, const std::string& fn) {
  std::vector<json> out;
  for (const auto& c : trace)
    if (c["fn"] == fn) out.push_back(c);
  return out;
}

std::string SampleSkin(const std::string& name) {
  // The copy beside the plug-in, where installed skins live.
  return std::string(KIV_BIN_DIR) + "/" + name + "/" + name + ".xml";
}

}  // namespace e2e
