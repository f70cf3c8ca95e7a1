// Display modes read from SDL.
#include <SDL2/SDL.h>

#include <cstdlib>

#include "EngResModes.h"
#include "Linux/EngMisc_LNX.h"

namespace
{
char DriverAskedFor()
{
    const char* v = getenv("SDL_VIDEODRIVER");
    return v && v[0] ? 1 : 0;
}

char VideoReady()
{
    // Without a display SDL falls back to its offscreen driver, whose
    // made-up desktop is no display to choose modes from.
    if (!EngMiscHasDisplay_LNX() && !DriverAskedFor())
        return 0;
    if (SDL_WasInit(SDL_INIT_VIDEO))
        return 1;
    return EngMiscInitSdlVideo_LNX() == 0 ? 1 : 0;
}

_EngDisplayModeInfo FromSdl(const SDL_DisplayMode& m)
{
    _EngDisplayModeInfo d;
    d.width = m.w;
    d.height = m.h;
    // A 4-byte format (24-bit colour with padding) counts as 32 bits.
    d.bpp = SDL_BYTESPERPIXEL(m.format) == 4 ? 32 : int(SDL_BITSPERPIXEL(m.format));
    d.refresh = m.refresh_rate > 0 ? m.refresh_rate : 0;
    return d;
}
} // namespace

char EngResModesReadDisplay_LNX(_EngDisplayModeInfo* modes, int max, int* count, _EngDisplayModeInfo* desktop,
                                char* have_desktop)
{
    *count = 0;
    *have_desktop = 0;
    if (!VideoReady())
        return 0;
    SDL_DisplayMode m;
    if (SDL_GetDesktopDisplayMode(0, &m) == 0)
    {
        *desktop = FromSdl(m);
        *have_desktop = 1;
    }
    int n = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < n && *count < max; i++)
        if (SDL_GetDisplayMode(0, i, &m) == 0)
            modes[(*count)++] = FromSdl(m);
    return 1;
}

char EngResModesClosestMode_LNX(int width, int height, int bpp, int frequency, _EngDisplayModeInfo* out)
{
    if (!SDL_WasInit(SDL_INIT_VIDEO))
        return 0;
    SDL_DisplayMode want = {};
    want.w = width;
    want.h = height;
    want.refresh_rate = frequency > 0 ? frequency : 0;
    want.format = bpp >= 24 ? SDL_PIXELFORMAT_RGB888 : (bpp == 16 ? SDL_PIXELFORMAT_RGB565 : 0);
    SDL_DisplayMode got;
    if (!SDL_GetClosestDisplayMode(0, &want, &got))
        return 0;
    *out = FromSdl(got);
    return 1;
}
