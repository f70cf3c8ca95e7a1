// The SDL half of the main window (no SDL types here).
#pragma once

#include <vector>

#include "EngWindow.h"

// Makes the SDL window with its GL attributes; writes the real size.
char EngWindowCreate_LNX(EngWindow* window, const char* title, _EngCreateWindowParms* parms, int* width,
                         int* height);
void EngWindowDestroy_LNX();
void EngWindowSetTitle_LNX(const char* title);
// Takes at most one pending event and hands it to the window; 1 when one was taken.
char EngWindowTakeOneEvent_LNX(EngWindow* window);
// Waits up to ms for one event and hands it to the window.
char EngWindowWaitForEvent_LNX(EngWindow* window, int ms);
// An active full-screen window loses the focus when another client has taken
// it without SDL reporting the loss (asked every ENG_WINDOW_FOCUS_CHECK_SECONDS).
void EngWindowCheckFocus_LNX(EngWindow* window);
void EngWindowWarpMouse_LNX(int x, int y);
void EngWindowShowCursor_LNX(char on);
char EngWindowGetPosition_LNX(int* x, int* y);
// Moves the window to (x, y) on the desktop and brings it to the front.
char EngWindowMove_LNX(int x, int y);
void EngWindowShow_LNX(char on);
void EngWindowMinimize_LNX(char on);
// The live-resize limits for the window manager: SDL's minimum size and, on
// X11, the aspect range in the size hints. Off clears both.
void EngWindowSetResizeLimits_LNX(char on, int min_width, int min_height, float min_ratio, float max_ratio);
// Asks for a new content size; writes the size the window then has. 0 when
// there is no window.
char EngWindowSetSize_LNX(int* width, int* height);
// The mouse position on the desktop, wherever the pointer is.
char EngWindowGetGlobalMouse_LNX(int* x, int* y);
// The X11 display (a Display*) and window of an SDL window; false without a
// window or on another window system.
bool EngWindowX11Handles_LNX(void* sdl_window, void** display, unsigned long* window);
// Whether the keyboard focus is on the window (or a frame around it) or on no
// window at all, as the X server has it; elsewhere, as SDL has it.
char EngWindowFocusIsOursOrNobodys_LNX();
// Whether the keyboard focus is on the window (or a frame around it) as the X
// server has it; elsewhere, as SDL has it. 0 when it is on no window: keys
// then go nowhere, or only where the pointer is.
char EngWindowHasKeyboard_LNX();
// Another client holds the keyboard focus while SDL does not see it on the
// window (X11 only; elsewhere SDL's word stands and this is 0).
char EngWindowFocusHeldElsewhere_LNX();
// Gives the window the keyboard focus.
void EngWindowTakeFocus_LNX();
// The main window's X window; 0 without one.
unsigned long EngWindowXid_LNX();
// Whether the keyboard focus is on the main window, on one of own (X windows
// of the program's, or frames around them), or on no window at all (the
// window manager's own window counts as none), as display's X server (a
// Display*) has it.
char EngWindowFocusIsTheProgramsOrNobodys_LNX(void* display, const std::vector<unsigned long>& own);
// A window of the program's own (a message box, a dialog) is shown over the
// main window, or has gone. While one is up, the main window's loss of the
// focus to it is no loss of the program: a full-screen window is not
// minimised for it. When the last one goes, the main window takes the focus
// back when it was active and, as the X server has it, the focus is on the
// program's windows (the main window, own: the box and the program's other
// windows) or on none; it asks for it as of user_time (the X time of the
// input that closed the box, or CurrentTime), so that a click on another
// program after that input keeps its focus. What came for the main window
// meanwhile is sorted: the focus loss and the keys, text, presses and wheel
// turns given to the box are dropped; the rest, and what was queued before
// the box, is delivered. When the focus went on to another program, the loss
// is the program's as any loss is (a full-screen window is minimised then).
// Shown gives 1 when it counted the window (a main window exists); only those
// go.
char EngWindowBoxShown_LNX();
void EngWindowBoxGone_LNX(const std::vector<unsigned long>& own, unsigned long user_time);
// Asked at a loss of the focus: 1 when it is the first since the last box went
// and the window took the focus back, and the window has the focus again by
// now. Such a loss is the box's going (a window manager handing the focus
// around), not the program's.
char EngWindowLossIsTheBoxs_LNX();
// Ends the platform layer at the end of the run.
void EngWindowShutdown_LNX();
// The desktop's size; 0 when no display answers.
char EngWindowGetDesktopSize_LNX(int* width, int* height);
