// DialogAnswers: what a headless session answers to the next dialog or
// menu, queued by the scenario. Each dialog takes the next answer; without
// one, dialogs report cancel and message boxes OK.
#pragma once

#include <deque>
#include <mutex>
#include <optional>
#include <string>

namespace kivhost {

struct Answer {
  enum class Kind { Menu, Input, Yes, No, File, Color, Cancel };
  Kind kind;
  std::string text;   // input text, file path
  int number = 0;     // menu command, colour as 0x00BBGGRR
};

class DialogAnswers {
 public:
  void Push(Answer answer);
  std::optional<Answer> Next();
  size_t Pending() const;

 private:
  mutable std::mutex mutex_;
  std::deque<Answer> answers_;
};

}  // namespace kivhost
