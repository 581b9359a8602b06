// Where the parts of each control lie in its drawing, and the colours the
// library draws with where the plug-in sets none. Painters and input
// handlers both measure through these, so a click means what was drawn
// under it. Units are the control's drawing units: the rectangle of
// message 4 (doubled for text fields and edit boxes), one unit one pixel of
// the image handed to the host.
#pragma once

#include <cstdint>

#include "kivhost/controls/control_store.h"

namespace kivcontrols {

inline constexpr uint32_t kBorderColour = 0xFF7A7A7A;
inline constexpr uint32_t kSelectionColour = 0xFF3399FF;
inline constexpr uint32_t kSelectionTextColour = 0xFFFFFFFF;
inline constexpr uint32_t kFaceColour = 0xFFE1E1E1;     // buttons, arrows
inline constexpr uint32_t kArrowColour = 0xFF404040;
inline constexpr uint32_t kTrackColour = 0xFFF0F0F0;
inline constexpr uint32_t kThumbColour = 0xFFB0B0B0;
inline constexpr uint32_t kThumbDragColour = 0xFF808080;

// Text fields and edit boxes: the text's inset from the control's edge and
// the caret's width, in (doubled) drawing units.
inline constexpr double kFieldPadding = 4;
inline constexpr double kCaretWidth = 2;

// Edit boxes scroll this many lines for each wheel step.
inline constexpr int kWheelLines = 3;

// The closed rectangle of the control in drawing units (0,0 at its top
// left); empty when no usable placement arrived.
struct Box {
  double width = 0, height = 0;
};
Box ClosedBox(const Control& c);

struct ScrollBarParts {
  double width = 0, height = 0;
  double arrow = 0;                      // height of each arrow button
  double trackTop = 0, trackBottom = 0;  // between the arrows
  double thumbTop = 0, thumbLength = 0;
  int32_t positions = 1;                 // ScrollBarSize, at least 1
};
ScrollBarParts ScrollBarPartsOf(const Control& c);
// The position a thumb whose top is at `thumbTop` stands for.
int32_t PositionForThumb(const ScrollBarParts& parts, double thumbTop);
// Track clicks move by a page: a tenth of the positions, at least one.
int32_t PageOf(const Control& c);
int32_t ClampPosition(const Control& c, int32_t pos);

struct DropDownParts {
  double width = 0;
  double boxTop = 0, boxHeight = 0;   // the closed box within the drawing
  double button = 0;                  // width of the arrow button at the right
  double listTop = 0, rowHeight = 0;  // the open list within the drawing
  int rows = 0;                       // rows shown when open
  double listHeight() const { return rows * rowHeight + 2; }
};
inline constexpr int kMaxListRows = 8;
DropDownParts DropDownPartsOf(const Control& c);
// The item at a point of the drawing, -1 for none (not in the open list).
int32_t ItemAt(const Control& c, const DropDownParts& parts, double x, double y);

}  // namespace kivcontrols
