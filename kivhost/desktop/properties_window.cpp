#include "kivhost/desktop/properties_window.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/util/text.h"
#include "platform/win/win_services.h"

namespace kivhost {

namespace {

// Pixels a dialog unit, as the window system's dialog font gives them
// (roughly; GTK's widgets then take the room they need).
constexpr double kUnitX = 2.0;
constexpr double kUnitY = 2.2;

struct ItemWidget {
  HWND page = 0;
  int32_t id = 0;
  int32_t kind = 0;
  GtkWidget* widget = nullptr;  // the button, the check box, the frame or the text view
};

struct Shown {
  Host* host = nullptr;
  Session* session = nullptr;
  HWND desklet = 0;
  bool syncing = false;
  std::vector<std::unique_ptr<ItemWidget>> items;
};

void Sync(Shown& shown) {
  HostDesklet* desklet = shown.host->Find(shown.desklet);
  if (!desklet || !desklet->properties) return;
  shown.syncing = true;
  for (const auto& entry : shown.items) {
    PageWindow* page = desklet->properties->Page(entry->page);
    const DialogItem* item = page ? page->Item(entry->id) : nullptr;
    if (!item) continue;
    switch (entry->kind) {
      case kDialogLog:
        gtk_text_buffer_set_text(gtk_text_view_get_buffer(GTK_TEXT_VIEW(entry->widget)), item->text.c_str(), -1);
        break;
      case kDialogCheckBox:
        gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(entry->widget), item->checked);
        gtk_button_set_label(GTK_BUTTON(entry->widget), item->text.c_str());
        break;
      case kDialogButton: gtk_button_set_label(GTK_BUTTON(entry->widget), item->text.c_str()); break;
      case kDialogGroup: gtk_frame_set_label(GTK_FRAME(entry->widget), kiv::Trim(item->text).c_str()); break;
      default: break;
    }
  }
  shown.syncing = false;
}

void Pressed(GtkWidget* widget, gpointer data) {
  auto* shown = static_cast<Shown*>(g_object_get_data(G_OBJECT(widget), "shown"));
  auto* entry = static_cast<ItemWidget*>(data);
  if (!shown || shown->syncing) return;
  shown->session->PressDialogItem(shown->desklet, entry->page, entry->id);
  Sync(*shown);
}

GtkWidget* ItemWidgetFor(const DialogItem& item) {
  switch (item.kind) {
    case kDialogGroup: return gtk_frame_new(kiv::Trim(item.text).c_str());
    case kDialogLog: {
      GtkWidget* view = gtk_text_view_new();
      gtk_text_view_set_editable(GTK_TEXT_VIEW(view), FALSE);
      gtk_text_view_set_cursor_visible(GTK_TEXT_VIEW(view), FALSE);
      gtk_text_view_set_monospace(GTK_TEXT_VIEW(view), TRUE);
      return view;
    }
    case kDialogButton: return gtk_button_new_with_label(item.text.c_str());
    case kDialogCheckBox: return gtk_check_button_new_with_label(item.text.c_str());
    default: return nullptr;
  }
}

GtkWidget* BuildPage(Shown& shown, const PageWindow& page) {
  GtkWidget* fixed = gtk_fixed_new();
  gtk_widget_set_size_request(fixed, static_cast<int>(161 * kUnitX), static_cast<int>(114 * kUnitY));
  for (const DialogItem& item : page.items) {
    GtkWidget* widget = ItemWidgetFor(item);
    if (!widget) continue;
    auto entry = std::make_unique<ItemWidget>(ItemWidget{page.hwnd, item.id, item.kind, widget});
    GtkWidget* placed = widget;
    if (item.kind == kDialogLog) {
      placed = gtk_scrolled_window_new(nullptr, nullptr);
      gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(placed), GTK_POLICY_AUTOMATIC, GTK_POLICY_AUTOMATIC);
      gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(placed), GTK_SHADOW_IN);
      gtk_container_add(GTK_CONTAINER(placed), widget);
    }
    const int width = static_cast<int>((item.rect.right - item.rect.left) * kUnitX);
    const int height = static_cast<int>((item.rect.bottom - item.rect.top) * kUnitY);
    gtk_widget_set_size_request(placed, std::max(width, 1), std::max(height, 1));
    gtk_fixed_put(GTK_FIXED(fixed), placed, static_cast<int>(item.rect.left * kUnitX),
                  static_cast<int>(item.rect.top * kUnitY));
    if (item.kind == kDialogButton || item.kind == kDialogCheckBox) {
      g_object_set_data(G_OBJECT(widget), "shown", &shown);
      g_signal_connect(widget, "clicked", G_CALLBACK(Pressed), entry.get());
    }
    shown.items.push_back(std::move(entry));
  }
  return fixed;
}

// The dialogs shown now, innermost last.
std::vector<GtkWidget*>& ShownDialogs() {
  static std::vector<GtkWidget*> shown;
  return shown;
}

}  // namespace

void CloseShownProperties() {
  for (GtkWidget* dialog : ShownDialogs()) gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_CLOSE);
}

void ShowPropertiesWithGtk(Host& host, Session& session, HWND hwnd) {
  HostDesklet* desklet = host.Find(hwnd);
  if (!desklet || !desklet->properties) return;
  Shown shown{&host, &session, hwnd, false, {}};
  const std::string name = desklet->label.empty() ? desklet->SkinName() : desklet->label;
  GtkWidget* dialog = gtk_dialog_new_with_buttons((name + " Properties").c_str(), nullptr, GTK_DIALOG_MODAL, "_Close",
                                                  GTK_RESPONSE_CLOSE, nullptr);
  GtkWidget* notebook = gtk_notebook_new();
  for (const PageWindow& page : desklet->properties->pages)
    gtk_notebook_append_page(GTK_NOTEBOOK(notebook), BuildPage(shown, page), gtk_label_new(page.from.title.c_str()));
  gtk_container_add(GTK_CONTAINER(gtk_dialog_get_content_area(GTK_DIALOG(dialog))), notebook);
  Sync(shown);
  gtk_widget_show_all(dialog);
  ShownDialogs().push_back(dialog);
  gtk_dialog_run(GTK_DIALOG(dialog));
  std::erase(ShownDialogs(), dialog);
  gtk_widget_destroy(dialog);
}

}  // namespace kivhost
