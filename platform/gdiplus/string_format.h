// gdiplus::StringFormat: where text sits in its layout rectangle.
// Alignment is horizontal (Near = left), line alignment vertical (Near = top).
#pragma once

#include "platform/gdiplus/types.h"

namespace gdiplus {

class StringFormat {
 public:
  StringFormat() = default;
  explicit StringFormat(StringAlignment alignment, StringAlignment lineAlignment = StringAlignment::Near)
      : alignment_(alignment), lineAlignment_(lineAlignment) {}

  StringAlignment Alignment() const { return alignment_; }
  void SetAlignment(StringAlignment alignment) { alignment_ = alignment; }
  StringAlignment LineAlignment() const { return lineAlignment_; }
  void SetLineAlignment(StringAlignment alignment) { lineAlignment_ = alignment; }

 private:
  StringAlignment alignment_ = StringAlignment::Near;
  StringAlignment lineAlignment_ = StringAlignment::Near;
};

}  // namespace gdiplus
