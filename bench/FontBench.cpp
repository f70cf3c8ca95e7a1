// Prints the time to create the game's font and to draw 500 glyphs.
// Run under a display (or xvfb-run): bench_FontBench [resources folder]
#include <GL/gl.h>
#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "EngFont.h"
#include "EngTexture.h"
#include "EngWindow.h"
#include "GL/EngDeviceGL.h"

using Clock = std::chrono::steady_clock;

static double Ms(Clock::time_point a, Clock::time_point b)
{
    return std::chrono::duration<double, std::milli>(b - a).count();
}

static char CreateGameFont(EngFont& f, const std::string& file)
{
    _EngFontCreationEffects e = {};
    e.padding = 2;
    e.shadow_lum_factor = 1.0f;
    e.shadow_alpha_factor = 0.244123f;
    e.blur_passes_first = 4;
    f.SetCreationEffects(&e);
    return f.CreateFromFontFile(file.c_str(), 0, 32, 64, 32, 127, nullptr, 0, 0.160013f, 0.080202f, 1.215145f,
                                5.782f, 0, 0.015f, 0, 0, 1);
}

int main(int argc, char** argv)
{
    std::string dir = argc > 1 ? argv[1] : "";
    if (dir.empty())
    {
        const char* env = getenv("VZ_RESOURCES_DIR");
        char* base = SDL_GetBasePath();
        dir = env ? env : std::string(base ? base : "./") + "../Resources";
        SDL_free(base);
    }
    const std::string file = dir + "/engeexbo.ttf";
    if (SDL_Init(SDL_INIT_VIDEO) != 0)
    {
        fprintf(stderr, "SDL_Init: %s\n", SDL_GetError());
        return 1;
    }
    SDL_Window* w = SDL_CreateWindow("font bench", 0, 0, 640, 480, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    SDL_GLContext ctx = w ? SDL_GL_CreateContext(w) : nullptr;
    if (!ctx)
    {
        fprintf(stderr, "No GL context: %s\n", SDL_GetError());
        return 1;
    }
    eng_gl_3d_setup = 1;
    glViewport(0, 0, 640, 480);
    EngFontShowCharWarnings(0);

    const int runs = 5;
    double create_ms = 0;
    EngFont font;
    for (int i = 0; i < runs; i++)
    {
        font.Destroy();
        auto t0 = Clock::now();
        if (!CreateGameFont(font, file))
        {
            fprintf(stderr, "Could not make the font from %s\n", file.c_str());
            return 1;
        }
        glFinish();
        create_ms += Ms(t0, Clock::now());
    }
    printf("font: create the game's font (64, 32..127, blur 4): %.2f ms (mean of %d), %d sheets\n",
           create_ms / runs, runs, font.GetSheetCount());

    // 500 glyphs: ten lines of 50 characters, drawn 20 times.
    const char* line = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmn";
    const int frames = 20;
    double draw_ms = 0;
    for (int f = 0; f < frames; f++)
    {
        glClear(GL_COLOR_BUFFER_BIT);
        auto t0 = Clock::now();
        EngFontPrepareForDrawingWithOrientation(char(1));
        for (int l = 0; l < 10; l++)
            font.DrawString(10, 30 + 40 * l, line);
        EngFontRestoreAfterDrawing();
        glFinish();
        draw_ms += Ms(t0, Clock::now());
    }
    printf("font: draw 500 glyphs: %.3f ms (mean of %d)\n", draw_ms / frames, frames);

    font.Destroy();
    eng_gl_3d_setup = 0;
    SDL_GL_DeleteContext(ctx);
    SDL_DestroyWindow(w);
    SDL_Quit();
    return 0;
}
