#include "vorel/ui/property_form.h"

#include <string>

#include "platform/win/win_services.h"
#include "vorel/model/desklet.h"
#include "vorel/ui/update_check.h"
#include "vorel/ui/update_settings.h"

namespace vorel {

namespace {

struct ItemPlace {
  int32_t id;
  int32_t kind;
  const char* text;
  KivRect rect;  // dialog units of the 161 by 114 page
};

constexpr ItemPlace kItems[] = {
    {kErrorLogGroup, kDialogGroup, " Error Log ", {4, 2, 157, 74}},
    {kErrorLogView, kDialogLog, "", {10, 12, 151, 52}},
    {kClearLogButton, kDialogButton, "Clear Log", {101, 55, 151, 69}},
    {kSettingsGroup, kDialogGroup, " Settings ", {4, 77, 157, 111}},
    {kCheckNowButton, kDialogButton, "Check Now", {10, 89, 60, 103}},
    {kAutoCheckBox, kDialogCheckBox, "Auto Check for Updates", {66, 91, 151, 101}},
};

std::string LogText(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

}  // namespace

TFMPropertySheet::TFMPropertySheet(TDeskletObject& desklet, HWND page) : desklet_(desklet), page_(page) {
  for (const ItemPlace& item : kItems) win::CreateDialogItem(page_, item.id, item.kind, item.text, item.rect);
  autoCheck_ = ReadAutoCheckUpdate();
  win::CheckDialogButton(page_, kAutoCheckBox, autoCheck_);
}

void TFMPropertySheet::Show() { win::SetDialogItemText(page_, kErrorLogView, LogText(desklet_.errorLog.Lines())); }

void TFMPropertySheet::ClearLog() {
  desklet_.errorLog.Clear();
  win::SetDialogItemText(page_, kErrorLogView, "");
  win::PropSheetChanged(page_);
}

void TFMPropertySheet::Command(int32_t item) {
  switch (item) {
    case kClearLogButton: ClearLog(); break;
    case kCheckNowButton: CheckForUpdate(desklet_.windowHandle, false); break;
    case kAutoCheckBox:
      autoCheck_ = win::IsDialogButtonChecked(page_, kAutoCheckBox);
      win::PropSheetChanged(page_);
      break;
    default: break;
  }
}

void TFMPropertySheet::Close() { WriteAutoCheckUpdate(autoCheck_); }

}  // namespace vorel
