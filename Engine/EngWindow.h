// The main window. (Minimal for now: the platform window comes with the
// window and device layer.)
#pragma once

class EngWindow
{
public:
    virtual ~EngWindow() = default;
    virtual void ShowCursor(char) {}
};

extern EngWindow* eng_main_window;

// The platform window (an SDL_Window*) while it exists, else null. The GL
// device makes its context on it.
extern void* eng_main_sdl_window;
