// TVorelUI: dialogs and windows for scripts. Every dialog belongs to the
// desklet's window and is shown by the host (a real dialog on the desktop,
// the scenario's answer headless); a cancelled dialog gives the member's
// fallback (the default text, or an empty string). Dates are formatted
// from their parts with date-time letters (vorel/util/date_format.h).
#pragma once

#include <cstdint>
#include <string>

#include "platform/automation/dispatch_object.h"

namespace vorel {

class TDeskletObject;

class TVorelUI : public automation::DispatchObject<TVorelUI> {
 public:
  static automation::ComPtr<TVorelUI> Create(TDeskletObject& desklet);
  static const automation::DispatchTable<TVorelUI>& Table();

  explicit TVorelUI(TDeskletObject* desklet) : desklet_(desklet) {}
  bool IsBound() const { return desklet_ != nullptr; }
  void Unbind() { desklet_ = nullptr; }

  std::string InputBox(std::string caption, std::string message, std::string defaultText);
  automation::Variant FindWindow(std::string className, std::string windowName);
  std::string PromptColor();
  std::string PromptOpenFile(std::string directory, std::string filter, std::string defaultExt, std::string title);
  std::string PromptSaveFile(std::string directory, std::string filter, std::string defaultExt, std::string title);
  int32_t SendWinMessage(uint32_t hwnd, uint32_t message, int32_t wParam, int32_t lParam);
  std::string GetWindowText(uint32_t handle);
  std::string FormatDateTime(automation::Variant year, automation::Variant month, automation::Variant day,
                             automation::Variant hour, automation::Variant minute, automation::Variant second,
                             automation::Variant millisecond, std::string format);
  std::string PromptDirectory(std::string message);

 private:
  TDeskletObject* desklet_;
};

}  // namespace vorel
