// The messages a control takes through KivSendMessage: placement, fonts,
// colours, text, flags, scroll-bar values, list items and callbacks. Each
// is kept as the control's state; those that change its look mark it to be
// drawn again.
#include <algorithm>
#include <cmath>

#include "kivhost/controls/control_geometry.h"
#include "kivhost/controls/control_input.h"
#include "kivhost/controls/control_messages.h"
#include "platform/util/utf8.h"

namespace kivcontrols {
namespace {

std::u16string TextAt(LPARAM p) {
  const auto* s = reinterpret_cast<const char16_t*>(p);
  return s ? std::u16string(s) : std::u16string();
}

bool EqualsNoCase(const std::u16string& a, const std::u16string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

void SetFont(Control& c, LPARAM p, bool floatSize) {
  const auto* font = reinterpret_cast<const KivFontRecord*>(p);
  if (!font) return;
  size_t n = 0;
  while (n < 32 && font->faceName[n]) ++n;
  c.fontName = kiv::Utf16ToUtf8(std::u16string_view(font->faceName, n));
  const double size = floatSize ? font->sizeFloat : font->sizeInt;
  c.fontSize = std::isfinite(size) && size > 0 ? size : 0;
  c.fontStyle = font->style;
}

int32_t Answer(Control& c, uint32_t code, WPARAM w, LPARAM l) {
  switch (code) {
    case 4:
      if (auto* r = reinterpret_cast<const KivRect*>(w)) c.rect = *r;
      if (auto* s = reinterpret_cast<const KivSize*>(l)) c.sideSize = *s;
      return 0;
    case 7: c.added = true; return 0;
    case 10: case 11: case 120: case 129: case 206: case 311:
      c.callbacks[code] = {reinterpret_cast<void*>(w), reinterpret_cast<KivControlCallback>(l)};
      return 0;
    case 13: SetFont(c, l, true); return 0;
    case 112: SetFont(c, l, false); return 0;
    case 18:
      if (auto* a = reinterpret_cast<const int32_t*>(l)) c.alignment = *a;
      return 0;
    case 108: c.textColor = static_cast<uint32_t>(l); return 0;
    case 110: c.backColor = static_cast<uint32_t>(l); return 0;
    case 114: c.editor.SetText(TextAt(l)); return 0;
    case 116: return static_cast<int32_t>(c.editor.Text().size());
    case 115: {
      auto* out = reinterpret_cast<char16_t*>(l);
      const auto size = static_cast<size_t>(w);
      if (!out || size == 0) return 0;
      const std::u16string& text = c.editor.Text();
      size_t n = std::min(text.size(), size - 1);
      // Never leave half a surrogate pair at the end.
      if (n > 0 && n < text.size() && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF) --n;
      std::copy_n(text.begin(), n, out);
      out[n] = 0;
      return static_cast<int32_t>(n);
    }
    case 125: c.editor.readOnly = w != 0; return 0;
    case 126: return c.editor.readOnly ? 1 : 0;
    case 127: c.password = w != 0; return 0;
    case 128: return c.password ? 1 : 0;
    case 202:
      // A position may come before the size; it is kept and clamped once
      // the size is known.
      c.scrollPos = c.scrollSize > 0 ? ClampPosition(c, static_cast<int32_t>(w)) : static_cast<int32_t>(w);
      return 0;
    case 203: return c.scrollPos;
    case 204:
      c.scrollSize = std::max<int32_t>(0, static_cast<int32_t>(w));
      c.scrollPos = ClampPosition(c, c.scrollPos);
      return 0;
    case 205: return c.scrollSize;
    case 302:
      c.items.push_back(TextAt(l));
      return static_cast<int32_t>(c.items.size() - 1);
    case 304: {
      const std::u16string wanted = TextAt(l);
      const auto start = static_cast<int32_t>(w);
      for (size_t i = static_cast<size_t>(std::max(start, 0)); i < c.items.size(); ++i)
        if (EqualsNoCase(c.items[i], wanted)) return static_cast<int32_t>(i);
      return -1;
    }
    case 305:
      c.items.clear();
      SelectItem(c, -1);
      c.listTop = 0;
      return 0;
    case 307: SelectItem(c, static_cast<int32_t>(w)); return 0;
    case 308: return c.selected;
    default: return 0;
  }
}

}  // namespace

int32_t HandleControlMessage(Control& c, uint32_t code, WPARAM w, LPARAM l) {
  const int32_t ret = Answer(c, code, w, l);
  if (ChangesLook(code)) {
    c.dirty = true;
    c.revealCaret = true;
  }
  return ret;
}

bool ChangesLook(uint32_t code) {
  switch (code) {
    case 4: case 7: case 13: case 112: case 18: case 108: case 110: case 114: case 127: case 202: case 204: case 302:
    case 305: case 307:
      return true;
    default:
      return false;
  }
}

}  // namespace kivcontrols
