// The window and device life of a whole run, each scenario in its own
// process: the callback order of start, resize, focus changes in full
// screen, the full-screen toggle, sleep and wake, exit, and start failures;
// live resizes and their restriction, and the full-screen fades.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <SDL2/SDL.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <dlfcn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "EngDevice.h"
#include "GL/EngDeviceGL.h"
#include "EngDebug.h"
#include "EngMain.h"
#include "EngMainLoop.h"
#include "EngPower.h"
#include "EngProgram.h"
#include "Engine/RecordingProgram.h"
#include "support/SwapWatch.h"
#include "support/TestSupport.h"
#include "support/XFocus.h"
#include "support/XTestInput.h"

using vztest::Calls;
using vztest::Config;
using vztest::GameXWindow;
using vztest::MoveXFocus;
using vztest::TestX;
using vztest::XFocus;

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

// Marks the events the test puts on SDL's queue.
const Uint8 kPushed = 0x5a;

void Push(SDL_Event e)
{
    if (e.type == SDL_WINDOWEVENT)
        e.window.padding1 = kPushed;
    else if (e.type == SDL_KEYDOWN || e.type == SDL_KEYUP)
        e.key.padding2 = kPushed;
    SDL_PushEvent(&e);
}

// Whether an event the test pushed is still queued: the window takes one a
// pass, behind those the server sent first, and on a busy machine with no
// time left to wait for more.
bool PushedWaiting()
{
    SDL_Event queued[256];
    const int n = SDL_PeepEvents(queued, 256, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT);
    for (int i = 0; i < n; i++)
        if ((queued[i].type == SDL_WINDOWEVENT && queued[i].window.padding1 == kPushed) ||
            ((queued[i].type == SDL_KEYDOWN || queued[i].type == SDL_KEYUP) &&
             queued[i].key.padding2 == kPushed))
            return true;
    return false;
}

// Called from every tick: runs the steps one after another, each once what
// the one before pushed has been taken and a few passes have gone by; the
// run ends with the last.
void RunSteps(std::initializer_list<std::function<void()>> steps)
{
    static size_t next = 0;
    static int quiet = 0;
    if (next >= steps.size() || PushedWaiting())
    {
        quiet = 0;
        return;
    }
    if (++quiet < 4)
        return;
    quiet = 0;
    (steps.begin()[next++])();
    if (next == steps.size())
        Config().exit_after_ticks = 1;
}

// A step of a run: it acts once its condition holds.
struct Step
{
    std::function<bool()> ready;
    std::function<void()> act;
};

// Called from every tick: runs the steps one after another, each once its
// condition holds; the run ends after the last, or with "stuck at step <n>"
// when a condition has not come true within the long bound.
void RunStepsWhen(const std::vector<Step>& steps)
{
    using Clock = std::chrono::steady_clock;
    static size_t next = 0;
    static Clock::time_point since = Clock::now();
    if (next >= steps.size())
        return;
    if (!steps[next].ready())
    {
        if (Clock::now() - since > std::chrono::seconds(vztest::kHangSeconds))
        {
            Calls().push_back("stuck at step " + std::to_string(next));
            next = steps.size();
            Config().exit_after_ticks = 1;
        }
        return;
    }
    steps[next++].act();
    since = Clock::now();
    if (next == steps.size())
        Config().exit_after_ticks = 1;
}

// What the X server's test extension gives the window when the player clicks
// the middle of the screen or types key.
void ClickTheMiddle()
{
    Display* d = TestX();
    vztest::XTestClickAt(d, DisplayWidth(d, DefaultScreen(d)) / 2, DisplayHeight(d, DefaultScreen(d)) / 2);
}

void TypeKey(KeySym key)
{
    vztest::XTestType(TestX(), key);
}

// Everything the server has sent the engine is in SDL's queue, and the
// window has taken it all.
bool EverythingTaken()
{
    XSync(vztest::GameX(), False);
    SDL_PumpEvents();
    return SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 0;
}

// Everything is taken, and has been for a few passes: SDL swallows a click
// that comes just after a focus change as the click that gave the focus.
bool Settled()
{
    static int quiet = 0;
    quiet = EverythingTaken() ? quiet + 1 : 0;
    if (quiet < 4)
        return false;
    quiet = 0;
    return true;
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

// Xvfb runs no window manager: a size asked for is applied as it is.
void ResizeFromOutside(int w, int h)
{
    XResizeWindow(TestX(), GameXWindow(), unsigned(w), unsigned(h));
    XSync(TestX(), False);
}

void MovePointerBy(int dx, int dy)
{
    XWarpPointer(TestX(), 0, 0, 0, 0, 0, 0, dx, dy);
    XSync(TestX(), False);
}

std::string Size(int w, int h)
{
    return std::to_string(w) + "x" + std::to_string(h);
}

// The window's size as the X server has it once the engine's requests are
// in, and the engine's when it differs.
std::string SizeSeen()
{
    Window root;
    int x, y;
    unsigned w = 0, h = 0, border, depth;
    XGetGeometry(vztest::GameX(), GameXWindow(), &root, &x, &y, &w, &h, &border, &depth);
    std::string s = Size(int(w), int(h));
    if (int(w) != eng_main_window_width || int(h) != eng_main_window_height)
        s += "(engine " + Size(eng_main_window_width, eng_main_window_height) + ")";
    return s;
}

// What the window manager would read from WM_NORMAL_HINTS once the engine's
// requests are in.
std::string Hints()
{
    XSizeHints* h = XAllocSizeHints();
    long supplied = 0;
    std::string s = "hints";
    if (XGetWMNormalHints(vztest::GameX(), GameXWindow(), h, &supplied))
    {
        if (h->flags & PMinSize)
            s += " min " + Size(h->min_width, h->min_height);
        if (h->flags & PAspect)
        {
            char buf[64];
            snprintf(buf, sizeof(buf), " aspect %.2f-%.2f", double(h->min_aspect.x) / h->min_aspect.y,
                     double(h->max_aspect.x) / h->max_aspect.y);
            s += buf;
        }
    }
    XFree(h);
    return s;
}

int CountCalls(const char* name)
{
    return int(std::count(Calls().begin(), Calls().end(), std::string(name)));
}

// Every gamma ramp the engine sets passes here: counted, refused while the
// test says so, and noted when the display comes back from black, with the
// number of frames drawn since it went black and whether the window was
// still on the screen.
struct GammaWatch
{
    // Whether a new window gets the X focus in time is up to the server, so
    // only the tests about fades let the display take ramps.
    bool refuse = true;
    int calls = 0;
    Uint16 last = 65535;
    int renders_at_black = -1;
};

GammaWatch& Gamma()
{
    static GammaWatch g;
    return g;
}

} // namespace

extern "C" int SDL_SetWindowGammaRamp(SDL_Window* window, const Uint16* red, const Uint16* green,
                                      const Uint16* blue)
{
    GammaWatch& g = Gamma();
    g.calls++;
    const int renders = vztest::TheProgram() ? vztest::TheProgram()->renders : 0;
    if (red[255] < g.last && red[255] < 0x4000)
        g.renders_at_black = renders;
    else if (red[255] > g.last && g.renders_at_black >= 0)
    {
        Calls().push_back("fade-in(frames=" + std::to_string(renders - g.renders_at_black) +
                          (vztest::GameWindowViewable() ? "" : ", window hidden") + ")");
        g.renders_at_black = -1;
    }
    g.last = red[255];
    if (g.refuse)
        return SDL_SetError("Gamma refused");
    using SetRamp = int (*)(SDL_Window*, const Uint16*, const Uint16*, const Uint16*);
    static SetRamp real = reinterpret_cast<SetRamp>(dlsym(RTLD_NEXT, "SDL_SetWindowGammaRamp"));
    return real(window, red, green, blue);
}

namespace
{

class WindowRun : public vztest::RecordingTest
{
protected:
    void SetUp() override
    {
        RecordingTest::SetUp();
        Config().exit_after_ticks = 6;
        AfterRun() = nullptr;
    }

    // Runs once the program has ended, before the report is written.
    static std::function<void()>& AfterRun()
    {
        static std::function<void()> f;
        return f;
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
        if (AfterRun())
            AfterRun()();
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

// From now on the engine clock runs only while the loop sleeps for its next
// frame: a pass takes no more of it than its frame, however long its work
// took on a busy machine, so a slow pass is not taken for a pause.
void RunTheClockOnlyInSleeps()
{
    static double now;
    static void (*sleep)(double);
    now = eng_main_raw_clock();
    sleep = eng_main_sleep_func;
    eng_main_raw_clock = [] { return now; };
    eng_main_sleep_func = [](double seconds)
    {
        now += seconds;
        sleep(seconds);
    };
}

TEST_F(WindowRun, ALiveResizeIsDrawnAtOnceAndRecreatesTheDeviceOnceSettled)
{
    Config().exit_after_ticks = 70;
    Config().on_post_device_init = RunTheClockOnlyInSleeps;
    Config().on_tick = [](int tick)
    {
        // A drag: a new size every frame for a third of a second.
        if (tick <= 20)
            ResizeFromOutside(400 + 10 * tick, 300 + 5 * tick);
        static bool followed = false;
        if (!followed && eng_main_window_width == 600 && eng_main_window_height == 400)
        {
            followed = true;
            GLint vp[4] = {};
            glGetIntegerv(GL_VIEWPORT, vp);
            Calls().push_back(vp[2] == 600 && vp[3] == 400 && CountCalls("CreateGraphicsObjectsCB") == 1
                                  ? "drawn-at-600x400"
                                  : "viewport " + Size(vp[2], vp[3]) + " after " +
                                        std::to_string(CountCalls("CreateGraphicsObjectsCB")) + " creations");
        }
        // The same size reported again changes nothing.
        if (tick == 45)
            Push(WindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 600, 400));
        if (tick == 69)
            Calls().push_back(SizeSeen());
    };
    EXPECT_EQ(Run(0), Seq({kStart, "drawn-at-600x400", kObjectsGone, kObjectsBack, "WindowResizedCB 600x400",
                           kExit}) +
                          "\n");
}

TEST_F(WindowRun, RestrictedResizeIsCorrectedAlongTheDragAndHintedToTheWindowManager)
{
    Config().exit_after_ticks = 185;
    Config().on_tick = [](int tick)
    {
        struct Drag
        {
            int dx, dy, w, h;
        };
        // The pointer's movement before each size tells the drag's direction.
        static const Drag drags[] = {
            {5, 140, 900, 500},  // vertical, too wide: the width follows
            {120, 10, 900, 500}, // horizontal, too wide: the height follows
            {2, 1, 600, 600},    // too little movement keeps the horizontal drag
            {0, 100, 300, 200},  // below the minimum
            {0, 0, 900, 500},    // restriction off: taken as it comes
        };
        const int period = 30;
        _EngWindowRestrictResizingInfo info = {500, 400, 1.2f, 1.5f};
        if (tick == 1)
        {
            XWarpPointer(TestX(), 0, DefaultRootWindow(TestX()), 0, 0, 0, 0, 400, 300);
            XSync(TestX(), False);
            eng_main_window->RestrictResizing(1, &info);
            Calls().push_back(Hints());
        }
        // The window made again after full screen keeps the restriction.
        if (tick == 155)
            eng_main_window->RestrictResizing(1, &info);
        if (tick == 155 || tick == 165)
        {
            Push(Key(true, SDLK_f, KMOD_LCTRL));
            Push(Key(false, SDLK_f, KMOD_LCTRL));
        }
        if (tick == 180)
            Calls().push_back(Hints());
        const int i = (tick - 2) / period, phase = (tick - 2) % period;
        if (tick < 2 || i >= 5)
            return;
        if (phase == 0)
        {
            if (i == 4)
            {
                eng_main_window->RestrictResizing(0, nullptr);
                Calls().push_back(Hints());
            }
            MovePointerBy(drags[i].dx, drags[i].dy);
            ResizeFromOutside(drags[i].w, drags[i].h);
        }
        if (phase == period - 1)
            Calls().push_back(SizeSeen());
    };
    const std::string once = Seq({kObjectsGone, kObjectsBack, "WindowResizedCB"});
    const std::string toggle = Seq({kObjectsGone, "PreCreateWindowCB", kObjectsBack, "WindowResizedCB"});
    EXPECT_EQ(Run(0),
              Seq({kStart, "hints min 500x400 aspect 1.20-1.50", once.c_str(), "750x500", once.c_str(),
                   "900x600", once.c_str(), "600x500", once.c_str(), "500x400", "hints min 1x1", once.c_str(),
                   "900x500", toggle.c_str(), toggle.c_str(), "hints min 500x400 aspect 1.20-1.50", kExit}) +
                  "\n");
}

TEST_F(WindowRun, FullScreenFadesRunOnlyWhereTheDisplayTakesThemAndEndOnAFrame)
{
    for (bool refuse : {false, true})
    {
        SCOPED_TRACE(refuse ? "gamma refused" : "gamma taken");
        Calls().clear();
        static bool refusing;
        refusing = refuse;
        Config().parms.windowed = 0;
        Config().exit_after_ticks = 90;
        Config().on_post_device_init = []
        {
            Gamma().refuse = refusing;
            Calls().push_back("gamma-calls=" + std::to_string(Gamma().calls));
        };
        // The new window gets the focus, which goes to another window and
        // comes back.
        Config().on_tick = [](int tick)
        {
            if (tick == 1 || tick == 60)
                MoveXFocus(XFocus::Game);
            if (tick == 30)
                MoveXFocus(XFocus::OtherClient);
        };
        // A fade steps every 10 ms for half a second.
        AfterRun() = [] { Calls().push_back(Gamma().calls < 10 ? "no-fade-waits" : "fade-waits"); };
        // Started, the window does not have the focus yet: SDL would only keep
        // the ramps, so no fade is waited for. Without the focus the device
        // goes; with the focus back it is made under a black display, which
        // comes back once a frame is up.
        const std::string round_trip = Seq({kStart, "gamma-calls=0", kObjectsGone, "WindowActivatedCB(0)",
                                            kObjectsBack, "WindowActivatedCB(1)"});
        if (refuse)
            EXPECT_EQ(Run(0), Seq({round_trip.c_str(), kExit, "no-fade-waits"}) + "\n");
        else
            EXPECT_EQ(Run(0), Seq({round_trip.c_str(), "fade-in(frames=1)",
                                   "PreDeviceExitCB PreDestroyGraphicsDeviceCB DestroyGraphicsObjectsCB",
                                   "fade-in(frames=0, window hidden)",
                                   "PostDestroyGraphicsObjectsCB PostDeviceExitCB ExitCB fade-waits"}) +
                                  "\n");
    }
}

TEST_F(WindowRun, FullScreenFocusLossDropsTheDeviceAndGainBringsItBack)
{
    Config().parms.windowed = 0;
    Config().exit_after_ticks = 600;
    Config().on_tick = [](int)
    {
        RunSteps({[] { Push(WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST)); },
                  [] { Push(WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED)); }, [] {}});
    };
    EXPECT_EQ(Run(0), Seq({kStart, kObjectsGone, "WindowActivatedCB(0)", kObjectsBack, "WindowActivatedCB(1)",
                           kExit}) +
                          "\n");
}

TEST_F(WindowRun, FullScreenDrawsNothingWhileAnotherClientHoldsTheFocus)
{
    Config().parms.windowed = 0;
    Config().exit_after_ticks = 200;
    // Frames put on the screen once the engine knows of the focus loss,
    // while the other client holds the focus, and after it gave it back.
    static bool elsewhere, back;
    static int frames_elsewhere, frames_back;
    vztest::SwapWatcher() = []
    {
        if (elsewhere && CountCalls("WindowActivatedCB(0)") > 0)
            frames_elsewhere++;
        if (back)
            frames_back++;
    };
    Config().on_post_device_init = [] { Gamma().refuse = true; };
    Config().on_tick = [](int tick)
    {
        if (tick == 1)
            MoveXFocus(XFocus::Game);
        // A second: SDL reports a focus change 0.2 s late; meanwhile the
        // other client's window moves and uncovers part of the game's.
        if (tick == 30)
        {
            MoveXFocus(XFocus::OtherClient);
            elsewhere = true;
        }
        if (tick == 60 || tick == 70)
            vztest::MoveOtherClientWindow();
        if (tick == 90)
        {
            elsewhere = false;
            Calls().push_back("frames-elsewhere=" + std::to_string(frames_elsewhere));
            MoveXFocus(XFocus::Game);
            back = true;
        }
        if (tick == 190)
            Calls().push_back(frames_back >= 60 ? "drawing-again"
                                                : "frames-back=" + std::to_string(frames_back));
    };
    EXPECT_EQ(Run(0), Seq({kStart, kObjectsGone, "WindowActivatedCB(0)", "frames-elsewhere=0", kObjectsBack,
                           "WindowActivatedCB(1)", "drawing-again", kExit}) +
                          "\n");
}

// The keyboard focus on no window at all while the test's window, over the
// game's, stays on the screen: nothing is uncovered.
void NoKeyboardFocus()
{
    XSetInputFocus(TestX(), None, RevertToNone, CurrentTime);
    XSync(TestX(), False);
}

// Without a window manager, the full-screen window in front takes the
// keyboard when it has not got it, so that keys typed then reach the
// program: at its re-activation, when another program that took the focus as
// SDL programs do (to fall to no window when it goes) goes away and uncovers
// it; and at a click, when it is active with the focus on no window. Each
// path alone brings the key.
TEST_F(WindowRun, FullScreenTakesTheKeyboardThatAnotherProgramLeftWithNoWindow)
{
    const char* const back = "PreCreateGraphicsObjectsCB CreateGraphicsObjectsCB PostCreateGraphicsObjectsCB "
                             "WindowActivatedCB(1)";
    const struct
    {
        const char* name;
        std::vector<Step> steps; // after the game's window has the focus and then lost it
        std::string calls;
    } rows[] = {
        {"uncovered, then a click and a key",
         {{[] { return CountCalls("WindowActivatedCB(0)") > 0; }, [] { vztest::OtherClientWindowGoes(); }},
          {[] { return CountCalls("WindowActivatedCB(1)") > 0 && Settled(); }, ClickTheMiddle},
          {[] { return CountCalls("InputCB(2,0,0)") > 0; }, [] { TypeKey(XK_Escape); }}},
         Seq({back, "InputCB(2,0,1) InputCB(2,0,0) InputCB(5,27,0) InputCB(6,27,0)"})},
        {"uncovered, then a key",
         {{[] { return CountCalls("WindowActivatedCB(0)") > 0; }, [] { vztest::OtherClientWindowGoes(); }},
          {[] { return CountCalls("WindowActivatedCB(1)") > 0 && Settled(); }, [] { TypeKey(XK_Escape); }}},
         Seq({back, "InputCB(5,27,0) InputCB(6,27,0)"})},
        // SDL reports the focus back, as it may when the server has moved it on
        // again by then: the window is active, and the focus on no window.
        {"active with the focus on no window, then a click and a key",
         {{[] { return CountCalls("WindowActivatedCB(0)") > 0; }, NoKeyboardFocus},
          {Settled, [] { Push(WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED)); }},
          {[] { return CountCalls("WindowActivatedCB(1)") > 0 && Settled(); }, ClickTheMiddle},
          {[] { return CountCalls("InputCB(2,0,0)") > 0; }, [] { TypeKey(XK_Escape); }}},
         Seq({back, "InputCB(2,0,1) InputCB(2,0,0) InputCB(5,27,0) InputCB(6,27,0)"})},
    };
    for (const auto& r : rows)
    {
        SCOPED_TRACE(r.name);
        Calls().clear();
        static const std::vector<Step>* steps;
        steps = &r.steps;
        Config().parms.windowed = 0;
        Config().exit_after_ticks = 0;
        Config().record_input = true;
        Config().on_tick = [](int)
        {
            EngWindow* w = eng_main_window;
            std::vector<Step> all = {
                {[] { return true; }, [] { MoveXFocus(XFocus::Game); }},
                {[w] { return vztest::GameHasXFocus() && w->IsActive(); },
                 [] { MoveXFocus(XFocus::OtherClientRevertingToNone); }},
            };
            all.insert(all.end(), steps->begin(), steps->end());
            all.push_back({EverythingTaken, [] {}});
            RunStepsWhen(all);
        };
        // The mouse's moves left out.
        AfterRun() = []
        {
            std::vector<std::string> kept;
            for (const std::string& c : Calls())
                if (c.rfind("InputCB(1,", 0) != 0)
                    kept.push_back(c);
            Calls() = kept;
        };
        EXPECT_EQ(Run(0), Seq({kStart, kObjectsGone, "WindowActivatedCB(0)", r.calls.c_str(), kExit}) + "\n");
    }
}

// Processes that keep every processor busy while they live.
class BusyLoops
{
public:
    explicit BusyLoops(long n)
    {
        for (long i = 0; i < n; i++)
        {
            const pid_t pid = fork();
            if (pid == 0)
                for (volatile unsigned long spin = 0;; spin++)
                {
                }
            if (pid > 0)
                pids.push_back(pid);
        }
    }
    ~BusyLoops()
    {
        for (pid_t pid : pids)
            kill(pid, SIGKILL);
        for (pid_t pid : pids)
            waitpid(pid, nullptr, 0);
    }

private:
    std::vector<pid_t> pids;
};

// The pointer over the middle of the game's window.
void PointAtTheWindow()
{
    Display* d = TestX();
    int x = 0, y = 0;
    Window child = 0;
    XTranslateCoordinates(d, GameXWindow(), DefaultRootWindow(d), eng_main_window_width / 2,
                          eng_main_window_height / 2, &x, &y, &child);
    XTestFakeMotionEvent(d, DefaultScreen(d), x, y, CurrentTime);
    XSync(d, False);
}

// Notches of the wheel (button 4 turns it up, 5 down) in one request batch:
// all queued together, as a quick spin of the wheel comes.
void WheelBurst(unsigned button, int notches)
{
    Display* d = TestX();
    for (int i = 0; i < notches; i++)
    {
        XTestFakeButtonEvent(d, button, True, CurrentTime);
        XTestFakeButtonEvent(d, button, False, CurrentTime);
    }
    XSync(d, False);
}

// A player spins the wheel down and up, five notches a frame, idle and with
// every processor busy: the program gets every notch, in its direction.
TEST_F(WindowRun, EveryWheelNotchTurnedReachesTheProgram)
{
    for (bool loaded : {false, true})
    {
        SCOPED_TRACE(loaded ? "beside busy processes" : "idle");
        Calls().clear();
        std::unique_ptr<BusyLoops> busy;
        if (loaded)
            busy = std::make_unique<BusyLoops>(2 * std::max(1L, sysconf(_SC_NPROCESSORS_ONLN)));
        Config().exit_after_ticks = 0;
        Config().record_input = true;
        Config().on_tick = [](int)
        {
            auto burst = [](unsigned button) {
                return Step{[] { return true; }, [button] { WheelBurst(button, 5); }};
            };
            RunStepsWhen({
                {[] { return true; }, PointAtTheWindow},
                {Settled, [] { WheelBurst(5, 5); }},
                burst(5),
                burst(5),
                burst(5),
                burst(4),
                burst(4),
                burst(4),
                burst(4),
                {Settled, [] {}},
            });
        };
        AfterRun() = []
        {
            std::vector<std::string> kept;
            int down = 0, up = 0, other = 0;
            for (const std::string& c : Calls())
                if (c == "InputCB(4,-1,0)")
                    down++;
                else if (c == "InputCB(4,1,0)")
                    up++;
                else if (c.rfind("InputCB(4,", 0) == 0)
                    other++;
                else if (c.rfind("InputCB(", 0) != 0)
                    kept.push_back(c);
            kept.insert(kept.end() - 6, "wheel down=" + std::to_string(down) + " up=" + std::to_string(up) +
                                            " other=" + std::to_string(other));
            Calls() = kept;
        };
        EXPECT_EQ(Run(0), Seq({kStart, "wheel down=20 up=20 other=0", kExit}) + "\n");
    }
}

TEST_F(WindowRun, LeavingFullScreenTakesTheWindowAwayBeforeTheDisplayComesBack)
{
    // The display comes back from black only once the window, which still
    // holds the last frame, is off the screen.
    const char* const objects_going = "PreDestroyGraphicsDeviceCB DestroyGraphicsObjectsCB";
    const char* const back_hidden = "fade-in(frames=0, window hidden) PostDestroyGraphicsObjectsCB";
    const struct
    {
        const char* name;
        SDL_Keycode key;
        std::string calls;
    } cases[] = {
        {"Ctrl+Q", SDLK_q,
         Seq({kStart, "PreDeviceExitCB", objects_going, back_hidden, "PostDeviceExitCB ExitCB"})},
        {"Ctrl+F", SDLK_f,
         Seq({kStart, objects_going, back_hidden, "PreCreateWindowCB", kObjectsBack, "WindowResizedCB",
              kExit})},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        Calls().clear();
        static SDL_Keycode key;
        key = c.key;
        Config().parms.windowed = 0;
        Config().exit_after_ticks = 100;
        Config().on_post_device_init = [] { Gamma().refuse = false; };
        Config().on_tick = [](int tick)
        {
            // The window has the focus and its colormap: the fades run.
            if (tick == 1)
                MoveXFocus(XFocus::Game);
            if (tick == 40)
            {
                Push(Key(true, key, KMOD_LCTRL));
                Push(Key(false, key, KMOD_LCTRL));
            }
        };
        EXPECT_EQ(Run(0), c.calls + "\n");
    }
}

TEST_F(WindowRun, FullScreenToggleRecreatesWindowAndDeviceWithoutSaving)
{
    Config().exit_after_ticks = 600;
    Config().on_tick = [](int)
    {
        RunSteps({[]
                  {
                      Push(Key(true, SDLK_LCTRL, KMOD_LCTRL));
                      Push(Key(true, SDLK_f, KMOD_LCTRL));
                      Push(Key(false, SDLK_f, KMOD_LCTRL));
                  },
                  [] {
                      Calls().push_back(eng_main_window_windowed == 0 && eng_main_sdl_window ? "full-screen"
                                                                                             : "windowed?");
                  }});
    };
    EXPECT_EQ(Run(0), Seq({kStart, kObjectsGone, "PreCreateWindowCB", kObjectsBack,
                           "WindowResizedCB full-screen", kExit}) +
                          "\n");
}

TEST_F(WindowRun, CtrlFTogglesOnItsReleaseNotOnThePress)
{
    Config().exit_after_ticks = 600;
    Config().on_tick = [](int)
    {
        RunSteps({[] { Push(Key(true, SDLK_f, KMOD_LCTRL)); },
                  []
                  {
                      Calls().push_back(eng_main_window_windowed == 0 ? "full-screen" : "windowed");
                      Push(Key(false, SDLK_f, KMOD_LCTRL));
                  },
                  [] { Calls().push_back(eng_main_window_windowed == 0 ? "full-screen" : "windowed"); }});
    };
    EXPECT_EQ(Run(0), Seq({kStart, "windowed", kObjectsGone, "PreCreateWindowCB", kObjectsBack,
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
    Config().exit_after_ticks = 600;
    Config().on_tick = [](int)
    {
        RunSteps({[]
                  {
                      Push(Key(true, SDLK_f, KMOD_LCTRL));
                      Push(Key(false, SDLK_f, KMOD_LCTRL));
                  },
                  [] {
                      Calls().push_back(eng_main_window_windowed == 1 && eng_main_sdl_window ? "windowed"
                                                                                             : "no-window");
                  }});
    };
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
    EXPECT_EQ(Run(0),
              Seq({kStart, "PreDeviceExitCB", kObjectsGone, "PostDeviceExitCB device-gone ExitCB"}) + "\n");
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
