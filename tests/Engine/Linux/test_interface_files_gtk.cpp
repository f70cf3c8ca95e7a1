// Interface files: a dialog built from a .ui file, run through its handler
// and closed; its loop's states; the menu bar; the messages of each failure.
#include <gtest/gtest.h>

#include <gtk/gtk.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

#include "EngDebug.h"
#include "Linux/EngGui_LNX.h"
#include "support/GtkDrawn.h"
#include "support/JpegEncode.h"
#include "support/TestSupport.h"

using vztest::Logged;

namespace
{

// The test's file, named without its extension.
std::string SettingsUi()
{
    return std::string(getenv("VZ_SOURCE_DIR")) + "/tests/Engine/Linux/data/Settings";
}

// The widget with this ID in the file, inside w (submenus too).
GtkWidget* Find(GtkWidget* w, const char* id)
{
    const char* name = gtk_buildable_get_name(GTK_BUILDABLE(w));
    if (name && strcmp(name, id) == 0)
        return w;
    GtkWidget* found = nullptr;
    if (GTK_IS_MENU_ITEM(w) && gtk_menu_item_get_submenu(GTK_MENU_ITEM(w)))
        found = Find(gtk_menu_item_get_submenu(GTK_MENU_ITEM(w)), id);
    if (!found && GTK_IS_CONTAINER(w))
    {
        GList* children = gtk_container_get_children(GTK_CONTAINER(w));
        for (GList* l = children; l && !found; l = l->next)
            found = Find(GTK_WIDGET(l->data), id);
        g_list_free(children);
    }
    return found;
}

// Titles of the windows alive.
std::vector<std::string> Windows()
{
    std::vector<std::string> titles;
    GList* all = gtk_window_list_toplevels();
    for (GList* l = all; l; l = l->next)
        if (const char* t = gtk_window_get_title(GTK_WINDOW(l->data)))
            titles.push_back(t);
    g_list_free(all);
    return titles;
}

// A string attribute of item i of a menu model, or "<none>".
std::string ItemText(GMenuModel* m, int i, const char* attribute)
{
    gchar* s = nullptr;
    std::string out = g_menu_model_get_item_attribute(m, i, attribute, "s", &s) ? s : "<none>";
    g_free(s);
    return out;
}

std::vector<std::string> events;

// Notes every event; "ok_button" ends the dialog's loop.
char Handler(GtkWidget* window, const _EngGuiDialogEvent_LNX* e)
{
    if (e->event_class == ENGGUI_EVENT_CLASS_WINDOW && e->kind == ENGGUI_EVENT_WINDOW_CLOSED)
    {
        events.push_back("closed");
        return 1;
    }
    if (e->event_class != ENGGUI_EVENT_CLASS_COMMAND || e->kind != ENGGUI_EVENT_COMMAND_PROCESS)
        return 0;
    events.push_back(e->command);
    EXPECT_EQ(e->control, Find(window, strcmp(e->command, "dlg.cancel") == 0 ? "cancel_button" : e->command));
    if (strcmp(e->command, "ok_button") == 0)
        EngGuiQuitDialog_LNX(window);
    return 1;
}

class InterfaceFiles : public vztest::LogTest
{
protected:
    void SetUp() override
    {
        LogTest::SetUp();
        ASSERT_TRUE(EngGuiStartGtk_LNX());
        events.clear();
        // Ends a loop the script failed to end.
        guard = g_timeout_add(
            vztest::kHangSeconds * 1000,
            [](gpointer p) -> gboolean
            {
                ADD_FAILURE() << "the dialog's loop did not end";
                GtkWidget** w = static_cast<GtkWidget**>(p);
                if (*w)
                    EngGuiQuitDialog_LNX(*w);
                return G_SOURCE_CONTINUE;
            },
            &dialog);
    }
    void TearDown() override
    {
        g_source_remove(guard);
        dialog = nullptr;
        LogTest::TearDown();
    }

    static GtkWidget* dialog;
    guint guard = 0;
    vztest::TempDir dir;
};
GtkWidget* InterfaceFiles::dialog = nullptr;

TEST_F(InterfaceFiles, DialogRunsItsCommandsAndIsDestroyedAfter)
{
    struct Seen
    {
        std::string title;
        bool visible = false, modal = true, cancel_sensitive = false;
    };
    static Seen seen;
    seen = Seen();
    // The player's part, once the dialog's loop runs.
    g_idle_add(
        [](gpointer) -> gboolean
        {
            seen.title = gtk_window_get_title(GTK_WINDOW(dialog));
            seen.visible = gtk_widget_get_visible(dialog);
            seen.modal = gtk_window_get_modal(GTK_WINDOW(dialog));
            GtkWidget* cancel = Find(dialog, "cancel_button");
            seen.cancel_sensitive = gtk_widget_is_sensitive(cancel);
            gtk_menu_item_activate(GTK_MENU_ITEM(Find(dialog, "about_item")));
            gtk_button_clicked(GTK_BUTTON(cancel));
            gtk_widget_activate(Find(dialog, "ok_button"));
            return G_SOURCE_REMOVE;
        },
        nullptr);
    EXPECT_EQ(1, EngGuiLoadAndRunDialogFromNib_LNX(SettingsUi().c_str(), "SettingsDialog", Handler, &dialog));

    EXPECT_EQ("Settings", seen.title);
    EXPECT_TRUE(seen.visible);
    EXPECT_FALSE(seen.modal) << "the application's loop";
    EXPECT_TRUE(seen.cancel_sensitive) << "a button naming an action gets one";
    // Widgets without an ID or an action (the label, the menu's title item) send nothing.
    EXPECT_EQ((std::vector<std::string>{"about_item", "dlg.cancel", "ok_button", "closed"}), events);
    EXPECT_EQ(nullptr, dialog);
    EXPECT_TRUE(Windows().empty()) << "the dialog and the file's other window are gone";
}

TEST_F(InterfaceFiles, DialogDestroyedElsewhereEndsItsLoop)
{
    EngGuiDialogHandlerUPP_LNX upp = nullptr;
    ASSERT_EQ(1,
              EngGuiLoadDialogFromNib_LNX(SettingsUi().c_str(), "SettingsDialog", Handler, 0, &upp, &dialog));
    ASSERT_NE(nullptr, upp);
    ASSERT_TRUE(GTK_IS_WINDOW(dialog));
    EXPECT_FALSE(gtk_widget_get_visible(dialog)) << "shown by the run only";

    static char nested;
    static bool modal;
    g_idle_add(
        [](gpointer p) -> gboolean
        {
            modal = gtk_window_get_modal(GTK_WINDOW(dialog));
            // Asked to run again from inside its own loop.
            nested = EngGuiDoDialog_LNX(static_cast<EngGuiDialogHandlerUPP_LNX*>(p), &dialog, 1, 0);
            gtk_widget_destroy(dialog);
            return G_SOURCE_REMOVE;
        },
        &upp);
    EXPECT_EQ(1, EngGuiDoDialog_LNX(&upp, &dialog, 1, 0));
    EXPECT_EQ(0, nested);
    EXPECT_TRUE(Logged("Dialog in wrong state"));
    EXPECT_TRUE(modal);
    EXPECT_EQ(nullptr, dialog);
    EXPECT_EQ((std::vector<std::string>{"closed"}), events);

    // Its window is gone: nothing to run.
    DebugClearLog();
    EXPECT_EQ(0, EngGuiDoDialog_LNX(&upp, &dialog, 1, 1));
    EXPECT_TRUE(Logged("Dialog in wrong state"));
    EngGuiDestroyDialog_LNX(&upp, &dialog);
    EXPECT_TRUE(Logged("Bad parameters"));
    EXPECT_EQ(nullptr, upp);
    EXPECT_TRUE(Windows().empty());
}

TEST_F(InterfaceFiles, DialogGoneBeforeItsLoopRanIsAnError)
{
    // Slots still set from a dialog before: a warning, then a new dialog.
    EngGuiDialogHandlerUPP_LNX upp = nullptr;
    GtkWidget* old_window = nullptr;
    ASSERT_EQ(1, EngGuiLoadDialogFromNib_LNX(SettingsUi().c_str(), "SettingsDialog", Handler, 0, &upp,
                                             &old_window));
    EngGuiDialogHandlerUPP_LNX old_upp = upp;
    dialog = old_window;
    ASSERT_EQ(1,
              EngGuiLoadDialogFromNib_LNX(SettingsUi().c_str(), "SettingsDialog", Handler, 0, &upp, &dialog));
    EXPECT_TRUE(Logged("Warning - parameters not null"));
    EXPECT_NE(old_window, dialog);
    EngGuiDestroyDialog_LNX(&old_upp, &old_window);
    EXPECT_EQ((std::vector<std::string>{"closed"}), events);

    g_signal_connect(dialog, "show", G_CALLBACK(+[](GtkWidget* w, gpointer) { gtk_widget_destroy(w); }),
                     nullptr);
    EXPECT_EQ(0, EngGuiDoDialog_LNX(&upp, &dialog, 0, 1));
    EXPECT_TRUE(Logged("Run returned error " + std::to_string(int(G_IO_ERROR_CLOSED))));
    EXPECT_EQ(nullptr, dialog);
    EXPECT_EQ(nullptr, upp);
    EXPECT_EQ((std::vector<std::string>{"closed", "closed"}), events);
    EXPECT_TRUE(Windows().empty());
}

TEST_F(InterfaceFiles, MenuBarComesFromTheFilesMenu)
{
    ASSERT_EQ(1, EngGuiLoadMenuFromNIB_LNX(SettingsUi().c_str()));
    GMenuModel* bar = EngGuiGetMenuBar_LNX();
    ASSERT_NE(nullptr, bar);
    ASSERT_EQ(1, g_menu_model_get_n_items(bar));
    auto text = ItemText;
    EXPECT_EQ("Game", text(bar, 0, G_MENU_ATTRIBUTE_LABEL));
    GMenuModel* game = g_menu_model_get_item_link(bar, 0, G_MENU_LINK_SUBMENU);
    ASSERT_NE(nullptr, game);
    ASSERT_EQ(2, g_menu_model_get_n_items(game));
    EXPECT_EQ("New Puzzle", text(game, 0, G_MENU_ATTRIBUTE_LABEL));
    EXPECT_EQ("Quit", text(game, 1, G_MENU_ATTRIBUTE_LABEL));
    EXPECT_EQ("app.quit", text(game, 1, G_MENU_ATTRIBUTE_ACTION));
    g_object_unref(game);
    EXPECT_TRUE(Windows().empty()) << "the file's windows are not left behind";
}

TEST_F(InterfaceFiles, MenuTitlesAreTheMenuBarsLabels)
{
    ASSERT_EQ(1, EngGuiLoadMenuFromNIB_LNX(SettingsUi().c_str()));
    GMenuModel* bar = EngGuiGetMenuBar_LNX();
    GMenuModel* game = g_menu_model_get_item_link(bar, 0, G_MENU_LINK_SUBMENU);
    ASSERT_NE(nullptr, game);
    GMenu* loose = g_menu_new();
    g_menu_append(loose, "Loose item", "app.loose");
    struct Case
    {
        const char* what;
        GMenuModel* menu;
        const char* text;
        const char* label; // the game menu's label after
        bool refused;
    } cases[] = {
        {"the game menu", game, "Puzzle", "Puzzle", false},
        {"a Latin-1 title", game, "Caf\xE9", "Caf\xC3\xA9", false},
        {"the menu bar, in no menu", bar, "Bar", "Caf\xC3\xA9", true},
        {"a menu outside the bar", G_MENU_MODEL(loose), "Loose", "Caf\xC3\xA9", true},
        {"no text", game, nullptr, "Caf\xC3\xA9", false},
        {"no menu", nullptr, "None", "Caf\xC3\xA9", false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        DebugClearLog();
        EngGuiSetMenuTitleText_LNX(c.menu, c.text);
        EXPECT_EQ(c.label, ItemText(bar, 0, G_MENU_ATTRIBUTE_LABEL));
        EXPECT_EQ(c.refused,
                  Logged(std::string("Could not set menu text to <") + (c.text ? c.text : "") + ">"))
            << vztest::LastLogLine();
        // The menu keeps its place in the bar, its items and their actions.
        ASSERT_EQ(1, g_menu_model_get_n_items(bar));
        GMenuModel* now = g_menu_model_get_item_link(bar, 0, G_MENU_LINK_SUBMENU);
        EXPECT_EQ(game, now);
        if (now)
            g_object_unref(now);
        ASSERT_EQ(2, g_menu_model_get_n_items(game));
        EXPECT_EQ("Quit", ItemText(game, 1, G_MENU_ATTRIBUTE_LABEL));
        EXPECT_EQ("app.quit", ItemText(game, 1, G_MENU_ATTRIBUTE_ACTION));
        EXPECT_EQ("Loose item", ItemText(G_MENU_MODEL(loose), 0, G_MENU_ATTRIBUTE_LABEL));
    }
    g_object_unref(loose);
    g_object_unref(game);
}

TEST_F(InterfaceFiles, FilesAreFoundInTheResourcesFolder)
{
    // A bare name is the resources folder's file.
    const std::string name = "InterfaceTest" + std::to_string(getpid());
    const std::string copy = std::string(getenv("VZ_RESOURCES_DIR")) + "/" + name + ".ui";
    vztest::WriteFile(copy, vztest::ReadFile(SettingsUi() + ".ui"));
    EngGuiNibRef_LNX nib = nullptr;
    EXPECT_EQ(1, EngGuiLoadNIB_LNX(name.c_str(), &nib));
    EXPECT_NE(nullptr, nib);
    EngGuiReleaseNIB_LNX(nib);
    EngGuiReleaseNIB_LNX(nullptr);
    unlink(copy.c_str());
}

// Runs GTK until cond holds, for at most the long bound.
template <typename F> bool SpinUntil(F cond)
{
    const gint64 end = g_get_monotonic_time() + gint64(vztest::kHangSeconds) * G_USEC_PER_SEC;
    while (!cond())
    {
        if (g_get_monotonic_time() > end)
            return false;
        while (gtk_events_pending())
            gtk_main_iteration_do(FALSE);
        g_usleep(2000);
    }
    return true;
}

// Pixels of px (B, G, R, A) that are the colour r, g, b, give or take a few
// steps, and pixels that are not transparent.
int PixelsOfColour(const std::vector<unsigned char>& px, int r, int g, int b)
{
    int n = 0;
    for (size_t i = 0; i + 3 < px.size(); i += 4)
        n += px[i + 3] == 255 && std::abs(px[i + 2] - r) < 8 && std::abs(px[i + 1] - g) < 8 &&
             std::abs(px[i] - b) < 8;
    return n;
}

int OpaquePixels(const std::vector<unsigned char>& px)
{
    int n = 0;
    for (size_t i = 0; i + 3 < px.size(); i += 4)
        n += px[i + 3] > 128;
    return n;
}

// Whichever way an interface file names a picture (a property of any type,
// an icon factory's source, a list's column, an icon object), GTK reads it
// as it does for any program of its own, JPEG too: its pixels reach what the
// file builds. A theme's icon, which names no file, builds and draws.
TEST_F(InterfaceFiles, APictureTheFileNamesIsDecodedByGtk)
{
    const std::string jpeg = dir.File("picture.jpg");
    std::vector<unsigned char> px;
    for (int i = 0; i < 48 * 48; i++)
        px.insert(px.end(), {0x30, 0x50, 0xa0});
    vztest::WriteFile(jpeg, vztest::EncodeJpeg(px, 48, 48, 3, JCS_RGB));
    const std::string image = "<object class=\"GtkImage\" id=\"shown\">";
    // GtkBuilder knows the icon classes once they are made.
    g_type_ensure(G_TYPE_FILE_ICON);
    g_type_ensure(G_TYPE_THEMED_ICON);
    // Where the picture is seen: drawn by the widget "shown", held by the
    // status icon (as the label "shown" tells), as the window's icon, or a
    // theme's icon drawn.
    enum Seen
    {
        DRAWN,
        HELD,
        WINDOW_ICON,
        THEMED
    };
    const struct
    {
        const char* name;
        std::string before; // objects ahead of the window
        std::string inner;  // the window's own properties and child
        Seen seen;
    } cases[] = {
        {"a status icon's file",
         "<object class=\"GtkStatusIcon\" id=\"status\"><property name=\"file\">" + jpeg +
             "</property></object>",
         "<child><object class=\"GtkLabel\" id=\"shown\"><property name=\"label\" bind-source=\"status\" "
         "bind-property=\"storage-type\" bind-flags=\"sync-create\"/></object></child>",
         HELD},
        {"an icon factory's source",
         "<object class=\"GtkIconFactory\" id=\"factory\"><sources><source stock-id=\"vz-named-picture\" "
         "filename=\"" +
             jpeg + "\"/></sources></object>",
         "<child>" + image +
             "<property name=\"stock\">vz-named-picture</property><property name=\"icon-size\">6</property>"
             "</object></child>",
         DRAWN},
        {"an image's file", "",
         "<child>" + image + "<property name=\"file\">" + jpeg + "</property></object></child>", DRAWN},
        {"an image's pixbuf", "",
         "<child>" + image + "<property name=\"pixbuf\">" + jpeg + "</property></object></child>", DRAWN},
        {"an image's icon made from the file",
         "<object class=\"GFileIcon\" id=\"file_icon\"><property name=\"file\">file://" + jpeg +
             "</property></object>",
         "<child>" + image +
             "<property name=\"gicon\">file_icon</property><property "
             "name=\"icon-size\">6</property></object></child>",
         DRAWN},
        {"a list's picture column",
         "<object class=\"GtkListStore\" id=\"store\"><columns><column type=\"GdkPixbuf\"/></columns>"
         "<data><row><col id=\"0\">" +
             jpeg + "</col></row></data></object>",
         "<child><object class=\"GtkComboBox\" id=\"shown\"><property name=\"model\">store</property>"
         "<property name=\"active\">0</property><child><object class=\"GtkCellRendererPixbuf\"/>"
         "<attributes><attribute name=\"pixbuf\">0</attribute></attributes></child></object></child>",
         DRAWN},
        {"a window's icon", "",
         "<property name=\"icon\">" + jpeg + "</property><child>" + image + "</object></child>", WINDOW_ICON},
        {"a theme's icon",
         "<object class=\"GThemedIcon\" id=\"warning\"><property "
         "name=\"name\">dialog-warning</property></object>",
         "<child>" + image +
             "<property name=\"gicon\">warning</property><property "
             "name=\"icon-size\">6</property></object></child>",
         THEMED},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        const std::string file = dir.File("pictures.ui");
        vztest::WriteFile(file, "<interface>" + c.before + "<object class=\"GtkWindow\" id=\"W\">" + c.inner +
                                    "</object></interface>");
        DebugClearLog();
        EngGuiDialogHandlerUPP_LNX upp = nullptr;
        if (!EngGuiLoadDialogFromNib_LNX(file.c_str(), "W", Handler, 0, &upp, &dialog))
        {
            ADD_FAILURE() << "not built: " << vztest::LastLogLine();
            continue;
        }
        gtk_widget_show_all(dialog);
        GtkWidget* shown = Find(dialog, "shown");
        ASSERT_NE(nullptr, shown);
        ASSERT_TRUE(SpinUntil(
            [&] { return gtk_widget_get_mapped(shown) && gtk_widget_get_allocated_width(shown) > 1; }));
        const std::vector<unsigned char> drawn = vztest::DrawnPixels(shown);
        GdkPixbuf* icon = gtk_window_get_icon(GTK_WINDOW(dialog));
        switch (c.seen)
        {
        case DRAWN:
            // Most of a 48 x 48 picture, or of as much of it as the widget shows.
            EXPECT_GT(PixelsOfColour(drawn, 0x30, 0x50, 0xa0), 16 * 16) << "the JPEG's pixels are not shown";
            break;
        case HELD:
            EXPECT_STREQ("GTK_IMAGE_PIXBUF", gtk_label_get_text(GTK_LABEL(shown)))
                << "the JPEG was not decoded";
            break;
        case WINDOW_ICON:
        {
            ASSERT_NE(nullptr, icon);
            const unsigned char* p = gdk_pixbuf_read_pixels(icon);
            EXPECT_TRUE(std::abs(p[0] - 0x30) < 8 && std::abs(p[1] - 0x50) < 8 && std::abs(p[2] - 0xa0) < 8)
                << "the JPEG is not the window's icon";
            break;
        }
        case THEMED:
            EXPECT_GT(OpaquePixels(drawn), 200) << "the theme's icon is not drawn";
            break;
        }
        EngGuiDestroyDialog_LNX(&upp, &dialog);
        EXPECT_TRUE(Windows().empty());
    }
}

TEST_F(InterfaceFiles, FailuresAreLoggedAndLeaveNothing)
{
    vztest::WriteFile(dir.File("broken.ui"), "<interface><object class=\"GtkWindow\" id=\"SettingsDialog\">");
    vztest::WriteFile(dir.File("page.ui"), "<html><body/></html>");
    vztest::WriteFile(dir.File("bare.ui"), "<interface><object class=\"GtkWindow\" id=\"W\"/></interface>");
    const std::string missing = dir.File("missing");
    const std::string noent = std::to_string(int(G_FILE_ERROR_NOENT));
    // Larger than any interface file is read: refused as such, not as a failed read.
    const std::string big = dir.File("big.ui");
    vztest::WriteFile(big, "<interface/>");
    ASSERT_EQ(truncate(big.c_str(), (16 << 20) + 1), 0);
    GMenuModel* const menu_bar = EngGuiGetMenuBar_LNX();
    EngGuiDialogHandlerUPP_LNX upp = nullptr;
    EngGuiNibRef_LNX nib = nullptr;
    auto load = [&](const std::string& file) { return EngGuiLoadNIB_LNX(file.c_str(), &nib); };
    auto dialog_from = [&](const std::string& file, const char* window)
    { return EngGuiLoadDialogFromNib_LNX(file.c_str(), window, Handler, 0, &upp, &dialog); };
    struct Case
    {
        const char* what;
        std::function<char()> call;
        std::string message;
    } cases[] = {
        {"no file", [&] { return load(missing); }, "Could not load NIB <" + missing + "> [" + noent + "]"},
        {"file cut short", [&] { return load(dir.File("broken")); }, "Could not load NIB <"},
        {"file too large", [&] { return load(big); }, "Could not read " + big + ": " + strerror(EFBIG)},
        {"not an interface file", [&] { return load(dir.File("page.ui")); }, "Could not load NIB <"},
        {"dialog, no file", [&] { return dialog_from(missing, "SettingsDialog"); },
         "CreateNibReference() failed [" + noent + "]"},
        {"dialog, no such window", [&] { return dialog_from(SettingsUi(), "NoSuchDialog"); },
         "CreateWindowFromNib() failed [" + std::to_string(int(GTK_BUILDER_ERROR_INVALID_ID)) + "]"},
        {"dialog, not a window", [&] { return dialog_from(SettingsUi(), "name_label"); },
         "CreateWindowFromNib() failed [" + std::to_string(int(GTK_BUILDER_ERROR_OBJECT_TYPE_REFUSED)) + "]"},
        {"menu, no file", [&] { return EngGuiLoadMenuFromNIB_LNX(missing.c_str()); }, "Could not load NIB <"},
        {"menu, none in the file", [&] { return EngGuiLoadMenuFromNIB_LNX(dir.File("bare").c_str()); },
         "SetMenuBarFromNib failed"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        DebugClearLog();
        EXPECT_EQ(0, c.call());
        EXPECT_TRUE(Logged(c.message)) << vztest::LastLogLine();
        EXPECT_EQ(nullptr, nib);
        EXPECT_EQ(nullptr, upp);
        EXPECT_EQ(nullptr, dialog);
        EXPECT_TRUE(Windows().empty());
    }
    EXPECT_EQ(menu_bar, EngGuiGetMenuBar_LNX()) << "the menu bar stays";
}

} // namespace
