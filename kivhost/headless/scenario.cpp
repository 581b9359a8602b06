#include "kivhost/headless/scenario.h"

#include <cctype>
#include <charconv>
#include <fstream>
#include <map>
#include <sstream>

#include "platform/util/text.h"
#include "platform/util/utf8.h"

namespace kivhost {
namespace {

// Argument shapes: how many numbers a command takes (fixed and optional)
// or that it takes the rest of the line as text.
struct Shape {
  int numbers = 0;
  int optionalNumbers = 0;
  bool restIsText = false;
  bool textRequired = false;
};

const std::map<std::string, Shape>& Shapes() {
  static const std::map<std::string, Shape> shapes = {
      {"wait", {1, 0}},     {"move", {2, 0}},      {"down", {2, 1}},  {"up", {2, 1}},
      {"click", {2, 1}},    {"rclick", {2, 0}},    {"wheel", {3, 0}}, {"key", {0, 0, true, true}},
      {"press", {0, 0, true, true}},
      {"drop", {0, 0, true, true}}, {"select", {}}, {"deselect", {}}, {"leave", {}},
      {"answer", {0, 0, true, true}}, {"snapshot", {0, 0, true, true}}, {"state", {0, 0, true, true}},
      {"save", {}},         {"quit", {}},          {"properties", {0, 0, true, false}},
      {"button", {0, 0, true, true}}};
  return shapes;
}

int ParseInt(const std::string& word, int line) {
  int value = 0;
  auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (ec != std::errc() || end != word.data() + word.size())
    throw ScenarioError(line, "'" + word + "' is not a number");
  return value;
}

std::u32string ParseKeys(const std::string& text) {
  static const std::map<std::string, char32_t> named = {{"<CR>", 13}, {"<ESC>", 27}, {"<TAB>", 9}, {"<BS>", 8}};
  std::u32string out;
  for (size_t i = 0; i < text.size();) {
    bool matched = false;
    for (const auto& [name, code] : named)
      if (text.compare(i, name.size(), name) == 0) {
        out.push_back(code);
        i += name.size();
        matched = true;
        break;
      }
    if (matched) continue;
    // One UTF-8 character.
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : 4;
    const std::u16string one = kiv::Utf8ToUtf16(text.substr(i, len));
    char32_t code = one.empty() ? 0xFFFD : one[0];
    if (one.size() == 2) code = 0x10000 + ((one[0] - 0xD800) << 10) + (one[1] - 0xDC00);
    out.push_back(code);
    i += len;
  }
  return out;
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

void ParsePress(ScenarioCommand& cmd, const std::string& rest) {
  static const std::map<std::string, uint32_t> keys = {
      {"left", 37},  {"right", 39},  {"up", 38},     {"down", 40},   {"home", 36},     {"end", 35},
      {"delete", 46}, {"backspace", 8}, {"tab", 9}, {"enter", 13}, {"escape", 27}, {"pageup", 33},
      {"pagedown", 34}, {"f4", 115}};
  std::istringstream in(rest);
  std::string name, modifier, more;
  in >> name >> modifier >> more;
  auto key = keys.find(Lower(name));
  if (key == keys.end()) throw ScenarioError(cmd.line, "unknown key '" + name + "'");
  if (!modifier.empty() && Lower(modifier) != "shift") throw ScenarioError(cmd.line, "press takes a key and 'shift', not '" + modifier + "'");
  if (!more.empty()) throw ScenarioError(cmd.line, "press takes a key and 'shift' only");
  cmd.virtualKey = key->second;
  cmd.shift = !modifier.empty();
  cmd.words = {name};
}

void ParseAnswer(ScenarioCommand& cmd, const std::string& rest) {
  std::istringstream in(rest);
  std::string kind;
  in >> kind;
  std::string text;
  std::getline(in, text);
  text = kiv::Trim(text);
  cmd.words = {kind};
  if (kind == "menu") {
    cmd.numbers = {ParseInt(text, cmd.line)};
  } else if (kind == "input" || kind == "file") {
    if (kind == "file" && text.empty()) throw ScenarioError(cmd.line, "answer file needs a path");
    cmd.words.push_back(text);
  } else if (kind == "color") {
    if (text.size() != 7 || text[0] != '#' || text.find_first_not_of("0123456789abcdefABCDEF", 1) != std::string::npos)
      throw ScenarioError(cmd.line, "answer color needs #RRGGBB");
    const unsigned rgb = std::stoul(text.substr(1), nullptr, 16);
    // As the colour dialog reports it: 0x00BBGGRR.
    cmd.numbers = {static_cast<int>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF))};
  } else if (kind == "yes" || kind == "no" || kind == "cancel") {
    if (!text.empty()) throw ScenarioError(cmd.line, "answer " + kind + " takes nothing more");
  } else {
    throw ScenarioError(cmd.line, "unknown answer '" + kind + "'");
  }
}

// Paths are separated by blanks; a path in double quotes keeps its blanks
// (file names with spaces are common among pictures). Inside quotes, \" is
// a quote and \\ a backslash, so that any name can be written.
std::vector<std::string> SplitPaths(const std::string& text, int line) {
  std::vector<std::string> paths;
  size_t i = 0;
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (i < text.size()) {
    if (blank(text[i])) {
      ++i;
      continue;
    }
    std::string path;
    if (text[i] == '"') {
      ++i;
      bool closed = false;
      while (i < text.size()) {
        const char c = text[i++];
        if (c == '"') {
          closed = true;
          break;
        }
        if (c == '\\' && i < text.size() && (text[i] == '"' || text[i] == '\\')) {
          path.push_back(text[i++]);
          continue;
        }
        path.push_back(c);
      }
      if (!closed) throw ScenarioError(line, "drop: a quoted path has no closing quote");
      if (i < text.size() && !blank(text[i])) throw ScenarioError(line, "drop: a blank must follow a quoted path");
      if (path.empty()) throw ScenarioError(line, "drop: an empty path");
    } else {
      while (i < text.size() && !blank(text[i])) path.push_back(text[i++]);
    }
    paths.push_back(std::move(path));
  }
  return paths;
}

}  // namespace

ScenarioError::ScenarioError(int line, const std::string& message)
    : std::runtime_error("line " + std::to_string(line) + ": " + message), line_(line) {}

std::vector<ScenarioCommand> ParseScenario(const std::string& text) {
  std::vector<ScenarioCommand> commands;
  std::istringstream in(text);
  std::string raw;
  int lineNo = 0;
  while (std::getline(in, raw)) {
    ++lineNo;
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    const std::string line = kiv::Trim(raw);
    if (line.empty() || line[0] == '#') continue;
    const size_t space = line.find_first_of(" \t");
    ScenarioCommand cmd;
    cmd.line = lineNo;
    cmd.name = line.substr(0, space);
    const std::string rest = space == std::string::npos ? "" : kiv::Trim(line.substr(space + 1));
    auto shape = Shapes().find(cmd.name);
    if (shape == Shapes().end()) throw ScenarioError(lineNo, "unknown command '" + cmd.name + "'");
    const Shape& s = shape->second;
    if (s.restIsText) {
      if (s.textRequired && rest.empty()) throw ScenarioError(lineNo, cmd.name + " needs an argument");
      if (cmd.name == "key") cmd.keys = ParseKeys(rest);
      else if (cmd.name == "press") ParsePress(cmd, rest);
      else if (cmd.name == "answer") ParseAnswer(cmd, rest);
      else if (cmd.name == "drop") cmd.words = SplitPaths(rest, lineNo);
      else if (cmd.name == "properties" && !rest.empty() && rest != "close")
        throw ScenarioError(lineNo, "properties takes nothing or 'close', not '" + rest + "'");
      else cmd.words = {rest};
    } else {
      std::istringstream words(rest);
      for (std::string w; words >> w;) cmd.numbers.push_back(ParseInt(w, lineNo));
      const int n = static_cast<int>(cmd.numbers.size());
      if (n < s.numbers || n > s.numbers + s.optionalNumbers)
        throw ScenarioError(lineNo, cmd.name + " takes " + std::to_string(s.numbers) +
                                        (s.optionalNumbers ? " or " + std::to_string(s.numbers + s.optionalNumbers) : "") +
                                        " numbers, not " + std::to_string(n));
      if (cmd.name == "wait" && cmd.numbers[0] < 0) throw ScenarioError(lineNo, "wait needs a time of 0 or more");
    }
    commands.push_back(std::move(cmd));
  }
  return commands;
}

std::vector<ScenarioCommand> LoadScenario(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read the scenario " + path);
  std::stringstream buffer;
  buffer << in.rdbuf();
  return ParseScenario(buffer.str());
}

}  // namespace kivhost
