// A desklet in the host with one control container, and helpers that drive
// the control library the way the plug-in does: creating and placing
// controls, forwarding pointer and key events, recording callbacks and
// reading the pictures the controls handed to their layers.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "kivhost/controls/control_state.h"
#include "kivhost/loop/host.h"
#include "platform/abi/controls_api.h"

namespace kivhost::testing {

// One callback call: the control's name and the code it was registered
// with; `index` is what 311 proposed.
struct Call {
  std::string control;
  uint32_t code = 0;
  int32_t index = -1;
  bool operator==(const Call&) const = default;
};

class ControlTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Creates, places (rect against `side`), adds and shows a control.
  KivHandle Make(const std::string& name, const char* type, KivRect rect, KivSize side = {400, 400});
  int32_t Send(KivHandle c, uint32_t code, WPARAM w = 0, LPARAM l = 0) { return KivSendMessage(c, code, w, l); }
  void SetText(KivHandle c, const std::u16string& text) { Send(c, 114, 0, reinterpret_cast<LPARAM>(text.c_str())); }
  std::u16string GetText(KivHandle c);
  // Registers the recording callback for each code; `hook` runs inside
  // the callback (re-entering the library as a statement would).
  void Watch(KivHandle c, const std::string& name, std::initializer_list<uint32_t> codes);

  // Pointer events at a point of the control's drawing: the layer is
  // reported at its drawing size divided by `scale`, as the host reports
  // a layer scaled to its placement.
  int32_t Down(const std::string& layer, int x, int y, uint32_t flags = 1);
  int32_t Up(const std::string& layer, int x, int y);
  int32_t Move(const std::string& layer, int x, int y);
  int32_t Wheel(const std::string& layer, int steps);  // > 0 forward
  int32_t Click(const std::string& layer, int x, int y);
  // Keys as the host sends them: 256, 258 for keys that make a character,
  // 257.
  int32_t Press(uint32_t virtualKey, bool shift = false);
  void Type(const std::u16string& text);

  uint32_t LayerId(const std::string& name);
  cairo_surface_t* Picture(const std::string& name);
  // The picture's pixel as 0xAARRGGBB.
  uint32_t Pixel(const std::string& name, int x, int y);
  nlohmann::json State(const std::string& name);

  HWND hwnd = 0;
  KivHandle resources = 0, container = 0;
  std::string folder;
  int scale = 1;
  std::vector<Call> calls;
  std::function<void(const Call&, int32_t* extra)> hook;

 private:
  struct Registration {
    ControlTest* test;
    std::string name;
    uint32_t code;
  };
  static int32_t Record(void* registration, int32_t* extra);
  KivSize LayerSize(const std::string& name);
  std::deque<Registration> registrations_;
};

}  // namespace kivhost::testing
