// Key events put on GTK's queue as the X server sends them to a window.
#pragma once

#include <gtk/gtk.h>

namespace vztest
{

// One press or release of keyval on the widget's window, with the given
// modifier state.
inline void PutGtkKey(GtkWidget* widget, guint keyval, GdkEventType type, guint state = 0)
{
    GdkDisplay* display = gdk_display_get_default();
    GdkKeymapKey* keys = nullptr;
    gint n = 0;
    gdk_keymap_get_entries_for_keyval(gdk_keymap_get_for_display(display), keyval, &keys, &n);
    GdkEvent* e = gdk_event_new(type);
    e->key.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(widget)));
    e->key.send_event = TRUE;
    e->key.keyval = keyval;
    e->key.state = state;
    e->key.hardware_keycode = n > 0 ? guint16(keys[0].keycode) : 0;
    e->key.time = GDK_CURRENT_TIME;
    gdk_event_set_device(e, gdk_seat_get_keyboard(gdk_display_get_default_seat(display)));
    gdk_event_put(e);
    gdk_event_free(e);
    g_free(keys);
}

// A press and its release.
inline void PressGtkKey(GtkWidget* widget, guint keyval, guint state = 0)
{
    PutGtkKey(widget, keyval, GDK_KEY_PRESS, state);
    PutGtkKey(widget, keyval, GDK_KEY_RELEASE, state);
}

} // namespace vztest
