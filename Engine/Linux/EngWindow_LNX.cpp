// The SDL half of the main window.
#include "Linux/EngWindow_LNX.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <bitset>
#include <cmath>
#include <string>
#include <vector>

#include "EngDebug.h"
#include "EngMiscStrings.h"
#include "Linux/EngMisc_LNX.h"

namespace
{
SDL_Window* SdlWindow()
{
    return static_cast<SDL_Window*>(eng_main_sdl_window);
}

char InitVideo()
{
    if (SDL_WasInit(SDL_INIT_VIDEO))
        return 1;
    if (EngMiscInitSdlVideo_LNX() != 0)
    {
        DebugErrorAlt("EngWindowInitVideo_LNX", "SDL_InitSubSystem failed: %s", SDL_GetError());
        return 0;
    }
    return 1;
}
} // namespace

char EngWindowGetDesktopSize_LNX(int* width, int* height)
{
    if (!InitVideo())
        return 0;
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0)
        return 0;
    if (width)
        *width = mode.w;
    if (height)
        *height = mode.h;
    return 1;
}

char EngWindowCreate_LNX(EngWindow*, const char* title, _EngCreateWindowParms* p, int* width, int* height)
{
    if (eng_main_sdl_window)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Window exists");
        return 0;
    }
    if (!InitVideo())
        return 0;
    // Closing the window is the player's quit, which the program may refuse;
    // SDL_QUIT then comes only from the system (a termination signal).
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");

    // On X11 the pixel format is fixed when the window is made.
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    int samples = EngWindowSamplesForAA(p->aa);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, samples ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, samples);

    int w = p->width > 0 ? p->width : 640, h = p->height > 0 ? p->height : 480;
    int x = SDL_WINDOWPOS_CENTERED, y = SDL_WINDOWPOS_CENTERED;
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
    SDL_DisplayMode mode = {};
    int dw = 0, dh = 0;
    char have_desktop = EngWindowGetDesktopSize_LNX(&dw, &dh);
    if (p->windowed)
    {
        flags |= SDL_WINDOW_RESIZABLE;
        if (have_desktop)
        {
            if (w > dw)
                w = dw;
            if (h > dh)
                h = dh;
        }
        if (p->x >= 0 && p->y >= 0)
        {
            x = p->x;
            y = p->y;
            // Keep the window on the desktop.
            if (have_desktop && x + w >= dw)
                x = dw - w > 0 ? dw - w : 0;
            if (have_desktop && y + h >= dh)
                y = dh - h > 0 ? dh - h : 0;
        }
    }
    else
    {
        flags |= SDL_WINDOW_FULLSCREEN;
        SDL_DisplayMode want = {};
        want.w = w;
        want.h = h;
        want.refresh_rate = p->frequency > 0 ? p->frequency : 0;
        if (SDL_GetClosestDisplayMode(0, &want, &mode))
        {
            w = mode.w;
            h = mode.h;
        }
        else
            SDL_GetDesktopDisplayMode(0, &mode);
    }

    SDL_Window* win = SDL_CreateWindow(title && title[0] ? title : "", x, y, w, h, flags);
    if (!win)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "SDL_CreateWindow failed: %s", SDL_GetError());
        EngMiscShowPopupMessage(1, "Error setting up display context",
                                p->aa ? "Try turning off anti-aliasing and restarting."
                                      : "Try changing the graphics settings and restarting.");
        return 0;
    }
    if (!p->windowed)
    {
        if (SDL_SetWindowDisplayMode(win, &mode) != 0)
            DebugErrorAlt(__PRETTY_FUNCTION__, "SDL_SetWindowDisplayMode failed: %s", SDL_GetError());
        if (mode.refresh_rate > 0)
            p->frequency = mode.refresh_rate;
    }
    SDL_ShowWindow(win);
    eng_main_sdl_window = win;
    SDL_GetWindowSize(win, width, height);
    if (p->windowed)
    {
        SDL_GetWindowPosition(win, &x, &y);
        p->x = x;
        p->y = y;
    }
    SDL_StartTextInput();
    return 1;
}

void EngWindowDestroy_LNX()
{
    SDL_Window* win = SdlWindow();
    if (!win)
        return;
    SDL_DestroyWindow(win);
    eng_main_sdl_window = nullptr;
    // Nothing queued for the old window may reach the next one.
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_WINDOWEVENT, SDL_WINDOWEVENT);
}

void EngWindowSetTitle_LNX(const char* title)
{
    if (SdlWindow())
        SDL_SetWindowTitle(SdlWindow(), title ? title : "");
}

void EngWindowWarpMouse_LNX(int x, int y)
{
    if (SdlWindow())
        SDL_WarpMouseInWindow(SdlWindow(), x, y);
}

void EngWindowShowCursor_LNX(char on)
{
    if (SDL_WasInit(SDL_INIT_VIDEO))
        SDL_ShowCursor(on ? SDL_ENABLE : SDL_DISABLE);
}

char EngWindowGetPosition_LNX(int* x, int* y)
{
    if (!SdlWindow())
        return 0;
    SDL_GetWindowPosition(SdlWindow(), x, y);
    return 1;
}

char EngWindowMove_LNX(int x, int y)
{
    if (!SdlWindow())
        return 0;
    SDL_SetWindowPosition(SdlWindow(), x, y);
    SDL_RaiseWindow(SdlWindow());
    return 1;
}

void EngWindowShow_LNX(char on)
{
    if (!SdlWindow())
        return;
    if (on)
        SDL_ShowWindow(SdlWindow());
    else
        SDL_HideWindow(SdlWindow());
}

void EngWindowMinimize_LNX(char on)
{
    if (!SdlWindow())
        return;
    if (on)
        SDL_MinimizeWindow(SdlWindow());
    else
        SDL_RestoreWindow(SdlWindow());
}

namespace
{
// SDL has no call for the aspect range: it goes into WM_NORMAL_HINTS next to
// the minimum size SDL keeps there.
void SetAspectHints(SDL_Window* win, char on, float min_ratio, float max_ratio)
{
    void* display = nullptr;
    unsigned long xw = 0;
    if (!EngWindowX11Handles_LNX(win, &display, &xw))
        return;
    Display* d = static_cast<Display*>(display);
    XSizeHints* hints = XAllocSizeHints();
    if (!hints)
        return;
    long supplied = 0;
    if (!XGetWMNormalHints(d, xw, hints, &supplied))
        hints->flags = 0;
    const int scale = 10000;
    if (on && min_ratio > 0 && max_ratio >= min_ratio)
    {
        hints->flags |= PAspect;
        hints->min_aspect.x = int(std::lround(double(min_ratio) * scale));
        hints->min_aspect.y = scale;
        hints->max_aspect.x = int(std::lround(double(max_ratio) * scale));
        hints->max_aspect.y = scale;
    }
    else
        hints->flags &= ~PAspect;
    XSetWMNormalHints(d, xw, hints);
    XFree(hints);
    XFlush(d);
}
} // namespace

void EngWindowSetResizeLimits_LNX(char on, int min_width, int min_height, float min_ratio, float max_ratio)
{
    SDL_Window* win = SdlWindow();
    if (!win)
        return;
    // SDL takes no minimum below one pixel.
    SDL_SetWindowMinimumSize(win, on && min_width > 1 ? min_width : 1, on && min_height > 1 ? min_height : 1);
    SetAspectHints(win, on, min_ratio, max_ratio);
}

char EngWindowSetSize_LNX(int* width, int* height)
{
    SDL_Window* win = SdlWindow();
    if (!win)
        return 0;
    SDL_SetWindowSize(win, *width, *height);
    SDL_GetWindowSize(win, width, height);
    return 1;
}

char EngWindowGetGlobalMouse_LNX(int* x, int* y)
{
    SDL_Window* win = SdlWindow();
    if (!win)
        return 0;
    // SDL's answer on X11 follows only the pointer motion it was told of;
    // the server knows where the pointer is (a window manager's drag too).
    void* display = nullptr;
    unsigned long xw = 0;
    if (EngWindowX11Handles_LNX(win, &display, &xw))
    {
        Display* d = static_cast<Display*>(display);
        Window root, child;
        int wx, wy;
        unsigned mask;
        return XQueryPointer(d, DefaultRootWindow(d), &root, &child, x, y, &wx, &wy, &mask) ? 1 : 0;
    }
    SDL_GetGlobalMouseState(x, y);
    return 1;
}

bool EngWindowX11Handles_LNX(void* sdl_window, void** display, unsigned long* window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!sdl_window || !SDL_GetWindowWMInfo(static_cast<SDL_Window*>(sdl_window), &info) ||
        info.subsystem != SDL_SYSWM_X11)
        return false;
    *display = info.info.x11.display;
    *window = info.info.x11.window;
    return true;
}

namespace
{
int IgnoreXError(Display*, XErrorEvent*)
{
    return 0;
}

// a is b or one of its ancestors below the root.
bool IsSelfOrAncestor(Display* d, Window a, Window b)
{
    for (int depth = 0; b && depth < 64; depth++)
    {
        if (a == b)
            return true;
        Window root = 0, parent = 0, *children = nullptr;
        unsigned n = 0;
        if (!XQueryTree(d, b, &root, &parent, &children, &n))
            return false;
        if (children)
            XFree(children);
        if (parent == root)
            return false;
        b = parent;
    }
    return false;
}

enum class FocusHolder
{
    Us,
    Own, // another window of the program's
    Nobody,
    Another,
};

// The window that a window manager names as its own on the root; 0 without one.
Window WindowManagersWindow(Display* d)
{
    Atom type = None;
    int format = 0;
    unsigned long n = 0, after = 0;
    unsigned char* data = nullptr;
    Window w = 0;
    if (XGetWindowProperty(d, DefaultRootWindow(d), XInternAtom(d, "_NET_SUPPORTING_WM_CHECK", False), 0, 1,
                           False, XA_WINDOW, &type, &format, &n, &after, &data) == Success &&
        data && type == XA_WINDOW && format == 32 && n == 1)
        w = Window(*reinterpret_cast<unsigned long*>(data));
    if (data)
        XFree(data);
    return w;
}

// Who holds the keyboard focus on d's server: main (itself, a window inside
// it, or a frame around it), one of own likewise, no window at all (the
// window manager's own window counts as none: it holds the focus only while
// it hands it on), or another client.
FocusHolder HolderOn(Display* d, Window main, const std::vector<unsigned long>& own)
{
    Window focus = None;
    int revert = 0;
    XGetInputFocus(d, &focus, &revert);
    if (focus == None || focus == PointerRoot || focus == DefaultRootWindow(d))
        return FocusHolder::Nobody;
    // The other client's window may be gone by the time it is asked about.
    XSync(d, False);
    int (*old_handler)(Display*, XErrorEvent*) = XSetErrorHandler(IgnoreXError);
    auto related = [&](Window w)
    { return w && (IsSelfOrAncestor(d, focus, w) || IsSelfOrAncestor(d, w, focus)); };
    FocusHolder holder = FocusHolder::Another;
    if (related(main))
        holder = FocusHolder::Us;
    else if (std::any_of(own.begin(), own.end(), [&](unsigned long w) { return related(Window(w)); }))
        holder = FocusHolder::Own;
    else if (focus == WindowManagersWindow(d))
        holder = FocusHolder::Nobody;
    XSync(d, False);
    XSetErrorHandler(old_handler);
    return holder;
}

// Who holds the keyboard focus as the X server has it: the window, another
// of own, no window at all, or another client. SDL's word on other window
// systems, where nobody is never the answer.
FocusHolder XFocusHolder(const std::vector<unsigned long>& own = {})
{
    SDL_Window* win = SdlWindow();
    if (!win)
        return FocusHolder::Another;
    void* display = nullptr;
    unsigned long xw = 0;
    if (!EngWindowX11Handles_LNX(win, &display, &xw))
        return SDL_GetKeyboardFocus() == win ? FocusHolder::Us : FocusHolder::Another;
    return HolderOn(static_cast<Display*>(display), xw, own);
}
} // namespace

char EngWindowFocusIsTheProgramsOrNobodys_LNX(void* display, const std::vector<unsigned long>& own)
{
    if (!display)
        return 0;
    return HolderOn(static_cast<Display*>(display), EngWindowXid_LNX(), own) != FocusHolder::Another ? 1 : 0;
}

char EngWindowFocusIsOursOrNobodys_LNX()
{
    return XFocusHolder() != FocusHolder::Another ? 1 : 0;
}

char EngWindowHasKeyboard_LNX()
{
    return XFocusHolder() == FocusHolder::Us ? 1 : 0;
}

char EngWindowFocusHeldElsewhere_LNX()
{
    SDL_Window* win = SdlWindow();
    void* display = nullptr;
    unsigned long xw = 0;
    if (!win || SDL_GetKeyboardFocus() == win || !EngWindowX11Handles_LNX(win, &display, &xw))
        return 0;
    return EngWindowFocusIsOursOrNobodys_LNX() ? 0 : 1;
}

void EngWindowTakeFocus_LNX()
{
    if (SdlWindow())
        SDL_SetWindowInputFocus(SdlWindow());
}

unsigned long EngWindowXid_LNX()
{
    void* display = nullptr;
    unsigned long xw = 0;
    return EngWindowX11Handles_LNX(SdlWindow(), &display, &xw) ? xw : 0;
}

namespace
{
struct BoxesOverWindow
{
    int count = 0;
    bool hint_set = false; // the minimise hint had a value of the program's
    std::string hint;
    bool was_active = false;
    Uint32 shown_at = 0; // SDL's time just after the first box came
    // The last box went and the window took the focus back: the next loss may
    // still be the box's, as a window manager hands the focus on.
    bool focus_back = false;
} boxes;

// Everything the X server has sent the window's connection so far is in
// SDL's queue.
void PumpEverything()
{
    void* display = nullptr;
    unsigned long xw = 0;
    if (EngWindowX11Handles_LNX(SdlWindow(), &display, &xw))
        XSync(static_cast<Display*>(display), False);
    SDL_PumpEvents();
}

std::vector<SDL_Event> TakeQueue()
{
    std::vector<SDL_Event> all;
    SDL_Event some[64];
    int n;
    while ((n = SDL_PeepEvents(some, 64, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT)) > 0)
        all.insert(all.end(), some, some + n);
    return all;
}

// The queue less what came while the box was up and was the box's: the input
// it was given, and the window's loss of the focus to it. A release whose
// press went to the box goes too; one whose press came before is kept.
std::vector<SDL_Event> WithoutTheBoxs(const std::vector<SDL_Event>& queue, bool drop_focus_loss)
{
    std::vector<SDL_Event> kept;
    std::bitset<SDL_NUM_SCANCODES> keys;
    std::bitset<32> buttons;
    for (const SDL_Event& e : queue)
    {
        const bool during = Sint32(e.common.timestamp - boxes.shown_at) > 0;
        bool boxs = false;
        switch (e.type)
        {
        case SDL_KEYDOWN:
            boxs = during;
            if (boxs)
                keys.set(size_t(e.key.keysym.scancode) % SDL_NUM_SCANCODES);
            break;
        case SDL_KEYUP:
            boxs = keys.test(size_t(e.key.keysym.scancode) % SDL_NUM_SCANCODES);
            break;
        case SDL_TEXTINPUT:
        case SDL_TEXTEDITING:
        case SDL_MOUSEWHEEL:
            boxs = during;
            break;
        case SDL_MOUSEBUTTONDOWN:
            boxs = during;
            if (boxs)
                buttons.set(e.button.button % 32);
            break;
        case SDL_MOUSEBUTTONUP:
            boxs = buttons.test(e.button.button % 32);
            break;
        case SDL_WINDOWEVENT:
            boxs = during && drop_focus_loss &&
                   (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST ||
                    e.window.event == SDL_WINDOWEVENT_TAKE_FOCUS);
            break;
        default:
            break;
        }
        if (!boxs)
            kept.push_back(e);
    }
    return kept;
}

// The minimise hint as the program had it before the first box.
void RestoreMinimiseHint()
{
    if (boxes.hint_set)
        SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, boxes.hint.c_str());
    else
        SDL_ResetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS);
}
} // namespace

char EngWindowBoxShown_LNX()
{
    if (!SdlWindow())
        return 0;
    if (boxes.count++ > 0)
        return 1;
    boxes.focus_back = false;
    // Set before the box can take the focus: SDL minimises a full-screen
    // window as it reads the loss.
    const char* hint = SDL_GetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS);
    boxes.hint_set = hint != nullptr;
    boxes.hint = hint ? hint : "";
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    boxes.was_active = eng_main_window && eng_main_window->IsActive();
    // What came before the box is queued now, with SDL's time of it.
    PumpEverything();
    boxes.shown_at = SDL_GetTicks();
    return 1;
}

namespace
{
// Gives the window the keyboard focus as of the X time given (CurrentTime for
// now): the server refuses it when the focus was moved later, as by a click
// that came after. Whether the window has it then.
bool TakeFocusAsOf(unsigned long time, const std::vector<unsigned long>& own)
{
    void* display = nullptr;
    unsigned long xw = 0;
    if (!EngWindowX11Handles_LNX(SdlWindow(), &display, &xw))
    {
        SDL_SetWindowInputFocus(SdlWindow());
        return true;
    }
    Display* d = static_cast<Display*>(display);
    XSetInputFocus(d, xw, RevertToNone, time);
    XSync(d, False);
    return XFocusHolder(own) == FocusHolder::Us;
}

// Brings the window to the front; a window manager is asked to stack it there
// (no activation is asked for: the window has the focus already).
void Raise()
{
    void* display = nullptr;
    unsigned long xw = 0;
    if (!EngWindowX11Handles_LNX(SdlWindow(), &display, &xw))
    {
        SDL_RaiseWindow(SdlWindow());
        return;
    }
    XRaiseWindow(static_cast<Display*>(display), xw);
    XFlush(static_cast<Display*>(display));
}
} // namespace

void EngWindowBoxGone_LNX(const std::vector<unsigned long>& own, unsigned long user_time)
{
    if (boxes.count <= 0 || --boxes.count > 0)
        return;
    if (SdlWindow())
    {
        // The server's word, not a toolkit's view of it, which lags: a click
        // on another program as the box went has put the focus there.
        const FocusHolder holder = XFocusHolder(own);
        bool back = boxes.was_active && holder != FocusHolder::Another;
        if (back && holder != FocusHolder::Us)
        {
            // As of the input that closed the box: a click on another program
            // after it, which the window manager has yet to act on, wins. A
            // refusal with the focus on no one else's window is no such click.
            back = TakeFocusAsOf(user_time, own);
            if (!back && user_time != CurrentTime && XFocusHolder(own) != FocusHolder::Another)
                back = TakeFocusAsOf(CurrentTime, own);
        }
        if (back)
        {
            Raise();
            boxes.focus_back = true;
        }
        else
        {
            // The focus went on to another program meanwhile: the loss is read
            // with the program's hint, so SDL minimises as for any loss.
            RestoreMinimiseHint();
        }
        // The loss and the focus coming back are read while the hint holds.
        PumpEverything();
        std::vector<SDL_Event> queue = WithoutTheBoxs(TakeQueue(), back);
        if (!queue.empty())
            SDL_PeepEvents(queue.data(), int(queue.size()), SDL_ADDEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
    RestoreMinimiseHint();
}

char EngWindowLossIsTheBoxs_LNX()
{
    if (!boxes.focus_back)
        return 0;
    boxes.focus_back = false;
    return EngWindowHasKeyboard_LNX();
}

void EngWindowShutdown_LNX()
{
    if (eng_main_sdl_window)
        EngWindowDestroy_LNX();
    if (SDL_WasInit(0))
        SDL_Quit();
}
