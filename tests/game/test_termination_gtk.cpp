// A termination request (SIGTERM, SIGINT) while the display dialog is up ends
// the whole program at once and quietly: no window, no popup, no error, and
// nothing saved.
#include <gtest/gtest.h>

#include <glib.h>

#include <csignal>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "EngProgram.h"
#include "support/TestSupport.h"

namespace
{

int termination_signal = 0;

// The program as started, sent the request once its dialog runs.
[[noreturn]] void RunUntilTerminated()
{
    vztest::PopupRecorder popups;
    g_idle_add(
        [](gpointer) -> gboolean
        {
            raise(termination_signal);
            return G_SOURCE_REMOVE;
        },
        nullptr);
    // Still up after this: the request was ignored.
    g_timeout_add(5000, [](gpointer) -> gboolean { _exit(3); }, nullptr);
    char arg0[] = "vizavu";
    char* argv[] = {arg0, nullptr};
    int r = EngMainRun(1, argv);
    exit(vztest::PopupRecorder::Popups().empty() ? r : 4);
}

TEST(Termination, ARequestDuringTheDisplayDialogEndsTheProgramQuietly)
{
    for (int sig : {SIGTERM, SIGINT})
    {
        SCOPED_TRACE(sig);
        vztest::TempDir dir;
        vztest::ScopedEnv home{"HOME", dir.File("home").c_str()};
        vztest::ScopedEnv config{"XDG_CONFIG_HOME", dir.File("config").c_str()};
        vztest::ScopedEnv data{"XDG_DATA_HOME", dir.File("data").c_str()};
        termination_signal = sig;
        EXPECT_EXIT(RunUntilTerminated(), ::testing::ExitedWithCode(0), "");
        const std::string folder = dir.File("data") + "/Kestrelbay/Kestrelbay Vizavu/";
        const std::string log = vztest::ReadFile(folder + "LogFile.txt");
        EXPECT_NE(log.find("started at"), std::string::npos) << log;
        EXPECT_EQ(log.find(" <ERROR> "), std::string::npos) << log;
        EXPECT_FALSE(vztest::FileExists(folder + "Resolution.dat"));
    }
}

} // namespace
