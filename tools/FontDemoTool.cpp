// Shows the game's font: a window with aligned, scaled, coloured and wrapped
// text. Usage: FontDemoTool [seconds] (default 5; 0 waits until closed).
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngFont.h"
#include "EngProgram.h"
#include "EngTexture.h"
#include "EngWindow.h"
#include "GL/EngDeviceGL.h"

static std::string ResourcePath(const char* name)
{
    if (const char* dir = getenv("VZ_RESOURCES_DIR"))
        return std::string(dir) + "/" + name;
    std::string base = "./";
    if (char* p = SDL_GetBasePath())
    {
        base = p;
        SDL_free(p);
    }
    return base + "../Resources/" + name;
}

static void Draw(EngFont& font)
{
    eng_main_device->SetClearColour(0.08f, 0.1f, 0.18f);
    eng_main_device->ClearScreenAndDepthBuffers();
    EngFontPrepareForDrawingWithOrientation(char(1));
    font.SetScale(2.5f, 2.5f);
    font.SetColour(1, 1, 1, 1);
    font.DrawStringAlign(320, 70, 1, 1, "Vizavu 123456789", 0);
    font.SetScale(1.1f, 1.1f);
    font.SetColour(1.0f, 0.8f, 0.3f, 1);
    font.DrawStringAlign(20, 140, 0, 0, "The quick brown fox jumps over the lazy dog.", 0);
    font.SetColour(0.6f, 0.9f, 1.0f, 1);
    font.DrawStringAlign(620, 180, 2, 0, "Right aligned: 0 1 2 3 4 5 6 7 8 9", 0);
    font.SetScale(1, 1);
    font.SetColour(0.85f, 0.85f, 0.85f, 1);
    font.DrawMultilineText(20, 240, 600, 200, 0, 0,
                           "Word-wrapped text: every line is broken at a space when the next word "
                           "would run past the right edge of the box. A newline starts a new line.\n"
                           "Letters beyond ASCII: [\xE9\xFC\xDF]; bytes without a letter show as "
                           "question marks: [\x85\x9F]",
                           1, 0, nullptr, nullptr, nullptr, nullptr);
    EngFontRestoreAfterDrawing();
}

int main(int argc, char** argv)
{
    const int seconds = argc > 1 ? atoi(argv[1]) : 5;
    if (SDL_Init(SDL_INIT_VIDEO) != 0)
    {
        fprintf(stderr, "SDL_Init: %s\n", SDL_GetError());
        return 1;
    }
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_Window* window = SDL_CreateWindow("Vizavu fonts", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 640, 480,
                                          SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN);
    if (!window)
    {
        fprintf(stderr, "No window: %s\n", SDL_GetError());
        SDL_Quit();
        return 1;
    }
    // Text blocks draw through the graphics device.
    EngWindow engine_window;
    eng_main_window = &engine_window;
    eng_main_sdl_window = window;
    eng_main_device_type = ENG_DEVICE_TYPE_GL;
    engine_window.UpdateWindowVariables(1, 640, 480, 32, -1);
    EngDevice* device = new EngDevice(&engine_window);
    if (!device->Create(1, 640, 480, 32, 0))
    {
        fprintf(stderr, "No GL device\n");
        delete device;
        eng_main_window = nullptr;
        eng_main_sdl_window = nullptr;
        SDL_DestroyWindow(window);
        SDL_Quit();
        return 1;
    }

    EngFontShowCharWarnings(0);
    EngFont font;
    _EngFontCreationEffects effects = {};
    effects.padding = 2;
    effects.shadow_lum_factor = 1.0f;
    effects.shadow_alpha_factor = 0.244123f;
    effects.blur_passes_first = 4;
    font.SetCreationEffects(&effects);
    const std::string file = ResourcePath("engeexbo.ttf");
    int status = 0;
    if (!font.CreateFromFontFile(file.c_str(), 0, 32, 64, 32, 127, nullptr, 0, 0.160013f, 0.080202f, 1.215145f,
                                 5.782f, 0, 0.015f, 0, 0, 1))
    {
        fprintf(stderr, "Could not make the font from %s\n", file.c_str());
        status = 1;
    }
    else
    {
        const Uint32 end = SDL_GetTicks() + Uint32(seconds) * 1000;
        for (bool run = true; run && (seconds == 0 || SDL_GetTicks() < end);)
        {
            SDL_Event ev;
            while (SDL_PollEvent(&ev))
                if (ev.type == SDL_QUIT || (ev.type == SDL_KEYDOWN && ev.key.keysym.sym == SDLK_ESCAPE))
                    run = false;
            Draw(font);
            device->SwapBuffers();
            SDL_Delay(16);
        }
    }
    font.Destroy();
    delete device;
    eng_main_window = nullptr;
    eng_main_sdl_window = nullptr;
    SDL_DestroyWindow(window);
    SDL_Quit();
    return status;
}
