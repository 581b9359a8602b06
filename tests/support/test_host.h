// A desklet host for unit tests: it exports the host's Desklet... and Win...
// functions from the test program itself (which is linked with exports), so
// the plug-in's real exports run against it. Every call is recorded; posted
// messages queue up until a test delivers them to the plug-in.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/abi/desklet_api.h"
#include "platform/win/win_services.h"

namespace testhost {

struct Call {
  std::string fn;
  std::vector<std::string> args;  // the arguments as text
};

struct Layer {
  std::string name;
  bool visible = false;
};

// An item a property-sheet page put on itself.
struct DialogItem {
  int32_t kind = 0;
  std::string text;
  bool checked = false;
};

struct Desklet {
  void* instance = nullptr;
  std::vector<Layer> layers;
  KivSize size{100, 100};
  KivRect rect{0, 0, 100, 100};
  std::string label;
  std::string imageFile;
  int32_t alpha = 255;
};

class TestHost {
 public:
  static TestHost& Get();

  void Reset();
  std::vector<Call> Calls();
  std::vector<Call> CallsOf(const std::string& fn);
  void Record(const std::string& fn, std::vector<std::string> args);

  Desklet& DeskletOf(HWND hwnd);
  std::vector<WinMsg> Posted();
  // Hands every queued message to the plug-in's OnProcessMessageEx.
  void DeliverPosted();
  bool PopMessage(WinMsg& msg);
  // Queues the command the next WinTrackPopupMenu returns; without one a
  // menu is closed without a choice (0).
  void ChooseFromMenu(int32_t command);

  std::mutex mutex;
  std::vector<Call> calls;
  std::vector<WinMsg> queue;
  std::map<HWND, Desklet> desklets;
  // What the last DeskletFlip asked to be called when the flip is done.
  KivFlipCallback flipCallback = nullptr;
  void* flipCallbackData = nullptr;
  std::deque<int32_t> menuChoices;
  // What the next message boxes answer, in order; kIdOk without one.
  std::deque<int32_t> messageBoxAnswers;
  // The last page made, and the items of every page by (page, id).
  void* pageProcedure = nullptr;
  void* pageParameter = nullptr;
  std::map<std::pair<HWND, int32_t>, DialogItem> dialogItems;
  HMENU nextMenu = 0x7000;
  KivPoint cursor{0, 0};
};

}  // namespace testhost
