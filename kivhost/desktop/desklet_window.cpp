#include "kivhost/desktop/desklet_window.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <utility>

#include "kivhost/desktop/cursors.h"
#include "kivhost/desktop/layer_shell.h"
#include "kivhost/render/compositor.h"

namespace kivhost {

namespace {

uint32_t Flags(guint state, uint32_t buttons) {
  uint32_t flags = buttons;
  if (state & GDK_SHIFT_MASK) flags |= kFlagShift;
  if (state & GDK_CONTROL_MASK) flags |= kFlagControl;
  return flags;
}

DeskletWindow& Self(gpointer self) { return *static_cast<DeskletWindow*>(self); }

}  // namespace

DeskletWindow::DeskletWindow(Host& host, Session& session, HWND hwnd, std::function<void()> changed)
    : host_(host), session_(session), hwnd_(hwnd), changed_(std::move(changed)), router_(host, hwnd) {
  window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  g_object_ref_sink(window_);
  GdkScreen* screen = gtk_widget_get_screen(window_);
  GdkVisual* rgba = gdk_screen_get_rgba_visual(screen);
  composited_ = rgba && gdk_screen_is_composited(screen);
  if (composited_) {
    gtk_widget_set_visual(window_, rgba);
  } else {
    static bool told = false;
    if (!std::exchange(told, true))
      std::cerr << "kivhost: the screen has no compositing manager; desklets are shown on black, not see-through\n";
  }
  layered_ = LayerShellInUse();
  if (layered_) MakeLayerWindow(GTK_WINDOW(window_));
  gtk_widget_set_app_paintable(window_, TRUE);
  gtk_window_set_decorated(GTK_WINDOW(window_), FALSE);
  gtk_window_set_skip_taskbar_hint(GTK_WINDOW(window_), TRUE);
  gtk_window_set_skip_pager_hint(GTK_WINDOW(window_), TRUE);
  gtk_window_stick(GTK_WINDOW(window_));
  gtk_window_set_resizable(GTK_WINDOW(window_), FALSE);
  gtk_widget_add_events(window_, GDK_POINTER_MOTION_MASK | GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK |
                                     GDK_SCROLL_MASK | GDK_SMOOTH_SCROLL_MASK | GDK_KEY_PRESS_MASK |
                                     GDK_LEAVE_NOTIFY_MASK | GDK_FOCUS_CHANGE_MASK);
  Connect();
  AcceptDrops();
  Sync();
  gtk_widget_show(window_);
}

DeskletWindow::~DeskletWindow() {
  EndFlip();
  if (shape_) cairo_region_destroy(shape_);
  g_signal_handlers_disconnect_by_data(window_, this);
  gtk_widget_destroy(window_);
  g_object_unref(window_);
}

void DeskletWindow::Connect() {
  g_signal_connect(window_, "draw", G_CALLBACK(&DeskletWindow::OnDraw), this);
  g_signal_connect(window_, "motion-notify-event", G_CALLBACK(&DeskletWindow::OnMotion), this);
  g_signal_connect(window_, "button-press-event", G_CALLBACK(&DeskletWindow::OnButtonPress), this);
  g_signal_connect(window_, "button-release-event", G_CALLBACK(&DeskletWindow::OnButtonRelease), this);
  g_signal_connect(window_, "scroll-event", G_CALLBACK(&DeskletWindow::OnScroll), this);
  g_signal_connect(window_, "key-press-event", G_CALLBACK(&DeskletWindow::OnKeyPress), this);
  g_signal_connect(window_, "leave-notify-event", G_CALLBACK(&DeskletWindow::OnLeave), this);
  g_signal_connect(window_, "focus-in-event", G_CALLBACK(&DeskletWindow::OnFocusIn), this);
  g_signal_connect(window_, "focus-out-event", G_CALLBACK(&DeskletWindow::OnFocusOut), this);
  g_signal_connect(window_, "delete-event", G_CALLBACK(&DeskletWindow::OnDelete), this);
}

void DeskletWindow::Sync() {
  HostDesklet* d = Desklet();
  if (!d) return;
  const std::string title = d->label.empty() ? d->SkinName() : d->label;
  const char* shownTitle = gtk_window_get_title(GTK_WINDOW(window_));
  if (!shownTitle || title != shownTitle) gtk_window_set_title(GTK_WINDOW(window_), title.c_str());
  const KivRect& r = d->rect;
  const KivSize size = d->Size();
  if (r.left != shownRect_.left || r.top != shownRect_.top) {
    if (layered_) PlaceLayerWindow(GTK_WINDOW(window_), r.left, r.top);
    else gtk_window_move(GTK_WINDOW(window_), r.left, r.top);
  }
  if (size.cx != shownRect_.right - shownRect_.left || size.cy != shownRect_.bottom - shownRect_.top) {
    gtk_widget_set_size_request(window_, std::max(1, size.cx), std::max(1, size.cy));
    gtk_window_resize(GTK_WINDOW(window_), std::max(1, size.cx), std::max(1, size.cy));
    shownRedraws_ = -1;
  }
  shownRect_ = r;
  if (d->RedrawCount() != shownRedraws_) {
    shownRedraws_ = d->RedrawCount();
    const HostDesklet::DamageState damage = d->TakeDamage();
    const Face face{size.cx, size.cy, d->alpha, d->rotation, d->imageFile};
    const bool whole = damage.all || !damage.box || face != shownFace_;
    shownFace_ = face;
    if (whole) {
      gtk_widget_queue_draw(window_);
      Reshape(std::nullopt);
    } else {
      const KivRect& b = *damage.box;
      gtk_widget_queue_draw_area(window_, b.left, b.top, b.right - b.left, b.bottom - b.top);
      Reshape(b);
    }
  }
  if (d->cursor != shownCursor_) ShowCursor(d->cursor);
  if (d->stacking != shownStacking_) {
    shownStacking_ = d->stacking;
    if (layered_) StackLayerWindow(GTK_WINDOW(window_), d->stacking);
    gtk_window_set_keep_below(GTK_WINDOW(window_), d->stacking == Stacking::Below);
    gtk_window_set_keep_above(GTK_WINDOW(window_), d->stacking == Stacking::Above);
  }
}

void DeskletWindow::ShowCursor(HCURSOR cursor) {
  GdkWindow* window = gtk_widget_get_window(window_);
  if (!window) return;  // not shown yet: the next sync sets it
  shownCursor_ = cursor;
  const std::optional<CursorInfo> info = cursor ? host_.objects.Cursor(cursor) : std::nullopt;
  GdkCursor* shown = info ? MakeCursor(gdk_window_get_display(window), *info) : nullptr;
  gdk_window_set_cursor(window, shown);
  if (shown) g_object_unref(shown);
}

void DeskletWindow::AcceptDrops() {
  static GtkTargetEntry uris{const_cast<gchar*>("text/uri-list"), 0, 0};
  gtk_drag_dest_set(window_, GTK_DEST_DEFAULT_ALL, &uris, 1, GDK_ACTION_COPY);
  g_signal_connect(window_, "drag-data-received", G_CALLBACK(&DeskletWindow::OnDrop), this);
}

// Dropped files: local paths, in the order given.
// NOTE: the drop is finished by GTK (the default handling of drops).
void DeskletWindow::OnDrop(GtkWidget*, GdkDragContext*, gint x, gint y, GtkSelectionData* data, guint, guint,
                           gpointer self) {
  DeskletWindow& w = Self(self);
  std::vector<std::string> files;
  if (gchar** uris = gtk_selection_data_get_uris(data)) {
    for (gchar** uri = uris; *uri; ++uri) {
      if (gchar* path = g_filename_from_uri(*uri, nullptr, nullptr)) {
        files.emplace_back(path);
        g_free(path);
      }
    }
    g_strfreev(uris);
  }
  if (!files.empty()) {
    w.router_.Drop(files, x, y);
    w.changed_();
  }
}

// Clicks pass through the pixels that show nothing.
void DeskletWindow::Reshape(const std::optional<KivRect>& box) {
  HostDesklet* d = Desklet();
  if (!d) return;
  const KivSize size = d->Size();
  const KivRect area = box && shape_ ? *box : KivRect{0, 0, size.cx, size.cy};
  const int width = area.right - area.left, height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return;
  cairo_surface_t* picture = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cairo_t* cr = cairo_create(picture);
  cairo_translate(cr, -area.left, -area.top);
  CompositeHitMask(cr, *d, host_.DeskletImage(*d));
  cairo_destroy(cr);
  // Hit testing takes any pixel that is not fully transparent; the region
  // is made of those more than half opaque.
  cairo_surface_flush(picture);
  unsigned char* data = cairo_image_surface_get_data(picture);
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(data + static_cast<ptrdiff_t>(y) * cairo_image_surface_get_stride(picture));
    for (int x = 0; x < width; ++x)
      if (row[x] >> 24) row[x] = 0xFF000000u;
  }
  cairo_surface_mark_dirty(picture);
  cairo_region_t* shown = gdk_cairo_region_create_from_surface(picture);
  cairo_surface_destroy(picture);
  cairo_region_translate(shown, area.left, area.top);
  if (box && shape_) {
    const cairo_rectangle_int_t changed{area.left, area.top, width, height};
    cairo_region_subtract_rectangle(shape_, &changed);
    cairo_region_union(shape_, shown);
    cairo_region_destroy(shown);
  } else {
    if (shape_) cairo_region_destroy(shape_);
    shape_ = shown;
  }
  gtk_widget_input_shape_combine_region(window_, shape_);
}

void DeskletWindow::MoveBy(double dx, double dy) {
  HostDesklet* d = Desklet();
  if (!d) return;
  const KivSize size = d->Size();
  d->rect.left += static_cast<int32_t>(std::lround(dx));
  d->rect.top += static_cast<int32_t>(std::lround(dy));
  d->rect.right = d->rect.left + size.cx;
  d->rect.bottom = d->rect.top + size.cy;
  Sync();
}

gboolean DeskletWindow::OnDraw(GtkWidget*, cairo_t* cr, gpointer self) {
  DeskletWindow& w = Self(self);
  HostDesklet* d = w.Desklet();
  cairo_save(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  // NOTE: without compositing the window cannot be see-through; the
  // desklet is drawn on black then.
  cairo_set_source_rgba(cr, 0, 0, 0, w.composited_ ? 0 : 1);
  cairo_paint(cr);
  cairo_restore(cr);
  if (w.flipBefore_) {
    w.DrawFlip(cr, d);
    return TRUE;
  }
  if (d) CompositeDesklet(cr, *d, w.host_.DeskletImage(*d));
  return TRUE;
}

bool DeskletWindow::StartFlip(cairo_surface_t* before, std::function<void()> finished) {
  if (!before || !gtk_widget_get_mapped(window_)) return false;
  EndFlip();  // a turn under way ends where it is
  flipBefore_ = cairo_surface_reference(before);
  flipFinished_ = std::move(finished);
  flipStart_ = -1;
  flipProgress_ = 0;
  flipTick_ = gtk_widget_add_tick_callback(window_, &DeskletWindow::OnFlipTick, this, nullptr);
  gtk_widget_queue_draw(window_);
  return true;
}

gboolean DeskletWindow::OnFlipTick(GtkWidget*, GdkFrameClock* clock, gpointer self) {
  constexpr double kTurnMicroseconds = 300000;
  DeskletWindow& w = Self(self);
  const gint64 now = gdk_frame_clock_get_frame_time(clock);
  if (w.flipStart_ < 0) w.flipStart_ = now;
  w.flipProgress_ = std::min(1.0, static_cast<double>(now - w.flipStart_) / kTurnMicroseconds);
  gtk_widget_queue_draw(w.window_);
  if (w.flipProgress_ < 1) return G_SOURCE_CONTINUE;
  w.flipTick_ = 0;  // removed by returning G_SOURCE_REMOVE
  w.EndFlip();
  return G_SOURCE_REMOVE;
}

void DeskletWindow::EndFlip() {
  if (flipTick_) gtk_widget_remove_tick_callback(window_, flipTick_);
  flipTick_ = 0;
  if (flipBefore_) cairo_surface_destroy(flipBefore_);
  flipBefore_ = nullptr;
  if (window_ && gtk_widget_get_realized(window_)) gtk_widget_queue_draw(window_);
  // Taken out first: what it runs may start another flip.
  if (auto finished = std::exchange(flipFinished_, nullptr)) finished();
}

void DeskletWindow::DrawFlip(cairo_t* cr, const HostDesklet* d) {
  const double width = gtk_widget_get_allocated_width(window_);
  // The first half narrows the old face to an edge, the second widens the
  // new one from it.
  const bool first = flipProgress_ < 0.5;
  const double scale = first ? 1 - 2 * flipProgress_ : 2 * flipProgress_ - 1;
  if (scale <= 0) return;
  const double faceWidth = first ? cairo_image_surface_get_width(flipBefore_) : (d ? d->Size().cx : 0);
  cairo_save(cr);
  cairo_translate(cr, width / 2, 0);
  cairo_scale(cr, scale, 1);
  cairo_translate(cr, -faceWidth / 2, 0);
  if (first) {
    cairo_set_source_surface(cr, flipBefore_, 0, 0);
    cairo_paint(cr);
  } else if (d) {
    CompositeDesklet(cr, *d, host_.DeskletImage(*d));
  }
  cairo_restore(cr);
}

gboolean DeskletWindow::OnMotion(GtkWidget*, GdkEventMotion* event, gpointer self) {
  DeskletWindow& w = Self(self);
  w.host_.cursorPos = {static_cast<int32_t>(event->x_root), static_cast<int32_t>(event->y_root)};
  if (w.moving_) {
    // NOTE: a layer surface knows no screen positions: the desklet follows
    // the pointer so that it stays over the point where it was pressed.
    if (w.layered_) {
      w.MoveBy(event->x - w.moveX_, event->y - w.moveY_);
    } else {
      w.MoveBy(event->x_root - w.moveX_, event->y_root - w.moveY_);
      w.moveX_ = event->x_root;
      w.moveY_ = event->y_root;
    }
    return TRUE;
  }
  w.router_.Move(static_cast<int>(event->x), static_cast<int>(event->y));
  w.changed_();
  return TRUE;
}

gboolean DeskletWindow::OnButtonPress(GtkWidget*, GdkEventButton* event, gpointer self) {
  DeskletWindow& w = Self(self);
  w.host_.cursorPos = {static_cast<int32_t>(event->x_root), static_cast<int32_t>(event->y_root)};
  if (event->type != GDK_BUTTON_PRESS || event->button != 1) return TRUE;
  gtk_window_present(GTK_WINDOW(w.window_));
  const bool taken =
      w.router_.Down(static_cast<int>(event->x), static_cast<int>(event->y), Flags(event->state, kFlagLeft));
  if (!taken) {
    w.moving_ = true;
    w.moveX_ = w.layered_ ? event->x : event->x_root;
    w.moveY_ = w.layered_ ? event->y : event->y_root;
  }
  w.changed_();
  return TRUE;
}

gboolean DeskletWindow::OnButtonRelease(GtkWidget*, GdkEventButton* event, gpointer self) {
  DeskletWindow& w = Self(self);
  w.host_.cursorPos = {static_cast<int32_t>(event->x_root), static_cast<int32_t>(event->y_root)};
  const int x = static_cast<int>(event->x), y = static_cast<int>(event->y);
  if (event->button == 1) {
    if (w.moving_) {
      w.moving_ = false;
      return TRUE;
    }
    w.router_.Up(x, y, Flags(event->state, kFlagLeft));
  } else if (event->button == 3) {
    if (!w.router_.RightClick(x, y)) w.session_.ShowHostMenu(w.hwnd_);
  }
  w.changed_();
  return TRUE;
}

gboolean DeskletWindow::OnScroll(GtkWidget*, GdkEventScroll* event, gpointer self) {
  DeskletWindow& w = Self(self);
  int steps = 0;
  switch (event->direction) {
    case GDK_SCROLL_UP: steps = 1; break;
    case GDK_SCROLL_DOWN: steps = -1; break;
    case GDK_SCROLL_SMOOTH: {
      w.wheel_ -= event->delta_y;
      steps = static_cast<int>(w.wheel_);
      w.wheel_ -= steps;
      break;
    }
    default: break;
  }
  if (steps != 0) {
    w.router_.Wheel(steps, static_cast<int>(event->x), static_cast<int>(event->y));
    w.changed_();
  }
  return TRUE;
}

gboolean DeskletWindow::OnKeyPress(GtkWidget*, GdkEventKey* event, gpointer self) {
  DeskletWindow& w = Self(self);
  // Keys that make no character, and those whose character comes with the
  // key-down message, go as Windows virtual keys.
  uint32_t virtualKey = 0;
  switch (event->keyval) {
    case GDK_KEY_Return: case GDK_KEY_KP_Enter: virtualKey = 13; break;
    case GDK_KEY_Escape: virtualKey = 27; break;
    case GDK_KEY_Tab: case GDK_KEY_ISO_Left_Tab: virtualKey = 9; break;
    case GDK_KEY_BackSpace: virtualKey = 8; break;
    case GDK_KEY_Left: case GDK_KEY_KP_Left: virtualKey = 37; break;
    case GDK_KEY_Up: case GDK_KEY_KP_Up: virtualKey = 38; break;
    case GDK_KEY_Right: case GDK_KEY_KP_Right: virtualKey = 39; break;
    case GDK_KEY_Down: case GDK_KEY_KP_Down: virtualKey = 40; break;
    case GDK_KEY_Home: case GDK_KEY_KP_Home: virtualKey = 36; break;
    case GDK_KEY_End: case GDK_KEY_KP_End: virtualKey = 35; break;
    case GDK_KEY_Page_Up: case GDK_KEY_KP_Page_Up: virtualKey = 33; break;
    case GDK_KEY_Page_Down: case GDK_KEY_KP_Page_Down: virtualKey = 34; break;
    case GDK_KEY_Delete: case GDK_KEY_KP_Delete: virtualKey = 46; break;
    case GDK_KEY_F4: virtualKey = 115; break;
    default: break;
  }
  if (virtualKey != 0) {
    w.router_.KeyDown(virtualKey, (event->state & GDK_SHIFT_MASK) != 0);
    w.changed_();
    return TRUE;
  }
  const char32_t c = gdk_keyval_to_unicode(event->keyval);
  if (c == 0) return FALSE;
  w.router_.Key(std::u32string(1, c));
  w.changed_();
  return TRUE;
}

gboolean DeskletWindow::OnLeave(GtkWidget*, GdkEventCrossing* event, gpointer self) {
  DeskletWindow& w = Self(self);
  // Crossings into a child window or by a grab are no leave of the desklet.
  if (w.moving_ || event->detail == GDK_NOTIFY_INFERIOR || event->mode != GDK_CROSSING_NORMAL) return FALSE;
  w.router_.Leave();
  w.changed_();
  return FALSE;
}

gboolean DeskletWindow::OnFocusIn(GtkWidget*, GdkEventFocus*, gpointer self) {
  DeskletWindow& w = Self(self);
  w.router_.Select();
  w.changed_();
  return FALSE;
}

gboolean DeskletWindow::OnFocusOut(GtkWidget*, GdkEventFocus*, gpointer self) {
  DeskletWindow& w = Self(self);
  w.router_.Deselect();
  w.changed_();
  return FALSE;
}

// The window manager's close is the user's: the desklet is closed for good,
// from the loop, never inside an event the plug-in may be part of.
gboolean DeskletWindow::OnDelete(GtkWidget*, GdkEvent*, gpointer self) {
  DeskletWindow& w = Self(self);
  w.session_.RequestCloseForGood(w.hwnd_);
  return TRUE;
}

}  // namespace kivhost
