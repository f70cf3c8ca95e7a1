// Watches the frames put on screen: the buffer swap is taken over here, runs
// the watcher, then swaps for real. Include in exactly one source file of a
// test program.
#pragma once

#include <dlfcn.h>
#include <SDL2/SDL.h>

#include <functional>

namespace vztest
{
// Called at every buffer swap, before the swap.
inline std::function<void()>& SwapWatcher()
{
    static std::function<void()> watcher;
    return watcher;
}
} // namespace vztest

extern "C" void SDL_GL_SwapWindow(SDL_Window* window)
{
    if (vztest::SwapWatcher())
        vztest::SwapWatcher()();
    static auto real = reinterpret_cast<void (*)(SDL_Window*)>(dlsym(RTLD_NEXT, "SDL_GL_SwapWindow"));
    if (real)
        real(window);
}
