// The records of the control library: resources, containers and controls
// by handle, with every setting the plug-in sent and what the user did to
// each control since (caret, open list, hover, drag). Handles are small
// numbers from one counter so that traces read the same on every run.
// Everything here is guarded by ControlStore::mutex; plug-in callbacks are
// never called while it is held (see notices.h).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "kivhost/controls/image_cache.h"
#include "kivhost/controls/text_editor.h"
#include "platform/abi/controls_api.h"

namespace kivcontrols {

struct Callback {
  void* control = nullptr;
  KivControlCallback fn = nullptr;
};

enum class ControlKind { TextField, EditBox, DropDown, ScrollBar, ImageButton, Label, Unknown };
ControlKind KindOf(const std::string& type);

struct Control {
  KivHandle handle = 0;
  std::string name, type;
  ControlKind kind = ControlKind::Unknown;
  HWND hwnd = 0;            // the desklet the control's layer is on
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
  TextEditor editor;        // the text of every kind, with caret and selection
  bool password = false;
  int32_t scrollPos = 0, scrollSize = 0;
  std::vector<std::u16string> items;
  int32_t selected = -1;
  std::map<uint32_t, Callback> callbacks;  // by registering message code

  // What the user did.
  bool focused = false;      // the container's focused control (see focus.h)
  bool revealCaret = true;   // the next view scrolls the caret into sight
  double scrollX = 0;        // text field: pixels scrolled to the left
  int32_t topLine = 0;       // edit box: first line shown
  int32_t firstVisible = 0;  // text field: first character shown (UTF-16)
  bool open = false;         // drop-down list showing its items
  bool openUpward = false;
  int32_t highlighted = -1;  // drop-down item under the pointer or keys
  int32_t listTop = 0;       // first item shown in the open list
  bool hover = false, pressed = false;  // image button
  enum class Drag { None, Text, Thumb, Button, Other } drag = Drag::None;
  double dragOffset = 0;     // scroll bar: where in the thumb it was taken
  ImageCache images;         // image button pictures

  // Drawing.
  bool dirty = true;
  std::optional<KivRect> shownPlacement;  // as last sent to the host
  int drawWidth = 0, drawHeight = 0;      // the size of the last image
};

struct Container {
  KivHandle handle = 0;
  HWND hwnd = 0;
  KivHandle resources = 0;
  int lockDepth = 0;
  std::vector<KivHandle> controls;  // in the order added
  KivHandle focused = 0;
  // Keyboard state between messages: a high surrogate waiting for its low
  // half, and the last key down with its Shift bit (WM_CHAR carries none).
  char16_t pendingHigh = 0;
  uint32_t lastKeyDown = 0;
  bool lastKeyShift = false;
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
  // The last description handed out for each window.
  std::map<HWND, std::string> descriptions;

  Control* FindControl(KivHandle h);
  Container* FindContainer(KivHandle h);
  // The control of the container whose layer has this name.
  Control* ControlOnLayer(const Container& container, const std::string& layerName);
  // The image folder of the container's resources, "" when unknown.
  std::string ResourceFolder(const Container& container) const;

 private:
  KivHandle next_ = 0x2001;
};

}  // namespace kivcontrols
