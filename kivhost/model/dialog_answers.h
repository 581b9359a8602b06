// DialogAnswers: what a headless session answers to the next dialog or
// menu, queued by the scenario. Each dialog takes the next answer; without
// one, dialogs report cancel and message boxes OK.
//
// DialogRequest: what the host asks the user, so that a desktop session
// can show the real dialog or menu and answer in the same terms.
#pragma once

#include <deque>
#include <mutex>
#include <optional>
#include <string>

#include "platform/abi/kiv_types.h"

namespace kivhost {

struct Answer {
  enum class Kind { Menu, Input, Yes, No, File, Color, Cancel };
  Kind kind;
  std::string text;   // input text, file path
  int number = 0;     // menu command, colour as 0x00BBGGRR
};

struct DialogRequest {
  enum class Kind { MessageBox, Menu, Input, Color, OpenFile, SaveFile, Folder };
  Kind kind = Kind::MessageBox;
  HWND owner = 0;
  std::string caption{};  // the dialog's title
  std::string text{};     // a message box's text, an input box's prompt
  std::string initial{};  // an input box's text, a file dialog's folder
  uint32_t style = 0;   // a message box's buttons and icon
  HMENU menu = 0;       // a pop-up menu
  KivPoint at{0, 0};    // where a pop-up menu opens, on the screen
  std::string filter{};   // file dialogs: "Name|*.ext|Name|*.ext"
  std::string defaultExt{};
  uint32_t color = 0;   // the colour a colour dialog starts with
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
