// TEMPORARY (removed at merge): the SDL GL context of the stand-in device.
#include <SDL2/SDL.h>

#include "EngDebug.h"
#include "EngWindow.h"

#if !__has_include("EngDevice.h")
void* EngPendingCreateContext_LNX()
{
    SDL_Window* win = static_cast<SDL_Window*>(eng_main_sdl_window);
    if (!win)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No window");
        return nullptr;
    }
    SDL_GLContext ctx = SDL_GL_CreateContext(win);
    if (!ctx)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "SDL_GL_CreateContext failed: %s", SDL_GetError());
        return nullptr;
    }
    if (SDL_GL_MakeCurrent(win, ctx) != 0)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "SDL_GL_MakeCurrent failed: %s", SDL_GetError());
        SDL_GL_DeleteContext(ctx);
        return nullptr;
    }
    // The main loop paces itself.
    SDL_GL_SetSwapInterval(0);
    return ctx;
}

void EngPendingDeleteContext_LNX(void* context)
{
    SDL_GL_MakeCurrent(static_cast<SDL_Window*>(eng_main_sdl_window), nullptr);
    SDL_GL_DeleteContext(static_cast<SDL_GLContext>(context));
}

void EngPendingSwap_LNX()
{
    if (eng_main_sdl_window)
        SDL_GL_SwapWindow(static_cast<SDL_Window*>(eng_main_sdl_window));
}
#endif
