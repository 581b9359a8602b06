#include "platform/win/ini_file.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/util/atomic_file.h"
#include "platform/util/text.h"

namespace win {

namespace {

std::vector<std::string> ReadLines(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream in(path, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// The section name of a "[name]" line, or false.
bool SectionName(const std::string& line, std::string& name) {
  std::string t = kiv::Trim(line);
  if (t.size() < 2 || t.front() != '[' || t.back() != ']') return false;
  name = kiv::Trim(t.substr(1, t.size() - 2));
  return true;
}

bool KeyValue(const std::string& line, std::string& key, std::string& value) {
  std::string t = kiv::Trim(line);
  if (t.empty() || t[0] == ';' || t[0] == '#') return false;
  auto eq = t.find('=');
  if (eq == std::string::npos) return false;
  key = kiv::Trim(t.substr(0, eq));
  value = kiv::Trim(t.substr(eq + 1));
  return !key.empty();
}

void WriteAtomically(const std::string& path, const std::string& content) {
  try {
    kiv::ReplaceFileContent(path, content);
  } catch (const std::runtime_error& e) {
    throw std::runtime_error("cannot write " + path + ": " + e.what());
  }
}

}  // namespace

IniEntries ReadIniSection(const std::string& path, const std::string& section) {
  IniEntries entries;
  bool inSection = false;
  for (const auto& line : ReadLines(path)) {
    std::string name, key, value;
    if (SectionName(line, name)) {
      inSection = kiv::EqualsIgnoreCase(name, section);
    } else if (inSection && KeyValue(line, key, value)) {
      entries.emplace_back(key, value);
    }
  }
  return entries;
}

bool ReadIniString(const std::string& path, const std::string& section, const std::string& key, std::string& value) {
  for (auto& [k, v] : ReadIniSection(path, section)) {
    if (kiv::EqualsIgnoreCase(k, key)) {
      value = v;
      return true;
    }
  }
  return false;
}

namespace {

// NOTE: keys and values come from skins and scripts. A line break in one
// would start a line of its own in the file, a key or a whole section the
// desklet never set ("x\n[Other]\nkey=1"); every break becomes a space so
// that one entry stays one line.
std::string OneLine(std::string text) {
  for (char& c : text)
    if (c == '\n' || c == '\r') c = ' ';
  return text;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::ostringstream text;
  for (const auto& line : lines) text << line << '\n';
  return text.str();
}

// The lines with the section's keys set, missing ones added.
std::vector<std::string> SetEntries(const std::vector<std::string>& lines, const std::string& givenSection,
                                    const IniEntries& givenEntries) {
  // Names as they will read back, so that the next write finds them again
  // instead of adding them once more.
  const std::string section = kiv::Trim(OneLine(givenSection));
  IniEntries entries;
  for (const auto& [key, value] : givenEntries) entries.emplace_back(kiv::Trim(OneLine(key)), OneLine(value));
  std::vector<bool> written(entries.size(), false);

  auto entryIndex = [&](const std::string& key) -> int {
    for (size_t i = 0; i < entries.size(); ++i)
      if (kiv::EqualsIgnoreCase(entries[i].first, key)) return static_cast<int>(i);
    return -1;
  };
  auto appendMissing = [&](std::vector<std::string>& out) {
    for (size_t i = 0; i < entries.size(); ++i) {
      if (written[i]) continue;
      // A key given twice is written once, with its last value.
      int last = entryIndex(entries[i].first);
      for (size_t j = i; j < entries.size(); ++j)
        if (kiv::EqualsIgnoreCase(entries[j].first, entries[i].first)) last = static_cast<int>(j);
      out.push_back(entries[i].first + "=" + entries[last].second);
      for (size_t j = i; j < entries.size(); ++j)
        if (kiv::EqualsIgnoreCase(entries[j].first, entries[i].first)) written[j] = true;
    }
  };

  std::vector<std::string> out;
  bool inSection = false, sectionSeen = false;
  for (const auto& line : lines) {
    std::string name, key, value;
    if (SectionName(line, name)) {
      if (inSection) {
        // Keep blank lines that close the section after the new keys.
        size_t insertAt = out.size();
        while (insertAt > 0 && kiv::Trim(out[insertAt - 1]).empty()) --insertAt;
        std::vector<std::string> tail(out.begin() + static_cast<long>(insertAt), out.end());
        out.resize(insertAt);
        appendMissing(out);
        out.insert(out.end(), tail.begin(), tail.end());
      }
      inSection = kiv::EqualsIgnoreCase(name, section) && !sectionSeen;
      if (inSection) sectionSeen = true;
      out.push_back(line);
      continue;
    }
    if (inSection && KeyValue(line, key, value)) {
      int i = entryIndex(key);
      if (i >= 0) {
        if (written[i]) continue;  // a duplicate line of a key already set
        int last = i;
        for (size_t j = 0; j < entries.size(); ++j)
          if (kiv::EqualsIgnoreCase(entries[j].first, key)) {
            last = static_cast<int>(j);
            written[j] = true;
          }
        out.push_back(key + "=" + entries[last].second);
        continue;
      }
    }
    out.push_back(line);
  }
  if (inSection) {
    appendMissing(out);
  } else if (!sectionSeen) {
    if (!out.empty() && !kiv::Trim(out.back()).empty()) out.push_back("");
    out.push_back("[" + section + "]");
    appendMissing(out);
  }
  return out;
}

}  // namespace

void WriteIniStrings(const std::string& path, const std::string& section, const IniEntries& entries) {
  WriteAtomically(path, JoinLines(SetEntries(ReadLines(path), section, entries)));
}

void WriteIniSections(const std::string& path, const std::vector<std::pair<std::string, IniEntries>>& sections) {
  std::vector<std::string> lines = ReadLines(path);
  for (const auto& [section, entries] : sections) lines = SetEntries(lines, section, entries);
  WriteAtomically(path, JoinLines(lines));
}

void WriteIniString(const std::string& path, const std::string& section, const std::string& key,
                    const std::string& value) {
  WriteIniStrings(path, section, {{key, value}});
}

size_t RemoveIniSections(const std::string& path, const std::vector<std::string>& sections) {
  auto named = [&sections](const std::string& name) {
    for (const auto& s : sections)
      if (kiv::EqualsIgnoreCase(s, name)) return true;
    return false;
  };
  std::vector<std::string> out;
  size_t removed = 0;
  bool dropping = false;
  for (const auto& line : ReadLines(path)) {
    std::string name;
    if (SectionName(line, name)) {
      dropping = named(name);
      if (dropping) ++removed;
    }
    if (!dropping) out.push_back(line);
  }
  if (removed == 0) return 0;
  // A removed last section leaves no blank lines dangling at the end.
  while (!out.empty() && kiv::Trim(out.back()).empty()) out.pop_back();
  WriteAtomically(path, JoinLines(out));
  return removed;
}

}  // namespace win
