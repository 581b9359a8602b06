// Which control a forwarded event is for. Pointer events come for every
// layer of the desklet: one on a control's layer goes to that control, a
// press anywhere else takes the focus away and closes an open list. While
// a control is dragged (text selection, scroll bar thumb, pressed image
// button) its layer holds the host's capture, so the moves and the release
// come to it wherever the pointer is. Keys go to the focused control.
#include <algorithm>
#include <cstdlib>

#include "kivhost/controls/control_geometry.h"
#include "kivhost/controls/control_input.h"
#include "kivhost/controls/focus.h"
#include "kivhost/controls/host_layers.h"

namespace kivcontrols {
namespace {

// The point of the event in the control's drawing units.
Point PointIn(const Control& c, const MouseEvent& e) {
  if (!e.pt) return {};
  const double sx = e.size && e.size->cx > 0 && c.drawWidth > 0 ? static_cast<double>(c.drawWidth) / e.size->cx : 1;
  const double sy = e.size && e.size->cy > 0 && c.drawHeight > 0 ? static_cast<double>(c.drawHeight) / e.size->cy : 1;
  return {e.pt->x * sx, e.pt->y * sy};
}

bool Inside(const Control& c, Point p) { return p.x >= 0 && p.y >= 0 && p.x < c.drawWidth && p.y < c.drawHeight; }

Control* Dragged(ControlStore& store, const Container& container) {
  for (KivHandle h : container.controls)
    if (Control* c = store.FindControl(h); c && c->drag != Control::Drag::None) return c;
  return nullptr;
}

void StartDrag(Control& c, Control::Drag drag) {
  c.drag = drag;
  host::Capture(c.hwnd, c.name);
}

void CloseListsBut(ControlStore& store, const Container& container, const Control* keep) {
  for (KivHandle h : container.controls)
    if (Control* c = store.FindControl(h); c && c != keep) CloseList(*c);
}

bool Down(ControlStore& store, Container& container, Control* c, const MouseEvent& e, Notices& notices) {
  CloseListsBut(store, container, c);
  if (!c || c->kind == ControlKind::Label || c->kind == ControlKind::Unknown) {
    SetFocus(store, container, 0, notices);
    return false;
  }
  SetFocus(store, container, c->handle, notices);
  const Point p = PointIn(*c, e);
  switch (c->kind) {
    case ControlKind::TextField:
    case ControlKind::EditBox:
      FieldMouseDown(*c, p, (e.flags & 4) != 0);
      StartDrag(*c, Control::Drag::Text);
      break;
    case ControlKind::DropDown: ListMouseDown(*c, p, notices); break;
    case ControlKind::ScrollBar:
      ScrollBarMouseDown(*c, p, notices);
      if (c->drag == Control::Drag::Thumb) host::Capture(c->hwnd, c->name);
      break;
    case ControlKind::ImageButton:
      c->pressed = c->hover = true;
      c->dirty = true;
      StartDrag(*c, Control::Drag::Button);
      break;
    default: break;
  }
  return true;
}

bool Up(ControlStore& store, Container& container, Notices& notices) {
  Control* c = Dragged(store, container);
  if (!c) return false;
  const Control::Drag drag = c->drag;
  c->drag = Control::Drag::None;
  c->dirty = true;
  host::ReleaseCapture(c->hwnd);
  if (drag == Control::Drag::Button) {
    // The button kept the focus only while pressed; letting go ends it,
    // so every click runs both 10 and 11.
    c->pressed = false;
    if (container.focused == c->handle) SetFocus(store, container, 0, notices);
  }
  return true;
}

bool Move(ControlStore& store, Container& container, Control* c, const MouseEvent& e, Notices& notices) {
  if (Control* dragged = Dragged(store, container)) {
    const Point p = PointIn(*dragged, e);
    switch (dragged->drag) {
      case Control::Drag::Text: FieldMouseDrag(*dragged, p); break;
      case Control::Drag::Thumb: ScrollBarDrag(*dragged, p, notices); break;
      case Control::Drag::Button:
        if (dragged->hover != Inside(*dragged, p)) {
          dragged->hover = !dragged->hover;
          dragged->dirty = true;
        }
        break;
      default: break;
    }
    return true;
  }
  if (!c) return false;
  if (c->kind == ControlKind::ImageButton) {
    if (!c->hover) {
      c->hover = true;
      c->dirty = true;
    }
    return true;
  }
  if (c->kind == ControlKind::DropDown && c->open) {
    ListMouseMove(*c, PointIn(*c, e));
    return true;
  }
  return false;
}

bool Wheel(Control* c, int steps, Notices& notices) {
  if (!c) return false;
  switch (c->kind) {
    case ControlKind::ScrollBar: ScrollBy(*c, steps, notices); return true;
    case ControlKind::EditBox: return FieldWheel(*c, steps * kWheelLines);
    case ControlKind::DropDown: return ListWheel(*c, steps);
    default: return false;
  }
}

}  // namespace

bool HandleMouse(ControlStore& store, Container& container, const MouseEvent& e, Notices& notices) {
  Control* c = store.ControlOnLayer(container, e.layerName);
  // Backward turns come with a negative count; the kind gives the way.
  const int32_t steps = std::max(1, std::abs(e.scrolls));
  switch (e.kind) {
    case MouseKind::Down: return Down(store, container, c, e, notices);
    case MouseKind::Up: return Up(store, container, notices);
    case MouseKind::On:
    case MouseKind::Move: return Move(store, container, c, e, notices);
    case MouseKind::Out:
      if (c && c->kind == ControlKind::ImageButton && c->drag == Control::Drag::None && c->hover) {
        c->hover = false;
        c->dirty = true;
      }
      return c != nullptr;
    case MouseKind::WheelForward: return Wheel(c, -steps, notices);
    case MouseKind::WheelBackward: return Wheel(c, steps, notices);
    case MouseKind::RightClick: return false;
  }
  return false;
}

namespace {

bool KeyDown(ControlStore& store, Container& container, uint32_t key, bool shift, Notices& notices) {
  container.lastKeyDown = key;
  container.lastKeyShift = shift;
  Control* c = Focused(store, container);
  if (!c) return false;
  // These make characters too; they act when the character comes.
  if (key == kVkBack || key == kVkTab || key == kVkReturn || key == kVkEscape) return true;
  switch (c->kind) {
    case ControlKind::TextField:
    case ControlKind::EditBox: return FieldKeyDown(*c, key, shift, notices);
    case ControlKind::DropDown: return ListKeyDown(*c, key, notices);
    case ControlKind::ScrollBar: return ScrollBarKeyDown(*c, key, notices);
    default: return false;
  }
}

bool Character(ControlStore& store, Container& container, char32_t ch, bool shift, Notices& notices) {
  // Characters beyond the first plane may come whole or as two halves.
  if (ch >= 0xD800 && ch <= 0xDBFF) {
    container.pendingHigh = static_cast<char16_t>(ch);
    return Focused(store, container) != nullptr;
  }
  if (ch >= 0xDC00 && ch <= 0xDFFF) {
    if (!container.pendingHigh) return false;
    ch = 0x10000 + ((static_cast<char32_t>(container.pendingHigh) - 0xD800) << 10) + (ch - 0xDC00);
  }
  container.pendingHigh = 0;
  Control* c = Focused(store, container);
  if (!c) return false;
  if (ch == kVkTab) {
    const bool backwards = shift || (container.lastKeyDown == kVkTab && container.lastKeyShift);
    const KivHandle next = NextFocus(store, container, backwards);
    if (next && next != c->handle) {
      SetFocus(store, container, next, notices);
      // Tabbing into a field selects its text, ready to be typed over.
      if (Control* now = store.FindControl(next); now && now->kind != ControlKind::DropDown &&
                                                   now->kind != ControlKind::ScrollBar) {
        now->editor.SelectAll();
        now->revealCaret = true;
      }
    }
    return true;
  }
  switch (c->kind) {
    case ControlKind::TextField:
    case ControlKind::EditBox: return FieldCharacter(*c, ch, notices);
    case ControlKind::DropDown: return ListCharacter(*c, ch, notices);
    default: return false;
  }
}

}  // namespace

bool HandleWindowMessage(ControlStore& store, Container& container, uint32_t message, WPARAM w, LPARAM l,
                         Notices& notices) {
  constexpr uint32_t kKeyDown = 256, kKeyUp = 257, kChar = 258;
  const bool shift = (l & 1) != 0;
  switch (message) {
    case kKeyDown: return KeyDown(store, container, static_cast<uint32_t>(w), shift, notices);
    case kChar: return Character(store, container, static_cast<char32_t>(w), shift, notices);
    case kKeyUp: return false;
    default: return false;
  }
}

}  // namespace kivcontrols
