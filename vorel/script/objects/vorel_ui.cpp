#include "vorel/script/objects/vorel_ui.h"

#include "platform/automation/variant_convert.h"
#include "platform/util/utf8.h"
#include "platform/win/win_services.h"
#include "vorel/model/desklet.h"
#include "vorel/script/objects/layer_property_texts.h"
#include "vorel/typelib/vorel_type_library.h"
#include "vorel/util/date_format.h"

namespace vorel {

automation::ComPtr<TVorelUI> TVorelUI::Create(TDeskletObject& desklet) {
  return automation::MakeObject<TVorelUI>(&desklet);
}

const automation::DispatchTable<TVorelUI>& TVorelUI::Table() {
  using T = TVorelUI;
  constexpr auto Method = automation::MemberKind::Method;
  static const automation::DispatchTable<T> table =
      automation::DispatchTable<T>(VorelInterface("IVorelUI"))
          .Source("VorelUI")
          .Unbound(automation::UnboundRule::SucceedEmpty)
          .Implement("InputBox", Method, &T::InputBox)
          .Implement("FindWindow", Method, &T::FindWindow)
          .Implement("PromptColor", Method, &T::PromptColor)
          .Implement("PromptOpenFile", Method, &T::PromptOpenFile)
          .Implement("PromptSaveFile", Method, &T::PromptSaveFile)
          .Implement("SendWinMessage", Method, &T::SendWinMessage)
          .Implement("GetWindowText", Method, &T::GetWindowText)
          .Implement("FormatDateTime", Method, &T::FormatDateTime)
          .Implement("PromptDirectory", Method, &T::PromptDirectory);
  return table;
}

std::string TVorelUI::InputBox(std::string caption, std::string message, std::string defaultText) {
  return win::InputBox(desklet_->windowHandle, caption, message, defaultText).value_or(defaultText);
}

automation::Variant TVorelUI::FindWindow(std::string className, std::string windowName) {
  const HWND found = win::FindWindow(className, windowName);
  return automation::Variant(static_cast<int32_t>(static_cast<uint32_t>(found)));
}

std::string TVorelUI::PromptColor() {
  const std::optional<uint32_t> color = win::ChooseColor(desklet_->windowHandle, 0);
  return color ? ColorToScriptText(*color & 0x00FFFFFF) : std::string();
}

std::string TVorelUI::PromptOpenFile(std::string directory, std::string filter, std::string defaultExt,
                                     std::string title) {
  return win::GetOpenFileName(desklet_->windowHandle, directory, filter, defaultExt, title).value_or("");
}

std::string TVorelUI::PromptSaveFile(std::string directory, std::string filter, std::string defaultExt,
                                     std::string title) {
  return win::GetSaveFileName(desklet_->windowHandle, directory, filter, defaultExt, title).value_or("");
}

int32_t TVorelUI::SendWinMessage(uint32_t hwnd, uint32_t message, int32_t wParam, int32_t lParam) {
  return static_cast<int32_t>(win::SendMessage(hwnd, message, static_cast<WPARAM>(static_cast<uint32_t>(wParam)),
                                               static_cast<LPARAM>(lParam)));
}

std::string TVorelUI::GetWindowText(uint32_t handle) { return kiv::Utf8Left(win::GetWindowText(handle), 259); }

std::string TVorelUI::FormatDateTime(automation::Variant year, automation::Variant month, automation::Variant day,
                                     automation::Variant hour, automation::Variant minute, automation::Variant second,
                                     automation::Variant millisecond, std::string format) {
  const TDateParts parts{automation::ToInt32(year),   automation::ToInt32(month),  automation::ToInt32(day),
                         automation::ToInt32(hour),   automation::ToInt32(minute), automation::ToInt32(second),
                         automation::ToInt32(millisecond)};
  CheckDateParts(parts);
  return FormatDateParts(parts, format);
}

std::string TVorelUI::PromptDirectory(std::string message) {
  return win::BrowseForFolder(desklet_->windowHandle, message).value_or("");
}

}  // namespace vorel
