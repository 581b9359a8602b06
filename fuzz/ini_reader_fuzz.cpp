// The settings files: any content is read, then one section is written
// into it. Checked, beyond not crashing: the written keys read back with
// their values (line breaks turned into spaces), and every other section
// reads exactly as it did before.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string>

#include "platform/util/text.h"
#include "platform/win/ini_file.h"

namespace {

const std::string& FilePath() {
  static const std::string path = [] {
    char folder[] = "/tmp/kiv-fuzz-ini-XXXXXX";
    if (!::mkdtemp(folder)) std::abort();
    return std::string(folder) + "/settings.ini";
  }();
  return path;
}

// The names of the sections in the text, as the reader would see them.
std::set<std::string> SectionNames(const std::string& text) {
  std::set<std::string> names;
  size_t at = 0;
  while (at <= text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    const std::string line = kiv::Trim(text.substr(at, end - at));
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']')
      names.insert(kiv::Trim(line.substr(1, line.size() - 2)));
    at = end + 1;
  }
  return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string& path = FilePath();
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;

  // The value written comes from the input too, line breaks and all.
  const std::string value = kiv::Trim(text.substr(0, std::min<size_t>(text.size(), 40)));
  std::string expected = value;
  for (char& c : expected)
    if (c == '\n' || c == '\r') c = ' ';
  expected = kiv::Trim(expected);

  std::set<std::string> others;
  for (const auto& name : SectionNames(text))
    if (!kiv::EqualsIgnoreCase(name, "Fuzzed")) others.insert(name);
  std::vector<win::IniEntries> before;
  for (const auto& name : others) before.push_back(win::ReadIniSection(path, name));

  win::WriteIniStrings(path, "Fuzzed", {{"Value", value}, {"Side", "1"}});

  std::string read;
  if (!win::ReadIniString(path, "Fuzzed", "Value", read) || read != expected) std::abort();
  if (!win::ReadIniString(path, "Fuzzed", "side", read) || read != "1") std::abort();
  size_t i = 0;
  for (const auto& name : others)
    if (win::ReadIniSection(path, name) != before[i++]) std::abort();
  return 0;
}
