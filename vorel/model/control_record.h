// The record of one control made by the host's control library. The desklet
// owns it in its control list; the library's handle lives here.
#pragma once

#include <cstdint>
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
};

}  // namespace vorel
