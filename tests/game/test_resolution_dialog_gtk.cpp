// The display-settings dialog in real GTK windows, driven by a script: the
// mode choice switches the lists and "Start" ends the dialog with the choice;
// a window destroyed from outside ends it quietly; after the version check's
// window, the keyboard is the dialog's again.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <gdk/gdkx.h>

#include <string>

#include "EngDebug.h"
#include "EngProgram.h"
#include "EngResModes.h"
#include "Linux/EngGui_LNX.h"
#include "PrefFolder.h"
#include "SWin.h"
#include "game/Game.h"
#include "game/Resolution.h"
#include "game/OnlineHooks.h"
#include "game/ResolutionDialog.h"
#include "game/Updater.h"
#include "VersionServer.h"
#include "support/HttpTestServer.h"
#include "support/TestSupport.h"
#include "support/XTestInput.h"

namespace
{

GtkWidget* W(int index)
{
    return static_cast<GtkWidget*>(res_swin->GetButtonControl(index));
}

struct Seen
{
    bool res_sensitive_windowed = true;
    bool freq_sensitive_windowed = false;
    int freq_entries_fullscreen = 0;
    std::string title;
};

class ResolutionDialogGtk : public ::testing::Test
{
protected:
    void SetUp() override
    {
        DebugResetForTests();
        ASSERT_TRUE(DebugSetLogFilename(dir.File("log.txt").c_str(), 1));
        PrefFolderSetup("Kestrelbay Vizavu", 0, nullptr, 1);
        SWinSetBackend(nullptr);
        eng_main_device_type = 1;

        r_res_modes = new EngResModes();
        const _EngDisplayModeInfo list[] = {{800, 600, 32, 60}, {1024, 768, 32, 75}, {1024, 768, 32, 60}};
        const _EngDisplayModeInfo desktop = {1024, 768, 32, 0};
        ASSERT_TRUE(r_res_modes->SetModesFromList(list, 3, &desktop));
        ResolutionSetDefaults();
        resolution.fs_width = 1024, resolution.fs_height = 768;
        ASSERT_TRUE(ResolutionSave());

        // A script that did not end the dialog must not leave the test waiting.
        guard = g_timeout_add(
            vztest::kHangSeconds * 1000,
            [](gpointer p) -> gboolean
            {
                ADD_FAILURE() << "the dialog was still open";
                if (res_swin)
                    res_swin->QuitWindowLoop();
                *static_cast<guint*>(p) = 0;
                return G_SOURCE_REMOVE;
            },
            &guard);
    }
    void TearDown() override
    {
        if (guard)
            g_source_remove(guard);
        DebugResetForTests();
    }

    vztest::TempDir dir;
    vztest::ScopedEnv home{"HOME", dir.File("home").c_str()};
    vztest::ScopedEnv config{"XDG_CONFIG_HOME", dir.File("config").c_str()};
    vztest::ScopedEnv data{"XDG_DATA_HOME", dir.File("data").c_str()};
    guint guard = 0;
};

TEST_F(ResolutionDialogGtk, ScriptChoosesWindowedAndStarts)
{
    static Seen seen;
    // Runs inside the dialog's loop, once the window is up.
    g_idle_add(
        [](gpointer) -> gboolean
        {
            GtkWidget* top = gtk_widget_get_toplevel(W(resolution_ok_swb));
            seen.title = gtk_window_get_title(GTK_WINDOW(top));
            GtkTreeModel* model = gtk_combo_box_get_model(GTK_COMBO_BOX(W(resolution_freq_swb)));
            seen.freq_entries_fullscreen = model ? gtk_tree_model_iter_n_children(model, nullptr) : -1;
            gtk_combo_box_set_active(GTK_COMBO_BOX(W(resolution_mode_swb)), 1);
            seen.res_sensitive_windowed = gtk_widget_get_sensitive(W(resolution_res_swb));
            seen.freq_sensitive_windowed = gtk_widget_get_sensitive(W(resolution_freq_swb));
            gtk_button_clicked(GTK_BUTTON(W(resolution_ok_swb)));
            return G_SOURCE_REMOVE;
        },
        nullptr);
    EXPECT_EQ(1, ResolutionShowAndRunWindow());

    EXPECT_EQ("Kestrelbay' Vizavu", seen.title);
    EXPECT_EQ(2, seen.freq_entries_fullscreen);
    EXPECT_FALSE(seen.res_sensitive_windowed);
    EXPECT_FALSE(seen.freq_sensitive_windowed) << "the desktop lists no rates";
    EXPECT_EQ(1, resolution.windowed);
    const _EngCreateWindowParms* p = MainGetCreateWindowParms();
    EXPECT_EQ(1, p->windowed);
    EXPECT_EQ(nullptr, res_swin);
    EXPECT_EQ(nullptr, r_res_modes);
}

TEST_F(ResolutionDialogGtk, WindowDestroyedElsewhereIsAQuietStop)
{
    g_idle_add(
        [](gpointer) -> gboolean
        {
            gtk_widget_destroy(gtk_widget_get_toplevel(W(resolution_ok_swb)));
            return G_SOURCE_REMOVE;
        },
        nullptr);
    EXPECT_EQ(-1, ResolutionShowAndRunWindow());
    EXPECT_EQ(nullptr, res_swin);
    EXPECT_EQ(nullptr, r_res_modes);
    const std::string log = vztest::ReadFile(dir.File("log.txt"));
    EXPECT_EQ(std::string::npos, log.find("<ERROR>")) << log;
}

// The test's own connection to the X server, as the player's keyboard and
// mouse.
Display* Player()
{
    static Display* d = XOpenDisplay(nullptr);
    return d;
}

unsigned long Xid(GtkWidget* w)
{
    GdkWindow* gw = w ? gtk_widget_get_window(gtk_widget_get_toplevel(w)) : nullptr;
    return gw ? GDK_WINDOW_XID(gw) : 0;
}

// Whether the X server gives the keyboard to w's window.
bool HasKeyboard(GtkWidget* w)
{
    Window focus = None;
    int revert = 0;
    XGetInputFocus(Player(), &focus, &revert);
    return focus != None && focus == Xid(w);
}

void ClickOn(GtkWidget* w)
{
    gint x = 0, y = 0;
    gdk_window_get_origin(gtk_widget_get_window(w), &x, &y);
    GtkAllocation a;
    gtk_widget_get_allocation(w, &a);
    vztest::XTestClickAt(Player(), x + a.x + a.width / 2, y + a.y + a.height / 2);
}

void Type(KeySym key)
{
    vztest::XTestType(Player(), key);
}

// Without a window manager: the player clicks "Check for new version"; the
// version check's window comes over the dialog, belongs to it, and goes;
// with the pointer away from the dialog, Tab moves through its controls to
// "Start" and Return starts.
TEST_F(ResolutionDialogGtk, AfterTheVersionCheckTheKeyboardIsTheDialogsAgain)
{
    ASSERT_NE(Player(), nullptr);
    int event_base, error_base, major, minor;
    ASSERT_TRUE(XTestQueryExtension(Player(), &event_base, &error_base, &major, &minor));
    vztest::PopupRecorder popups;
    vztest::HttpTestServer server(gametest::VersionIsCurrent);
    OnlineSetSiteRoot(server.Url("").c_str());
    up_result_seconds = 0.2;

    static struct
    {
        int step = 0;
        bool kit_transient = false; // the check's window belonged to the dialog
        bool keyboard_back = false; // the dialog had the keyboard once it was gone
        GtkWidget* focus = nullptr; // the dialog's focus when the last Tab was typed
        int tabs = 0;
    } run;
    g_timeout_add(
        20,
        [](gpointer) -> gboolean
        {
            GtkWidget* dialog = gtk_widget_get_toplevel(W(resolution_ok_swb));
            switch (run.step)
            {
            case 0: // the dialog is up with the keyboard
                if (!gtk_widget_get_mapped(dialog) || !HasKeyboard(dialog))
                    return G_SOURCE_CONTINUE;
                ClickOn(W(resolution_new_version_swb));
                run.step = 1;
                return G_SOURCE_CONTINUE;
            case 1: // the check's window is on the screen
            {
                GtkWidget* kit = nullptr;
                GList* all = gtk_window_list_toplevels();
                for (GList* l = all; l; l = l->next)
                    if (GTK_WIDGET(l->data) != dialog && GTK_IS_WINDOW(l->data) &&
                        gtk_widget_get_mapped(GTK_WIDGET(l->data)))
                        kit = GTK_WIDGET(l->data);
                g_list_free(all);
                if (!kit)
                    return G_SOURCE_CONTINUE;
                run.kit_transient = gtk_window_get_transient_for(GTK_WINDOW(kit)) == GTK_WINDOW(dialog);
                run.step = 2;
                return G_SOURCE_CONTINUE;
            }
            case 2: // it has gone
                if (up_swin && up_swin->IsCreated())
                    return G_SOURCE_CONTINUE;
                XWarpPointer(Player(), None, DefaultRootWindow(Player()), 0, 0, 0, 0, 0, 0);
                XSync(Player(), False);
                run.step = 3;
                return G_SOURCE_CONTINUE;
            case 3: // Tab goes on until "Start" has the focus, then Return
                if (run.tabs > 0 && gtk_window_get_focus(GTK_WINDOW(dialog)) == run.focus)
                    return G_SOURCE_CONTINUE;
                if (run.tabs == 1)
                    run.keyboard_back = true;
                run.focus = gtk_window_get_focus(GTK_WINDOW(dialog));
                if (run.focus == W(resolution_ok_swb) || run.tabs > 40)
                {
                    Type(XK_Return);
                    run.step = 4;
                    return G_SOURCE_REMOVE;
                }
                run.tabs++;
                Type(XK_Tab);
                return G_SOURCE_CONTINUE;
            }
            return G_SOURCE_REMOVE;
        },
        nullptr);
    // Ended by Return on "Start", or else by the fixture's guard.
    EXPECT_EQ(1, ResolutionShowAndRunWindow());
    EXPECT_EQ(4, run.step);
    EXPECT_TRUE(run.kit_transient) << "the check's window did not belong to the dialog";
    EXPECT_TRUE(run.keyboard_back) << "Tab did not reach the dialog after the check";
    EXPECT_EQ(1u, server.Targets().size());
    EXPECT_TRUE(popups.Popups().empty());
    delete up_swin;
    up_swin = nullptr;
    OnlineSetSiteRoot(nullptr);
}

} // namespace
