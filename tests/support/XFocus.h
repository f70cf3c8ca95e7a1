// The test as a second X client beside the engine's window: its own server
// connection and a plain window that takes the keyboard focus, as another
// program (or a window manager acting for the player) would.
#pragma once

#include <X11/Xlib.h>

#include "EngWindow.h"
#include "Linux/EngWindow_LNX.h"

namespace vztest
{

inline Display* TestX()
{
    static Display* d = XOpenDisplay(nullptr);
    return d;
}

// The X window of the engine's SDL window; 0 without one.
inline Window GameXWindow()
{
    return EngWindowXid_LNX();
}

// The engine's own server connection; null without a window. The server
// takes each connection's requests in order, not across connections: what
// the engine has sent is in once a reply comes back on this one.
inline Display* GameX()
{
    void* display = nullptr;
    unsigned long xw = 0;
    return EngWindowX11Handles_LNX(eng_main_sdl_window, &display, &xw) ? static_cast<Display*>(display)
                                                                       : nullptr;
}

// Whether the server shows the game's window.
inline bool GameWindowViewable()
{
    XWindowAttributes a;
    const Window w = GameXWindow();
    return w && XGetWindowAttributes(TestX(), w, &a) && a.map_state == IsViewable;
}

enum class XFocus
{
    Game,        // the game's window has it
    OtherClient, // the test's window, mapped over the game's, has it
    Nobody,      // the test's window went away and the focus fell back to the root
    // The test's window, mapped over the game's, has it as an SDL program
    // takes it: when the window goes (OtherClientWindowGoes) it falls to no
    // window at all, and keys go nowhere.
    OtherClientRevertingToNone,
};

// The test's own window, made once at the top left.
inline Window OtherClientWindow()
{
    static Window other = XCreateSimpleWindow(TestX(), DefaultRootWindow(TestX()), 0, 0, 50, 50, 0, 0, 0);
    return other;
}

// Moves the keyboard focus; the focused window's colormap is installed, as a
// window manager does.
inline void MoveXFocus(XFocus to)
{
    Display* d = TestX();
    const Window other = OtherClientWindow();
    if (to == XFocus::Nobody)
    {
        XUnmapWindow(d, other);
        XSetInputFocus(d, PointerRoot, RevertToPointerRoot, CurrentTime);
        XSync(d, False);
        return;
    }
    const bool to_other = to != XFocus::Game;
    if (to_other)
    {
        XMapRaised(d, other);
        XSync(d, False);
    }
    const Window w = to_other ? other : GameXWindow();
    XWindowAttributes a;
    XGetWindowAttributes(d, w, &a);
    XInstallColormap(d, a.colormap);
    XSetInputFocus(d, w, to == XFocus::OtherClientRevertingToNone ? RevertToNone : RevertToPointerRoot,
                   CurrentTime);
    XSync(d, False);
}

// The test's window goes; the focus it held reverts as it was set to.
inline void OtherClientWindowGoes()
{
    XUnmapWindow(TestX(), OtherClientWindow());
    XSync(TestX(), False);
}

// Whether the game's window has the keyboard focus, as the server has it.
inline bool GameHasXFocus()
{
    Window focus = None;
    int revert = 0;
    XGetInputFocus(TestX(), &focus, &revert);
    return focus != None && focus == GameXWindow();
}

// The test's window moves 60 pixels along the diagonal and back, by turns:
// the part of the game's window it covered is uncovered (and exposed).
inline void MoveOtherClientWindow()
{
    static bool moved = false;
    moved = !moved;
    XMoveWindow(TestX(), OtherClientWindow(), moved ? 60 : 0, moved ? 60 : 0);
    XSync(TestX(), False);
}

} // namespace vztest
