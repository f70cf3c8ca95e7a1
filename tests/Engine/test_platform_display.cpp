// Desktop size through SDL, with video started on first use (runs under xvfb).
#include <gtest/gtest.h>

#include "EngMiscPlatform.h"
#include "Linux/EngMisc_LNX.h"

TEST(DesktopDimensions, MainDisplayWithAndWithoutRoom)
{
    int x = -1, y = -1, w = 0, h = 0;
    EngMiscGetDesktopDimensions(&x, &y, &w, &h, 0);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(w, 1280);
    EXPECT_EQ(h, 1024);
    EXPECT_TRUE(EngMiscStartVideo_LNX()) << "a second start reports the running video";
    EngMiscGetDesktopDimensions(nullptr, nullptr, &w, &h, 1);
    EXPECT_EQ(w, 1280);
    EXPECT_EQ(h, 974);
}
