// The device on SDL's offscreen video driver (EGL, no X display): GLEW
// reports no GLX display, yet the context works and the device starts.
#include <GL/glew.h>
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "EngDevice.h"
#include "EngProgram.h"
#include "EngWindow.h"
#include "GL/EngDeviceGL.h"
#include "EngMath.h"
#include "EngMatrix.h"
#include "EngWhichDevice.h"
#include "EngWindow.h"

namespace
{

TEST(OffscreenDevice, StartsAndClears)
{
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        GTEST_SKIP() << "no offscreen driver: " << SDL_GetError();
    SDL_Window* w = SDL_CreateWindow("off", 0, 0, 64, 48, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!w)
    {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        GTEST_SKIP() << "no offscreen GL window: " << SDL_GetError();
    }
    EngWindow window;
    eng_main_window = &window;
    eng_main_sdl_window = w;
    eng_main_device_type = ENG_DEVICE_TYPE_GL;
    eng_main_window_width = 64, eng_main_window_height = 48;
    {
        EngDevice dev(&window);
        ASSERT_TRUE(dev.Create(1, 64, 48, 32, 0));
        EXPECT_NE(glGetString(GL_VERSION), nullptr);
        dev.SetClearColour(0.0f, 1.0f, 0.0f);
        dev.ClearScreenBuffer();
        unsigned char p[4] = {0, 0, 0, 0};
        glReadPixels(10, 10, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
        EXPECT_EQ(p[1], 255);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }
    eng_main_window = nullptr;
    eng_main_sdl_window = nullptr;
    SDL_DestroyWindow(w);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

} // namespace
