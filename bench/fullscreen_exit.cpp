// The exit as the player has it, run by hand under Xvfb
// (xvfb-run -a -s "-screen 0 1280x1024x24" bench/bench_fullscreen_exit [runs]):
// an engine window that has the focus and its colormap, as a window manager
// gives them (so the full-screen fades run), takes Ctrl+Q. Prints, for a
// window and for full screen, how long after the key the window is still
// on the screen and when the exit is done.
#include <SDL2/SDL.h>
#include <X11/Xlib.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <initializer_list>
#include <thread>

#include "EngProgram.h"
#include "EngWindow.h"
#include "Linux/EngWindow_LNX.h"

namespace
{

double Now()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

// Waits on its own connection for the window to be unmapped or destroyed.
class WindowWatch
{
public:
    explicit WindowWatch(Window w) : display(XOpenDisplay(nullptr))
    {
        if (!display)
            return;
        XSelectInput(display, w, StructureNotifyMask);
        XSync(display, False);
        thread = std::thread(
            [this]
            {
                XEvent e;
                for (;;)
                {
                    XNextEvent(display, &e);
                    if ((e.type == UnmapNotify || e.type == DestroyNotify) && off_screen_at == 0)
                        off_screen_at = Now();
                    if (e.type == DestroyNotify)
                        return;
                }
            });
    }
    ~WindowWatch()
    {
        if (thread.joinable())
            thread.join();
        if (display)
            XCloseDisplay(display);
    }
    bool Ok() const { return display != nullptr; }
    std::atomic<double> off_screen_at{0};

private:
    Display* display;
    std::thread thread;
};

class ExitBench : public EngProgram
{
public:
    char TickCB() override
    {
        ticks++;
        if (ticks == 20)
            GiveFocus();
        // SDL reports the focus 0.2 s late.
        if (ticks == 60)
        {
            quit_at = Now();
            SDL_Event e = {};
            e.type = SDL_KEYDOWN;
            e.key.state = SDL_PRESSED;
            e.key.keysym.sym = SDLK_q;
            e.key.keysym.mod = KMOD_LCTRL;
            SDL_PushEvent(&e);
        }
        return 1;
    }
    void RenderCB() override {}

    void GiveFocus()
    {
        void* display = nullptr;
        unsigned long xw = 0;
        if (!EngWindowX11Handles_LNX(eng_main_sdl_window, &display, &xw))
            return;
        Display* d = static_cast<Display*>(display);
        XWindowAttributes a;
        XGetWindowAttributes(d, xw, &a);
        XInstallColormap(d, a.colormap);
        XSetInputFocus(d, xw, RevertToPointerRoot, CurrentTime);
        XSync(d, False);
        watch = new WindowWatch(xw);
    }

    int ticks = 0;
    double quit_at = 0;
    WindowWatch* watch = nullptr;
};

} // namespace

int main(int argc, char** argv)
{
    XInitThreads();
    const int runs = argc > 1 ? atoi(argv[1]) : 3;
    for (char windowed : {1, 0})
    {
        double off_sum = 0, done_sum = 0;
        for (int i = 0; i < runs; i++)
        {
            _EngCreateWindowParms parms = {-1, -1, 1024, 768, 32, windowed, 60, 0, 0, 0, 0, 0, "EngineClass"};
            ExitBench* program = new ExitBench();
            if (program->CreateMainWindowAndDevice("bench", nullptr, &parms) != 1)
            {
                printf("no window\n");
                return 1;
            }
            program->RunMainLoop();
            program->Exit(1);
            const double done = Now() - program->quit_at;
            const double quit_at = program->quit_at;
            WindowWatch* watch = program->watch;
            delete program;
            if (!watch || !watch->Ok())
            {
                printf("no X display to watch\n");
                return 1;
            }
            const double off = watch->off_screen_at - quit_at;
            delete watch;
            printf("%-11s run %d: window on the screen %6.3f s after Ctrl+Q, exit done after %6.3f s\n",
                   windowed ? "window" : "full screen", i + 1, off, done);
            off_sum += off;
            done_sum += done;
        }
        printf("%-11s mean:  window on the screen %6.3f s after Ctrl+Q, exit done after %6.3f s\n",
               windowed ? "window" : "full screen", off_sum / runs, done_sum / runs);
    }
    EngWindowShutdown_LNX();
    return 0;
}
