// The display-settings dialog in real GTK windows, driven by a script: the
// mode choice switches the lists and "Start" ends the dialog with the choice;
// a window destroyed from outside ends it quietly.
#include <gtest/gtest.h>

#include <string>

#include "EngDebug.h"
#include "EngProgram.h"
#include "EngResModes.h"
#include "Linux/EngGui_LNX.h"
#include "PrefFolder.h"
#include "SWin.h"
#include "game/Game.h"
#include "game/Resolution.h"
#include "game/ResolutionDialog.h"
#include "support/TestSupport.h"

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

} // namespace
