/* A peer for the window benchmark: a bare GtkTextView in a window, holding
 * the file given, monospace, the caret at the start, scroll bars that stay
 * (like Kib's: GTK's fading overlay indicators would repaint the text in
 * every step of their fade and make this peer slower than it can be).
 *   peer_gtktextview [--size WxH] FILE */
#include <gtk/gtk.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int main(int argc, char** argv)
{
    gtk_init(&argc, &argv);
    int width = 1024, height = 768;
    const char* path = NULL;
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--size") == 0 && i + 1 < argc)
            sscanf(argv[++i], "%dx%d", &width, &height);
        else
            path = argv[i];
    }
    if (!path) {
        fprintf(stderr, "usage: peer_gtktextview [--size WxH] FILE\n");
        return 2;
    }
    gchar* text = NULL;
    gsize length = 0;
    GError* error = NULL;
    if (!g_file_get_contents(path, &text, &length, &error)) {
        fprintf(stderr, "%s\n", error->message);
        return 1;
    }
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gchar* base = g_path_get_basename(path);
    gtk_window_set_title(GTK_WINDOW(window), base);
    gtk_window_set_default_size(GTK_WINDOW(window), width, height);
    g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), NULL);
    GtkWidget* scroll = gtk_scrolled_window_new(NULL, NULL);
    gtk_scrolled_window_set_overlay_scrolling(GTK_SCROLLED_WINDOW(scroll), FALSE);
    GtkWidget* view = gtk_text_view_new();
    gtk_text_view_set_monospace(GTK_TEXT_VIEW(view), TRUE);
    GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(view));
    gtk_text_buffer_set_text(buffer, text, (gint)length);
    g_free(text);
    GtkTextIter start;
    gtk_text_buffer_get_start_iter(buffer, &start);
    gtk_text_buffer_place_cursor(buffer, &start);
    gtk_container_add(GTK_CONTAINER(scroll), view);
    gtk_container_add(GTK_CONTAINER(window), scroll);
    gtk_widget_show_all(window);
    gtk_widget_grab_focus(view);
    gtk_main();
    g_free(base);
    return 0;
}
