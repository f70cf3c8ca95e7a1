// The device facade without a device: everything answers 0 and nothing is made.
#include <gtest/gtest.h>

#include "EngDevice.h"
#include "EngDim.h"
#include "EngProgram.h"
#include "EngTexture.h"
#include "EngTriangleList.h"
#include "EngWindow.h"
#include "GL/EngDeviceGL.h"
#include "EngMath.h"
#include "EngMatrix.h"
#include "EngWhichDevice.h"
#include "EngWindow.h"
#include "support/TestSupport.h"

namespace
{

TEST(DeviceFacade, OtherDeviceTypeMakesNothing)
{
    eng_main_device_type = 0;
    EngDevice dev(nullptr);
    EXPECT_FALSE(dev.Create(1, 640, 480, 32, 0));
    EXPECT_EQ(eng_main_device_gl, nullptr);
    EXPECT_EQ(eng_main_device, nullptr);
    EXPECT_EQ(dev.BeginRendering(), 0);
    EXPECT_EQ(dev.GetCurrentViewport(), nullptr);
    EXPECT_EQ(EngDimGetLevel(), 0.0f);

    EngTexture t;
    EXPECT_EQ(t.GetGL(), nullptr);
    EXPECT_FALSE(t.LoadFromFile("x.png", 0, 0));
    EXPECT_EQ(t.GetWidth(), 0);
    EngTriangleList l;
    EXPECT_FALSE(l.Create(7, nullptr, 4));
}

TEST(DeviceFacade, GLTypeWithoutWindowFailsAndKeepsTheHalf)
{
    eng_main_device_type = ENG_DEVICE_TYPE_GL;
    eng_main_window = nullptr;
    EngDevice dev(nullptr);
    EXPECT_FALSE(dev.Create(1, 640, 480, 32, 0));
    EXPECT_NE(eng_main_device_gl, nullptr);
    EXPECT_EQ(eng_main_device, nullptr);
    // Before creation the state operations touch no GL.
    EXPECT_EQ(dev.BeginRendering(), 0);
    dev.EnableBlendingType(0);
    EXPECT_FALSE(dev.IsBlendingEnabled());
    dev.Destroy();
    EXPECT_EQ(eng_main_device_gl, nullptr);
    eng_main_device_type = 0;
}

TEST(DeviceFacade, ContextFailureShowsThePopupWithTheRightAdvice)
{
    struct
    {
        int aa;
        const char* text;
    } const cases[] = {{0, "Try changing the graphics settings and restarting."},
                       {2, "Try turning off anti-aliasing and restarting."}};
    EngWindow window;
    for (const auto& c : cases)
    {
        vztest::PopupRecorder popups;
        eng_main_device_type = ENG_DEVICE_TYPE_GL;
        eng_main_window = &window;
        eng_main_sdl_window = nullptr; // no platform window: the context cannot be made
        eng_main_window_aa = c.aa;
        EngDevice dev(&window);
        EXPECT_FALSE(dev.Create(1, 640, 480, 32, 0));
        ASSERT_EQ(vztest::PopupRecorder::Popups().size(), 1u);
        EXPECT_EQ(vztest::PopupRecorder::Popups()[0].title, "Error setting up display context");
        EXPECT_EQ(vztest::PopupRecorder::Popups()[0].text, c.text);
        EXPECT_EQ(eng_gl_3d_setup, 0);
    }
    eng_main_window_aa = 0;
    eng_main_window = nullptr;
    eng_main_device_type = 0;
}

TEST(DeviceFacade, ViewportRecordHelpers)
{
    _EngDeviceViewport v;
    EXPECT_EQ(EngDeviceResetViewportStruct(&v), &v);
    EXPECT_EQ(v.width, 99);
    EXPECT_EQ(EngDeviceResetViewportStruct(nullptr), nullptr);
    eng_main_window_x_ratio = 2.0f;
    eng_main_window_y_ratio = 2.0f;
    EngDeviceSetViewportStructToSizeRatioed(&v, 10, 20, 100, 50);
    EXPECT_EQ(v.x, 20);
    EXPECT_EQ(v.y, 40);
    EXPECT_EQ(v.width, 200);
    EXPECT_EQ(v.height, 100);
    eng_main_window_x_ratio = eng_main_window_y_ratio = 1.0f;
}

} // namespace
