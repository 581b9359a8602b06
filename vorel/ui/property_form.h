// TFMPropertySheet: what the plug-in's page on the host's properties
// dialog shows for one desklet: its error log with "Clear Log", and the
// update settings with "Check Now" and "Auto Check for Updates". The form
// puts its items on the host's page window and answers the page's
// commands; the host draws them.
#pragma once

#include <cstdint>

#include "platform/abi/kiv_types.h"

namespace vorel {

class TDeskletObject;

// The ids of the page's items.
enum PropertyPageItem : int32_t {
  kErrorLogGroup = 1001,
  kErrorLogView = 1002,
  kClearLogButton = 1003,
  kSettingsGroup = 1004,
  kCheckNowButton = 1005,
  kAutoCheckBox = 1006,
};

class TFMPropertySheet {
 public:
  // Puts the items on the page and sets the check box from AutoCheckUpdate.
  TFMPropertySheet(TDeskletObject& desklet, HWND page);
  TFMPropertySheet(const TFMPropertySheet&) = delete;
  TFMPropertySheet& operator=(const TFMPropertySheet&) = delete;

  TDeskletObject& Desklet() const { return desklet_; }
  HWND Page() const { return page_; }

  // Fills the log view with the desklet's error log.
  void Show();
  // A button or the check box was pressed.
  void Command(int32_t item);
  // The page closes: the check box's state goes to AutoCheckUpdate.
  void Close();

 private:
  void ClearLog();

  TDeskletObject& desklet_;
  HWND page_;
  bool autoCheck_ = false;
};

}  // namespace vorel
