// Window globals and the anti-aliasing setting's sample count.
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

} // namespace
