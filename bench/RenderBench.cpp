// Renderer figures, run by hand under Xvfb
// (xvfb-run -a bench/bench_RenderBench [resources folder]): the CPU time of a
// typical 2D frame at 1024 x 768, texture load times, the time to create the
// game's font (with and without the Latin-1 letters) and to draw 500 glyphs.
#include <GL/glew.h>
#include <SDL2/SDL.h>
#include <stb/stb_image_write.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <unistd.h>
#include <vector>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngFont.h"
#include "EngJpeg.h"
#include "EngProgram.h"
#include "EngTexture.h"
#include "EngWindow.h"

static double CpuSeconds()
{
    timespec ts;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + ts.tv_nsec * 1e-9;
}

// The calling thread only: the engine's own share, without the driver's
// rasterizer threads.
static double ThreadCpuSeconds()
{
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + ts.tv_nsec * 1e-9;
}

static double WallSeconds()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) + ts.tv_nsec * 1e-9;
}

static std::vector<unsigned char> Noise(int w, int h, int comps)
{
    std::vector<unsigned char> px(size_t(w) * h * comps);
    unsigned s = 12345;
    for (size_t i = 0; i < px.size(); i++)
    {
        s = s * 1103515245u + 12345u;
        px[i] = (unsigned char)((i / comps % w) ^ (s >> 24));
    }
    return px;
}

// The game's "Main" font: engeexbo.ttf at 64, blurred; the Latin-1 letters
// as the game makes it, or ASCII alone for comparison.
static char CreateGameFont(EngFont& f, const std::string& file, bool latin1)
{
    _EngFontCreationEffects e = {};
    e.padding = 2;
    e.shadow_lum_factor = 1.0f;
    e.shadow_alpha_factor = 0.244123f;
    e.blur_passes_first = 4;
    f.SetCreationEffects(&e);
    return f.CreateFromFontFile(file.c_str(), 0, 32, 64, 32, latin1 ? 255 : 127,
                                latin1 ? EngFontLatin1Letters() : nullptr,
                                latin1 ? ENG_FONT_LATIN1_WANTED_COUNT : 0, 0.160013f, 0.080202f, 1.215145f,
                                5.782f, 0, 0.015f, 0, 0, 1);
}

static std::string ResourcesFolder(int argc, char** argv)
{
    if (argc > 1)
        return argv[1];
    if (const char* env = getenv("VZ_RESOURCES_DIR"))
        return env;
    char* base = SDL_GetBasePath();
    std::string dir = std::string(base ? base : "./") + "../Resources";
    SDL_free(base);
    return dir;
}

int main(int argc, char** argv)
{
    const int W = 1024, H = 768;
    if (SDL_Init(SDL_INIT_VIDEO) != 0)
    {
        std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
        return 1;
    }
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_Window* sdl = SDL_CreateWindow("RenderBench", 0, 0, W, H, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!sdl)
    {
        std::fprintf(stderr, "SDL window: %s\n", SDL_GetError());
        return 1;
    }
    EngWindow window;
    eng_main_window = &window;
    eng_main_sdl_window = sdl;
    eng_main_device_type = ENG_DEVICE_TYPE_GL;
    eng_main_window_width = W, eng_main_window_height = H;
    eng_main_window_x_ratio = W / 640.0f, eng_main_window_y_ratio = H / 480.0f;
    EngDevice device(&window);
    if (!device.Create(1, W, H, 32, 0))
        return 1;

    char dir_template[] = "/tmp/vzbench-XXXXXX";
    if (!mkdtemp(dir_template))
        return 1;
    std::string dir = dir_template;
    std::string jpg = dir + "/back.jpg", png = dir + "/sprite.png";
    auto big = Noise(1024, 1024, 3);
    EngJpegWriteFileFromBuffer(jpg.c_str(), 90, 0, 1024, 1024, big.data());
    auto small = Noise(512, 512, 4);
    stbi_write_png(png.c_str(), 512, 512, 4, small.data(), 512 * 4);

    const int loads = 10;
    EngTexture background, sprite;
    double t0 = WallSeconds(), c0 = CpuSeconds();
    for (int i = 0; i < loads; i++)
    {
        background.Destroy();
        background.LoadFromFile(jpg.c_str(), 0, 0);
    }
    double jpg_wall = (WallSeconds() - t0) / loads, jpg_cpu = (CpuSeconds() - c0) / loads;
    t0 = WallSeconds(), c0 = CpuSeconds();
    for (int i = 0; i < loads; i++)
    {
        sprite.Destroy();
        sprite.LoadFromFile(png.c_str(), 1, 2);
    }
    double png_wall = (WallSeconds() - t0) / loads, png_cpu = (CpuSeconds() - c0) / loads;

    const int frames = 100;
    glFinish();
    t0 = WallSeconds(), c0 = CpuSeconds();
    double th0 = ThreadCpuSeconds();
    for (int f = 0; f < frames; f++)
    {
        device.BeginRendering();
        device.ClearScreenAndDepthBuffers();
        device.PrepareFor2D(1);
        background.PositionRatioedAndDraw(0.0f, 0.0f, 640.0f, 480.0f);
        device.EnableBlendingType(0);
        for (int q = 0; q < 100; q++)
        {
            sprite.PositionRatioed(float(q % 10) * 60.0f, float(q / 10) * 45.0f, 64.0f, 48.0f);
            sprite.DrawWithColour(1.0f, 0.5f + q * 0.005f, 0.8f, 0.7f);
        }
        device.DisableBlending();
        device.RestoreAfter2D();
        device.EndRendering();
        glFinish();
        device.SwapBuffers();
    }
    double frame_wall = (WallSeconds() - t0) / frames, frame_cpu = (CpuSeconds() - c0) / frames;
    double frame_thread = (ThreadCpuSeconds() - th0) / frames;

    std::printf("2D frame 1024x768 (JPEG background + 100 tinted blended quads): %.2f ms CPU (%.2f ms on the "
                "main thread), %.2f ms wall\n",
                frame_cpu * 1000, frame_thread * 1000, frame_wall * 1000);
    std::printf("Load 1024x1024 JPEG into a texture: %.2f ms CPU, %.2f ms wall\n", jpg_cpu * 1000,
                jpg_wall * 1000);
    std::printf("Load 512x512 PNG into a texture:   %.2f ms CPU, %.2f ms wall\n", png_cpu * 1000,
                png_wall * 1000);

    // Fonts: the game's font, then 500 glyphs (ten lines of 50) per frame.
    const std::string font_file = ResourcesFolder(argc, argv) + "/engeexbo.ttf";
    EngFontShowCharWarnings(0);
    const int font_runs = 5;
    EngFont font;
    for (bool latin1 : {false, true})
    {
        double font_wall = 0, font_cpu = 0;
        for (int i = 0; i < font_runs; i++)
        {
            font.Destroy();
            glFinish();
            t0 = WallSeconds(), c0 = CpuSeconds();
            if (!CreateGameFont(font, font_file, latin1))
            {
                std::fprintf(stderr, "Could not make the font from %s\n", font_file.c_str());
                return 1;
            }
            glFinish();
            font_wall += WallSeconds() - t0, font_cpu += CpuSeconds() - c0;
        }
        std::printf("Create the game's font (64, %s, blur 4, %d sheets): %.2f ms CPU, %.2f ms wall\n",
                    latin1 ? "Latin-1 letters" : "32..127", font.GetSheetCount(), font_cpu / font_runs * 1000,
                    font_wall / font_runs * 1000);
    }

    const char* line = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmn";
    const int text_frames = 50;
    glFinish();
    t0 = WallSeconds(), c0 = CpuSeconds();
    th0 = ThreadCpuSeconds();
    for (int f = 0; f < text_frames; f++)
    {
        device.ClearScreenAndDepthBuffers();
        EngFontPrepareForDrawingWithOrientation(char(1));
        for (int l = 0; l < 10; l++)
            font.DrawString(10, 30 + 40 * l, line);
        EngFontRestoreAfterDrawing();
        glFinish();
        device.SwapBuffers();
    }
    double text_wall = (WallSeconds() - t0) / text_frames, text_cpu = (CpuSeconds() - c0) / text_frames;
    double text_thread = (ThreadCpuSeconds() - th0) / text_frames;
    std::printf("Draw 500 glyphs: %.3f ms CPU (%.3f ms on the main thread), %.3f ms wall\n", text_cpu * 1000,
                text_thread * 1000, text_wall * 1000);
    font.Destroy();

    background.Destroy();
    sprite.Destroy();
    device.Destroy();
    unlink(jpg.c_str());
    unlink(png.c_str());
    rmdir(dir.c_str());
    eng_main_window = nullptr;
    eng_main_sdl_window = nullptr;
    SDL_DestroyWindow(sdl);
    SDL_Quit();
    return 0;
}
