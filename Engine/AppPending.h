// TEMPORARY (removed at merge): declarations of operations that other modules
// provide. The definitions are in AppPending.cpp and Linux/AppPending_LNX.cpp.
#pragma once

#include "EngTypes.h"

#if __has_include("EngDevice.h")
#include "EngDevice.h"
#else
class EngWindow;

// The graphics device facade, reduced to what the window and the program call.
class EngDevice
{
public:
    explicit EngDevice(EngWindow* window);
    ~EngDevice();
    char Create(char windowed, int width, int height, int bit_depth, int frequency);
    void Destroy();
    void GoingToBeDestroyed() {}
    void WindowResized();
    void SwapBuffers();
    void SetClearColour(float r, float g, float b);
    void ClearScreenAndDepthBuffers();
    void CropToAreaRatioed(float x, float y, float w, float h);

    char created;
    EngWindow* window;
};
extern EngDevice* eng_main_device;
#endif
