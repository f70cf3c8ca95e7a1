// Window globals, the anti-aliasing setting's sample count and the live-resize
// restriction's correction.
#include <gtest/gtest.h>

#include "EngProgram.h"
#include "EngWindow.h"

namespace
{

TEST(Window, SizeGivesTheRatiosOfTheVirtualScreen)
{
    struct Case
    {
        int w, h;
        float x_ratio, y_ratio, wide, narrow;
        char portrait;
    };
    const Case cases[] = {
        {640, 480, 1.0f, 1.0f, 1.0f, 1.0f, 0},
        {1280, 480, 2.0f, 1.0f, 0.5f, 1.0f, 0},
        {480, 640, 0.75f, 640.0f / 480.0f, 1.0f, 0.75f, 1},
        {0, 0, 0.75f, 640.0f / 480.0f, 1.0f, 0.75f, 1}, // 0 keeps the size
    };
    EngProgram program;
    EngWindow window(&program, "w");
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
        window.UpdateWindowVariables(char(255), c.w, c.h, -1, -1);
        EXPECT_FLOAT_EQ(eng_main_window_x_ratio, c.x_ratio);
        EXPECT_FLOAT_EQ(eng_main_window_y_ratio, c.y_ratio);
        EXPECT_FLOAT_EQ(eng_main_window_x_ratio * eng_main_window_x_ratio_inv, 1.0f);
        EXPECT_FLOAT_EQ(eng_main_window_x_widescreen_ratio, c.wide);
        EXPECT_FLOAT_EQ(eng_main_window_y_narrowscreen_ratio, c.narrow);
        EXPECT_EQ(eng_main_window_portraited, c.portrait);
    }
    window.UpdateWindowVariables(0, -1, -1, -1, -1);
    EXPECT_EQ(eng_main_window_windowed, 0);
    window.UpdateWindowVariables(1, 640, 480, -1, -1);
}

TEST(Window, AntiAliasingLevelsBecomeSampleCounts)
{
    // The display dialog stores levels: 1 normal (2x2), 2 strong (4x4).
    const int cases[][2] = {{0, 0}, {1, 2}, {2, 4}, {4, 4}, {8, 8}, {6, 2}, {-1, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(EngWindowSamplesForAA(c[0]), c[1]) << c[0];
}

TEST(Window, RestrictedSizeIsCorrectedAlongTheDrag)
{
    const _EngWindowRestrictResizingInfo limits = {500, 400, 1.2f, 1.5f};
    struct Case
    {
        const char* name;
        _EngWindowRestrictResizingInfo info;
        char horizontal;
        int w, h, want_w, want_h;
    };
    const Case cases[] = {
        {"too wide, horizontal: the height follows", limits, 1, 900, 500, 900, 600},
        {"too wide, vertical: the width follows", limits, 0, 900, 500, 750, 500},
        {"too tall, horizontal", limits, 1, 600, 600, 600, 500},
        {"too tall, vertical", limits, 0, 600, 600, 720, 600},
        {"below the minimum", limits, 1, 300, 200, 500, 400},
        // The minimum first, then the ratio of the raised size.
        {"minimum then ratio", limits, 0, 700, 300, 600, 400},
        {"exactly at the lower limit", limits, 0, 600, 500, 600, 500},
        {"exactly at the upper limit", limits, 1, 750, 500, 750, 500},
        {"in range", limits, 1, 640, 480, 640, 480},
        {"no ratio limits", {0, 0, 0, 0}, 1, 100, 1000, 100, 1000},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        int w = c.w, h = c.h;
        EXPECT_EQ(EngWindowCorrectRestrictedSize(&c.info, c.horizontal, &w, &h),
                  char(c.w != c.want_w || c.h != c.want_h));
        EXPECT_EQ(w, c.want_w);
        EXPECT_EQ(h, c.want_h);
    }
    // Limits that cannot all hold end after the last round all the same.
    const _EngWindowRestrictResizingInfo crossed = {0, 0, 2.0f, 1.0f};
    int w = 500, h = 400;
    EngWindowCorrectRestrictedSize(&crossed, 1, &w, &h);
    EXPECT_GT(w, 0);
    EXPECT_GT(h, 0);
}

} // namespace
