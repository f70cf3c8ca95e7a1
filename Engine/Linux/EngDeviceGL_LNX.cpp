// The SDL half of the OpenGL device: context creation, swapping, fades.
#include <GL/glew.h>
#include <SDL2/SDL.h>
#include <X11/Xlib.h>

#include <chrono>
#include <cstring>

#include "EngDebug.h"
#include "EngProgram.h"
#include "EngWindow.h"
#include "GL/EngDeviceGL.h"
#include "Linux/EngWindow_LNX.h"

static SDL_Window* MainSdlWindow()
{
    return static_cast<SDL_Window*>(eng_main_sdl_window);
}

static double FadeNow()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

static double last_frame_time = 0;

void EngDeviceGL::AglInit_LNX()
{
    context = nullptr;
    drawable = nullptr;
    std::memset(&fade_settings, 0, sizeof(fade_settings));
}

float EngDeviceGL::AglFadeFullLoopCalcFrameRate_LNX()
{
    double now = FadeNow();
    double elapsed = last_frame_time != 0 ? now - last_frame_time : 0;
    last_frame_time = now;
    return float(elapsed);
}

void EngDeviceGL::AglFadeSetup_LNX()
{
    fade_settings.valid = 0;
    SDL_Window* w = MainSdlWindow();
    if (w && SDL_GetWindowGammaRamp(w, fade_settings.red, fade_settings.green, fade_settings.blue) == 0)
        fade_settings.valid = 1;
}

// Scales the kept ramps by factor; false when the display refuses gamma.
static bool SetScaledRamp(const _AglFadeSettings* s, float factor)
{
    SDL_Window* w = MainSdlWindow();
    if (!w || !s->valid)
        return false;
    uint16_t r[256], g[256], b[256];
    for (int i = 0; i < 256; i++)
    {
        r[i] = uint16_t(s->red[i] * factor);
        g[i] = uint16_t(s->green[i] * factor);
        b[i] = uint16_t(s->blue[i] * factor);
    }
    return SDL_SetWindowGammaRamp(w, r, g, b) == 0;
}

// SDL hands the ramps to the display only for the window with the keyboard
// focus (for another it keeps them and reports success), and X11 shows them
// only through the window's colormap while that is installed: elsewhere a
// fade would only be a wait.
static bool DisplayCanFade(const _AglFadeSettings* s)
{
    SDL_Window* w = MainSdlWindow();
    if (!w || !s->valid || SDL_GetKeyboardFocus() != w)
        return false;
    void* display = nullptr;
    unsigned long xw = 0;
    if (EngWindowX11Handles_LNX(w, &display, &xw))
    {
        XWindowAttributes a;
        if (!XGetWindowAttributes(static_cast<Display*>(display), xw, &a) || !a.map_installed)
            return false;
    }
    return true;
}

void EngDeviceGL::AglFadeDisplayToBlack_LNX(_AglFadeSettings* s)
{
    s->faded_out = 0;
    if (!DisplayCanFade(s))
        return;
    last_frame_time = FadeNow();
    float factor = 1.0f;
    do
    {
        if (!SetScaledRamp(s, factor > 0 ? factor : 0))
        {
            // Refused part way: gamma is best effort.
            SetScaledRamp(s, 1.0f);
            return;
        }
        SDL_Delay(10);
        factor -= 2 * AglFadeFullLoopCalcFrameRate_LNX();
    } while (factor > 0);
    SetScaledRamp(s, 0.0f);
    s->faded_out = 1;
}

void EngDeviceGL::AglFadeDisplayFromBlack_LNX(_AglFadeSettings* s)
{
    if (!s->faded_out)
        return;
    s->faded_out = 0;
    if (DisplayCanFade(s))
    {
        last_frame_time = FadeNow();
        float factor = 0.0f;
        while (factor < 1 && SetScaledRamp(s, factor))
        {
            SDL_Delay(10);
            factor += 2 * AglFadeFullLoopCalcFrameRate_LNX();
        }
    }
    SetScaledRamp(s, 1.0f);
}

char EngDeviceGL::AglSetupContext_LNX()
{
    SDL_Window* w = MainSdlWindow();
    if (!eng_main_window || !w)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No window");
        return 0;
    }
    bool full_screen = !eng_main_window_windowed;
    if (full_screen)
    {
        SDL_ShowCursor(SDL_DISABLE);
        AglFadeSetup_LNX();
        AglFadeDisplayToBlack_LNX(&fade_settings);
    }
    // Every failure below gives the display back: gamma and cursor.
    auto fail = [&](const char* msg)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "%s: %s", msg, SDL_GetError());
        if (context)
        {
            SDL_GL_MakeCurrent(w, nullptr);
            SDL_GL_DeleteContext(static_cast<SDL_GLContext>(context));
            context = nullptr;
        }
        if (full_screen)
        {
            if (fade_settings.faded_out)
                SetScaledRamp(&fade_settings, 1.0f);
            fade_settings.faded_out = 0;
            SDL_ShowCursor(SDL_ENABLE);
        }
        return char(0);
    };
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    context = SDL_GL_CreateContext(w);
    if (!context)
        return fail("SDL_GL_CreateContext failed");
    if (SDL_GL_MakeCurrent(w, static_cast<SDL_GLContext>(context)) != 0)
        return fail("SDL_GL_MakeCurrent failed");
    drawable = w;
    // The main loop paces itself.
    SDL_GL_SetSwapInterval(0);
    if (full_screen)
    {
        // Until it is drawn the window shows what was on the screen before
        // (another program's picture): it is cleared now, and the display
        // comes back from black with the first frame (AglSwapBuffers_LNX).
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        SDL_GL_SwapWindow(w);
        SDL_ShowCursor(SDL_ENABLE);
    }
    return 1;
}

char EngDeviceGL::AglSetCurrentContext_LNX()
{
    SDL_Window* w = MainSdlWindow();
    if (!w || !context)
        return 0;
    return SDL_GL_MakeCurrent(w, static_cast<SDL_GLContext>(context)) == 0;
}

void EngDeviceGL::AglDeleteContext_LNX()
{
    bool full_screen = !eng_main_window_windowed;
    // Still black when no frame came since the context was made.
    if (full_screen && !fade_settings.faded_out)
        AglFadeDisplayToBlack_LNX(&fade_settings);
    SDL_Window* w = MainSdlWindow();
    if (w)
        SDL_GL_MakeCurrent(w, nullptr);
    if (context)
    {
        SDL_GL_DeleteContext(static_cast<SDL_GLContext>(context));
        context = nullptr;
    }
    drawable = nullptr;
    if (!full_screen)
        return;
    // A window that goes with the device still shows its last frame: it
    // leaves the screen first, and the display is back at once.
    if (eng_main_window && eng_main_window->IsReleasingWindow())
    {
        EngWindowShow_LNX(0);
        if (fade_settings.faded_out)
            SetScaledRamp(&fade_settings, 1.0f);
        fade_settings.faded_out = 0;
    }
    else
        AglFadeDisplayFromBlack_LNX(&fade_settings);
}

void EngDeviceGL::AglSwapBuffers_LNX()
{
    SDL_Window* w = MainSdlWindow();
    if (w && context)
        SDL_GL_SwapWindow(w);
    // The first frame of the created device is up: the display comes back.
    if (fade_settings.faded_out && eng_main_device && eng_main_device == owner)
        AglFadeDisplayFromBlack_LNX(&fade_settings);
}
