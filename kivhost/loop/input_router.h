// InputRouter: turns pointer, key, drop and focus events on a desklet into
// the plug-in's exports, as a desktop host does: desklet enter, move and
// exit; layer enter, move and exit with the point relative to the layer;
// button, right-click and wheel calls on the layer under the pointer (or
// the captured one); characters as message 258; dropped files as a
// file-list data object; keys as 256 (key down, w = the virtual-key code,
// bit 0 of l = Shift held), then for keys that make a character 258 with
// it, then 257 (key up). Every call is traced.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "kivhost/loop/host.h"

namespace kivhost {

enum MouseFlags : uint32_t { kFlagLeft = 1, kFlagRight = 2, kFlagShift = 4, kFlagControl = 8 };

class InputRouter {
 public:
  InputRouter(Host& host, HWND hwnd);
  HWND Hwnd() const { return hwnd_; }

  void Move(int x, int y);
  // False when no layer took the press: a desktop host moves the desklet
  // then.
  bool Down(int x, int y, uint32_t flags);
  void Up(int x, int y, uint32_t flags);
  // False when the plug-in left the click to the host (its menu shows).
  bool RightClick(int x, int y);
  void Wheel(int count, int x, int y);
  void Key(const std::u32string& characters);
  // One key pressed and let go, by Windows virtual-key code. Backspace,
  // Tab, Enter and Escape also make their character (258), as Windows
  // does.
  void KeyDown(uint32_t virtualKey, bool shift);
  void Drop(const std::vector<std::string>& files, int x, int y);
  void Select();
  void Deselect();
  // The pointer leaves the desklet.
  void Leave();

 private:
  HostDesklet* Desklet() const { return host_.Find(hwnd_); }
  // The layer under the point, with the point relative to it and its size.
  struct LayerHit {
    uint32_t id;
    std::string name;
    KivPoint pt;
    KivSize size;
  };
  std::optional<LayerHit> HitAt(int x, int y) const;
  void LayerOut();
  // The button exports share one signature; this makes one such call on
  // the layer under the point. False when nothing was hit or not handled.
  using ButtonExport = BOOL32 (*PluginLibrary::*)(void*, uint32_t, const char*, const KivPoint*, const KivSize*, uint32_t);
  bool Button(int x, int y, uint32_t flags, const char* fn, ButtonExport call);

  Host& host_;
  HWND hwnd_;
  bool inside_ = false;
  std::optional<uint32_t> entered_;
  std::string enteredName_;
};

}  // namespace kivhost
