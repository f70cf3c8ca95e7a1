// A hidden SDL window with a GL device for the renderer tests, plus pixel
// read-back from the back buffer and log capture.
#pragma once

#include <GL/glew.h>
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngProgram.h"
#include "EngWindow.h"
#include "GL/EngDeviceGL.h"
#include "EngMath.h"
#include "EngMatrix.h"
#include "EngWhichDevice.h"
#include "EngWindow.h"

namespace vztest
{

inline std::vector<std::string>& LoggedLines()
{
    static std::vector<std::string> lines;
    return lines;
}

inline void RecordLine(char* text)
{
    LoggedLines().push_back(text ? text : "");
}

inline bool Logged(const std::string& part)
{
    for (const auto& l : LoggedLines())
        if (l.find(part) != std::string::npos)
            return true;
    return false;
}

struct Rgba
{
    int r, g, b, a;
};

class GLDevice : public ::testing::Test
{
protected:
    // The window globals as the window sets them for a size.
    static void SetWindowSize(int w, int h)
    {
        eng_main_window_width = w;
        eng_main_window_height = h;
        eng_main_window_x_ratio = w / 640.0f;
        eng_main_window_y_ratio = h / 480.0f;
        eng_main_window_x_ratio_inv = 640.0f / w;
        eng_main_window_y_ratio_inv = 480.0f / h;
        eng_main_window_portraited = w < h;
        float wide = (float(h) / float(w)) * 1.3333334f;
        float narrow = float(w) / float(h);
        eng_main_window_x_widescreen_ratio = wide < 1 ? wide : 1;
        eng_main_window_y_narrowscreen_ratio = narrow < 1 ? narrow : 1;
    }

    void StartDevice(int w, int h)
    {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
        sdl_window = SDL_CreateWindow("vz test", 0, 0, w, h, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        ASSERT_NE(sdl_window, nullptr) << SDL_GetError();
        eng_main_sdl_window = sdl_window;
        eng_main_window = &window;
        eng_main_device_type = ENG_DEVICE_TYPE_GL;
        eng_main_window_windowed = 1;
        SetWindowSize(w, h);
        device = new EngDevice(&window);
        ASSERT_TRUE(device->Create(1, w, h, 32, 0));
        ASSERT_EQ(eng_main_device, device);
    }

    void SetUp() override
    {
        DebugResetForTests();
        LoggedLines().clear();
        DebugSetExtraMessageLogCallback(RecordLine);
        StartDevice(window_w, window_h);
    }

    void TearDown() override
    {
        delete device;
        device = nullptr;
        if (sdl_window)
            SDL_DestroyWindow(sdl_window);
        sdl_window = nullptr;
        eng_main_sdl_window = nullptr;
        eng_main_window = nullptr;
        DebugSetExtraMessageLogCallback(nullptr);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    // A pixel of the back buffer, (x, y) from the window's top-left corner.
    static Rgba Pixel(int x, int y)
    {
        unsigned char p[4] = {0, 0, 0, 0};
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(x, eng_main_window_height - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
        return {p[0], p[1], p[2], p[3]};
    }

    static void ExpectPixel(int x, int y, int r, int g, int b, int tolerance = 2)
    {
        Rgba p = Pixel(x, y);
        EXPECT_NEAR(p.r, r, tolerance) << "at " << x << "," << y;
        EXPECT_NEAR(p.g, g, tolerance) << "at " << x << "," << y;
        EXPECT_NEAR(p.b, b, tolerance) << "at " << x << "," << y;
    }

    static void ClearTo(float r, float g, float b)
    {
        eng_main_device->SetClearColour(r, g, b);
        eng_main_device->ClearScreenAndDepthBuffers();
    }

    EngWindow window;
    SDL_Window* sdl_window = nullptr;
    EngDevice* device = nullptr;
    // The window's size for SetUp; a test may change it before SetUp runs.
    int window_w = 640, window_h = 480;
};

} // namespace vztest
