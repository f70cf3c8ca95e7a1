// Program control on a real window: drawing a frame outside the main loop,
// ending the program at once, moving the window, and message boxes while the
// window is up.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <string>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngMain.h"
#include "EngMiscStrings.h"
#include "EngProgram.h"
#include "EngWindow.h"
#include "support/SwapWatch.h"
#include "support/TestMainFunctions.h"
#include "support/TestSupport.h"

namespace
{

_EngCreateWindowParms parms;

class Program : public EngProgram
{
public:
    void RenderCB() override
    {
        renders++;
        if (eng_main_device)
        {
            eng_main_device->SetClearColour(0, 1, 0);
            eng_main_device->ClearScreen();
        }
    }
    void ExitCB() override { exits++; }
    int renders = 0;
    int exits = 0;
};

Program* program = nullptr;
int swaps = 0;

class ProgramControl : public vztest::LogTest
{
protected:
    void Start(char windowed, _EngProgramMainLoopType loop = ENG_LOOP_CONSTANT_FRAME_RATE)
    {
        parms = {0, 0, 320, 240, 32, windowed, 60, 0, 0, 0, 0, 0, "EngineClass"};
        program = new Program();
        program->SetMainLoopType(loop);
        ASSERT_EQ(EngMainCreateMainWindowAndDevice(), 1);
        ASSERT_NE(eng_main_device, nullptr);
    }
    void TearDown() override
    {
        MainExitAndDeleteMainProgram(1);
        LogTest::TearDown();
    }
    vztest::PopupRecorder popups;
};

TEST_F(ProgramControl, RenderAndSwapDrawsAFrameAndCountsTheRate)
{
    // The loop type that keeps a frame rate.
    Start(1, ENG_LOOP_FULL);
    vztest::SwapWatcher() = [] { swaps++; };
    struct Case
    {
        char render, calc_rate;
        int frames;
        bool rate_counted;
    } cases[] = {
        {0, 0, 0, false},
        {0, 1, 0, true},
        {1, 0, 1, false},
        {1, 1, 1, true},
    };
    double t = 10;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << int(c.render) << int(c.calc_rate));
        // A counted frame, then the call 1/20 s later: a rate of 20 when it counts.
        eng_main_current_time = t += 1;
        EngMiscRenderAndSwapBuffers(0, 1);
        eng_main_frame_rate = 0;
        eng_main_current_time = t + 0.05;
        program->renders = swaps = 0;
        EngMiscRenderAndSwapBuffers(c.render, c.calc_rate);
        EXPECT_EQ(program->renders, c.frames);
        EXPECT_EQ(swaps, c.frames);
        if (c.rate_counted)
            EXPECT_NEAR(eng_main_frame_rate, 20.0f, 0.01f);
        else
            EXPECT_EQ(eng_main_frame_rate, 0);
    }
    vztest::SwapWatcher() = nullptr;
}

TEST_F(ProgramControl, ExitNowDestroysTheWindowAndSaysWhetherABoxCanBeShown)
{
    for (char windowed : {1, 0})
    {
        SCOPED_TRACE(int(windowed));
        Start(windowed);
        DebugClearLog();
        Program* p = program;
        EXPECT_EQ(EngMiscExitProgramNow(), windowed == 1);
        EXPECT_EQ(eng_main_window, nullptr);
        EXPECT_EQ(eng_main_sdl_window, nullptr);
        EXPECT_EQ(eng_main_device, nullptr);
        EXPECT_EQ(p->exits, 1);
        EXPECT_EQ(eng_main_program, nullptr);
        EXPECT_TRUE(vztest::Logged("Exiting main program."));
        delete p;
        program = nullptr;
    }
}

TEST_F(ProgramControl, MoveMainWindow)
{
    EXPECT_FALSE(EngMiscMoveMainWindow(10, 10)) << "no window yet";
    Start(1);
    EXPECT_TRUE(EngMiscMoveMainWindow(120, 90));
    int x = -1, y = -1;
    SDL_GetWindowPosition(static_cast<SDL_Window*>(eng_main_sdl_window), &x, &y);
    EXPECT_EQ(x, 120);
    EXPECT_EQ(y, 90);
}

TEST_F(ProgramControl, BoxesStandOverTheRunningGameAndTheEndAlertFollowsFullScreenToo)
{
    EngOkCancelFunction saved = eng_ok_cancel_popup_function;
    eng_ok_cancel_popup_function = [](char kind, const char* title, const char* text)
    {
        vztest::PopupRecorder::Popups().push_back({kind, title, text});
        return char(0);
    };
    for (char windowed : {1, 0})
    {
        SCOPED_TRACE(int(windowed));
        vztest::PopupRecorder::Popups().clear();
        Start(windowed);
        EngMiscShowPopupMessage(3, "Note", "Still here");
        ASSERT_EQ(vztest::PopupRecorder::Popups().size(), 1u);
        EXPECT_EQ(vztest::PopupRecorder::Popups()[0].text, "Still here");
        EXPECT_EQ(eng_main_program, program);
        EXPECT_FALSE(program->IsExiting());
        EXPECT_NE(eng_main_device, nullptr);

        EngMainShowErrorAndLogFilePopupOnExit();
        EXPECT_EQ(eng_main_window, nullptr);
        EXPECT_EQ(program->exits, 1);
        ASSERT_EQ(vztest::PopupRecorder::Popups().size(), 2u);
        EXPECT_EQ(vztest::PopupRecorder::Popups()[1].title, "Error Running Program");
        MainExitAndDeleteMainProgram(1);
    }
    eng_ok_cancel_popup_function = saved;
}

} // namespace

VZ_TEST_MAIN_FUNCTIONS(program, parms, "Program control")
