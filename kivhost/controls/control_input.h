// What the controls do with the mouse and the keyboard. The dispatch
// (input_dispatch.cpp) finds the control a forwarded event is for and maps
// the point into the control's drawing units; the per-kind handlers
// (field_input.cpp, list_input.cpp, scrollbar_input.cpp) change the control
// and queue the callbacks the change calls for. Every handler runs with
// the store locked and marks what it changed dirty.
//
// Keys arrive as window messages: 256 (key down, w = virtual-key code,
// bit 0 of l = Shift held), 258 (character) and 257 (key up). Backspace,
// Tab, Enter and Escape come both as 256 and as 258; the controls act on
// the 258 only, and on 256 for the keys that make no character.
#pragma once

#include <string>

#include "kivhost/controls/control_store.h"
#include "kivhost/controls/notices.h"

namespace kivcontrols {

// Virtual-key codes the controls know.
enum VirtualKey : uint32_t {
  kVkBack = 8, kVkTab = 9, kVkReturn = 13, kVkShift = 16, kVkEscape = 27, kVkPrior = 33, kVkNext = 34,
  kVkEnd = 35, kVkHome = 36, kVkLeft = 37, kVkUp = 38, kVkRight = 39, kVkDown = 40, kVkDelete = 46, kVkF4 = 115,
};

struct Point {
  double x = 0, y = 0;
};

// Entry points for the exports; each returns true when a control used the
// event.
enum class MouseKind { Down, Up, On, Move, Out, WheelForward, WheelBackward, RightClick };
struct MouseEvent {
  MouseKind kind = MouseKind::Move;
  std::string layerName;
  const KivPoint* pt = nullptr;
  const KivSize* size = nullptr;
  uint32_t flags = 0;
  int32_t scrolls = 0;
};
bool HandleMouse(ControlStore& store, Container& container, const MouseEvent& event, Notices& notices);
bool HandleWindowMessage(ControlStore& store, Container& container, uint32_t message, WPARAM w, LPARAM l,
                         Notices& notices);

// Text fields and edit boxes.
void FieldMouseDown(Control& c, Point p, bool shift);
void FieldMouseDrag(Control& c, Point p);
bool FieldKeyDown(Control& c, uint32_t key, bool shift, Notices& notices);
bool FieldCharacter(Control& c, char32_t ch, Notices& notices);
bool FieldWheel(Control& c, int lines);

// Drop-down lists.
void OpenList(Control& c);
void CloseList(Control& c);
// Selects an item (-1 or out of range: none), as message 307 does.
void SelectItem(Control& c, int32_t index);
void ListMouseDown(Control& c, Point p, Notices& notices);
void ListMouseMove(Control& c, Point p);
bool ListKeyDown(Control& c, uint32_t key, Notices& notices);
bool ListCharacter(Control& c, char32_t ch, Notices& notices);
bool ListWheel(Control& c, int steps);

// Scroll bars.
void ScrollBarMouseDown(Control& c, Point p, Notices& notices);
void ScrollBarDrag(Control& c, Point p, Notices& notices);
bool ScrollBarKeyDown(Control& c, uint32_t key, Notices& notices);
// Moves the position by `delta` within the range; queues 206 when it moved.
void ScrollBy(Control& c, int32_t delta, Notices& notices);

}  // namespace kivcontrols
