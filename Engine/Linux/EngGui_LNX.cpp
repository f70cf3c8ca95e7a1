// GTK helpers for native windows.
#include "EngGui_LNX.h"

#include <gdk/gdkx.h>
#include <glib-unix.h>
#include <tiffio.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdint>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "EngDebug.h"
#include "EngFile.h"
#include "EngJpeg.h"
#include "EngMain.h"
#include "EngProgram.h"
#include "EngSignals_LNX.h"
#include "EngUnicode.h"
#include "EngWindow_LNX.h"
#include "GL/EngTextureGL.h"

namespace
{
bool cgui_gtk_started = false;

const char* const cgui_sig_key = "eng-control-signature";
const char* const cgui_id_key = "eng-control-id";
const char* const cgui_cmd_key = "eng-menu-command";

// Copies GTK's UTF-8 text into buf as Latin-1: 1, or -1 when cut.
int CopyOut(const char* text, char* buf, int size)
{
    const std::string latin1 = EngLatin1FromUtf8(text);
    EngSafeStrcpy(buf, latin1.c_str(), size_t(size));
    return latin1.size() < size_t(size) ? 1 : -1;
}

GtkWidget* TextViewOf(GtkWidget* control)
{
    if (GTK_IS_TEXT_VIEW(control))
        return control;
    if (GTK_IS_SCROLLED_WINDOW(control))
    {
        GtkWidget* child = gtk_bin_get_child(GTK_BIN(control));
        if (child && GTK_IS_TEXT_VIEW(child))
            return child;
    }
    return nullptr;
}

// The text of an entry or text view (g_free it), or null.
char* EditText(GtkWidget* control)
{
    if (GTK_IS_ENTRY(control))
        return g_strdup(gtk_entry_get_text(GTK_ENTRY(control)));
    GtkWidget* tv = TextViewOf(control);
    if (!tv)
        return nullptr;
    GtkTextBuffer* buf = gtk_text_view_get_buffer(GTK_TEXT_VIEW(tv));
    GtkTextIter a, b;
    gtk_text_buffer_get_bounds(buf, &a, &b);
    return gtk_text_buffer_get_text(buf, &a, &b, FALSE);
}

bool ItemIter(GtkTreeModel* menu, int index, GtkTreeIter* it)
{
    return index >= 0 && gtk_tree_model_iter_nth_child(menu, it, nullptr, index);
}

GtkWidget* FindControl(GtkWidget* w, EngUInt32 signature, EngInt32 id)
{
    if (g_object_get_data(G_OBJECT(w), cgui_id_key) &&
        GPOINTER_TO_UINT(g_object_get_data(G_OBJECT(w), cgui_sig_key)) == signature &&
        GPOINTER_TO_INT(g_object_get_data(G_OBJECT(w), cgui_id_key)) - 1 == id)
        return w;
    if (!GTK_IS_CONTAINER(w))
        return nullptr;
    GList* children = gtk_container_get_children(GTK_CONTAINER(w));
    GtkWidget* found = nullptr;
    for (GList* l = children; l && !found; l = l->next)
        found = FindControl(GTK_WIDGET(l->data), signature, id);
    g_list_free(children);
    return found;
}

// A box's texts break between words, and inside a word (a long folder name)
// that is wider than a line, so the box stays within the screen. No hyphen
// is put at such a break: it would read as part of the name.
void LetTextsBreakInsideWords(GtkWidget* box)
{
    GtkWidget* area = gtk_message_dialog_get_message_area(GTK_MESSAGE_DIALOG(box));
    GList* labels = gtk_container_get_children(GTK_CONTAINER(area));
    for (GList* l = labels; l; l = l->next)
        if (GTK_IS_LABEL(l->data))
        {
            GtkLabel* label = GTK_LABEL(l->data);
            gtk_label_set_line_wrap(label, TRUE);
            gtk_label_set_line_wrap_mode(label, PANGO_WRAP_WORD_CHAR);
            // Added to what the label has (the title is bold).
            PangoAttrList* had = gtk_label_get_attributes(label);
            PangoAttrList* attrs = had ? pango_attr_list_copy(had) : pango_attr_list_new();
            pango_attr_list_insert(attrs, pango_attr_insert_hyphens_new(FALSE));
            gtk_label_set_attributes(label, attrs);
            pango_attr_list_unref(attrs);
        }
    g_list_free(labels);
}
} // namespace

char EngGuiStartGtk_LNX()
{
    static bool tried = false;
    if (!tried)
    {
        tried = true;
        gtk_disable_setlocale();
        cgui_gtk_started = gtk_init_check(nullptr, nullptr) ? true : false;
    }
    return cgui_gtk_started ? 1 : 0;
}

GtkWindow* EngGuiGetModalWindow_LNX()
{
    // A shown modal window holds GTK's grab.
    GtkWidget* grab = cgui_gtk_started ? gtk_grab_get_current() : nullptr;
    GtkWidget* top = grab ? gtk_widget_get_toplevel(grab) : nullptr;
    return top && GTK_IS_WINDOW(top) && gtk_window_get_modal(GTK_WINDOW(top)) ? GTK_WINDOW(top) : nullptr;
}

namespace
{
const char* const cgui_over_key = "eng-over-main-window";
const char* const cgui_counted_key = "eng-counted-over-main-window";
const char* const cgui_foreign_key = "eng-foreign-parent";

// On the screen: it takes the keyboard (through the window manager when
// there is one, else straight from the X server). At the current time: the
// time of the last click GTK saw (on the start-up dialog, say) is older than
// the main window's taking of the focus, and the server would refuse it.
gboolean OnOverMapped(GtkWidget* w, GdkEvent*, gpointer)
{
    if (GdkWindow* gw = gtk_widget_get_window(w))
        gdk_window_focus(gw, GDK_CURRENT_TIME);
    return FALSE;
}

const char* const cgui_user_time_key = "eng-user-time-at-map";

void OnOverMap(GtkWidget* w, gpointer)
{
    if (EngWindowBoxShown_LNX())
        g_object_set_data(G_OBJECT(w), cgui_counted_key, GINT_TO_POINTER(1));
    GdkDisplay* d = gtk_widget_get_display(w);
    if (GDK_IS_X11_DISPLAY(d))
        g_object_set_data(G_OBJECT(w), cgui_user_time_key,
                          GUINT_TO_POINTER(gdk_x11_display_get_user_time(d)));
}

// The X windows of the program's GTK windows (w among them).
std::vector<unsigned long> OwnXWindows(GtkWidget* w)
{
    std::vector<unsigned long> own;
    GList* all = gtk_window_list_toplevels();
    for (GList* l = all; l; l = l->next)
        if (GdkWindow* gw = gtk_widget_get_window(GTK_WIDGET(l->data)))
            if (GDK_IS_X11_WINDOW(gw))
                own.push_back(gdk_x11_window_get_xid(gw));
    g_list_free(all);
    GdkWindow* gw = gtk_widget_get_window(w);
    if (gw && GDK_IS_X11_WINDOW(gw))
        own.push_back(gdk_x11_window_get_xid(gw));
    return own;
}

// Runs after GTK has asked the X server to take the window away.
void OnOverUnmap(GtkWidget* w, gpointer)
{
    GdkDisplay* d = gtk_widget_get_display(w);
    // Gone from the server, and the focus with it, before anyone is told.
    gdk_display_sync(d);
    // Where the focus is now, as the server has it: GTK's view of it lags, and
    // a click on another program as the box went has put it there.
    std::vector<unsigned long> own;
    bool ours = gtk_window_is_active(GTK_WINDOW(w)) ? true : false;
    // The time of the input that closed it, when one reached the program
    // while it was up (the key that answered it); else now.
    guint32 user_time = GDK_CURRENT_TIME;
    if (GDK_IS_X11_DISPLAY(d))
    {
        own = OwnXWindows(w);
        ours = EngWindowFocusIsTheProgramsOrNobodys_LNX(gdk_x11_display_get_xdisplay(d), own) ? true : false;
        const guint32 now = gdk_x11_display_get_user_time(d);
        if (now != GPOINTER_TO_UINT(g_object_get_data(G_OBJECT(w), cgui_user_time_key)))
            user_time = now;
    }
    // The GTK window under it has the keyboard back.
    GtkWindow* under = gtk_window_get_transient_for(GTK_WINDOW(w));
    if (ours && under && gtk_widget_get_mapped(GTK_WIDGET(under)))
        gdk_window_focus(gtk_widget_get_window(GTK_WIDGET(under)), user_time);
    if (g_object_get_data(G_OBJECT(w), cgui_counted_key))
    {
        g_object_set_data(G_OBJECT(w), cgui_counted_key, nullptr);
        EngWindowBoxGone_LNX(own, user_time);
    }
}
} // namespace

namespace
{
// Windows readied by EngGuiShowOverMainWindow_LNX that are alive, and the
// hook on every widget's mapping that is set while there are some.
int cgui_over_windows = 0;
gulong cgui_map_hook = 0;

// A window GTK opens itself over one of the program's (the chooser of a file
// chooser button) is readied as the program's own: without a window manager
// nobody else gives it the keyboard.
gboolean OnAnyMap(GSignalInvocationHint*, guint, const GValue* params, gpointer)
{
    GObject* o = G_OBJECT(g_value_get_object(&params[0]));
    // Menus and tooltips are popups, which take no focus.
    if (!GTK_IS_WINDOW(o) || gtk_window_get_window_type(GTK_WINDOW(o)) != GTK_WINDOW_TOPLEVEL ||
        g_object_get_data(o, cgui_over_key))
        return TRUE;
    int depth = 0;
    for (GtkWindow* t = gtk_window_get_transient_for(GTK_WINDOW(o)); t && depth < 64;
         t = gtk_window_get_transient_for(t), depth++)
        if (g_object_get_data(G_OBJECT(t), cgui_over_key))
        {
            EngGuiShowOverMainWindow_LNX(GTK_WIDGET(o));
            // Its handler comes too late for the mapping under way.
            OnOverMap(GTK_WIDGET(o), nullptr);
            break;
        }
    return TRUE;
}

void OnOverDestroy(GtkWidget*, gpointer)
{
    if (--cgui_over_windows == 0 && cgui_map_hook)
    {
        g_signal_remove_emission_hook(g_signal_lookup("map", GTK_TYPE_WIDGET), cgui_map_hook);
        cgui_map_hook = 0;
    }
}
} // namespace

void EngGuiShowOverMainWindow_LNX(GtkWidget* window)
{
    if (!window || !GTK_IS_WINDOW(window) || g_object_get_data(G_OBJECT(window), cgui_over_key))
        return;
    g_object_set_data(G_OBJECT(window), cgui_over_key, GINT_TO_POINTER(1));
    if (cgui_over_windows++ == 0)
        cgui_map_hook = g_signal_add_emission_hook(g_signal_lookup("map", GTK_TYPE_WIDGET), 0, OnAnyMap,
                                                   nullptr, nullptr);
    g_signal_connect(window, "destroy", G_CALLBACK(OnOverDestroy), nullptr);
    // Over a modal GTK window (the start-up dialog) it belongs to that window,
    // which has the keyboard back when it goes.
    GtkWindow* modal = EngGuiGetModalWindow_LNX();
    if (!gtk_window_get_transient_for(GTK_WINDOW(window)) && modal && modal != GTK_WINDOW(window))
        gtk_window_set_transient_for(GTK_WINDOW(window), modal);
    // Over another toolkit's window (the game's) it is made transient on the
    // X side, so that it stays in front of it, full screen too.
    const unsigned long main_xid = EngWindowXid_LNX();
    GdkDisplay* d = gtk_widget_get_display(window);
    if (!gtk_window_get_transient_for(GTK_WINDOW(window)) && main_xid && GDK_IS_X11_DISPLAY(d))
        if (GdkWindow* foreign = gdk_x11_window_foreign_new_for_display(d, main_xid))
        {
            gtk_widget_realize(window);
            gdk_window_set_transient_for(gtk_widget_get_window(window), foreign);
            g_object_set_data_full(G_OBJECT(window), cgui_foreign_key, foreign, g_object_unref);
        }
    g_signal_connect(window, "map", G_CALLBACK(OnOverMap), nullptr);
    g_signal_connect(window, "map-event", G_CALLBACK(OnOverMapped), nullptr);
    g_signal_connect(window, "unmap", G_CALLBACK(OnOverUnmap), nullptr);
}

int EngGuiShowMessageBox_LNX(char kind, const char* title, const char* text, char with_cancel)
{
    if (!EngGuiStartGtk_LNX())
        return -1;
    GtkWindow* parent = EngGuiGetModalWindow_LNX();
    const std::string head = EngGuiToUtf8_LNX(title), body = EngGuiToUtf8_LNX(text);
    const bool warning = kind == 1 || kind == 2;
    GtkWidget* box =
        gtk_message_dialog_new(parent, GTK_DIALOG_MODAL, warning ? GTK_MESSAGE_WARNING : GTK_MESSAGE_INFO,
                               GTK_BUTTONS_NONE, "%s", head.empty() ? body.c_str() : head.c_str());
    if (!head.empty())
        gtk_message_dialog_format_secondary_text(GTK_MESSAGE_DIALOG(box), "%s", body.c_str());
    LetTextsBreakInsideWords(box);
    // GTK 3 draws no icon for the message type: it goes left of the texts.
    GtkWidget* row = gtk_widget_get_parent(gtk_message_dialog_get_message_area(GTK_MESSAGE_DIALOG(box)));
    if (row && GTK_IS_BOX(row))
    {
        GtkWidget* icon = gtk_image_new_from_icon_name(warning ? "dialog-warning" : "dialog-information",
                                                       GTK_ICON_SIZE_DIALOG);
        gtk_widget_set_valign(icon, GTK_ALIGN_START);
        gtk_box_pack_start(GTK_BOX(row), icon, FALSE, FALSE, 0);
        gtk_box_reorder_child(GTK_BOX(row), icon, 0);
        gtk_widget_show(icon);
    }
    gtk_window_set_title(GTK_WINDOW(box), head.c_str());
    if (with_cancel)
        gtk_dialog_add_button(GTK_DIALOG(box), "_Cancel", GTK_RESPONSE_CANCEL);
    gtk_dialog_add_button(GTK_DIALOG(box), "_OK", GTK_RESPONSE_OK);
    gtk_dialog_set_default_response(GTK_DIALOG(box), GTK_RESPONSE_OK);

    if (!parent)
        gtk_window_set_position(GTK_WINDOW(box), GTK_WIN_POS_CENTER);
    EngGuiShowOverMainWindow_LNX(box);
    // A termination request (one already pending too) answers Cancel.
    struct Watch
    {
        GtkWidget* box;
        guint source;
    } watch = {box, 0};
    if (EngSignalsWakeFd_LNX() >= 0)
        watch.source = g_unix_fd_add(
            EngSignalsWakeFd_LNX(), G_IO_IN,
            [](gint, GIOCondition, gpointer data) -> gboolean
            {
                Watch* w = static_cast<Watch*>(data);
                w->source = 0;
                gtk_dialog_response(GTK_DIALOG(w->box), GTK_RESPONSE_CANCEL);
                return G_SOURCE_REMOVE;
            },
            &watch);
    // Destroyed by someone else, the box must still be ours to let go of.
    g_object_ref(box);
    const gint response = gtk_dialog_run(GTK_DIALOG(box));
    if (watch.source)
        g_source_remove(watch.source);
    gtk_widget_destroy(box);
    g_object_unref(box);
    if (GdkDisplay* d = gdk_display_get_default())
        gdk_display_flush(d);
    return response == GTK_RESPONSE_OK ? 1 : 0;
}

std::string EngGuiToUtf8_LNX(const char* text)
{
    if (!text)
        return std::string();
    if (g_utf8_validate(text, -1, nullptr))
        return std::string(text);
    gchar* conv = g_convert(text, -1, "UTF-8", "ISO-8859-1", nullptr, nullptr, nullptr);
    std::string out = conv ? conv : "";
    g_free(conv);
    return out;
}

char EngGuiIsReturnCodeOk_LNX(const char* label, const GError* error)
{
    if (!error)
        return 1;
    DebugErrorAlt(label ? label : "", "Error: %s (%s)", error->message ? error->message : "",
                  g_quark_to_string(error->domain));
    return 0;
}

// Interface files.

struct _EngGuiNib_LNX
{
    std::string path, text;
};

struct _EngGuiDialogHandlerRec_LNX
{
    EngGuiDialogHandler_LNX handler;
    GtkWidget* window; // cleared when the window is finalised
    bool closed;       // the window was destroyed
};

namespace
{
GMenuModel* cgui_menu_bar = nullptr;

const char* const cgui_run_key = "eng-dialog-run";
// Set on every object built from an interface file.
const char* const cgui_from_file_key = "eng-built-from-file";

// Largest interface file read.
const size_t NIB_MAX_FILE_SIZE = 16u << 20;

// "<name>.ui" in the resources folder; an absolute path as it is.
std::string NibPath(const char* name)
{
    std::string n = name;
    if (n.size() < 3 || n.compare(n.size() - 3, 3, ".ui") != 0)
        n += ".ui";
    if (n[0] == '/')
        return n;
    char folder[PATH_MAX] = {};
    if (eng_main_program && eng_main_program->GetResourcesPath()[0])
        EngSafeStrcpy(folder, eng_main_program->GetResourcesPath(), sizeof(folder));
    else if (!EngProgramFindResourcesPath(folder, sizeof(folder)))
        return n; // the working directory
    return std::string(folder) + "/" + n;
}

void NibRootElement(GMarkupParseContext* ctx, const gchar* element, const gchar**, const gchar**, gpointer,
                    GError** e)
{
    if (!g_markup_parse_context_get_element_stack(ctx)->next && strcmp(element, "interface") != 0)
        g_set_error(e, G_MARKUP_ERROR, G_MARKUP_ERROR_INVALID_CONTENT, "<%s> is not an interface file's root",
                    element);
}

// The file's text once it reads as well-formed markup with an <interface> root.
EngGuiNibRef_LNX OpenNib(const char* name, GError** e)
{
    if (!name || !*name)
    {
        g_set_error_literal(e, G_FILE_ERROR, G_FILE_ERROR_INVAL, "No file name");
        return nullptr;
    }
    const std::string path = NibPath(name);
    // Through the file layer: a FIFO or device at the path is never waited on.
    errno = 0;
    size_t size = 0;
    char* text = reinterpret_cast<char*>(EngFileReadWholeFile(path.c_str(), NIB_MAX_FILE_SIZE, &size, 1));
    if (!text)
    {
        const int err = errno ? errno : EIO;
        g_set_error(e, G_FILE_ERROR, g_file_error_from_errno(err), "Could not read %s: %s", path.c_str(),
                    g_strerror(err));
        return nullptr;
    }
    GMarkupParser parser = {};
    parser.start_element = NibRootElement;
    GMarkupParseContext* ctx = g_markup_parse_context_new(&parser, GMarkupParseFlags(0), nullptr, nullptr);
    bool ok = g_markup_parse_context_parse(ctx, text, gssize(size), e) && g_markup_parse_context_end_parse(ctx, e);
    g_markup_parse_context_free(ctx);
    EngGuiNibRef_LNX nib = ok ? new _EngGuiNib_LNX{path, std::string(text, size)} : nullptr;
    free(text);
    return nib;
}

// Builds the file and keeps the object id when it is of the type wanted (a
// new reference). Windows the file made besides it are destroyed.
GObject* BuildObject(EngGuiNibRef_LNX nib, const char* id, GType wanted, GError** e)
{
    if (!EngGuiStartGtk_LNX())
    {
        g_set_error_literal(e, G_IO_ERROR, G_IO_ERROR_NOT_INITIALIZED, "Could not start GTK (no display)");
        return nullptr;
    }
    GtkBuilder* b = gtk_builder_new();
    GObject* o = nullptr;
    // A picture the file names is GTK's to read, as for any program of its
    // own: the file comes with the program.
    if (gtk_builder_add_from_string(b, nib->text.data(), gsize(nib->text.size()), e))
    {
        o = id ? gtk_builder_get_object(b, id) : nullptr;
        if (!o)
            g_set_error(e, GTK_BUILDER_ERROR, GTK_BUILDER_ERROR_INVALID_ID, "No object <%s> in %s", id ? id : "",
                        nib->path.c_str());
        else if (!G_TYPE_CHECK_INSTANCE_TYPE(o, wanted))
        {
            g_set_error(e, GTK_BUILDER_ERROR, GTK_BUILDER_ERROR_OBJECT_TYPE_REFUSED, "<%s> is a %s, not a %s", id,
                        G_OBJECT_TYPE_NAME(o), g_type_name(wanted));
            o = nullptr;
        }
        else
            g_object_ref(o);
    }
    GSList* all = gtk_builder_get_objects(b);
    for (GSList* l = all; l; l = l->next)
        if (GTK_IS_WINDOW(l->data) && l->data != o)
            gtk_widget_destroy(GTK_WIDGET(l->data));
        else
            g_object_set_data(G_OBJECT(l->data), cgui_from_file_key, GINT_TO_POINTER(1));
    g_slist_free(all);
    g_object_unref(b);
    return o;
}

void LogGError(const char* label, GError* e)
{
    if (e)
    {
        EngGuiIsReturnCodeOk_LNX(label, e);
        g_error_free(e);
    }
}

// Dialog handlers.

// A widget's command: its action name, else its ID in the file.
std::string CommandOf(GtkWidget* w)
{
    if (GTK_IS_ACTIONABLE(w))
    {
        const gchar* action = gtk_actionable_get_action_name(GTK_ACTIONABLE(w));
        if (action && *action)
            return action;
    }
    const gchar* id = gtk_buildable_get_name(GTK_BUILDABLE(w));
    // GtkBuilder names the objects the file left unnamed "___object_N___".
    if (id && *id && strncmp(id, "___", 3) != 0)
        return id;
    return std::string();
}

// Only the file's widgets send commands: those GTK makes inside its own
// widgets (the button of a file chooser button) are GTK's.
bool IsCommandSource(GtkWidget* w)
{
    if (!g_object_get_data(G_OBJECT(w), cgui_from_file_key))
        return false;
    if (GTK_IS_MENU_ITEM(w))
        return gtk_menu_item_get_submenu(GTK_MENU_ITEM(w)) == nullptr;
    return GTK_IS_BUTTON(w);
}

void OnCommand(GtkWidget* w, gpointer data)
{
    _EngGuiDialogHandlerRec_LNX* rec = static_cast<_EngGuiDialogHandlerRec_LNX*>(data);
    if (!rec->handler || !rec->window || rec->closed)
        return;
    const std::string command = CommandOf(w);
    const _EngGuiDialogEvent_LNX event = {ENGGUI_EVENT_CLASS_COMMAND, ENGGUI_EVENT_COMMAND_PROCESS, command.c_str(),
                                          w};
    rec->handler(rec->window, &event);
}

void OnDialogDestroy(GtkWidget* w, gpointer data)
{
    _EngGuiDialogHandlerRec_LNX* rec = static_cast<_EngGuiDialogHandlerRec_LNX*>(data);
    if (rec->closed)
        return;
    rec->closed = true;
    const _EngGuiDialogEvent_LNX event = {ENGGUI_EVENT_CLASS_WINDOW, ENGGUI_EVENT_WINDOW_CLOSED, "", nullptr};
    if (rec->handler)
        rec->handler(w, &event);
}

// Calls f on w and everything inside it, submenus too.
template <typename F> void ForEachWidget(GtkWidget* w, F& f)
{
    f(w);
    if (GTK_IS_MENU_ITEM(w))
        if (GtkWidget* sub = gtk_menu_item_get_submenu(GTK_MENU_ITEM(w)))
            ForEachWidget(sub, f);
    if (GTK_IS_CONTAINER(w))
    {
        GList* children = gtk_container_get_children(GTK_CONTAINER(w));
        for (GList* l = children; l; l = l->next)
            ForEachWidget(GTK_WIDGET(l->data), f);
        g_list_free(children);
    }
}

// Gives every "group.name" action a button or item names a no-op action in a
// group on the window, unless the window reaches one already: a widget whose
// action cannot be found is made insensitive.
void ProvideActions(GtkWidget* window)
{
    auto provide = [window](GtkWidget* w)
    {
        if (!GTK_IS_ACTIONABLE(w) || !g_object_get_data(G_OBJECT(w), cgui_from_file_key))
            return;
        const gchar* full = gtk_actionable_get_action_name(GTK_ACTIONABLE(w));
        const gchar* dot = full ? strchr(full, '.') : nullptr;
        if (!dot || dot == full || !dot[1])
            return;
        const std::string prefix(full, size_t(dot - full));
        GActionGroup* group = gtk_widget_get_action_group(window, prefix.c_str());
        if (!group)
        {
            GSimpleActionGroup* made = g_simple_action_group_new();
            gtk_widget_insert_action_group(window, prefix.c_str(), G_ACTION_GROUP(made));
            g_object_unref(made);
            group = G_ACTION_GROUP(made);
        }
        if (!G_IS_ACTION_MAP(group) || g_action_group_has_action(group, dot + 1))
            return;
        GVariant* target = gtk_actionable_get_action_target_value(GTK_ACTIONABLE(w));
        GSimpleAction* action = g_simple_action_new(dot + 1, target ? g_variant_get_type(target) : nullptr);
        g_action_map_add_action(G_ACTION_MAP(group), G_ACTION(action));
        g_object_unref(action);
    };
    ForEachWidget(window, provide);
}

_EngGuiDialogHandlerRec_LNX* InstallHandler(GtkWidget* window, EngGuiDialogHandler_LNX handler)
{
    _EngGuiDialogHandlerRec_LNX* rec = new _EngGuiDialogHandlerRec_LNX{handler, window, false};
    g_object_add_weak_pointer(G_OBJECT(window), reinterpret_cast<gpointer*>(&rec->window));
    g_signal_connect(window, "destroy", G_CALLBACK(OnDialogDestroy), rec);
    auto connect = [rec](GtkWidget* w)
    {
        if (IsCommandSource(w) && !CommandOf(w).empty())
            g_signal_connect(w, GTK_IS_BUTTON(w) ? "clicked" : "activate", G_CALLBACK(OnCommand), rec);
    };
    ForEachWidget(window, connect);
    ProvideActions(window);
    return rec;
}

void DisposeHandler(_EngGuiDialogHandlerRec_LNX* rec)
{
    if (!rec)
        return;
    if (rec->window)
    {
        auto disconnect = [rec](GtkWidget* w) { g_signal_handlers_disconnect_matched(w, G_SIGNAL_MATCH_DATA, 0, 0,
                                                                                     nullptr, nullptr, rec); };
        ForEachWidget(rec->window, disconnect);
        g_object_remove_weak_pointer(G_OBJECT(rec->window), reinterpret_cast<gpointer*>(&rec->window));
    }
    delete rec;
}

// The window's loop.
struct DialogRun
{
    GMainLoop* loop;
    bool destroyed;
    guint watch; // the termination watch while it waits
};

void OnRunWindowDestroy(GtkWidget*, gpointer data)
{
    DialogRun* run = static_cast<DialogRun*>(data);
    run->destroyed = true;
    g_main_loop_quit(run->loop);
}

// Destroys what is there, quietly.
void DestroyDialogParts(EngGuiDialogHandlerUPP_LNX* upp, GtkWidget** window)
{
    _EngGuiDialogHandlerRec_LNX* rec = upp ? *upp : nullptr;
    if (window && *window)
    {
        GtkWidget* w = *window;
        *window = nullptr;
        if (!rec || !rec->closed)
        {
            gtk_widget_hide(w);
            gtk_widget_destroy(w);
        }
    }
    if (rec)
    {
        DisposeHandler(rec);
        *upp = nullptr;
    }
}
} // namespace

char EngGuiLoadNIB_LNX(const char* name, EngGuiNibRef_LNX* out)
{
    if (!out)
        return 0;
    GError* e = nullptr;
    *out = OpenNib(name, &e);
    if (!*out)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not load NIB <%s> [%ld]", name ? name : "", long(e ? e->code : -1));
        LogGError(__PRETTY_FUNCTION__, e);
        return 0;
    }
    return 1;
}

void EngGuiReleaseNIB_LNX(EngGuiNibRef_LNX nib)
{
    delete nib;
}

char EngGuiLoadMenuFromNIB_LNX(const char* name)
{
    EngGuiNibRef_LNX nib = nullptr;
    if (!EngGuiLoadNIB_LNX(name, &nib))
        return 0;
    GError* e = nullptr;
    GObject* menu = BuildObject(nib, "MenuBar", G_TYPE_MENU_MODEL, &e);
    EngGuiReleaseNIB_LNX(nib);
    if (!menu)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "SetMenuBarFromNib failed");
        LogGError(__PRETTY_FUNCTION__, e);
        return 0;
    }
    if (cgui_menu_bar)
        g_object_unref(cgui_menu_bar);
    cgui_menu_bar = G_MENU_MODEL(menu);
    GApplication* app = g_application_get_default();
    if (app && GTK_IS_APPLICATION(app))
        gtk_application_set_menubar(GTK_APPLICATION(app), cgui_menu_bar);
    return 1;
}

GMenuModel* EngGuiGetMenuBar_LNX()
{
    return cgui_menu_bar;
}

namespace
{
// The item of parent, or of a menu inside it, that holds menu (as a submenu
// or a section): its menu and index.
bool FindHolder(GMenuModel* parent, GMenuModel* menu, GMenuModel** holder, int* index)
{
    const int n = g_menu_model_get_n_items(parent);
    for (int i = 0; i < n; i++)
        for (const char* kind : {G_MENU_LINK_SUBMENU, G_MENU_LINK_SECTION})
        {
            GMenuModel* link = g_menu_model_get_item_link(parent, i, kind);
            if (!link)
                continue;
            bool found = link == menu;
            if (found)
            {
                *holder = parent;
                *index = i;
            }
            else
                found = FindHolder(link, menu, holder, index);
            // The holding item keeps the linked menu alive.
            g_object_unref(link);
            if (found)
                return true;
        }
    return false;
}
} // namespace

void EngGuiSetMenuTitleText_LNX(GMenuModel* menu, const char* text)
{
    if (!menu || !text)
        return;
    GMenuModel* holder = nullptr;
    int index = -1;
    if (!cgui_menu_bar || !FindHolder(cgui_menu_bar, menu, &holder, &index) || !G_IS_MENU(holder))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not set menu text to <%s>", text);
        return;
    }
    // An item cannot be changed in place: it is replaced by a copy with the new label.
    GMenuItem* item = g_menu_item_new_from_model(holder, index);
    g_menu_item_set_label(item, EngUtf8FromLatin1(text).c_str());
    g_menu_remove(G_MENU(holder), index);
    g_menu_insert_item(G_MENU(holder), index, item);
    g_object_unref(item);
}

char EngGuiLoadDialogFromNib_LNX(const char* nib_name, const char* window_name, EngGuiDialogHandler_LNX handler,
                                 char run, EngGuiDialogHandlerUPP_LNX* upp, GtkWidget** window)
{
    if (!upp || !window)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Bad parameters");
        return 0;
    }
    if (*upp || *window)
        DebugWarning(__func__, "Warning - parameters not null");
    GError* e = nullptr;
    EngGuiNibRef_LNX nib = OpenNib(nib_name, &e);
    if (!nib)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "CreateNibReference() failed [%d]", e ? int(e->code) : -1);
        LogGError(__PRETTY_FUNCTION__, e);
        return 0;
    }
    GObject* w = BuildObject(nib, window_name, GTK_TYPE_WINDOW, &e);
    EngGuiReleaseNIB_LNX(nib);
    if (!w)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "CreateWindowFromNib() failed [%d]", e ? int(e->code) : -1);
        LogGError(__PRETTY_FUNCTION__, e);
        return 0;
    }
    *window = GTK_WIDGET(w);
    *upp = InstallHandler(*window, handler);
    // GTK keeps its windows until they are destroyed.
    g_object_unref(w);
    if (run)
        return EngGuiDoDialog_LNX(upp, window, 0, 1);
    return 1;
}

char EngGuiLoadAndRunDialogFromNib_LNX(const char* nib_name, const char* window_name,
                                       EngGuiDialogHandler_LNX handler, GtkWidget** window)
{
    EngGuiDialogHandlerUPP_LNX upp = nullptr;
    char r = EngGuiLoadDialogFromNib_LNX(nib_name, window_name, handler, 1, &upp, window);
    // What a run that could not start left behind.
    if (upp)
        DestroyDialogParts(&upp, window);
    return r;
}

char EngGuiDoDialog_LNX(EngGuiDialogHandlerUPP_LNX* upp, GtkWidget** window, char app_modal, char destroy)
{
    if (!window)
    {
        DebugInfoAlt(__PRETTY_FUNCTION__, "Bad parameters");
        return 0;
    }
    _EngGuiDialogHandlerRec_LNX* rec = upp ? *upp : nullptr;
    if (rec && rec->closed)
    {
        // Its window was destroyed since: nothing is left to run.
        DebugErrorAlt(__PRETTY_FUNCTION__, "Dialog in wrong state");
        *window = nullptr;
        return 0;
    }
    if (!*window || !GTK_IS_WINDOW(*window))
    {
        DebugInfoAlt(__PRETTY_FUNCTION__, "Bad parameters");
        return 0;
    }
    GtkWidget* w = *window;
    if (g_object_get_data(G_OBJECT(w), cgui_run_key))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Dialog in wrong state");
        return 0;
    }
    DialogRun run = {g_main_loop_new(nullptr, FALSE), false, 0};
    g_object_ref(w);
    g_object_set_data(G_OBJECT(w), cgui_run_key, &run);
    const gulong destroy_id = g_signal_connect(w, "destroy", G_CALLBACK(OnRunWindowDestroy), &run);
    // A termination request ends the loop; it stays pending for the program.
    if (EngSignalsWakeFd_LNX() >= 0)
        run.watch = g_unix_fd_add(
            EngSignalsWakeFd_LNX(), G_IO_IN,
            [](gint, GIOCondition, gpointer data) -> gboolean
            {
                DialogRun* r = static_cast<DialogRun*>(data);
                r->watch = 0;
                g_main_loop_quit(r->loop);
                return G_SOURCE_REMOVE;
            },
            &run);
    gtk_window_set_modal(GTK_WINDOW(w), app_modal ? TRUE : FALSE);
    EngGuiShowOverMainWindow_LNX(w);
    gtk_widget_show(w);
    char result = 1;
    if (run.destroyed)
    {
        // Gone while it was being shown: its loop never ran.
        DebugErrorAlt(__PRETTY_FUNCTION__, "Run returned error %d", int(G_IO_ERROR_CLOSED));
        result = 0;
    }
    else
        g_main_loop_run(run.loop);
    if (run.watch)
        g_source_remove(run.watch);
    if (g_signal_handler_is_connected(w, destroy_id))
        g_signal_handler_disconnect(w, destroy_id);
    g_object_set_data(G_OBJECT(w), cgui_run_key, nullptr);
    g_main_loop_unref(run.loop);
    if (run.destroyed)
        *window = nullptr;
    g_object_unref(w);
    if (destroy)
        DestroyDialogParts(upp, window);
    return result;
}

void EngGuiQuitDialog_LNX(GtkWidget* window)
{
    DialogRun* run = window ? static_cast<DialogRun*>(g_object_get_data(G_OBJECT(window), cgui_run_key)) : nullptr;
    if (run)
        g_main_loop_quit(run->loop);
}

void EngGuiDestroyDialog_LNX(EngGuiDialogHandlerUPP_LNX* upp, GtkWidget** window)
{
    if (!upp || !*upp || !window || !*window)
        DebugInfoAlt(__PRETTY_FUNCTION__, "Bad parameters");
    DestroyDialogParts(upp, window);
}

void EngGuiSetControlID_LNX(GtkWidget* control, EngUInt32 signature, EngInt32 id)
{
    if (!control)
        return;
    g_object_set_data(G_OBJECT(control), cgui_sig_key, GUINT_TO_POINTER(signature));
    // Stored plus one so that ID 0 differs from no ID.
    g_object_set_data(G_OBJECT(control), cgui_id_key, GINT_TO_POINTER(id + 1));
}

char EngGuiGetControl_LNX(GtkWidget* window, EngUInt32 signature, EngInt32 id, GtkWidget** out)
{
    if (!window || !out)
        return 0;
    *out = FindControl(window, signature, id);
    if (!*out)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not get control [id = %d]", int(id));
        return 0;
    }
    return 1;
}

void EngGuiEnableControl_LNX(GtkWidget* control, char on)
{
    if (control)
        gtk_widget_set_sensitive(control, on ? TRUE : FALSE);
}

void EngGuiGuiShowControl_LNX(GtkWidget* control, char on)
{
    if (!DebugCheckOkAlt(control != nullptr, __PRETTY_FUNCTION__, "No control."))
        return;
    gtk_widget_set_visible(control, on ? TRUE : FALSE);
}

void EngGuiCheckButton_LNX(GtkWidget* control, char on)
{
    if (!DebugCheckOkAlt(control != nullptr, __PRETTY_FUNCTION__, "No control."))
        return;
    if (GTK_IS_TOGGLE_BUTTON(control))
        gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(control), on ? TRUE : FALSE);
    else if (GTK_IS_CHECK_MENU_ITEM(control))
        gtk_check_menu_item_set_active(GTK_CHECK_MENU_ITEM(control), on ? TRUE : FALSE);
}

char EngGuiIsButtonChecked_LNX(GtkWidget* control)
{
    if (!control)
        return 0;
    if (GTK_IS_TOGGLE_BUTTON(control))
        return gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(control)) ? 1 : 0;
    if (GTK_IS_CHECK_MENU_ITEM(control))
        return gtk_check_menu_item_get_active(GTK_CHECK_MENU_ITEM(control)) ? 1 : 0;
    return 0;
}

void EngGuiSetStaticTextString_LNX(GtkWidget* control, const char* text)
{
    if (!control || !text)
        return;
    const std::string t = EngUtf8FromLatin1(text);
    if (GTK_IS_LABEL(control))
        gtk_label_set_text(GTK_LABEL(control), t.c_str());
    else if (GTK_IS_FRAME(control))
        gtk_frame_set_label(GTK_FRAME(control), t.empty() ? nullptr : t.c_str());
}

int EngGuiGetStaticTextString_LNX(GtkWidget* control, char* buf, int size)
{
    if (!control || !buf || size <= 0)
        return 0;
    const char* t = nullptr;
    if (GTK_IS_LABEL(control))
        t = gtk_label_get_text(GTK_LABEL(control));
    else if (GTK_IS_FRAME(control))
        t = gtk_frame_get_label(GTK_FRAME(control));
    else
        return 0;
    return CopyOut(t ? t : "", buf, size);
}

void EngGuiSetEditableTextString_LNX(GtkWidget* control, const char* text)
{
    if (!control || !text)
        return;
    const std::string t = EngUtf8FromLatin1(text);
    if (GTK_IS_ENTRY(control))
        gtk_entry_set_text(GTK_ENTRY(control), t.c_str());
    else if (GtkWidget* tv = TextViewOf(control))
        gtk_text_buffer_set_text(gtk_text_view_get_buffer(GTK_TEXT_VIEW(tv)), t.c_str(), -1);
}

void EngGuiSetEditableTextString2_LNX(GtkWidget* control, char* text)
{
    EngGuiSetEditableTextString_LNX(control, text);
}

int EngGuiGetEditableTextString_LNX(GtkWidget* control, char* buf, int size)
{
    if (!control || !buf || size <= 0)
        return 0;
    char* t = EditText(control);
    if (!t)
        return 0;
    int r = CopyOut(t, buf, size);
    g_free(t);
    return r;
}

void EngGuiSetEditableTextInt_LNX(GtkWidget* control, int value)
{
    if (!DebugCheckOkAlt(control != nullptr, __PRETTY_FUNCTION__, "No control."))
        return;
    char s[16];
    snprintf(s, sizeof(s), "%d", value);
    EngGuiSetEditableTextString_LNX(control, s);
}

int EngGuiGetEditableTextInt_LNX(GtkWidget* control)
{
    if (!control)
        return -1;
    char s[255];
    if (!EngGuiGetEditableTextString_LNX(control, s, sizeof(s)))
        return 0;
    errno = 0;
    long v = strtol(s, nullptr, 10);
    if (errno == ERANGE || v > INT32_MAX || v < INT32_MIN)
        return 0;
    return int(v);
}

void EngGuiSetBevelButtonTextString_LNX(GtkWidget* control, const char* text)
{
    if (!control || !text || !GTK_IS_BUTTON(control))
        return;
    const std::string t = EngUtf8FromLatin1(text);
    // The button makes a new label: keep the old one's look.
    GtkWidget* child = gtk_bin_get_child(GTK_BIN(control));
    bool had_label = child && GTK_IS_LABEL(child);
    PangoEllipsizeMode ellipsize = had_label ? gtk_label_get_ellipsize(GTK_LABEL(child)) : PANGO_ELLIPSIZE_NONE;
    float xalign = had_label ? gtk_label_get_xalign(GTK_LABEL(child)) : 0.5f;
    gtk_button_set_label(GTK_BUTTON(control), t.c_str());
    child = gtk_bin_get_child(GTK_BIN(control));
    if (had_label && child && GTK_IS_LABEL(child))
    {
        gtk_label_set_ellipsize(GTK_LABEL(child), ellipsize);
        gtk_label_set_xalign(GTK_LABEL(child), xalign);
    }
}

void EngGuiSetRadioControlEntryTextString_LNX(GtkWidget* group, int index, const char* text)
{
    if (!group || !text || !GTK_IS_CONTAINER(group))
        return;
    GList* children = gtk_container_get_children(GTK_CONTAINER(group));
    GtkWidget* radio = nullptr;
    int k = 0;
    for (GList* l = children; l; l = l->next)
    {
        if (!GTK_IS_RADIO_BUTTON(l->data))
            continue;
        if (k++ == index)
        {
            radio = GTK_WIDGET(l->data);
            break;
        }
    }
    g_list_free(children);
    if (!radio)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not get radio sub control.");
        return;
    }
    EngGuiSetBevelButtonTextString_LNX(radio, text);
}

int EngGuiGetPopupButtonMenuRef_LNX(GtkWidget* control, GtkTreeModel** out)
{
    if (!control || !out)
        return -1;
    *out = GTK_IS_COMBO_BOX(control) ? gtk_combo_box_get_model(GTK_COMBO_BOX(control)) : nullptr;
    return *out ? 0 : 1;
}

char EngGuiGetPopupButtonMenu_LNX(GtkWidget* control, GtkTreeModel** out)
{
    if (!control || !out)
        return 0;
    if (EngGuiGetPopupButtonMenuRef_LNX(control, out) != 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not get popup menu");
        return 0;
    }
    return 1;
}

int EngGuiSyncPopupButtonToMenu_LNX(GtkWidget* control)
{
    GtkTreeModel* menu = nullptr;
    int r = EngGuiGetPopupButtonMenuRef_LNX(control, &menu);
    if (r != 0)
        return r;
    int n = EngGuiGetMenuCount_LNX(menu);
    int sel = gtk_combo_box_get_active(GTK_COMBO_BOX(control));
    if (n == 0)
        sel = -1;
    else if (sel >= n)
        sel = n - 1;
    else if (sel < 0)
        sel = 0;
    if (sel != gtk_combo_box_get_active(GTK_COMBO_BOX(control)))
        gtk_combo_box_set_active(GTK_COMBO_BOX(control), sel);
    return 0;
}

void EngGuiSetPopupControlCurrentSelection_LNX(GtkWidget* control, int index)
{
    if (!DebugCheckOkAlt(control != nullptr, __PRETTY_FUNCTION__, "No control."))
        return;
    if (!GTK_IS_COMBO_BOX(control))
        return;
    GtkTreeModel* menu = gtk_combo_box_get_model(GTK_COMBO_BOX(control));
    int n = EngGuiGetMenuCount_LNX(menu);
    // Outside the entries the nearest one is shown.
    int sel = n == 0 ? -1 : index < 0 ? 0 : index >= n ? n - 1 : index;
    gtk_combo_box_set_active(GTK_COMBO_BOX(control), sel);
}

int EngGuiGetPopupControlCurrentSelection_LNX(GtkWidget* control)
{
    if (!control || !GTK_IS_COMBO_BOX(control))
        return -1;
    return gtk_combo_box_get_active(GTK_COMBO_BOX(control));
}

int EngGuiGetMenuCount_LNX(GtkTreeModel* menu)
{
    return menu ? gtk_tree_model_iter_n_children(menu, nullptr) : 0;
}

void EngGuiResetMenu_LNX(GtkTreeModel* menu)
{
    if (menu && GTK_IS_LIST_STORE(menu))
        gtk_list_store_clear(GTK_LIST_STORE(menu));
}

void EngGuiAddStringToMenu_LNX(GtkTreeModel* menu, const char* text)
{
    if (!menu || !text || !GTK_IS_LIST_STORE(menu))
        return;
    const std::string t = EngUtf8FromLatin1(text);
    GtkTreeIter it;
    gtk_list_store_append(GTK_LIST_STORE(menu), &it);
    gtk_list_store_set(GTK_LIST_STORE(menu), &it, 0, t.c_str(), -1);
}

void EngGuiGetMenuItemString_LNX(GtkTreeModel* menu, int index, char* buf, int size)
{
    if (!menu || !buf || size <= 0)
        return;
    GtkTreeIter it;
    if (!ItemIter(menu, index, &it))
    {
        GError* e = g_error_new(G_IO_ERROR, G_IO_ERROR_NOT_FOUND, "No entry %d", index);
        EngGuiIsReturnCodeOk_LNX(__PRETTY_FUNCTION__, e);
        g_error_free(e);
        return;
    }
    gchar* t = nullptr;
    gtk_tree_model_get(menu, &it, 0, &t, -1);
    CopyOut(t ? t : "", buf, size);
    g_free(t);
}

void EngGuiGetPopupMenuCurrentText_LNX(GtkTreeModel* menu, GtkWidget* control, char* buf, int size)
{
    int sel = control ? EngGuiGetPopupControlCurrentSelection_LNX(control) : 0;
    EngGuiGetMenuItemString_LNX(menu, sel, buf, size);
}

void EngGuiSetMenuItemText_LNX(GtkTreeModel* menu, unsigned item, const char* text)
{
    if (!menu || !text)
        return;
    GtkTreeIter it;
    if (item < 1 || !GTK_IS_LIST_STORE(menu) || !ItemIter(menu, int(item) - 1, &it))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not set menu text to <%s>", text);
        return;
    }
    const std::string t = EngUtf8FromLatin1(text);
    gtk_list_store_set(GTK_LIST_STORE(menu), &it, 0, t.c_str(), -1);
}

void EngGuiSetMenuItemCommandID_LNX(GtkWidget* item, EngUInt32 command)
{
    if (item)
        g_object_set_data(G_OBJECT(item), cgui_cmd_key, GUINT_TO_POINTER(command));
}

namespace
{
template <typename F> void ForEachCommandItem(GtkWidget* menu, EngUInt32 command, F f)
{
    if (!menu || !GTK_IS_MENU_SHELL(menu))
        return;
    GList* children = gtk_container_get_children(GTK_CONTAINER(menu));
    for (GList* l = children; l; l = l->next)
    {
        GtkWidget* item = GTK_WIDGET(l->data);
        if (g_object_get_data(G_OBJECT(item), cgui_cmd_key) &&
            GPOINTER_TO_UINT(g_object_get_data(G_OBJECT(item), cgui_cmd_key)) == command)
            f(item);
    }
    g_list_free(children);
}
} // namespace

void EngGuiEnableMenuItemUsingCommandId_LNX(GtkWidget* menu, EngUInt32 command, char on)
{
    ForEachCommandItem(menu, command, [on](GtkWidget* item) { gtk_widget_set_sensitive(item, on ? TRUE : FALSE); });
}

void EngGuiCheckMenuItemUsingCommandId_LNX(GtkWidget* menu, EngUInt32 command, char on)
{
    ForEachCommandItem(menu, command, [on](GtkWidget* item) {
        if (GTK_IS_CHECK_MENU_ITEM(item))
            gtk_check_menu_item_set_active(GTK_CHECK_MENU_ITEM(item), on ? TRUE : FALSE);
    });
}

namespace
{
// What a picture's header asks for, seen before its pixels are made.
struct PictureRequest
{
    int want_w, want_h; // the size asked for, or -1
    long long file_bytes;
    long long need = 0; // bytes the picture would take, when too many
    int w = 0, h = 0;
    GError** error = nullptr; // where the loader's write or close reports its failure
};

// The size a picture of w x h is shown at, as gdk_pixbuf_new_from_stream_at_scale
// gives it with the aspect ratio kept.
void ShownSize(const PictureRequest* r, long long w, long long h, long long* sw, long long* sh)
{
    *sw = w, *sh = h;
    if (r->want_w > 0 && r->want_h > 0 && w > 0 && h > 0)
    {
        if (double(h) * r->want_w > double(w) * r->want_h)
            *sw = (long long)(0.5 + double(w) * r->want_h / h), *sh = r->want_h;
        else
            *sh = (long long)(0.5 + double(h) * r->want_w / w), *sw = r->want_w;
        *sw = std::max(*sw, 1LL), *sh = std::max(*sh, 1LL);
    }
}

// The decoder's pixels, a working store as large again beside them (a
// progressive JPEG's coefficients), and the scaled copy, four bytes a pixel.
void PictureSizePrepared(GdkPixbufLoader* loader, int w, int h, gpointer data)
{
    PictureRequest* r = static_cast<PictureRequest*>(data);
    long long sw, sh;
    ShownSize(r, w, h, &sw, &sh);
    long long px = (long long)std::max(w, 0) * std::max(h, 0);
    long long need = r->file_bytes + px * 8 + (sw != w || sh != h ? sw * sh * 4 : 0);
    if (px > ENG_JPEG_MAX_PIXELS || need > ENG_IMAGE_MAX_DECODE_BYTES)
    {
        r->need = need, r->w = w, r->h = h;
        // A size of 0 tells the decoder to stop before it makes any pixels;
        // it stops without a reason of its own, which the write is given.
        gdk_pixbuf_loader_set_size(loader, 0, 0);
        if (r->error && !*r->error)
            g_set_error_literal(r->error, GDK_PIXBUF_ERROR, GDK_PIXBUF_ERROR_INSUFFICIENT_MEMORY,
                                "Picture too large");
        return;
    }
    if (sw != w || sh != h)
        gdk_pixbuf_loader_set_size(loader, int(sw), int(sh));
}

// Bytes of the scaled copy of a JPEG picture, held beside its decode.
long long ScaledJpegBytes(unsigned w, unsigned h, void* user)
{
    long long sw, sh;
    ShownSize(static_cast<const PictureRequest*>(user), w, h, &sw, &sh);
    return sw != w || sh != h ? sw * sh * 3 : 0;
}

// True when the file begins with a JPEG start marker: all that the image
// library would take as JPEG.
bool IsJpegPicture(const char* name)
{
    FILE* f = EngFileOpenRegularStream(name, "rb", 0, nullptr);
    if (!f)
        return false;
    unsigned char start[2] = {0, 0};
    const bool jpeg = fread(start, 1, 2, f) == 2 && start[0] == 0xFF && start[1] == 0xD8;
    fclose(f);
    return jpeg;
}

bool StartsWith(const unsigned char* d, size_t n, const char* magic, size_t len)
{
    return n >= len && memcmp(d, magic, len) == 0;
}

bool IsTiffPicture(const unsigned char* d, size_t n)
{
    return StartsWith(d, n, "II*\0", 4) || StartsWith(d, n, "MM\0*", 4) || StartsWith(d, n, "II+\0", 4) ||
           StartsWith(d, n, "MM\0+", 4);
}

// A PNM picture, the one kind the dialog kit leaves to GTK's image library
// (the engine has no decoder of its own for it): its loader takes no more
// than the size its header gives, which is checked before any pixels are
// made.
bool IsPnmPicture(const unsigned char* d, size_t n)
{
    return n >= 2 && d[0] == 'P' && d[1] >= '1' && d[1] <= '6';
}

// The pixels p holds shown at the size req asks for: p itself (its
// reference passed on) or a scaled copy.
GdkPixbuf* ShownPicture(const char* func, const char* name, const PictureRequest* req, GdkPixbuf* p)
{
    long long sw, sh;
    const int w = gdk_pixbuf_get_width(p), h = gdk_pixbuf_get_height(p);
    ShownSize(req, w, h, &sw, &sh);
    if (sw == w && sh == h)
        return p;
    GdkPixbuf* scaled = gdk_pixbuf_scale_simple(p, int(sw), int(sh), GDK_INTERP_BILINEAR);
    g_object_unref(p);
    if (!scaled)
        DebugErrorAlt(func, "No memory <%s>", name);
    return scaled;
}

// A JPEG picture is decoded by the engine's reader, which bounds its memory
// and its decoding work; GTK gets its pixels.
GdkPixbuf* JpegPicture(const char* func, const char* name, int width, int height)
{
    PictureRequest req = {width, height, 0};
    unsigned w = 0, h = 0;
    unsigned char* rgb = EngJpegReadFileToRgb(func, name, ScaledJpegBytes, &req, &w, &h);
    if (!rgb)
        return nullptr;
    GdkPixbuf* p = gdk_pixbuf_new_from_data(
        rgb, GDK_COLORSPACE_RGB, FALSE, 8, int(w), int(h), int(w) * 3, [](guchar* px, gpointer) { free(px); },
        nullptr);
    if (!p)
    {
        free(rgb);
        DebugErrorAlt(func, "No picture in <%s>", name);
        return nullptr;
    }
    return ShownPicture(func, name, &req, p);
}

// Bytes of the scaled copy of a picture the image decoder gives, held beside
// its pixels.
long long ScaledImageBytes(int w, int h, int channels, void* user)
{
    long long sw, sh;
    ShownSize(static_cast<const PictureRequest*>(user), w, h, &sw, &sh);
    return sw != w || sh != h ? sw * sh * channels : 0;
}

// A PNG, GIF, BMP or TGA picture is decoded by the engine's image decoder,
// the textures' own, which counts every allocation against the engine's
// bound: the kit shows the pixels a texture of the file has, and refuses
// the files the textures refuse, for the same reasons.
GdkPixbuf* EnginePicture(const char* func, const char* name, const char* kind, const unsigned char* data,
                         size_t size, int width, int height)
{
    PictureRequest req = {width, height, (long long)size};
    int w = 0, h = 0, n = 0;
    const char* why = "";
    unsigned char* px = EngImageDecodeMemory(data, size, &w, &h, &n, &why, 1, ScaledImageBytes, &req);
    if (!px)
    {
        DebugErrorAlt(func, "Could not read the %s picture <%s>: %s", kind, name, why);
        return nullptr;
    }
    GdkPixbuf* p = gdk_pixbuf_new_from_data(
        px, GDK_COLORSPACE_RGB, n == 4 ? TRUE : FALSE, 8, w, h, w * n, [](guchar* bytes, gpointer) { free(bytes); },
        nullptr);
    if (!p)
    {
        free(px);
        DebugErrorAlt(func, "No picture in <%s>", name);
        return nullptr;
    }
    return ShownPicture(func, name, &req, p);
}

// A TIFF picture is decoded by libtiff here, from the file's bytes, and
// only when every directory of the file holds pixels whose decoding takes
// time bounded by their size; libtiff would hand JPEG data to libjpeg past
// the engine's bound on decoding work. What libtiff reads and works through
// on the way is bounded by the file's size: strip and tile arrays are read
// only as the first picture's pieces are decoded, all reading stops at twice
// the file, and directories of thousands of unknown tags are refused.
struct TiffSource
{
    const char* name;
    const unsigned char* data;
    size_t size;
    uint64_t at = 0;
    std::string error; // the first libtiff reported, without the file's name
    uint64_t read = 0, read_bound = 0;
    bool over_read = false; // a read refused at the bound, and all after it
    long long warnings = 0;
};

tmsize_t TiffRead(thandle_t h, void* buf, tmsize_t n)
{
    TiffSource* s = static_cast<TiffSource*>(h);
    if (n <= 0 || s->at >= s->size)
        return 0;
    const size_t k = size_t(std::min<uint64_t>(uint64_t(n), s->size - s->at));
    // Once refused, every read is, so that libtiff stops at once.
    if (s->over_read || s->read + k > s->read_bound)
    {
        s->over_read = true;
        return 0;
    }
    memcpy(buf, s->data + s->at, k);
    s->at += k;
    s->read += k;
    return tmsize_t(k);
}

tmsize_t TiffWrite(thandle_t, void*, tmsize_t)
{
    return 0;
}

toff_t TiffSeek(thandle_t h, toff_t off, int whence)
{
    TiffSource* s = static_cast<TiffSource*>(h);
    const uint64_t base = whence == SEEK_CUR ? s->at : whence == SEEK_END ? s->size : 0;
    if ((whence != SEEK_SET && whence != SEEK_CUR && whence != SEEK_END) || off > UINT64_MAX - base)
        return toff_t(-1);
    s->at = base + off;
    return s->at;
}

int TiffClose(thandle_t)
{
    return 0;
}

toff_t TiffSize(thandle_t h)
{
    return static_cast<TiffSource*>(h)->size;
}

int TiffMap(thandle_t, void**, toff_t*)
{
    return 0;
}

void TiffUnmap(thandle_t, void*, toff_t) {}

int TiffError(TIFF*, void* user, const char*, const char* fmt, va_list ap)
{
    TiffSource* s = static_cast<TiffSource*>(user);
    if (s->error.empty())
    {
        char text[512];
        vsnprintf(text, sizeof(text), fmt, ap);
        s->error = text;
        const std::string named = std::string(s->name) + ": ";
        if (s->error.compare(0, named.size(), named) == 0)
            s->error.erase(0, named.size());
        if (s->error.empty())
            s->error = "error";
    }
    return 1;
}

// libtiff warns once of each unknown tag of a directory it reads (and of
// each tag it cannot take).
int TiffWarning(TIFF*, void* user, const char*, const char*, va_list)
{
    static_cast<TiffSource*>(user)->warnings++;
    return 1;
}

bool TiffCompressionIsJpeg(uint16_t c)
{
    // 34892 is the lossy JPEG of DNG files.
    return c == COMPRESSION_OJPEG || c == COMPRESSION_JPEG || c == 34892;
}

bool TiffCompressionIsBounded(uint16_t c)
{
    switch (c)
    {
    case COMPRESSION_NONE:
    case COMPRESSION_CCITTRLE:
    case COMPRESSION_CCITTRLEW:
    case COMPRESSION_CCITTFAX3:
    case COMPRESSION_CCITTFAX4:
    case COMPRESSION_LZW:
    case COMPRESSION_PACKBITS:
    case COMPRESSION_ADOBE_DEFLATE:
    case COMPRESSION_DEFLATE:
        return true;
    default:
        return false;
    }
}

// Most directories of a TIFF read for their compressions.
const int TIFF_MAX_DIRECTORIES = 1024;

// libtiff takes time growing with the square of a directory's unknown tags
// to enter them (up to the 4096 entries it reads of one directory): the
// squares of all directories' counts may add up to that of 4096 tags.
const long long TIFF_MAX_UNKNOWN_TAGS_WORK = 4096LL * 4096LL;

// A strip or tile costs libtiff about what decoding 256 bytes of pixels
// does. Decoding the strips or tiles of a picture may take four times the
// work of its RGBA pixels, and 16 MB.
const long long TIFF_PIECE_COST = 256;
const long long TIFF_WORK_ALLOWANCE = 16LL << 20;

// Why the picture in tif (its first directory current) is not decoded:
// what is refused and, when libtiff could not read it, libtiff's reason.
struct TiffWhy
{
    std::string what, detail;
    bool Refused() const { return !what.empty(); }
};

TiffWhy Unreadable(const std::string& detail)
{
    return {"Could not read the TIFF picture", detail};
}

TiffWhy OverRead()
{
    return {"TIFF pictures that take more reading than twice their size are not supported", ""};
}

// Nothing refused once every directory has been read and each may be
// decoded, and the first one's strips or tiles decode to what its pixels
// justify; the first directory is current again.
TiffWhy TiffRefusal(TIFF* tif, TiffSource& src)
{
    int dirs = 0;
    long long unknown_work = 0;
    for (;;)
    {
        unknown_work += src.warnings * src.warnings;
        src.warnings = 0;
        if (unknown_work > TIFF_MAX_UNKNOWN_TAGS_WORK)
            return {"TIFF pictures whose directories hold thousands of unknown tags are not supported", ""};
        uint16_t c = COMPRESSION_NONE;
        TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &c);
        if (TiffCompressionIsJpeg(c))
            return {"TIFF pictures of JPEG data are not supported", ""};
        if (!TiffCompressionIsBounded(c))
            return {"TIFF pictures of compression " + std::to_string(c) + " are not supported", ""};
        if (++dirs > TIFF_MAX_DIRECTORIES)
            return {"TIFF pictures of more than " + std::to_string(TIFF_MAX_DIRECTORIES) +
                        " directories are not supported",
                    ""};
        if (src.over_read || !TIFFReadDirectory(tif))
            break;
    }
    if (src.over_read)
        return OverRead();
    if (!src.error.empty())
        return Unreadable(src.error);
    if (!TIFFSetDirectory(tif, 0))
        return src.over_read
                   ? OverRead()
                   : Unreadable(src.error.empty() ? "its first directory cannot be read again" : src.error);
    uint32_t w = 0, h = 0;
    if (!TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &w) || !TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &h) || !w || !h)
        return Unreadable("it has no pixels");
    const bool tiled = TIFFIsTiled(tif);
    const uint64_t pieces = tiled ? TIFFNumberOfTiles(tif) : TIFFNumberOfStrips(tif);
    const uint64_t piece_bytes = tiled ? TIFFTileSize64(tif) : TIFFStripSize64(tif);
    const double work = double(pieces) * double(piece_bytes + TIFF_PIECE_COST);
    if (work > 16.0 * w * h + TIFF_WORK_ALLOWANCE)
        return {"TIFF pictures whose strips or tiles decode to far more than their pixels are not supported",
                std::to_string(pieces) + (tiled ? " tiles" : " strips") + " of " +
                    std::to_string(piece_bytes) + " bytes for " + std::to_string(w) + " x " +
                    std::to_string(h) + " pixels"};
    char why[1024] = "";
    if (!TIFFRGBAImageOK(tif, why))
        return Unreadable(why);
    return {};
}

void LogTiffRefusal(const char* func, const char* name, const TiffWhy& why)
{
    if (why.detail.empty())
        DebugErrorAlt(func, "%s <%s>", why.what.c_str(), name);
    else
        DebugErrorAlt(func, "%s <%s>: %s", why.what.c_str(), name, why.detail.c_str());
}

// The sample of a pixel that follows its colours: its alpha when the reader
// says it has one; 0 when there is none, or no colours before it.
uint16_t TiffFirstExtraSample(TIFF* tif)
{
    uint16_t samples = 1, extra = 0;
    uint16_t* types = nullptr;
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tif, TIFFTAG_EXTRASAMPLES, &extra, &types);
    return extra > 0 && extra < samples ? uint16_t(samples - extra) : 0;
}

// libtiff's RGBA reader for pixels of one grey or palette sample and alpha
// held together, which its own drops or (8-bit grey) leaves apart from the
// rest: the colour as libtiff maps it (a 16-bit grey by its high byte), the
// first extra sample as alpha, neither changed.
void TiffPutOneColourWithAlpha(TIFFRGBAImage* img, uint32_t* cp, uint32_t, uint32_t, uint32_t w, uint32_t h,
                               int32_t fromskew, int32_t toskew, unsigned char* pp)
{
    const bool wide = img->bitspersample == 16;
    const size_t step = size_t(img->samplesperpixel) * (wide ? 2 : 1);
    const size_t at = size_t(TiffFirstExtraSample(img->tif)) * (wide ? 2 : 1);
    uint32_t** map = img->photometric == PHOTOMETRIC_PALETTE ? img->PALmap : img->BWmap;
    for (; h > 0; --h)
    {
        for (uint32_t x = w; x > 0; --x)
        {
            unsigned v = pp[0], a = pp[at];
            if (wide)
            {
                uint16_t s, t;
                memcpy(&s, pp, 2);
                memcpy(&t, pp + at, 2);
                v = s >> 8;
                a = (t * 255u + 32767u) / 65535u;
            }
            *cp++ = (map[v][0] & 0x00FFFFFFu) | (uint32_t(a) << 24);
            pp += step;
        }
        cp += toskew;
        pp += ptrdiff_t(fromskew) * ptrdiff_t(step);
    }
}

// How the reader gives the picture's alpha.
enum class TiffAlpha
{
    NONE,
    STRAIGHT,      // as the file holds it, not premultiplied
    PREMULTIPLIED, // premultiplied by libtiff, or in the file
};

// The alpha of the picture img reads, its reader set to keep it; null and
// why for an alpha libtiff would drop.
const char* TiffAlphaRoute(TIFFRGBAImage* img, TiffAlpha* alpha)
{
    *alpha = TiffAlpha::NONE;
    if (img->alpha != EXTRASAMPLE_ASSOCALPHA && img->alpha != EXTRASAMPLE_UNASSALPHA)
        return nullptr;
    const uint16_t ph = img->photometric;
    const bool grey = ph == PHOTOMETRIC_MINISBLACK || ph == PHOTOMETRIC_MINISWHITE;
    // An alpha with no colour before it is none: libtiff reads the picture
    // from its first sample.
    if ((grey || ph == PHOTOMETRIC_PALETTE) && TiffFirstExtraSample(img->tif) == 0)
        return nullptr;
    // libtiff premultiplies an alpha not associated of RGB, and of grey held
    // in planes apart.
    if (ph == PHOTOMETRIC_RGB || (grey && !img->isContig))
    {
        *alpha = TiffAlpha::PREMULTIPLIED;
        return nullptr;
    }
    if (img->isContig && (grey || ph == PHOTOMETRIC_PALETTE) &&
        (img->bitspersample == 8 || (grey && img->bitspersample == 16)))
    {
        img->put.contig = TiffPutOneColourWithAlpha;
        *alpha = img->alpha == EXTRASAMPLE_ASSOCALPHA ? TiffAlpha::PREMULTIPLIED : TiffAlpha::STRAIGHT;
        return nullptr;
    }
    switch (ph)
    {
    case PHOTOMETRIC_SEPARATED:
        return "TIFF pictures of CMYK colours with alpha are not supported";
    case PHOTOMETRIC_YCBCR:
        return "TIFF pictures of YCbCr colours with alpha are not supported";
    case PHOTOMETRIC_PALETTE:
        return "TIFF pictures of palette colours with alpha are not supported";
    default:
        return "TIFF pictures of this kind of colours with alpha are not supported";
    }
}

// The RGBA reader's pixels as a GdkPixbuf's bytes, in place: R, G, B (and
// A, not premultiplied, when the picture has alpha). Each pixel is read
// before its bytes and those after it are written.
void TiffToPixbufBytes(uint32_t* raster, size_t pixels, TiffAlpha alpha)
{
    unsigned char* out = reinterpret_cast<unsigned char*>(raster);
    if (alpha == TiffAlpha::NONE)
    {
        for (size_t i = 0; i < pixels; i++, out += 3)
        {
            const uint32_t v = raster[i];
            out[0] = (unsigned char)TIFFGetR(v), out[1] = (unsigned char)TIFFGetG(v),
            out[2] = (unsigned char)TIFFGetB(v);
        }
        return;
    }
    for (size_t i = 0; i < pixels; i++, out += 4)
    {
        const uint32_t v = raster[i];
        unsigned px[4] = {TIFFGetR(v), TIFFGetG(v), TIFFGetB(v), TIFFGetA(v)};
        if (alpha == TiffAlpha::PREMULTIPLIED && px[3] != 255)
            for (int k = 0; k < 3; k++)
                px[k] = px[3] ? std::min(255u, (px[k] * 255 + px[3] / 2) / px[3]) : 0;
        out[0] = (unsigned char)px[0], out[1] = (unsigned char)px[1], out[2] = (unsigned char)px[2],
        out[3] = (unsigned char)px[3];
    }
}

GdkPixbuf* TiffPicture(const char* func, const char* name, const unsigned char* data, size_t size, int width,
                       int height)
{
    TiffSource src;
    src.name = name, src.data = data, src.size = size;
    // Every byte read once for the directories' walk and once more for the
    // first one read again and its pixels.
    src.read_bound = uint64_t(size) * 2 + (1u << 20);
    TIFFOpenOptions* opts = TIFFOpenOptionsAlloc();
    if (!opts)
    {
        DebugErrorAlt(func, "No memory <%s>", name);
        return nullptr;
    }
    // Beside the file's bytes, libtiff holds a tag's value twice as it enters
    // it: no one thing it makes may take more than half of what is left.
    TIFFOpenOptionsSetMaxSingleMemAlloc(
        opts, tmsize_t(std::max(1LL, (ENG_IMAGE_MAX_DECODE_BYTES - (long long)size) / 2)));
    TIFFOpenOptionsSetErrorHandlerExtR(opts, TiffError, &src);
    TIFFOpenOptionsSetWarningHandlerExtR(opts, TiffWarning, &src);
    // "m": read through the calls above, never from a mapping of the bytes;
    // "O": a directory's strip or tile arrays read only where its pieces are
    // decoded, never loaded (or padded to the pieces its rows imply) whole.
    TIFF* tif = TIFFClientOpenExt(name, "rmO", &src, TiffRead, TiffWrite, TiffSeek, TiffClose, TiffSize,
                                  TiffMap, TiffUnmap, opts);
    TIFFOpenOptionsFree(opts);
    if (!tif)
    {
        LogTiffRefusal(func, name, Unreadable(src.error.empty() ? "not a TIFF" : src.error));
        return nullptr;
    }
    TiffWhy why = TiffRefusal(tif, src);
    TIFFRGBAImage img;
    char emsg[1024] = "";
    if (!why.Refused() && !TIFFRGBAImageBegin(&img, tif, 1, emsg))
        why = Unreadable(emsg);
    if (why.Refused())
    {
        LogTiffRefusal(func, name, why);
        TIFFClose(tif);
        return nullptr;
    }
    TiffAlpha alpha = TiffAlpha::NONE;
    if (const char* dropped = TiffAlphaRoute(&img, &alpha))
    {
        LogTiffRefusal(func, name, {dropped, ""});
        TIFFRGBAImageEnd(&img);
        TIFFClose(tif);
        return nullptr;
    }
    const uint32_t w = img.width, h = img.height;
    uint16_t planar = PLANARCONFIG_CONTIG, samples = 1;
    TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    // The file's bytes, the pixels, the strip or tile the reader holds (one
    // for each plane held apart), the offsets and counts of every strip or
    // tile, and the scaled copy.
    PictureRequest req = {width, height, (long long)size};
    long long sw, sh;
    ShownSize(&req, w, h, &sw, &sh);
    const long long px = (long long)w * h;
    const bool tiled = TIFFIsTiled(tif);
    const long long piece = (long long)std::min<uint64_t>(tiled ? TIFFTileSize64(tif) : TIFFStripSize64(tif),
                                                          uint64_t(ENG_IMAGE_MAX_DECODE_BYTES));
    const long long pieces = tiled ? TIFFNumberOfTiles(tif) : TIFFNumberOfStrips(tif);
    const long long need = req.file_bytes + px * 4 + piece * (planar == PLANARCONFIG_SEPARATE ? samples : 1) +
                           pieces * 16 + (sw != w || sh != h ? sw * sh * 4 : 0);
    if (px > ENG_JPEG_MAX_PIXELS || need > ENG_IMAGE_MAX_DECODE_BYTES)
    {
        DebugErrorAlt(func, "Picture [%u x %u] needs %lld MB, more than %lld MB <%s>", w, h,
                      EngMegabytesRoundedUp(need), ENG_IMAGE_MAX_DECODE_BYTES >> 20, name);
        TIFFRGBAImageEnd(&img);
        TIFFClose(tif);
        return nullptr;
    }
    uint32_t* raster = static_cast<uint32_t*>(malloc(size_t(px) * 4));
    if (!raster)
    {
        DebugErrorAlt(func, "No memory <%s>", name);
        TIFFRGBAImageEnd(&img);
        TIFFClose(tif);
        return nullptr;
    }
    img.req_orientation = ORIENTATION_TOPLEFT;
    const int read = TIFFRGBAImageGet(&img, raster, w, h);
    TIFFRGBAImageEnd(&img);
    TIFFClose(tif);
    if (!read)
    {
        free(raster);
        LogTiffRefusal(func, name,
                       src.over_read
                           ? OverRead()
                           : Unreadable(src.error.empty() ? "its pixels cannot be read" : src.error));
        return nullptr;
    }
    TiffToPixbufBytes(raster, size_t(px), alpha);
    const bool has_alpha = alpha != TiffAlpha::NONE;
    GdkPixbuf* p = gdk_pixbuf_new_from_data(
        reinterpret_cast<guchar*>(raster), GDK_COLORSPACE_RGB, has_alpha ? TRUE : FALSE, 8, int(w), int(h),
        int(w) * (has_alpha ? 4 : 3), [](guchar* bytes, gpointer) { free(bytes); }, nullptr);
    if (!p)
    {
        free(raster);
        DebugErrorAlt(func, "No picture in <%s>", name);
        return nullptr;
    }
    return ShownPicture(func, name, &req, p);
}
} // namespace

GdkPixbuf* EngGuiCreateCGImageFromBundleResource(const char* name, int width, int height)
{
    if (!DebugCheckOkAlt(name && *name, __PRETTY_FUNCTION__, "No filename."))
        return nullptr;
    if (EngFileIsThereButNotRegular(name, __PRETTY_FUNCTION__))
        return nullptr;
    if (IsJpegPicture(name))
        return JpegPicture(__PRETTY_FUNCTION__, name, width, height);
    // Read here, so the image library never opens the path (a FIFO or device)
    // itself; its bytes count against each decoder's bound, as a texture's do.
    size_t size = 0;
    errno = 0;
    unsigned char* data = EngFileReadWholeFile(name, size_t(ENG_IMAGE_MAX_DECODE_BYTES), &size, 1);
    if (!data && errno == EFBIG)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Picture <%s> is larger than %lld MB", name,
                      ENG_IMAGE_MAX_DECODE_BYTES >> 20);
        return nullptr;
    }
    if (!DebugCheckOkAlt(data != nullptr, __PRETTY_FUNCTION__, "File does not exist."))
        return nullptr;
    const char* kind = EngImageKindOfMemory(data, size);
    if (IsTiffPicture(data, size) || kind)
    {
        GdkPixbuf* p = kind ? EnginePicture(__PRETTY_FUNCTION__, name, kind, data, size, width, height)
                            : TiffPicture(__PRETTY_FUNCTION__, name, data, size, width, height);
        free(data);
        return p;
    }
    GError* e = nullptr;
    GdkPixbufLoader* loader = IsPnmPicture(data, size) ? gdk_pixbuf_loader_new_with_type("pnm", &e) : nullptr;
    if (!loader)
    {
        free(data);
        if (e)
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "%s <%s>", e->message, name);
            g_error_free(e);
        }
        else
            DebugErrorAlt(__PRETTY_FUNCTION__, "Picture format not supported <%s>", name);
        return nullptr;
    }
    PictureRequest req = {width, height, (long long)size};
    req.error = &e;
    g_signal_connect(loader, "size-prepared", G_CALLBACK(PictureSizePrepared), &req);
    gboolean written = gdk_pixbuf_loader_write(loader, data, gsize(size), &e);
    free(data);
    GError* closing = nullptr;
    req.error = written ? &closing : nullptr;
    gboolean closed = gdk_pixbuf_loader_close(loader, req.error);
    if (!e)
        e = closing;
    else if (closing)
        g_error_free(closing);
    GdkPixbuf* p = req.need || !written || !closed ? nullptr : gdk_pixbuf_loader_get_pixbuf(loader);
    if (p)
        g_object_ref(p);
    g_object_unref(loader);
    if (req.need)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Picture [%d x %d] needs %lld MB, more than %lld MB <%s>", req.w, req.h,
                      EngMegabytesRoundedUp(req.need), ENG_IMAGE_MAX_DECODE_BYTES >> 20, name);
        if (e)
            g_error_free(e);
        return nullptr;
    }
    if (e)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "%s <%s>", e->message, name);
        g_error_free(e);
        if (p)
            g_object_unref(p);
        return nullptr;
    }
    if (!p)
        DebugErrorAlt(__PRETTY_FUNCTION__, "No picture in <%s>", name);
    return p;
}

char EngGuiSetHiViewControlsPicture_LNX(GtkWidget* image, const char* name)
{
    if (!DebugCheckOkAlt(image != nullptr && GTK_IS_IMAGE(image), __PRETTY_FUNCTION__, "No control."))
        return 0;
    int w = -1, h = -1;
    gtk_widget_get_size_request(image, &w, &h);
    GdkPixbuf* p = EngGuiCreateCGImageFromBundleResource(name, w, h);
    if (!DebugCheckOkAlt(p != nullptr, __PRETTY_FUNCTION__, "No imageRef"))
        return 0;
    gtk_image_set_from_pixbuf(GTK_IMAGE(image), p);
    g_object_unref(p);
    return 1;
}

GtkWidget* EngGuiCreateHiViewPictureControl_LNX(GtkWidget* fixed, int left, int top, int right, int bottom,
                                                const char* name)
{
    if (!DebugCheckOkAlt(fixed != nullptr && GTK_IS_FIXED(fixed), __PRETTY_FUNCTION__, "No window."))
        return nullptr;
    GtkWidget* image = gtk_image_new();
    gtk_widget_set_size_request(image, right - left > 0 ? right - left : -1, bottom - top > 0 ? bottom - top : -1);
    if (name && *name && !EngGuiSetHiViewControlsPicture_LNX(image, name))
    {
        g_object_ref_sink(image);
        g_object_unref(image);
        return nullptr;
    }
    gtk_fixed_put(GTK_FIXED(fixed), image, left, top);
    gtk_widget_show(image);
    return image;
}
