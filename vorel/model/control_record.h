// The record of one control made by the host's control library. The desklet
// owns it in its control list; the library's handle lives here. The record
// is what the plug-in pushes into the library (ApplyControl); the library
// keeps what the user changes (text, selection, position) and is asked
// for it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/abi/kiv_types.h"

namespace vorel {

class TDeskletObject;

struct TControlObject {
  bool Created = false;
  TDeskletObject* Owner = nullptr;
  uint32_t LayerId = 0;
  KivHandle Handle = 0;
  std::string Name;
  std::string CtrlType;
  std::string OnChange;
  std::string OnEnter;
  std::string OnExit;
  std::string OnKeyEnter;
  std::string FontName = "Arial";
  uint32_t FontColor = 0;
  uint32_t FontBg = 16777215;
  int16_t FontSize = 8;
  uint8_t FontStyle = 0;
  uint8_t FontAlign = 9;
  uint8_t CtrlSide = 0;
  int16_t X = 0, Y = 0, Width = 0, Height = 0;
  uint8_t Alpha = 255;
  bool Visible = true;
  std::string ListValues;
  std::string Value;
  int32_t ScrollBarSize = 1;
  bool Password = false;
  bool ReadOnly = false;
  int32_t NewIndex = -1;

  // Expires with the record, so that script objects and notifications
  // that outlive a deleted control can tell.
  std::shared_ptr<const char> lifetime = std::make_shared<const char>('\0');
};

// The six control types the library makes.
inline constexpr const char* kTextFieldType = "TEXTFIELD";
inline constexpr const char* kEditBoxType = "EDITBOX";
inline constexpr const char* kDropDownListType = "DROPDOWNLIST";
inline constexpr const char* kScrollBarType = "VERTICAL_SCROLLBAR";
inline constexpr const char* kImageButtonType = "IMAGEBUTTON";
inline constexpr const char* kLabelType = "LABEL";

// Whether the text is exactly (case-sensitively) one of the six types.
inline bool IsControlType(const std::string& type) {
  for (const char* known : {kTextFieldType, kEditBoxType, kDropDownListType, kScrollBarType, kImageButtonType, kLabelType})
    if (type == known) return true;
  return false;
}
// Text fields and edit boxes: the controls whose text the user edits.
inline bool IsTextControl(const TControlObject& c) { return c.CtrlType == kTextFieldType || c.CtrlType == kEditBoxType; }

}  // namespace vorel
