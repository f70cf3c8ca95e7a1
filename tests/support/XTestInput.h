// A player's clicks and key presses, made by the X server's test extension.
#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace vztest
{

// A left click at (x, y) of the root window.
inline void XTestClickAt(Display* d, int x, int y)
{
    XTestFakeMotionEvent(d, DefaultScreen(d), x, y, CurrentTime);
    XTestFakeButtonEvent(d, 1, True, CurrentTime);
    XTestFakeButtonEvent(d, 1, False, CurrentTime);
    XSync(d, False);
}

// A press and release of the key that types key.
inline void XTestType(Display* d, KeySym key)
{
    const KeyCode code = XKeysymToKeycode(d, key);
    XTestFakeKeyEvent(d, code, True, CurrentTime);
    XTestFakeKeyEvent(d, code, False, CurrentTime);
    XSync(d, False);
}

} // namespace vztest
