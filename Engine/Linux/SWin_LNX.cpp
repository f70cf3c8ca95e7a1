// The native dialog kit on GTK 3: a modal GtkWindow holding a GtkFixed, with
// one widget per control placed at its pixel rectangle. The kit's Latin-1
// texts become UTF-8 here and come back as Latin-1.
#include "SWin_LNX.h"

#include <glib-unix.h>

#include "EngDebug.h"
#include "EngGui_LNX.h"
#include "EngSignals_LNX.h"
#include "EngUnicode.h"

namespace
{
const char* const cswin_owner_key = "swin-owner";
const char* const cswin_index_key = "swin-index";
const char* const cswin_fixed_key = "swin-fixed";
const char* const cswin_termination_key = "swin-termination-watch";
const char* const cswin_edit_key = "swin-has-edit-text";

// Command IDs: control i is 'SWBT' + i.
const EngUInt32 SWIN_COMMAND_BASE = EngFourCC('S', 'W', 'B', 'T');

// Rows are laid out 20 pixels high: no minimum height, no vertical padding;
// narrow side padding so that titles fit their buttons. Only the kit's
// windows (style class "swin") are affected.
const char* const cswin_css = ".swin button, .swin entry {"
                              " min-height: 0; padding-top: 0; padding-bottom: 0; }"
                              ".swin button { padding-left: 4px; padding-right: 4px; }"
                              ".swin combobox box, .swin combobox cellview, .swin button label { min-height: 0; }";

void Notify(GtkWidget* w)
{
    SWin* owner = static_cast<SWin*>(g_object_get_data(G_OBJECT(w), cswin_owner_key));
    if (owner)
        owner->HandleButtonCallback(GPOINTER_TO_INT(g_object_get_data(G_OBJECT(w), cswin_index_key)));
}

void OnClicked(GtkButton* b, gpointer)
{
    Notify(GTK_WIDGET(b));
}

void OnComboChanged(GtkComboBox* c, gpointer)
{
    Notify(GTK_WIDGET(c));
}

// The window manager's close button ends the loop; the kit destroys the window.
gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer owner)
{
    static_cast<SWin*>(owner)->QuitWindowLoop();
    return TRUE;
}

// A termination request (SIGINT, SIGTERM) ends the loop as the close button
// does; the request stays pending for the program's own exit.
gboolean OnTerminationRequest(gint, GIOCondition, gpointer window)
{
    GObject* win = G_OBJECT(window);
    g_object_set_data(win, cswin_termination_key, nullptr);
    if (SWin* owner = static_cast<SWin*>(g_object_get_data(win, cswin_owner_key)))
        owner->QuitWindowLoop();
    return G_SOURCE_REMOVE;
}

// The watch must not outlive its window: a later request is another loop's.
void RemoveTerminationWatch(GObject* win)
{
    if (guint watch = GPOINTER_TO_UINT(g_object_get_data(win, cswin_termination_key)))
        g_source_remove(watch);
    g_object_set_data(win, cswin_termination_key, nullptr);
}

// Destroyed by someone else (another part of the program, the window
// manager): the kit's loop ends as after a close.
void OnDestroy(GtkWidget* window, gpointer owner)
{
    RemoveTerminationWatch(G_OBJECT(window));
    g_object_set_data(G_OBJECT(window), cswin_owner_key, nullptr);
    static_cast<SWin*>(owner)->HandleWindowDestroyed();
}

gboolean OnKey(GtkWidget*, GdkEventKey* e, gpointer owner)
{
    if ((e->state & GDK_CONTROL_MASK) && (e->keyval == GDK_KEY_q || e->keyval == GDK_KEY_Q))
    {
        static_cast<SWin*>(owner)->QuitWindowLoop();
        return TRUE;
    }
    return FALSE;
}

// Programmatic fills and selections must not look like the user's.
class BlockChanged
{
public:
    explicit BlockChanged(GtkWidget* w) : w(w)
    {
        g_signal_handlers_block_by_func(w, reinterpret_cast<gpointer>(OnComboChanged), nullptr);
    }
    ~BlockChanged() { g_signal_handlers_unblock_by_func(w, reinterpret_cast<gpointer>(OnComboChanged), nullptr); }

private:
    GtkWidget* w;
};

void EllipsizeButtonLabel(GtkWidget* button)
{
    GtkWidget* child = gtk_bin_get_child(GTK_BIN(button));
    if (child && GTK_IS_LABEL(child))
        gtk_label_set_ellipsize(GTK_LABEL(child), PANGO_ELLIPSIZE_END);
}

// Taller than one line: a wrapping text view.
bool IsMultiLine(int h)
{
    return h > 30;
}

float XAlign(_SWinTextAlign a)
{
    return a == SWIN_ALIGN_CENTRE ? 0.5f : a == SWIN_ALIGN_RIGHT ? 1.0f : 0.0f;
}
} // namespace

char SWinGtkBackend::Start()
{
    if (!tried)
    {
        tried = true;
        started = EngGuiStartGtk_LNX() ? true : false;
        if (started)
        {
            GtkCssProvider* css = gtk_css_provider_new();
            GError* e = nullptr;
            gtk_css_provider_load_from_data(css, cswin_css, -1, &e);
            if (EngGuiIsReturnCodeOk_LNX(__PRETTY_FUNCTION__, e))
                gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(css),
                                                          GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
            else
                g_error_free(e);
            g_object_unref(css);
        }
        else
            DebugErrorAlt(__PRETTY_FUNCTION__, "Could not start GTK (no display)");
    }
    return started ? 1 : 0;
}

char SWinGtkBackend::GetDesktopSize(int* w, int* h)
{
    GdkDisplay* d = started ? gdk_display_get_default() : nullptr;
    if (!d)
        return 0;
    GdkMonitor* m = gdk_display_get_primary_monitor(d);
    if (!m && gdk_display_get_n_monitors(d) > 0)
        m = gdk_display_get_monitor(d, 0);
    if (!m)
        return 0;
    GdkRectangle r;
    gdk_monitor_get_geometry(m, &r);
    *w = r.width;
    *h = r.height;
    return 1;
}

void* SWinGtkBackend::CreateWindow(SWin* owner, int x, int y, int w, int h, const char* title)
{
    GtkWidget* win = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    if (!win)
        return nullptr;
    gtk_window_set_title(GTK_WINDOW(win), EngUtf8FromLatin1(title).c_str());
    gtk_window_set_modal(GTK_WINDOW(win), TRUE);
    gtk_window_set_resizable(GTK_WINDOW(win), FALSE);
    gtk_window_set_type_hint(GTK_WINDOW(win), GDK_WINDOW_TYPE_HINT_DIALOG);
    gtk_style_context_add_class(gtk_widget_get_style_context(win), "swin");
    GtkWidget* fixed = gtk_fixed_new();
    gtk_widget_set_size_request(fixed, w, h);
    gtk_container_add(GTK_CONTAINER(win), fixed);
    g_object_set_data(G_OBJECT(win), cswin_fixed_key, fixed);
    g_signal_connect(win, "delete-event", G_CALLBACK(OnDelete), owner);
    g_signal_connect(win, "key-press-event", G_CALLBACK(OnKey), owner);
    g_signal_connect(win, "destroy", G_CALLBACK(OnDestroy), owner);
    g_object_set_data(G_OBJECT(win), cswin_owner_key, owner);
    if (EngSignalsWakeFd_LNX() >= 0)
        g_object_set_data(G_OBJECT(win), cswin_termination_key,
                          GUINT_TO_POINTER(g_unix_fd_add(EngSignalsWakeFd_LNX(), G_IO_IN, OnTerminationRequest, win)));
    gtk_window_move(GTK_WINDOW(win), x, y);
    EngGuiShowOverMainWindow_LNX(win);
    gtk_widget_show_all(win);
    return win;
}

void SWinGtkBackend::DestroyWindow(void* window)
{
    if (!window)
        return;
    // The kit destroys it: no word back to the kit.
    g_signal_handlers_disconnect_by_func(window, reinterpret_cast<gpointer>(OnDestroy),
                                         g_object_get_data(G_OBJECT(window), cswin_owner_key));
    RemoveTerminationWatch(G_OBJECT(window));
    gtk_widget_destroy(GTK_WIDGET(window));
    if (GdkDisplay* d = gdk_display_get_default())
        gdk_display_flush(d);
}

void* SWinGtkBackend::CreateControl(void* window, SWin* owner, int index, _SWinButtonType kind, int x, int y,
                                    int w, int h, const char* text)
{
    GtkWidget* fixed = window ? static_cast<GtkWidget*>(g_object_get_data(G_OBJECT(window), cswin_fixed_key)) : nullptr;
    if (!fixed)
        return nullptr;
    const std::string t = EngUtf8FromLatin1(text);
    GtkWidget* c = nullptr;
    switch (kind)
    {
    case SWIN_BUT_GROUP_FRAME:
        break; // the kit makes none
    case SWIN_BUT_STATIC_TEXT:
        c = gtk_label_new(t.c_str());
        gtk_label_set_xalign(GTK_LABEL(c), 0.0f);
        gtk_label_set_yalign(GTK_LABEL(c), 0.5f);
        gtk_label_set_ellipsize(GTK_LABEL(c), PANGO_ELLIPSIZE_END);
        break;
    case SWIN_BUT_PUSH:
        c = gtk_button_new_with_label(t.c_str());
        EllipsizeButtonLabel(c);
        g_signal_connect(c, "clicked", G_CALLBACK(OnClicked), nullptr);
        break;
    case SWIN_BUT_EDIT_TEXT:
        if (IsMultiLine(h))
        {
            c = gtk_scrolled_window_new(nullptr, nullptr);
            gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(c), GTK_POLICY_NEVER, GTK_POLICY_AUTOMATIC);
            gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(c), GTK_SHADOW_IN);
            GtkWidget* tv = gtk_text_view_new();
            gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(tv), GTK_WRAP_WORD_CHAR);
            gtk_container_add(GTK_CONTAINER(c), tv);
        }
        else
        {
            c = gtk_entry_new();
            gtk_entry_set_width_chars(GTK_ENTRY(c), 1);
            gtk_entry_set_activates_default(GTK_ENTRY(c), TRUE);
        }
        EngGuiSetEditableTextString_LNX(c, text);
        break;
    case SWIN_BUT_POPUP:
    case SWIN_BUT_LIST:
        c = gtk_combo_box_text_new();
        // The entry's text cell pads 2 pixels above and below by default.
        if (GList* cells = gtk_cell_layout_get_cells(GTK_CELL_LAYOUT(c)))
        {
            for (GList* l = cells; l; l = l->next)
                g_object_set(l->data, "ypad", 0, nullptr);
            g_list_free(cells);
        }
        g_signal_connect(c, "changed", G_CALLBACK(OnComboChanged), nullptr);
        break;
    case SWIN_BUT_PICTURE:
        c = gtk_image_new();
        break;
    }
    if (!c)
        return nullptr;
    g_object_set_data(G_OBJECT(c), cswin_owner_key, owner);
    g_object_set_data(G_OBJECT(c), cswin_index_key, GINT_TO_POINTER(index));
    EngGuiSetControlID_LNX(c, SWIN_COMMAND_BASE + EngUInt32(index), index);
    gtk_widget_set_size_request(c, w, h);
    gtk_fixed_put(GTK_FIXED(fixed), c, x, y);
    gtk_widget_show_all(c);
    // The keyboard starts in the first edit text, not on the default button.
    if (kind == SWIN_BUT_EDIT_TEXT && !g_object_get_data(G_OBJECT(window), cswin_edit_key))
    {
        g_object_set_data(G_OBJECT(window), cswin_edit_key, GINT_TO_POINTER(1));
        GtkWidget* child = GTK_IS_SCROLLED_WINDOW(c) ? gtk_bin_get_child(GTK_BIN(c)) : nullptr;
        gtk_widget_grab_focus(child ? child : c);
    }
    return c;
}

void SWinGtkBackend::DestroyControl(void* control)
{
    if (control)
        gtk_widget_destroy(GTK_WIDGET(control));
}

char SWinGtkBackend::SetText(void* control, _SWinButtonType kind, const char* text)
{
    GtkWidget* c = static_cast<GtkWidget*>(control);
    switch (kind)
    {
    case SWIN_BUT_STATIC_TEXT:
        EngGuiSetStaticTextString_LNX(c, text);
        return 1;
    case SWIN_BUT_PUSH:
        EngGuiSetBevelButtonTextString_LNX(c, text);
        return 1;
    case SWIN_BUT_EDIT_TEXT:
        EngGuiSetEditableTextString_LNX(c, text);
        return 1;
    default:
        return 0;
    }
}

char SWinGtkBackend::GetText(void* control, _SWinButtonType kind, std::string* out)
{
    GtkWidget* c = static_cast<GtkWidget*>(control);
    if (kind == SWIN_BUT_STATIC_TEXT && GTK_IS_LABEL(c))
    {
        *out = EngLatin1FromUtf8(gtk_label_get_text(GTK_LABEL(c)));
        return 1;
    }
    if (kind == SWIN_BUT_EDIT_TEXT)
    {
        if (GTK_IS_ENTRY(c))
        {
            *out = EngLatin1FromUtf8(gtk_entry_get_text(GTK_ENTRY(c)));
            return 1;
        }
        GtkWidget* tv = GTK_IS_SCROLLED_WINDOW(c) ? gtk_bin_get_child(GTK_BIN(c)) : nullptr;
        if (tv && GTK_IS_TEXT_VIEW(tv))
        {
            GtkTextBuffer* buf = gtk_text_view_get_buffer(GTK_TEXT_VIEW(tv));
            GtkTextIter a, b;
            gtk_text_buffer_get_bounds(buf, &a, &b);
            gchar* s = gtk_text_buffer_get_text(buf, &a, &b, FALSE);
            *out = EngLatin1FromUtf8(s);
            g_free(s);
            return 1;
        }
    }
    return 0;
}

char SWinGtkBackend::SetTextAlign(void* control, _SWinButtonType kind, _SWinTextAlign align)
{
    GtkWidget* c = static_cast<GtkWidget*>(control);
    float xa = XAlign(align);
    if (kind == SWIN_BUT_STATIC_TEXT && GTK_IS_LABEL(c))
    {
        gtk_label_set_xalign(GTK_LABEL(c), xa);
        gtk_label_set_justify(GTK_LABEL(c), align == SWIN_ALIGN_CENTRE  ? GTK_JUSTIFY_CENTER
                                            : align == SWIN_ALIGN_RIGHT ? GTK_JUSTIFY_RIGHT
                                                                        : GTK_JUSTIFY_LEFT);
        return 1;
    }
    if (kind == SWIN_BUT_EDIT_TEXT)
    {
        if (GTK_IS_ENTRY(c))
        {
            gtk_entry_set_alignment(GTK_ENTRY(c), xa);
            return 1;
        }
        GtkWidget* tv = GTK_IS_SCROLLED_WINDOW(c) ? gtk_bin_get_child(GTK_BIN(c)) : nullptr;
        if (tv && GTK_IS_TEXT_VIEW(tv))
        {
            gtk_text_view_set_justification(GTK_TEXT_VIEW(tv), align == SWIN_ALIGN_CENTRE  ? GTK_JUSTIFY_CENTER
                                                                : align == SWIN_ALIGN_RIGHT ? GTK_JUSTIFY_RIGHT
                                                                                            : GTK_JUSTIFY_LEFT);
            return 1;
        }
    }
    if (kind == SWIN_BUT_PUSH)
    {
        GtkWidget* child = gtk_bin_get_child(GTK_BIN(c));
        if (child && GTK_IS_LABEL(child))
        {
            gtk_label_set_xalign(GTK_LABEL(child), xa);
            return 1;
        }
    }
    return 0;
}

void SWinGtkBackend::Enable(void* control, char on)
{
    EngGuiEnableControl_LNX(static_cast<GtkWidget*>(control), on);
}

void SWinGtkBackend::Show(void* control, char on)
{
    EngGuiGuiShowControl_LNX(static_cast<GtkWidget*>(control), on);
}

void SWinGtkBackend::Move(void* control, _SWinButtonType, int x, int y, int w, int h)
{
    GtkWidget* c = static_cast<GtkWidget*>(control);
    GtkWidget* parent = gtk_widget_get_parent(c);
    gtk_widget_set_size_request(c, w, h);
    if (parent && GTK_IS_FIXED(parent))
        gtk_fixed_move(GTK_FIXED(parent), c, x, y);
}

char SWinGtkBackend::SetListEntries(void* control, const std::vector<std::string>& texts)
{
    GtkWidget* c = static_cast<GtkWidget*>(control);
    GtkTreeModel* menu = nullptr;
    if (!EngGuiGetPopupButtonMenu_LNX(c, &menu))
        return 0;
    BlockChanged block(c);
    EngGuiResetMenu_LNX(menu);
    for (const std::string& s : texts)
        EngGuiAddStringToMenu_LNX(menu, s.c_str());
    EngGuiSetPopupControlCurrentSelection_LNX(c, 0);
    return 1;
}

void SWinGtkBackend::SetListSel(void* control, int sel)
{
    GtkWidget* c = static_cast<GtkWidget*>(control);
    BlockChanged block(c);
    EngGuiSetPopupControlCurrentSelection_LNX(c, sel);
}

int SWinGtkBackend::GetListSel(void* control)
{
    return EngGuiGetPopupControlCurrentSelection_LNX(static_cast<GtkWidget*>(control));
}

char SWinGtkBackend::SetPicture(void* control, const char* path)
{
    return EngGuiSetHiViewControlsPicture_LNX(static_cast<GtkWidget*>(control), path);
}

void SWinGtkBackend::SetDefaultButton(void* window, void* control)
{
    GtkWidget* c = static_cast<GtkWidget*>(control);
    gtk_widget_set_can_default(c, TRUE);
    gtk_window_set_default(GTK_WINDOW(window), c);
    gtk_widget_grab_default(c);
}

void SWinGtkBackend::RunLoop()
{
    gtk_main();
}

void SWinGtkBackend::QuitLoop()
{
    if (gtk_main_level() > 0)
        gtk_main_quit();
}

char SWinGtkBackend::Pump()
{
    if (!gtk_events_pending())
        return 0;
    gtk_main_iteration_do(FALSE);
    return 1;
}

SWinBackend* SWinGetPlatformBackend()
{
    static SWinGtkBackend backend;
    return &backend;
}
