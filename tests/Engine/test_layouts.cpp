// Device kind, layouts, orientation mappings and the absent menu bar.
#include <gtest/gtest.h>

#include <string>

#include "EngDebug.h"
#include "EngMenu.h"
#include "EngWhichDevice.h"
#include "EngWindow.h"
#include "support/TestSupport.h"

namespace
{

class Layouts : public vztest::LogTest
{
};

TEST_F(Layouts, DesktopStartValuesAndReferenceSizes)
{
    EXPECT_EQ(EngLayoutsGetLayout(-1), 0);
    EXPECT_TRUE(EngLayoutsIsPortrait(-1));
    EXPECT_FALSE(EngLayoutsIsMobile(-1));
    struct Case
    {
        _EngLayout layout;
        int w, h;
    };
    const Case cases[] = {{0, 640, 480}, {1, 320, 480}, {2, 480, 320}, {3, 768, 1024}, {4, 1024, 768}};
    for (const Case& c : cases)
    {
        EXPECT_EQ(EngLayoutsGetWidth(c.layout), c.w) << c.layout;
        EXPECT_EQ(EngLayoutsGetHeight(c.layout), c.h) << c.layout;
    }
    EXPECT_EQ(vztest::LogCount("Not mobile."), 2);
    EXPECT_STREQ(EngWhichDeviceGetDeviceName(0), "Linux");
    EXPECT_EQ(std::string(EngWhichDeviceGetDeviceName(1)).rfind("Linux ", 0), 0u);
    EXPECT_EQ(EngMenuIsEnabled(), 0);
    EXPECT_EQ(EngMenuGetMenuBarHeight(), 0.0f);
}

TEST_F(Layouts, MousePositionsMapThroughTheOrientation)
{
    int old_w = eng_main_window_width, old_h = eng_main_window_height;
    eng_main_window_width = 1024;
    eng_main_window_height = 768;
    struct Case
    {
        int alt;
        float x, y, ox, oy;
    };
    const Case cases[] = {
        {0, 512, 384, 320, 240},
        {1, 256, 192, 480, 360},
        {2, 0, 768, 640, 480},
        {3, 0, 768, 0, 0},
    };
    for (const Case& c : cases)
    {
        eng_main_orientation_alt = c.alt;
        float ox = -1, oy = -1;
        EXPECT_TRUE(EngMainChangeMousePosRatioedForOrientation(c.x, c.y, &ox, &oy));
        EXPECT_FLOAT_EQ(ox, c.ox) << c.alt;
        EXPECT_FLOAT_EQ(oy, c.oy) << c.alt;
    }
    eng_main_orientation_alt = 0;
    eng_main_window_width = 0;
    float ox = -1;
    EXPECT_FALSE(EngMainChangeMousePosRatioedForOrientation(1.0f, 1.0f, &ox, nullptr));
    EXPECT_EQ(ox, -1);
    eng_main_window_width = old_w;
    eng_main_window_height = old_h;
}

TEST_F(Layouts, StartupOrientationKeepsOrReplacesTheOrientation)
{
    struct Case
    {
        _EngOrientation before;
        _EngStartupOrientation startup;
        _EngOrientation after;
    };
    const Case cases[] = {{3, 1, 0}, {1, 1, 1}, {0, 2, 2}, {3, 2, 3}, {2, 0, 2}};
    for (const Case& c : cases)
    {
        EngMainSetOrientation(c.before);
        EngMainSetOrientationFromStartupOrientation(c.startup);
        EXPECT_EQ(EngMainGetOrientation(), c.after) << c.before << " " << c.startup;
    }
    EngMainSetOrientation(0);
}

} // namespace
