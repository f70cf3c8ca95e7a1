// The engine's pointer speed on the X server's core pointer control: set,
// read back from the server, stepped, and the server's state restored after.
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include "EngMiscPlatform.h"
#include "support/TestSupport.h"

namespace
{

class PointerSpeed : public vztest::LogTest
{
protected:
    void SetUp() override
    {
        LogTest::SetUp();
        x = XOpenDisplay(nullptr);
        ASSERT_NE(x, nullptr);
        XGetPointerControl(x, &num, &den, &threshold);
    }

    void TearDown() override
    {
        if (x)
        {
            XChangePointerControl(x, True, True, num, den, threshold);
            XCloseDisplay(x);
        }
        LogTest::TearDown();
    }

    // The acceleration the server now holds, and its threshold.
    double ServerFactor(int* t = nullptr)
    {
        int n = 0, d = 1, th = 0;
        XGetPointerControl(x, &n, &d, &th);
        if (t)
            *t = th;
        return double(n) / double(d);
    }

    Display* x = nullptr;
    int num = 0, den = 1, threshold = 0;
};

TEST_F(PointerSpeed, SpeedsAreSetOnTheServerAndReadBack)
{
    for (double v : {0.0, 0.125, 0.3125, 0.6875, 1.0, 1.5, 3.0})
    {
        SCOPED_TRACE(v);
        EXPECT_TRUE(EngMiscSetCursorSpeed({v, v}));
        int t = -1;
        EXPECT_DOUBLE_EQ(ServerFactor(&t), 1.0 + v);
        EXPECT_EQ(t, threshold) << "the threshold is left alone";
        EngMiscCursorSpeed got = {-1, -1};
        EXPECT_TRUE(EngMiscGetCursorSpeed(&got));
        EXPECT_EQ(got.mouse, v);
        EXPECT_EQ(got.trackpad, v);
    }
    // One control for every pointer: the mouse's speed is the one kept.
    EXPECT_TRUE(EngMiscSetCursorSpeed({0.5, 2.0}));
    EngMiscCursorSpeed got = {-1, -1};
    EXPECT_TRUE(EngMiscGetCursorSpeed(&got));
    EXPECT_EQ(got.mouse, 2.0);
    EXPECT_EQ(got.trackpad, 2.0);
    EXPECT_EQ(vztest::LogCount("failed"), 0);
}

TEST_F(PointerSpeed, TheServersDefaultIsAStandardSpeedToStepFrom)
{
    XChangePointerControl(x, True, False, -1, -1, 0);
    XSync(x, False);
    EngMiscCursorSpeed s = {-1, -1};
    ASSERT_TRUE(EngMiscGetCursorSpeed(&s));
    EXPECT_EQ(s.mouse, 1.0);
    ASSERT_TRUE(EngMisChangeCursorSpeed(&s, 1));
    ASSERT_TRUE(EngMiscSetCursorSpeed(s));
    EXPECT_DOUBLE_EQ(ServerFactor(), 2.5);
    EXPECT_EQ(vztest::LogCount("not standard"), 0);
}

} // namespace
