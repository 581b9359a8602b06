// Scenario files: one command a line, "#" starts a comment. Parsing checks
// every line before anything runs, so a mistake is reported with its line
// number and nothing half-done.
//
//   wait MS | move X Y | down X Y [FLAGS] | up X Y [FLAGS] | click X Y [FLAGS]
//   rclick X Y | wheel COUNT X Y | key TEXT | press KEY [shift] | drop PATH...
//   select | deselect
//   leave | answer menu N | answer input TEXT | answer yes | answer no
//   answer file PATH | answer color #RRGGBB | answer cancel
//   snapshot FILE.png | state FILE.json | save | quit
//   properties | properties close | button TEXT
//
// drop separates paths by blanks; a path in double quotes keeps its blanks
// ("a b.png"), and inside the quotes \" is a quote and \\ a backslash.
//
// wheel COUNT is signed: above 0 turns the wheel forward (away from the
// user), below 0 backward; the plug-in gets the count with its sign.
//
// properties opens the first desklet's properties dialog (it stays open
// until "properties close"); button presses the button or check box of
// the open dialog that shows TEXT.
//
// press names one key (any case): Left Right Up Down Home End Delete
// Backspace Tab Enter Escape PageUp PageDown F4; it is sent as its
// virtual-key code, with Shift held when "shift" follows.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace kivhost {

struct ScenarioCommand {
  int line = 0;
  std::string name;               // the command word
  std::vector<int> numbers;       // numeric arguments in order
  std::vector<std::string> words; // text arguments (paths, answer text)
  std::u32string keys;            // characters of "key"
  uint32_t virtualKey = 0;        // "press": the key's virtual-key code
  bool shift = false;             // "press ... shift"
};

class ScenarioError : public std::runtime_error {
 public:
  ScenarioError(int line, const std::string& message);
  int Line() const { return line_; }

 private:
  int line_;
};

std::vector<ScenarioCommand> ParseScenario(const std::string& text);
std::vector<ScenarioCommand> LoadScenario(const std::string& path);

}  // namespace kivhost
