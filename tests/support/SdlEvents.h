// SDL events built as the platform delivers them, for tests that push input
// into a real engine window.
#pragma once

#include <SDL2/SDL.h>

#include <cstring>

namespace vztest
{
namespace sdl
{

inline SDL_Event Key(bool down, SDL_Keycode sym, Uint16 mod)
{
    SDL_Event e;
    memset(&e, 0, sizeof(e));
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = sym;
    e.key.keysym.mod = mod;
    return e;
}

inline SDL_Event Text(const char* utf8)
{
    SDL_Event e;
    memset(&e, 0, sizeof(e));
    e.type = SDL_TEXTINPUT;
    strncpy(e.text.text, utf8, sizeof(e.text.text) - 1);
    return e;
}

inline SDL_Event Button(bool down, Uint8 button, Uint8 clicks = 1)
{
    SDL_Event e;
    memset(&e, 0, sizeof(e));
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.button = button;
    e.button.clicks = clicks;
    return e;
}

inline SDL_Event Wheel(int y)
{
    SDL_Event e;
    memset(&e, 0, sizeof(e));
    e.type = SDL_MOUSEWHEEL;
    e.wheel.y = y;
    return e;
}

} // namespace sdl
} // namespace vztest
