// DeskletWindow: one desklet shown as a GTK top-level window. It paints the
// host's composite of the desklet (with per-pixel alpha where the screen
// composites, opaque otherwise), lets clicks on transparent pixels fall
// through to what lies below, and hands pointer, wheel, key and focus
// events to the input router. A left press that no layer takes moves the
// desklet. The window has no decorations, is on every workspace, stays
// out of the task bar and pager, and is kept below other windows unless the
// desklet was set to stay among or above them. Files
// dropped on it go to the plug-in's drop path; the cursor is the one the
// plug-in set.
//
// The model stays the truth: Sync() brings the window in line with the
// desklet's rectangle and picture after the plug-in changed them. A redraw
// repaints only the box around the layers that changed since the last one
// (GTK paints it at the next frame); anything else repaints all.
#pragma once

#include <gtk/gtk.h>

#include <functional>

#include "kivhost/loop/input_router.h"
#include "kivhost/loop/session.h"

namespace kivhost {

class DeskletWindow {
 public:
  // `changed` runs after every event the plug-in was told of, so that all
  // windows can follow what it changed.
  DeskletWindow(Host& host, Session& session, HWND hwnd, std::function<void()> changed);
  ~DeskletWindow();
  DeskletWindow(const DeskletWindow&) = delete;
  DeskletWindow& operator=(const DeskletWindow&) = delete;

  HWND Hwnd() const { return hwnd_; }
  GtkWidget* Widget() const { return window_; }
  void Sync();
  // Shows a flip as a turn about the vertical axis, on the frame clock:
  // the picture from before the flip narrows to nothing, then the
  // desklet's present picture widens to full. `finished` runs when the
  // turn has been shown, or when the window goes first. False when the
  // window is not on the screen: nothing to show.
  bool StartFlip(cairo_surface_t* before, std::function<void()> finished);

 private:
  HostDesklet* Desklet() const { return host_.Find(hwnd_); }
  void Connect();
  // The input shape follows the picture: all of it, or within the box that
  // changed.
  void Reshape(const std::optional<KivRect>& box);
  void ShowCursor(HCURSOR cursor);
  void AcceptDrops();
  static void OnDrop(GtkWidget*, GdkDragContext* context, gint x, gint y, GtkSelectionData* data, guint info,
                     guint time, gpointer self);
  void MoveBy(double dx, double dy);

  static gboolean OnDraw(GtkWidget*, cairo_t* cr, gpointer self);
  static gboolean OnMotion(GtkWidget*, GdkEventMotion* event, gpointer self);
  static gboolean OnButtonPress(GtkWidget*, GdkEventButton* event, gpointer self);
  static gboolean OnButtonRelease(GtkWidget*, GdkEventButton* event, gpointer self);
  static gboolean OnScroll(GtkWidget*, GdkEventScroll* event, gpointer self);
  static gboolean OnKeyPress(GtkWidget*, GdkEventKey* event, gpointer self);
  static gboolean OnLeave(GtkWidget*, GdkEventCrossing* event, gpointer self);
  static gboolean OnFocusIn(GtkWidget*, GdkEventFocus*, gpointer self);
  static gboolean OnFocusOut(GtkWidget*, GdkEventFocus*, gpointer self);
  static gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer self);
  static gboolean OnFlipTick(GtkWidget*, GdkFrameClock* clock, gpointer self);
  void EndFlip();
  void DrawFlip(cairo_t* cr, const HostDesklet* d);

  Host& host_;
  Session& session_;
  HWND hwnd_;
  std::function<void()> changed_;
  InputRouter router_;
  GtkWidget* window_ = nullptr;
  bool composited_ = false;
  // A layer surface (Wayland): placed by margins, not moved.
  bool layered_ = false;
  // What the window shows of the model.
  KivRect shownRect_{0, 0, 0, 0};
  int shownRedraws_ = -1;
  // What the whole face depends on besides the layers.
  struct Face {
    int32_t width = 0, height = 0;
    int32_t alpha = 0, rotation = 0;
    std::string imageFile;
    bool operator==(const Face&) const = default;
  };
  std::optional<Face> shownFace_;
  cairo_region_t* shape_ = nullptr;
  HCURSOR shownCursor_ = 0;
  std::optional<Stacking> shownStacking_;
  // A move of the desklet under way: where the pointer was on the screen
  // (in the window, for a layer surface).
  bool moving_ = false;
  double moveX_ = 0, moveY_ = 0;
  double wheel_ = 0;  // smooth scrolling, until it makes a whole step
  // A flip being shown: the picture from before it, when the turn began
  // (frame time in microseconds, -1 before the first frame), how far it is
  // (0 to 1), and what to run at its end.
  cairo_surface_t* flipBefore_ = nullptr;
  gint64 flipStart_ = -1;
  double flipProgress_ = 0;
  guint flipTick_ = 0;
  std::function<void()> flipFinished_;
};

}  // namespace kivhost
