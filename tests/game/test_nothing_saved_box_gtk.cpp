// The real "Nothing Will Be Saved" box, GTK's, as the start shows it for a
// data folder with a long name: its text breaks inside the name, so the box
// stays within the screen.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <gdk/gdkx.h>
#include <gtk/gtk.h>

#include <algorithm>
#include <string>

#include "EngMiscStrings.h"
#include "game/Game.h"
#include "game/ResolutionDialog.h"
#include "Linux/EngMisc_LNX.h"
#include "support/GtkBoxes.h"
#include "support/TestSupport.h"

namespace
{

struct Seen
{
    bool box = false;
    std::string title, secondary;
    int x = 0, y = 0, width = 0, height = 0, screen_width = 0, screen_height = 0;
    int waits = 0;
};

// Runs in GTK's loop while the box is up: measures its X window on the X
// server, then closes it with OK.
gboolean MeasureAndClose(gpointer p)
{
    Seen* s = static_cast<Seen*>(p);
    GtkWidget* box = vztest::ShownMessageBox();
    if (!box)
        return G_SOURCE_CONTINUE;
    // A few passes of the loop, so that the box has its final size.
    if (s->waits++ < 10)
        return G_SOURCE_CONTINUE;
    s->box = true;
    s->title = gtk_window_get_title(GTK_WINDOW(box)) ? gtk_window_get_title(GTK_WINDOW(box)) : "";
    gchar* secondary = nullptr;
    g_object_get(box, "secondary-text", &secondary, nullptr);
    s->secondary = secondary ? secondary : "";
    g_free(secondary);
    GdkWindow* gw = gtk_widget_get_window(box);
    Display* d = GDK_DISPLAY_XDISPLAY(gdk_window_get_display(gw));
    XSync(d, False);
    XWindowAttributes a;
    Window child;
    if (XGetWindowAttributes(d, GDK_WINDOW_XID(gw), &a) &&
        XTranslateCoordinates(d, GDK_WINDOW_XID(gw), a.root, 0, 0, &s->x, &s->y, &child))
    {
        s->width = a.width;
        s->height = a.height;
        s->screen_width = WidthOfScreen(a.screen);
        s->screen_height = HeightOfScreen(a.screen);
    }
    gtk_dialog_response(GTK_DIALOG(box), GTK_RESPONSE_OK);
    return G_SOURCE_REMOVE;
}

TEST(NothingWillBeSavedBox, StaysWithinTheScreenForAFolderOf200Bytes)
{
    vztest::TempDir dir;
    vztest::WriteFile(dir.File("blocker"), "a file, not a folder");
    // Under a file, so that no folder of it can be made.
    const std::string name(200, 'w');
    const std::string data = dir.File("blocker") + "/" + name;
    vztest::ScopedEnv env("XDG_DATA_HOME", data.c_str());
    vztest::ScopedEnv config("XDG_CONFIG_HOME", dir.Path().c_str());
    vztest::ScopedEnv home("HOME", dir.Path().c_str());
    // The real box, GTK's, in GTK's loop; the display dialog answers at once.
    const EngPopupFunction recorded = eng_popup_function;
    eng_popup_function = EngMiscShowPopupMessage_LNX;
    main_display_settings_dialog = []() -> signed char { return -1; };
    ASSERT_TRUE(EngMiscHasDisplay_LNX());
    Seen seen;
    guint source = g_timeout_add(20, MeasureAndClose, &seen);
    guint guard = g_timeout_add(
        vztest::kHangSeconds * 1000,
        [](gpointer) -> gboolean
        {
            ADD_FAILURE() << "the box stayed up";
            if (GtkWidget* box = vztest::ShownMessageBox())
                gtk_dialog_response(GTK_DIALOG(box), GTK_RESPONSE_OK);
            return G_SOURCE_CONTINUE;
        },
        nullptr);
    int code = 0;
    MainCreateAndInitMainProgram(nullptr, 0, nullptr, &code);
    MainExitAndDeleteMainProgram(1);
    g_source_remove(guard);
    if (!seen.box)
        g_source_remove(source);
    main_display_settings_dialog = ResolutionShowAndRunWindow;
    eng_popup_function = recorded;

    ASSERT_TRUE(seen.box) << "no box was shown";
    EXPECT_EQ(seen.title, "Nothing Will Be Saved");
    // The folder, shortened in its middle, is one run without a blank.
    size_t longest = 0, run = 0;
    for (char ch : seen.secondary)
    {
        run = ch == ' ' || ch == '\n' ? 0 : run + 1;
        longest = std::max(longest, run);
    }
    EXPECT_GE(longest, 150u) << seen.secondary;
    EXPECT_GT(seen.screen_width, 0);
    EXPECT_LE(seen.width, seen.screen_width);
    EXPECT_GE(seen.x, 0);
    EXPECT_LE(seen.x + seen.width, seen.screen_width) << "box " << seen.width << " wide at " << seen.x;
    EXPECT_LE(seen.y + seen.height, seen.screen_height);
}

} // namespace
