// A termination request (SIGTERM, SIGINT) while the display dialog, or the
// box before it, is up ends the whole program at once and quietly: no window,
// no error, and nothing saved.
#include <gtest/gtest.h>

#include <glib.h>

#include <csignal>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

#include "EngMiscStrings.h"
#include "EngProgram.h"
#include "Linux/EngMisc_LNX.h"
#include "support/TestSupport.h"

namespace
{

int termination_signal = 0;

// The program as started, sent the request once its first modal window runs:
// the display dialog, or with boxes the box saying nothing will be saved.
[[noreturn]] void RunUntilTerminated(bool boxes)
{
    std::unique_ptr<vztest::PopupRecorder> popups;
    if (boxes)
    {
        // The real box, GTK's, in GTK's loop.
        eng_popup_function = EngMiscShowPopupMessage_LNX;
    }
    else
        popups = std::make_unique<vztest::PopupRecorder>();
    g_idle_add(
        [](gpointer) -> gboolean
        {
            raise(termination_signal);
            return G_SOURCE_REMOVE;
        },
        nullptr);
    // Still up after this: the request was ignored. Generous, as a loaded
    // machine can take seconds to bring the window up.
    g_timeout_add(vztest::kHangSeconds * 1000, [](gpointer) -> gboolean { _exit(3); }, nullptr);
    char arg0[] = "vizavu";
    char* argv[] = {arg0, nullptr};
    int r = EngMainRun(1, argv);
    exit(!popups || vztest::PopupRecorder::Popups().empty() ? r : 4);
}

TEST(Termination, ARequestDuringTheFirstModalWindowEndsTheProgramQuietly)
{
    struct Case
    {
        int sig;
        bool box; // the data folder cannot be made: a box comes before the dialog
    };
    for (const Case& c : {Case{SIGTERM, false}, Case{SIGINT, false}, Case{SIGTERM, true}})
    {
        SCOPED_TRACE(testing::Message() << "signal " << c.sig << (c.box ? ", in the box" : ", in the dialog"));
        vztest::TempDir dir;
        vztest::WriteFile(dir.File("file"), "");
        const std::string data_home = c.box ? dir.File("file") + "/data" : dir.File("data");
        vztest::ScopedEnv home{"HOME", dir.File("home").c_str()};
        vztest::ScopedEnv config{"XDG_CONFIG_HOME", dir.File("config").c_str()};
        vztest::ScopedEnv data{"XDG_DATA_HOME", data_home.c_str()};
        termination_signal = c.sig;
        EXPECT_EXIT(RunUntilTerminated(c.box), ::testing::ExitedWithCode(0), "");
        if (c.box)
            continue; // no folder, so no log to read
        const std::string folder = dir.File("data") + "/Kestrelbay/Kestrelbay Vizavu/";
        const std::string log = vztest::ReadFile(folder + "LogFile.txt");
        EXPECT_NE(log.find("started at"), std::string::npos) << log;
        EXPECT_EQ(log.find(" <ERROR> "), std::string::npos) << log;
        EXPECT_FALSE(vztest::FileExists(folder + "Resolution.dat"));
    }
}

} // namespace
