// Session: the desklets the host runs with its one plug-in. It creates
// them (from a skin file or from saved settings), saves them to their
// settings, carries out the host's own menu commands, and closes them, all
// through the plug-in's exports, traced.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>

#include "kivhost/loop/host.h"

namespace kivhost {

// Offsets of the host's commands from the first command id of the
// default menu.
enum DefaultCommand : int32_t {
  kCommandProperties = 0,
  kCommandSave = 1,
  kCommandClose = 2,
  kCommandStayBelow = 3,
  kCommandStayAmong = 4,
  kCommandStayAbove = 5,
};

struct SettingsPlace {
  std::string file, section;
};

// The host keeps where a desklet stands in a section of its own beside the
// plug-in's: every key of the plug-in's section is the plug-in's.
std::string WindowSection(const SettingsPlace& place);

class Session {
 public:
  Session(Host& host, PluginLibrary& plugin);
  ~Session();

  // Null when the plug-in gave no instance (the window is dropped then).
  HostDesklet* CreateFromSkin(const std::string& skinFile, std::optional<SettingsPlace> settings);
  HostDesklet* CreateFromSettings(const SettingsPlace& settings);
  // From a skin the plug-in offered (ListOfferedSkins), its record handed
  // over whole.
  HostDesklet* CreateFromOffered(const SkinInfo& skin, std::optional<SettingsPlace> settings);

  // Saves to the desklet's settings (the plug-in's, and where the desklet
  // stands); false when it has none.
  bool Save(HostDesklet& desklet);
  void SaveAll();
  void Close(HWND hwnd);
  // The user closed the desklet: settings the host keeps are forgotten
  // (through the callback) so that it does not come back; settings given
  // on the command line are saved.
  void CloseForGood(HWND hwnd);
  void OnForget(std::function<void(const SettingsPlace&)> forget) { onForget_ = std::move(forget); }
  // CloseForGood from the loop, for a request that may come while the
  // plug-in is inside a call for the desklet: the plug-in is told to stop
  // any wait it is in, and the desklet closes once the call has returned.
  void RequestCloseForGood(HWND hwnd);
  void CloseAll();
  // Opens the desklet's properties dialog with the pages the plug-in adds,
  // and shows it when a front end shows dialogs (closing it when the user
  // has); headless it stays open. Nothing when one is open already.
  void ShowProperties(HostDesklet& desklet);
  // Presses a button or check box of the open dialog (a check box changes
  // its state first); false when the dialog or the item is not there.
  bool PressDialogItem(HWND desklet, HWND page, int32_t id);
  // The same for the item showing this text, on any page.
  bool PressDialogItem(HWND desklet, const std::string& text);
  // Closes the open dialog: every page hears that it is destroyed.
  void CloseProperties(HWND desklet);
  void RunDefaultCommand(HWND hwnd, int32_t offset);
  // The host's menu for a desklet, its commands numbered from
  // `firstCommand` in the order of DefaultCommand; the caller destroys it.
  HMENU BuildDefaultMenu(HWND hwnd, int32_t firstCommand);
  // The host's own context menu, for a right-click the plug-in left to
  // the host; headless it takes the next "menu" answer.
  void ShowHostMenu(HWND hwnd);

  static Session* Current() { return current_; }

 private:
  HostDesklet* Adopt(HostDesklet& desklet, void* instance, std::optional<SettingsPlace> settings);
  // Puts the desklet where its settings say it stood.
  void RestorePlace(HostDesklet& desklet, const SettingsPlace& settings);

  Host& host_;
  PluginLibrary& plugin_;
  std::map<HWND, SettingsPlace> settings_;
  std::function<void(const SettingsPlace&)> onForget_;
  static Session* current_;
};

}  // namespace kivhost
