#include "kivhost/desktop/cursors.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <array>
#include <utility>

namespace kivhost {

std::string SystemCursorName(int32_t systemId) {
  static constexpr std::array<std::pair<int32_t, const char*>, 16> kNames{{
      {32512, "default"},     {32513, "text"},        {32514, "wait"},      {32515, "crosshair"},
      {32516, "default"},     {32640, "all-scroll"},  {32641, "default"},   {32642, "nwse-resize"},
      {32643, "nesw-resize"}, {32644, "ew-resize"},   {32645, "ns-resize"}, {32646, "move"},
      {32648, "not-allowed"}, {32649, "pointer"},     {32650, "progress"},  {32651, "help"},
  }};
  for (const auto& [id, name] : kNames)
    if (id == systemId) return name;
  return "default";
}

GdkCursor* MakeCursor(GdkDisplay* display, const CursorInfo& info) {
  if (info.systemId != 0) return gdk_cursor_new_from_name(display, SystemCursorName(info.systemId).c_str());
  if (info.width <= 0 || info.height <= 0 || info.argb.size() != static_cast<size_t>(info.width * info.height))
    return nullptr;
  GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, info.width, info.height);
  guchar* pixels = gdk_pixbuf_get_pixels(pixbuf);
  const int stride = gdk_pixbuf_get_rowstride(pixbuf);
  for (int y = 0; y < info.height; ++y) {
    guchar* row = pixels + static_cast<ptrdiff_t>(y) * stride;
    for (int x = 0; x < info.width; ++x) {
      const uint32_t p = info.argb[static_cast<size_t>(y * info.width + x)];
      row[4 * x + 0] = static_cast<guchar>(p >> 16);
      row[4 * x + 1] = static_cast<guchar>(p >> 8);
      row[4 * x + 2] = static_cast<guchar>(p);
      row[4 * x + 3] = static_cast<guchar>(p >> 24);
    }
  }
  GdkCursor* cursor = gdk_cursor_new_from_pixbuf(display, pixbuf, info.hotX, info.hotY);
  g_object_unref(pixbuf);
  return cursor;
}

}  // namespace kivhost
