#include "kivhost/model/properties_dialog.h"

#include "platform/util/text.h"
#include "platform/win/win_services.h"

namespace kivhost {

const char* DialogItemKindName(int32_t kind) {
  switch (kind) {
    case kDialogGroup: return "group";
    case kDialogLog: return "log";
    case kDialogButton: return "button";
    case kDialogCheckBox: return "checkbox";
    default: return "unknown";
  }
}

DialogItem* PageWindow::Item(int32_t id) {
  for (DialogItem& item : items)
    if (item.id == id) return &item;
  return nullptr;
}

void PageWindow::AddItem(DialogItem item) {
  if (DialogItem* old = Item(item.id)) *old = std::move(item);
  else items.push_back(std::move(item));
}

const DialogItem* PageWindow::Pressable(const std::string& text) const {
  const std::string wanted = kiv::Trim(text);
  for (const DialogItem& item : items)
    if ((item.kind == kDialogButton || item.kind == kDialogCheckBox) && kiv::Trim(item.text) == wanted) return &item;
  return nullptr;
}

PageWindow* PropertiesDialog::Page(HWND hwnd) {
  for (PageWindow& page : pages)
    if (page.hwnd == hwnd) return &page;
  return nullptr;
}

}  // namespace kivhost
