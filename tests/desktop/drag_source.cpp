// A drag source for the desktop tests: a small window at (500, 100) whose
// drag, started with the left button, carries the files named on the
// command line as a text/uri-list, as a file manager's does.
#include <gtk/gtk.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> uris;

void GiveData(GtkWidget*, GdkDragContext*, GtkSelectionData* data, guint, guint, gpointer) {
  std::vector<gchar*> list;
  for (std::string& uri : uris) list.push_back(uri.data());
  list.push_back(nullptr);
  gtk_selection_data_set_uris(data, list.data());
}

}  // namespace

int main(int argc, char** argv) {
  gtk_init(&argc, &argv);
  for (int i = 1; i < argc; ++i) {
    gchar* uri = g_filename_to_uri(argv[i], nullptr, nullptr);
    if (uri) uris.emplace_back(uri);
    g_free(uri);
  }
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window), "DragSource");
  gtk_window_set_decorated(GTK_WINDOW(window), FALSE);
  gtk_widget_set_size_request(window, 60, 60);
  gtk_window_move(GTK_WINDOW(window), 500, 100);
  static GtkTargetEntry target{const_cast<gchar*>("text/uri-list"), 0, 0};
  gtk_drag_source_set(window, GDK_BUTTON1_MASK, &target, 1, GDK_ACTION_COPY);
  g_signal_connect(window, "drag-data-get", G_CALLBACK(GiveData), nullptr);
  g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
  gtk_widget_show_all(window);
  gtk_main();
  return 0;
}
