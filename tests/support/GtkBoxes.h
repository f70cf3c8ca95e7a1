// The GTK message box the program has on the screen, for tests that answer or measure it.
#pragma once

#include <gtk/gtk.h>

namespace vztest
{

// The message box mapped last among the toplevels, or null.
inline GtkWidget* ShownMessageBox()
{
    GtkWidget* box = nullptr;
    GList* all = gtk_window_list_toplevels();
    for (GList* l = all; l; l = l->next)
        if (GTK_IS_MESSAGE_DIALOG(l->data) && gtk_widget_get_mapped(GTK_WIDGET(l->data)))
            box = GTK_WIDGET(l->data);
    g_list_free(all);
    return box;
}

} // namespace vztest
