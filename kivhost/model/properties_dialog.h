// PropertiesDialog: a desklet's properties dialog while it is open, with a
// window for each page the plug-in added and the items each page put on
// itself (frames, the log text, buttons, check boxes, placed in dialog
// units). Headless it stays open until the scenario closes it; on the
// desktop a GTK dialog shows it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/abi/kiv_types.h"

namespace kivhost {

struct DialogItem {
  int32_t id = 0;
  int32_t kind = 0;  // kDialogGroup, kDialogLog, kDialogButton, kDialogCheckBox
  std::string text;
  KivRect rect{};
  bool checked = false;
};

// "group", "log", "button", "checkbox"; "unknown" for another number.
const char* DialogItemKindName(int32_t kind);

// What the plug-in gave for a page when it made it.
struct PageTemplate {
  std::string title;
  int32_t templateId = 0;
  void* dialogProc = nullptr;
  void* param = nullptr;
};

struct PageWindow {
  HWND hwnd = 0;
  HPROPSHEETPAGE page = 0;
  PageTemplate from;
  std::vector<DialogItem> items;

  DialogItem* Item(int32_t id);
  // Replaces an item of the same id, as a window made again would.
  void AddItem(DialogItem item);
  // The button or check box showing this text (blanks around it ignored).
  const DialogItem* Pressable(const std::string& text) const;
};

struct PropertiesDialog {
  std::vector<PageWindow> pages;
  // A page said it changed something.
  bool changed = false;

  PageWindow* Page(HWND hwnd);
};

}  // namespace kivhost
