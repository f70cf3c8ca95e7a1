// The application object and the engine's run: start-up results, exits,
// the after-exit callback and exits asked for from inside the loop.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <unistd.h>
#include <string>
#include <thread>

#include "EngDebug.h"
#include "EngMain.h"
#include "EngMainLoop.h"
#include "EngProgram.h"
#include "RecordingProgram.h"
#include "support/TestSupport.h"

using vztest::Calls;
using vztest::Config;
using vztest::JoinCalls;
using vztest::Logged;
using vztest::RecordingProgram;

namespace
{

class Program : public vztest::RecordingTest
{
protected:
    // Runs the engine in this (child) process and writes what happened to
    // out: the calls on the first line, then one line per popup and the
    // marks of the log lines asked for.
    [[noreturn]] void RunAndReport(const std::string& out)
    {
        vztest::PopupRecorder popups;
        eng_ok_cancel_popup_function = [](char kind, const char* title, const char* text)
        {
            vztest::PopupRecorder::Popups().push_back({kind, title, text});
            return char(0);
        };
        char arg0[] = "vz";
        char* argv[] = {arg0, nullptr};
        int r = EngMainRun(1, argv);
        FILE* f = fopen(out.c_str(), "w");
        fprintf(f, "%s\n", JoinCalls().c_str());
        for (const vztest::Popup& p : vztest::PopupRecorder::Popups())
            fprintf(f, "POPUP %d [%s] [%s]\n", p.kind, p.title.c_str(), p.text.c_str());
        if (Logged("( EngMainRun )    Init returned 0,  Exit -1."))
            fprintf(f, "LOGGED Init returned\n");
        fclose(f);
        exit(r);
    }

    vztest::TempDir dir;
};

TEST_F(Program, InitStopsQuietlyOrFailsWithThePopup)
{
    struct Case
    {
        char init;
        int status;
        const char* report;
    };
    const Case cases[] = {
        {-1, 0, "InitCB ExitCB\n"},
        {0, 255,
         "InitCB ExitCB\n"
         "POPUP 2 [Error Running Program] [The program had to terminate prematurely.\n\nDo you wish to see "
         "the log "
         "file ?]\n"
         "LOGGED Init returned\n"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(int(c.init));
        std::string out = dir.File("report.txt");
        Config().init = c.init;
        EXPECT_EXIT(RunAndReport(out), ::testing::ExitedWithCode(c.status), "");
        EXPECT_EQ(vztest::ReadFile(out), c.report);
    }
}

TEST_F(Program, TheResourcesFolderBecomesTheWorkingFolder)
{
    const char* expected = getenv("VZ_RESOURCES_DIR");
    ASSERT_NE(expected, nullptr);
    char real[PATH_MAX], cwd[PATH_MAX];
    ASSERT_NE(realpath(expected, real), nullptr);
    RecordingProgram p;
    ASSERT_NE(getcwd(cwd, sizeof(cwd)), nullptr);
    EXPECT_STREQ(cwd, real);
    EXPECT_STREQ(p.GetResourcesPath(), real);
}

TEST_F(Program, ASecondProgramObjectIsRefused)
{
    RecordingProgram first;
    char arg0[] = "vz";
    char* argv[] = {arg0, nullptr};
    EXPECT_EQ(EngMainRun(1, argv), -1);
    EXPECT_TRUE(Logged("eng_main_program already exists."));
    EXPECT_EQ(eng_main_program, &first);
    EXPECT_TRUE(Calls().empty());
}

TEST_F(Program, ExitRunsOnceAndTheAfterExitCallbackLast)
{
    vztest::PopupRecorder popups;
    static EngProgram* seen_program;
    {
        RecordingProgram p;
        seen_program = &p;
        p.SetAfterExitCB(
            []
            {
                seen_program = eng_main_program;
                Calls().push_back("AfterExit");
            });
        p.ShowPopupAfterExiting();
        p.Exit(1);
        p.Exit(1);
        EXPECT_EQ(JoinCalls(), "ExitCB AfterExit");
        EXPECT_EQ(seen_program, nullptr);
        EXPECT_EQ(eng_main_program, nullptr);
    }
    // The after-exit callback replaces the stored popup.
    EXPECT_TRUE(popups.Popups().empty());
    EXPECT_EQ(JoinCalls(), "ExitCB AfterExit");
}

TEST_F(Program, StoredPopupIsShownAfterTheExit)
{
    vztest::PopupRecorder popups;
    RecordingProgram p;
    p.RequestErrorExit("ERROR", "Could not prepare for fullscreen mode");
    EXPECT_TRUE(p.IsExiting());
    EXPECT_TRUE(popups.Popups().empty());
    p.Exit(1);
    ASSERT_EQ(popups.Popups().size(), 1u);
    EXPECT_EQ(popups.Popups()[0].title, "ERROR");
    EXPECT_EQ(popups.Popups()[0].text, "Could not prepare for fullscreen mode");
    EXPECT_EQ(JoinCalls(), "ExitCB");
}

TEST_F(Program, ForceExitNowShowsItsTextsAsAnErrorBox)
{
    vztest::PopupRecorder popups;
    for (bool main_thread : {true, false})
    {
        SCOPED_TRACE(main_thread ? "main thread" : "other thread");
        popups.Popups().clear();
        Calls().clear();
        RecordingProgram p;
        if (main_thread)
            p.ForceExitNow("Error", "Fatal");
        else
        {
            // Away from the main thread only the exit and its box are arranged.
            std::thread other([&p] { p.ForceExitNow("Error", "Fatal"); });
            other.join();
            EXPECT_TRUE(popups.Popups().empty());
            p.Exit(1);
        }
        ASSERT_EQ(popups.Popups().size(), 1u);
        EXPECT_EQ(popups.Popups()[0].kind, 2);
        EXPECT_EQ(popups.Popups()[0].title, "Error");
        EXPECT_EQ(popups.Popups()[0].text, "Fatal");
        EXPECT_EQ(eng_main_program, nullptr);
        EXPECT_EQ(JoinCalls(), main_thread ? "" : "ExitCB");
    }
}

TEST_F(Program, ExitFromATickWaitsForTheLoopToEnd)
{
    RecordingProgram p;
    Config().exit_after_ticks = 0;
    Config().on_tick = [&p](int tick)
    {
        if (tick == 2)
            p.Exit(1);
        if (tick > 2)
            Calls().push_back("late tick");
    };
    p.RunMainLoop();
    // The objects the tick runs in are still alive while the loop runs.
    EXPECT_EQ(JoinCalls(), "");
    EXPECT_EQ(eng_main_program, &p);
    EXPECT_EQ(p.ticks, 2);
    p.Exit(1);
    EXPECT_EQ(JoinCalls(), "ExitCB");
    EXPECT_EQ(eng_main_program, nullptr);
}

TEST_F(Program, ComputerSleepWithoutDevicePausesAndFlagsTicks)
{
    static double slept;
    slept = 0;
    void (*saved)(double) = eng_main_sleep_func;
    eng_main_sleep_func = [](double s) { slept += s; };
    RecordingProgram p;
    p.ComputerSleeping(1);
    EXPECT_TRUE(p.IsComputerSleeping());
    EXPECT_DOUBLE_EQ(slept, 3.0);
    p.DoTick();
    EXPECT_EQ(p.ticks, 0);
    p.ComputerSleeping(0);
    p.DoTick();
    EXPECT_EQ(p.ticks, 1);
    EXPECT_EQ(JoinCalls(), "ComputerSleepingCB(1) ComputerSleepingCB(0)");
    eng_main_sleep_func = saved;
}

} // namespace
