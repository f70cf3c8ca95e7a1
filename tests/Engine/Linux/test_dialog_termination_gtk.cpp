// A native dialog destroyed by someone else ends its loop quietly, and a
// termination request (SIGTERM) afterwards still ends the next dialog's loop.
#include <gtest/gtest.h>

#include <gtk/gtk.h>

#include <csignal>
#include <cstdlib>
#include <unistd.h>

#include "Linux/EngGui_LNX.h"
#include "Linux/EngSignals_LNX.h"
#include "SWin.h"
#include "support/GameName.h"
#include "support/TestSupport.h"

namespace
{

gboolean DestroyWindow(gpointer w)
{
    gtk_widget_destroy(GTK_WIDGET(w));
    return G_SOURCE_REMOVE;
}

gboolean Terminate(gpointer)
{
    raise(SIGTERM);
    return G_SOURCE_REMOVE;
}

enum class Loop
{
    Kit,    // the dialog kit's window
    Dialog, // a window run by EngGuiDoDialog_LNX
};

// Exits 0 when both loops ended as they should; a loop still running after
// vztest::kHangSeconds exits 3, a wrong outcome 4.
[[noreturn]] void DestroyThenTerminate(Loop loop)
{
    EngSignalsInstall_LNX();
    g_timeout_add(vztest::kHangSeconds * 1000, [](gpointer) -> gboolean { _exit(3); }, nullptr);
    if (loop == Loop::Kit)
    {
        _SWinCreateInfo info = {};
        info.x = info.y = -1;
        info.width = 400;
        info.height = 200;
        SWin first;
        if (!first.CreateMainWindow(&info))
            _exit(4);
        g_idle_add(DestroyWindow, first.GetWindowHandle());
        if (first.RunWindowLoop() != 1 || first.IsCreated() || !first.IsQuitRequested())
            _exit(4);

        SWin second;
        if (!second.CreateMainWindow(&info))
            _exit(4);
        g_idle_add(Terminate, nullptr);
        second.RunWindowLoop();
        if (!second.IsQuitRequested() || !EngSignalsTerminationRequested_LNX())
            _exit(4);
    }
    else
    {
        if (!EngGuiStartGtk_LNX())
            _exit(4);
        GtkWidget* first = gtk_window_new(GTK_WINDOW_TOPLEVEL);
        g_idle_add(DestroyWindow, first);
        if (EngGuiDoDialog_LNX(nullptr, &first, 1, 1) != 1 || first)
            _exit(4);

        GtkWidget* second = gtk_window_new(GTK_WINDOW_TOPLEVEL);
        g_idle_add(Terminate, nullptr);
        if (EngGuiDoDialog_LNX(nullptr, &second, 1, 1) != 1 || second || !EngSignalsTerminationRequested_LNX())
            _exit(4);
    }
    _exit(0);
}

TEST(DialogTermination, DestroyedDialogEndsItsLoopAndALaterRequestStillEndsTheNext)
{
    for (Loop loop : {Loop::Kit, Loop::Dialog})
    {
        SCOPED_TRACE(loop == Loop::Kit ? "kit" : "dialog");
        EXPECT_EXIT(DestroyThenTerminate(loop), ::testing::ExitedWithCode(0), "");
    }
}

} // namespace
