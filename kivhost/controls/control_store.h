// The records of the control library: resources, containers and controls
// by handle, with every setting the plug-in sent. Handles are small
// numbers from one counter so that traces read the same on every run.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/abi/controls_api.h"

namespace kivcontrols {

struct Callback {
  void* control = nullptr;
  KivControlCallback fn = nullptr;
};

struct Control {
  KivHandle handle = 0;
  std::string name, type;
  KivHandle container = 0;  // 0 while not in a container
  std::optional<KivRect> rect;
  std::optional<KivSize> sideSize;
  bool added = false;       // message 7 arrived
  int lockDepth = 0;
  std::string fontName;
  double fontSize = 0;
  uint32_t fontStyle = 0;
  int32_t alignment = 0;
  uint32_t textColor = 0xFF000000, backColor = 0xFFFFFFFF;
  std::u16string text;
  bool readOnly = false, password = false;
  int32_t scrollPos = 0, scrollSize = 0;
  std::vector<std::u16string> items;
  int32_t selected = -1;
  std::map<uint32_t, Callback> callbacks;  // by registering message code
};

struct Container {
  KivHandle handle = 0;
  HWND hwnd = 0;
  KivHandle resources = 0;
  int lockDepth = 0;
  std::vector<KivHandle> controls;  // in the order added
};

struct Resources {
  KivHandle handle = 0;
  std::string folder;
};

class ControlStore {
 public:
  static ControlStore& Get();

  std::mutex mutex;
  KivHandle NextHandle() { return next_++; }
  std::map<KivHandle, Resources> resources;
  std::map<KivHandle, Container> containers;
  std::map<KivHandle, Control> controls;

  Control* FindControl(KivHandle h);
  Container* FindContainer(KivHandle h);

 private:
  KivHandle next_ = 0x2001;
};

// Carries out one KivSendMessage code on a control; unknown codes give 0.
int32_t HandleControlMessage(Control& control, uint32_t code, WPARAM wParam, LPARAM lParam);

}  // namespace kivcontrols
