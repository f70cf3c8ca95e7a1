// The window and device life of a whole run, each scenario in its own
// process: the callback order of start, resize, focus changes in full
// screen, the full-screen toggle, sleep and wake, exit, and start failures.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <SDL2/SDL.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

#include "EngDevice.h"
#include "GL/EngDeviceGL.h"
#include "EngDebug.h"
#include "EngMain.h"
#include "EngMainLoop.h"
#include "EngPower.h"
#include "EngProgram.h"
#include "Engine/RecordingProgram.h"
#include "support/TestSupport.h"

using vztest::Calls;
using vztest::Config;

namespace
{

const char* const kStart = "InitCB PreCreateWindowCB PreDeviceInitCB PreCreateGraphicsObjectsCB "
                           "CreateGraphicsObjectsCB PostCreateGraphicsObjectsCB PostDeviceInitCB";
const char* const kExit = "PreDeviceExitCB PreDestroyGraphicsDeviceCB DestroyGraphicsObjectsCB "
                          "PostDestroyGraphicsObjectsCB PostDeviceExitCB ExitCB";
const char* const kObjectsGone =
    "PreDestroyGraphicsDeviceCB DestroyGraphicsObjectsCB PostDestroyGraphicsObjectsCB";
const char* const kObjectsBack =
    "PreCreateGraphicsObjectsCB CreateGraphicsObjectsCB PostCreateGraphicsObjectsCB";

std::string Seq(std::initializer_list<const char*> parts)
{
    std::string s;
    for (const char* p : parts)
        s += (s.empty() ? "" : " ") + std::string(p);
    return s;
}

void Push(SDL_Event e)
{
    SDL_PushEvent(&e);
}

SDL_Event WindowEvent(Uint8 kind, int d1 = 0, int d2 = 0)
{
    SDL_Event e;
    memset(&e, 0, sizeof(e));
    e.type = SDL_WINDOWEVENT;
    e.window.event = kind;
    e.window.windowID = SDL_GetWindowID(static_cast<SDL_Window*>(eng_main_sdl_window));
    e.window.data1 = d1;
    e.window.data2 = d2;
    return e;
}

SDL_Event Key(bool down, SDL_Keycode sym, Uint16 mod)
{
    SDL_Event e;
    memset(&e, 0, sizeof(e));
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.keysym.sym = sym;
    e.key.keysym.mod = mod;
    return e;
}

class WindowRun : public vztest::RecordingTest
{
protected:
    void SetUp() override
    {
        RecordingTest::SetUp();
        Config().exit_after_ticks = 6;
    }

    // Runs the engine in the child process and writes the calls, then one
    // line per popup, into the report file.
    [[noreturn]] static void RunAndReport(const std::string& out)
    {
        vztest::PopupRecorder popups;
        eng_ok_cancel_popup_function = [](char kind, const char* title, const char* text)
        {
            vztest::PopupRecorder::Popups().push_back({kind, title, text});
            return char(0);
        };
        eng_main_sleep_func = [](double s)
        {
            if (s < 0.1)
                usleep(useconds_t(s * 1e6));
        };
        char arg0[] = "vz";
        char* argv[] = {arg0, nullptr};
        int r = EngMainRun(1, argv);
        FILE* f = fopen(out.c_str(), "w");
        fprintf(f, "%s\n", vztest::JoinCalls().c_str());
        for (const vztest::Popup& p : vztest::PopupRecorder::Popups())
            fprintf(f, "POPUP %d [%s]\n", p.kind, p.title.c_str());
        fclose(f);
        exit(r);
    }

    std::string Run(int status)
    {
        std::string out = dir.File("report.txt");
        EXPECT_EXIT(RunAndReport(out), ::testing::ExitedWithCode(status), "");
        return vztest::ReadFile(out);
    }

    vztest::TempDir dir;
};

TEST_F(WindowRun, FirstStartAndExitWithACleanDevice)
{
    Config().on_post_device_init = []
    {
        Calls().push_back(glGetError() == GL_NO_ERROR ? "no-gl-error" : "gl-error");
        const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
        const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
        bool logged = false;
        for (int i = 0; version && renderer && i < DebugGetNumMessages(); i++)
            logged = logged || (strstr(DebugGetMessage(i)->text, version) != nullptr &&
                                strstr(DebugGetMessage(i)->text, renderer) != nullptr);
        Calls().push_back(logged ? "version-logged" : "version-not-logged");
        Calls().push_back(eng_main_window_windowed == 1 && eng_main_window_width == 320 ? "320-window"
                                                                                        : "size?");
    };
    EXPECT_EQ(Run(0), Seq({kStart, "no-gl-error version-logged 320-window", kExit}) + "\n");
}

TEST_F(WindowRun, AntiAliasingLevelsGiveMultisampledContexts)
{
    // The display dialog's levels: 0 off, 1 normal (2 samples), 2 strong (4).
    const int cases[][2] = {{0, 0}, {1, 2}, {2, 4}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c[0]);
        Calls().clear();
        Config().parms.aa = c[0];
        Config().on_post_device_init = []
        {
            GLint samples = -1;
            glGetIntegerv(GL_SAMPLES, &samples);
            Calls().push_back("samples=" + std::to_string(samples));
        };
        const std::string report = Run(0);
        const size_t at = report.find("samples=");
        ASSERT_NE(at, std::string::npos) << report;
        const int samples = atoi(report.c_str() + at + 8);
        if (c[1] == 0)
            EXPECT_EQ(samples, 0);
        else
            EXPECT_GE(samples, c[1]);
    }
}

TEST_F(WindowRun, ResizeRecreatesTheObjectsOnceForAFlood)
{
    Config().on_tick = [](int tick)
    {
        if (tick == 1)
        {
            Push(WindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 410, 310));
            Push(WindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 420, 320));
            Push(WindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 400, 300));
            // The same size again changes nothing.
            Push(WindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 400, 300));
        }
        if (tick == 5)
            Calls().push_back(eng_main_window_width == 400 && eng_main_window_height == 300 ? "400x300"
                                                                                            : "size?");
    };
    EXPECT_EQ(Run(0), Seq({kStart, kObjectsGone, kObjectsBack, "WindowResizedCB 400x300", kExit}) + "\n");
}

TEST_F(WindowRun, FullScreenFocusLossDropsTheDeviceAndGainBringsItBack)
{
    Config().parms.windowed = 0;
    Config().on_tick = [](int tick)
    {
        if (tick == 1)
            Push(WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST));
        if (tick == 2)
            Push(WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED));
    };
    EXPECT_EQ(Run(0), Seq({kStart, kObjectsGone, "WindowActivatedCB(0)", kObjectsBack, "WindowActivatedCB(1)",
                           kExit}) +
                          "\n");
}

TEST_F(WindowRun, FullScreenToggleRecreatesWindowAndDeviceWithoutSaving)
{
    Config().on_tick = [](int tick)
    {
        if (tick == 1)
        {
            Push(Key(true, SDLK_LCTRL, KMOD_LCTRL));
            Push(Key(true, SDLK_f, KMOD_LCTRL));
            Push(Key(false, SDLK_f, KMOD_LCTRL));
        }
        if (tick == 5)
            Calls().push_back(eng_main_window_windowed == 0 && eng_main_sdl_window ? "full-screen"
                                                                                   : "windowed?");
    };
    EXPECT_EQ(Run(0), Seq({kStart, kObjectsGone, "PreCreateWindowCB", kObjectsBack,
                           "WindowResizedCB full-screen", kExit}) +
                          "\n");
}

TEST_F(WindowRun, CtrlFTogglesOnThePressBeforeAnyRelease)
{
    Config().on_tick = [](int tick)
    {
        if (tick == 1)
            Push(Key(true, SDLK_f, KMOD_LCTRL));
        if (tick == 5)
            Calls().push_back(eng_main_window_windowed == 0 ? "full-screen" : "windowed");
    };
    EXPECT_EQ(Run(0), Seq({kStart, kObjectsGone, "PreCreateWindowCB", kObjectsBack,
                           "WindowResizedCB full-screen", kExit}) +
                          "\n");
}

TEST_F(WindowRun, TerminationSignalsTakeTheQuitPath)
{
    for (int sig : {SIGTERM, SIGINT})
    {
        SCOPED_TRACE(sig);
        Calls().clear();
        static int signal_to_send;
        signal_to_send = sig;
        // Ends by itself only long after the request.
        Config().exit_after_ticks = 300;
        Config().on_tick = [](int tick)
        {
            if (tick == 2)
                raise(signal_to_send);
            if (tick == 300)
                Calls().push_back("request-ignored");
        };
        EXPECT_EQ(Run(0), Seq({kStart, kExit}) + "\n");
    }
}

TEST_F(WindowRun, FailedToggleGoesBackToTheWorkingWindowOrEndsWithAnError)
{
    auto toggle_at_first_tick = [](int tick)
    {
        if (tick == 1)
        {
            Push(Key(true, SDLK_f, KMOD_LCTRL));
            Push(Key(false, SDLK_f, KMOD_LCTRL));
        }
        if (tick == 5)
            Calls().push_back(eng_main_window_windowed == 1 && eng_main_sdl_window ? "windowed"
                                                                                   : "no-window");
    };
    Config().on_tick = toggle_at_first_tick;
    // The full-screen window is refused, the old settings work again.
    Config().pre_create_window_at = [](int n) { return char(n == 2 ? 0 : 1); };
    EXPECT_EQ(Run(0), Seq({kStart, kObjectsGone, "PreCreateWindowCB PreCreateWindowCB", kObjectsBack,
                           "WindowResizedCB windowed", kExit}) +
                          "\n");

    // Nothing works any more: the run ends with an error and its popup.
    Calls().clear();
    Config().pre_create_window_at = [](int n) { return char(n >= 2 ? 0 : 1); };
    EXPECT_EQ(Run(255), Seq({kStart, kObjectsGone, "PreCreateWindowCB PreCreateWindowCB ExitCB"}) +
                            "\nPOPUP 2 [ERROR]\n");
}

TEST_F(WindowRun, SleepKeepsTheDeviceAndWakeReloadsTheObjects)
{
    Config().on_tick = [](int tick)
    {
        if (tick != 1)
            return;
        EngPowerEventsSetRegisteredForTests(1);
        EngPowerEventsCB_LNX(ENG_POWER_SYSTEM_WILL_SLEEP);
        Calls().push_back(eng_main_device ? "device-kept" : "device-gone");
        EngPowerEventsCB_LNX(ENG_POWER_SYSTEM_HAS_POWERED_ON);
    };
    EXPECT_EQ(Run(0), Seq({kStart, kObjectsGone, "ComputerSleepingCB(1) device-kept", kObjectsBack,
                           "ComputerSleepingCB(0)", kExit}) +
                          "\n");
}

TEST_F(WindowRun, TheDeviceAsksItsWindowToDestroyIt)
{
    Config().on_tick = [](int tick)
    {
        if (tick == 1)
        {
            eng_main_device->WindowDestroyed_GL();
            Calls().push_back(!eng_main_device && !eng_main_device_gl && !eng_gl_3d_setup ? "device-gone"
                                                                                          : "device-left");
            // Asked again with no device left, nothing more happens.
            EngDevice orphan(eng_main_window);
            orphan.WindowDestroyed_GL();
        }
    };
    // The exit then finds no device: nothing is destroyed or saved twice.
    EXPECT_EQ(Run(0), Seq({kStart, "PreDeviceExitCB", kObjectsGone, "PostDeviceExitCB device-gone ExitCB"}) +
                          "\n");
}

TEST_F(WindowRun, FailedGraphicsObjectsExitWithoutSaving)
{
    Config().create_graphics = 0;
    EXPECT_EQ(Run(255), Seq({"InitCB PreCreateWindowCB PreDeviceInitCB PreCreateGraphicsObjectsCB "
                             "CreateGraphicsObjectsCB",
                             kObjectsGone, "ExitCB"}) +
                            "\nPOPUP 2 [Error Running Program]\n");
}

TEST_F(WindowRun, NoGlDriverFailsTheWindowWithThePopup)
{
    vztest::ScopedEnv driver("SDL_VIDEODRIVER", "dummy");
    Config().parms.aa = 1;
    EXPECT_EQ(Run(255), "InitCB PreCreateWindowCB ExitCB\nPOPUP 1 [Error setting up display context]\n"
                        "POPUP 2 [Error Running Program]\n");
}

} // namespace
