#include "kivhost/desktop/gtk_dialogs.h"

#include <gtk/gtk.h>

#include <vector>

#include "platform/win/win_services.h"

namespace kivhost {

namespace {

// The line drawn before the first item of a column that starts with a bar
// (a menu-bar break), as the window system draws it.
void MarkBarColumn(GtkWidget* entry) {
  static GtkCssProvider* const bar = [] {
    GtkCssProvider* provider = gtk_css_provider_new();
    gtk_css_provider_load_from_data(provider, "menuitem { border-left: 1px solid alpha(currentColor, 0.35); }", -1,
                                    nullptr);
    return provider;
  }();
  gtk_style_context_add_provider(gtk_widget_get_style_context(entry), GTK_STYLE_PROVIDER(bar),
                                 GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
}

// A cascading GTK menu from the host's menu objects; `chosen` receives the
// command of the item activated. Items go into a grid so that a column
// break (with or without its bar) starts a new column at the top.
GtkWidget* BuildMenu(Host& host, HMENU handle, int* chosen, int depth = 0) {
  GtkWidget* menu = gtk_menu_new();
  const std::optional<std::vector<MenuItem>> items = host.objects.Menu(handle);
  if (!items || depth > 16) return menu;
  guint column = 0, row = 0;
  bool barColumn = false;
  for (const MenuItem& item : *items) {
    if ((item.flags & (kMfMenuBreak | kMfMenuBarBreak)) && row > 0) {
      ++column;
      row = 0;
      barColumn = (item.flags & kMfMenuBarBreak) != 0;
    }
    GtkWidget* entry = nullptr;
    if (item.flags & kMfSeparator) {
      entry = gtk_separator_menu_item_new();
    } else if (item.flags & kMfChecked) {
      entry = gtk_check_menu_item_new_with_label(item.text.c_str());
      gtk_check_menu_item_set_active(GTK_CHECK_MENU_ITEM(entry), TRUE);
    } else {
      entry = gtk_menu_item_new_with_label(item.text.c_str());
    }
    if (item.flags & kMfGrayed) gtk_widget_set_sensitive(entry, FALSE);
    if (item.flags & kMfPopup) {
      gtk_menu_item_set_submenu(GTK_MENU_ITEM(entry),
                                BuildMenu(host, static_cast<HMENU>(item.idOrSubMenu), chosen, depth + 1));
    } else if (!(item.flags & kMfSeparator)) {
      g_object_set_data(G_OBJECT(entry), "command", reinterpret_cast<gpointer>(item.idOrSubMenu));
      g_signal_connect(entry, "activate", G_CALLBACK(+[](GtkMenuItem* self, gpointer out) {
                         *static_cast<int*>(out) =
                             static_cast<int>(reinterpret_cast<uintptr_t>(g_object_get_data(G_OBJECT(self), "command")));
                       }),
                       chosen);
    }
    if (barColumn) MarkBarColumn(entry);
    gtk_menu_attach(GTK_MENU(menu), entry, column, column + 1, row, row + 1);
    ++row;
  }
  gtk_widget_show_all(menu);
  return menu;
}

std::optional<Answer> PopupMenu(Host& host, const DialogRequest& request) {
  int chosen = 0;
  GtkWidget* menu = BuildMenu(host, request.menu, &chosen);
  g_object_ref_sink(menu);
  GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
  // The menu's selection comes before its deactivation.
  const gulong done = g_signal_connect_swapped(menu, "deactivate", G_CALLBACK(g_main_loop_quit), loop);
  GdkRectangle at{request.at.x, request.at.y, 1, 1};
  gtk_menu_popup_at_rect(GTK_MENU(menu), gdk_get_default_root_window(), &at, GDK_GRAVITY_NORTH_WEST,
                         GDK_GRAVITY_NORTH_WEST, nullptr);
  if (gtk_widget_get_visible(menu)) g_main_loop_run(loop);
  // The activate signal runs after deactivate; let it.
  while (g_main_context_pending(nullptr)) g_main_context_iteration(nullptr, FALSE);
  g_signal_handler_disconnect(menu, done);
  g_main_loop_unref(loop);
  gtk_widget_destroy(menu);
  g_object_unref(menu);
  if (chosen == 0) return Answer{Answer::Kind::Cancel, {}, 0};
  return Answer{Answer::Kind::Menu, {}, chosen};
}

std::optional<Answer> MessageBox(const DialogRequest& request) {
  const uint32_t buttons = request.style & 0xF;
  GtkButtonsType type = GTK_BUTTONS_OK;
  if (buttons == 1) type = GTK_BUTTONS_OK_CANCEL;
  else if (buttons == kMbYesNo) type = GTK_BUTTONS_YES_NO;
  GtkMessageType look = (request.style & kMbIconQuestion) ? GTK_MESSAGE_QUESTION : GTK_MESSAGE_INFO;
  GtkWidget* dialog = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, look, type, "%s", request.text.c_str());
  if (buttons == 3) {  // yes, no and cancel
    gtk_dialog_add_buttons(GTK_DIALOG(dialog), "_Yes", GTK_RESPONSE_YES, "_No", GTK_RESPONSE_NO, "_Cancel",
                           GTK_RESPONSE_CANCEL, nullptr);
  }
  gtk_window_set_title(GTK_WINDOW(dialog), request.caption.c_str());
  const gint response = gtk_dialog_run(GTK_DIALOG(dialog));
  gtk_widget_destroy(dialog);
  switch (response) {
    case GTK_RESPONSE_YES: return Answer{Answer::Kind::Yes, {}, 0};
    case GTK_RESPONSE_NO: return Answer{Answer::Kind::No, {}, 0};
    case GTK_RESPONSE_OK: return std::nullopt;
    default: return Answer{Answer::Kind::Cancel, {}, 0};
  }
}

std::optional<Answer> InputBox(const DialogRequest& request) {
  GtkWidget* dialog = gtk_dialog_new_with_buttons(request.caption.c_str(), nullptr, GTK_DIALOG_MODAL, "_Cancel",
                                                  GTK_RESPONSE_CANCEL, "_OK", GTK_RESPONSE_OK, nullptr);
  GtkWidget* area = gtk_dialog_get_content_area(GTK_DIALOG(dialog));
  GtkWidget* prompt = gtk_label_new(request.text.c_str());
  GtkWidget* entry = gtk_entry_new();
  gtk_entry_set_text(GTK_ENTRY(entry), request.initial.c_str());
  gtk_entry_set_activates_default(GTK_ENTRY(entry), TRUE);
  gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);
  gtk_box_pack_start(GTK_BOX(area), prompt, FALSE, FALSE, 6);
  gtk_box_pack_start(GTK_BOX(area), entry, FALSE, FALSE, 6);
  gtk_widget_show_all(dialog);
  std::optional<Answer> answer;
  if (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_OK)
    answer = Answer{Answer::Kind::Input, gtk_entry_get_text(GTK_ENTRY(entry)), 0};
  gtk_widget_destroy(dialog);
  return answer;
}

// "Text files|*.txt|All files|*.*" as GTK filters.
void AddFilters(GtkFileChooser* chooser, const std::string& filter) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= filter.size() && !filter.empty()) {
    const size_t bar = filter.find('|', start);
    parts.push_back(filter.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  for (size_t i = 0; i + 1 < parts.size(); i += 2) {
    GtkFileFilter* f = gtk_file_filter_new();
    gtk_file_filter_set_name(f, parts[i].c_str());
    size_t from = 0;
    const std::string& patterns = parts[i + 1];
    while (from <= patterns.size()) {
      const size_t semi = patterns.find(';', from);
      const std::string pattern = patterns.substr(from, semi == std::string::npos ? std::string::npos : semi - from);
      if (!pattern.empty()) gtk_file_filter_add_pattern(f, pattern.c_str());
      if (semi == std::string::npos) break;
      from = semi + 1;
    }
    gtk_file_chooser_add_filter(chooser, f);
  }
}

std::optional<Answer> FileChooser(const DialogRequest& request) {
  GtkFileChooserAction action = GTK_FILE_CHOOSER_ACTION_OPEN;
  const char* accept = "_Open";
  if (request.kind == DialogRequest::Kind::SaveFile) action = GTK_FILE_CHOOSER_ACTION_SAVE, accept = "_Save";
  if (request.kind == DialogRequest::Kind::Folder) action = GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER, accept = "_Select";
  GtkWidget* dialog = gtk_file_chooser_dialog_new(request.caption.c_str(), nullptr, action, "_Cancel",
                                                  GTK_RESPONSE_CANCEL, accept, GTK_RESPONSE_ACCEPT, nullptr);
  GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
  if (action == GTK_FILE_CHOOSER_ACTION_SAVE) gtk_file_chooser_set_do_overwrite_confirmation(chooser, TRUE);
  if (!request.initial.empty()) gtk_file_chooser_set_current_folder(chooser, request.initial.c_str());
  AddFilters(chooser, request.filter);
  std::optional<Answer> answer;
  if (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_ACCEPT) {
    if (char* file = gtk_file_chooser_get_filename(chooser)) {
      std::string path = file;
      g_free(file);
      // A saved file without an extension takes the default one.
      const size_t slash = path.find_last_of('/');
      if (action == GTK_FILE_CHOOSER_ACTION_SAVE && !request.defaultExt.empty() &&
          path.find('.', slash == std::string::npos ? 0 : slash) == std::string::npos)
        path += "." + request.defaultExt;
      answer = Answer{Answer::Kind::File, path, 0};
    }
  }
  gtk_widget_destroy(dialog);
  return answer;
}

std::optional<Answer> ColorChooser(const DialogRequest& request) {
  GtkWidget* dialog = gtk_color_chooser_dialog_new(request.caption.empty() ? "Colour" : request.caption.c_str(), nullptr);
  // Colours come and go as 0x00BBGGRR.
  const GdkRGBA start{(request.color & 0xFF) / 255.0, ((request.color >> 8) & 0xFF) / 255.0,
                      ((request.color >> 16) & 0xFF) / 255.0, 1.0};
  gtk_color_chooser_set_rgba(GTK_COLOR_CHOOSER(dialog), &start);
  gtk_color_chooser_set_use_alpha(GTK_COLOR_CHOOSER(dialog), FALSE);
  std::optional<Answer> answer;
  if (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_OK) {
    GdkRGBA c;
    gtk_color_chooser_get_rgba(GTK_COLOR_CHOOSER(dialog), &c);
    auto byte = [](double v) { return static_cast<int>(v * 255.0 + 0.5) & 0xFF; };
    answer = Answer{Answer::Kind::Color, {}, byte(c.red) | byte(c.green) << 8 | byte(c.blue) << 16};
  }
  gtk_widget_destroy(dialog);
  return answer;
}

}  // namespace

std::optional<Answer> AskWithGtk(Host& host, const DialogRequest& request) {
  switch (request.kind) {
    case DialogRequest::Kind::Menu: return PopupMenu(host, request);
    case DialogRequest::Kind::MessageBox: return MessageBox(request);
    case DialogRequest::Kind::Input: return InputBox(request);
    case DialogRequest::Kind::Color: return ColorChooser(request);
    case DialogRequest::Kind::OpenFile:
    case DialogRequest::Kind::SaveFile:
    case DialogRequest::Kind::Folder: return FileChooser(request);
  }
  return std::nullopt;
}

}  // namespace kivhost
