// TEMPORARY (removed at merge): stand-ins for operations of other modules
// that are not on main yet: the GL device's life and swap.
#include "AppPending.h"

#include <GL/glew.h>
#include <cstdio>
#include <ctime>

#include "EngDebug.h"
#include "EngMiscStrings.h"
#include "EngProgram.h"
#include "EngWindow.h"

#if !__has_include("EngDevice.h")
// GL context operations of the platform half (Linux/AppPending_LNX.cpp).
void* EngPendingCreateContext_LNX();
void EngPendingDeleteContext_LNX(void* context);
void EngPendingSwap_LNX();

EngDevice* eng_main_device = nullptr;
namespace
{
void* pending_context = nullptr;
char glew_done = 0;
} // namespace

EngDevice::EngDevice(EngWindow* w) : created(0), window(w) {}

EngDevice::~EngDevice()
{
    Destroy();
}

char EngDevice::Create(char, int, int, int, int)
{
    eng_main_device = nullptr;
    if (eng_main_device_type != 1)
        return 0;
    pending_context = EngPendingCreateContext_LNX();
    if (!pending_context)
    {
        EngMiscShowPopupMessage(1, "Error setting up display context",
                                eng_main_window_aa ? "Try turning off anti-aliasing and restarting."
                                                   : "Try changing the graphics settings and restarting.");
        return 0;
    }
    if (!glew_done)
    {
        GLenum err = glewInit();
        // Without GLX (offscreen drivers) GLEW says "no GLX display" although the context works.
        if (err != GLEW_OK && !glGetString(GL_VERSION))
            DebugErrorAlt(__PRETTY_FUNCTION__, "%s", reinterpret_cast<const char*>(glewGetErrorString(err)));
        glew_done = 1;
    }
    while (glGetError() != GL_NO_ERROR)
    {
    }
    const GLubyte* version = glGetString(GL_VERSION);
    const GLubyte* renderer = glGetString(GL_RENDERER);
    DebugInfo("OpenGL %s, renderer %s", version ? reinterpret_cast<const char*>(version) : "?",
              renderer ? reinterpret_cast<const char*>(renderer) : "?");
    glViewport(0, 0, eng_main_window_width, eng_main_window_height);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    created = 1;
    eng_main_device = this;
    return 1;
}

void EngDevice::Destroy()
{
    if (pending_context && created)
    {
        EngPendingDeleteContext_LNX(pending_context);
        pending_context = nullptr;
    }
    created = 0;
    if (eng_main_device == this)
        eng_main_device = nullptr;
}

void EngDevice::WindowResized()
{
    if (created)
        glViewport(0, 0, eng_main_window_width, eng_main_window_height);
}

void EngDevice::SwapBuffers()
{
    if (created)
        EngPendingSwap_LNX();
}

void EngDevice::SetClearColour(float r, float g, float b)
{
    if (created)
        glClearColor(r, g, b, 1.0f);
}

void EngDevice::ClearScreenAndDepthBuffers()
{
    if (created)
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void EngDevice::CropToAreaRatioed(float x, float y, float w, float h)
{
    if (!created)
        return;
    float xr = eng_main_window_x_ratio, yr = eng_main_window_y_ratio;
    glScissor(GLint(x * xr), GLint(float(eng_main_window_height) - (y + h) * yr), GLsizei(w * xr),
              GLsizei(h * yr));
    glEnable(GL_SCISSOR_TEST);
}
#endif
