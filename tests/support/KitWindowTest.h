// A test with a dialog-kit window of 600 x 430 open, on GTK's own backend, and a folder of its own.
#pragma once

#include <gtest/gtest.h>

#include "SWin.h"
#include "support/TestSupport.h"

namespace vztest
{

class KitWindowTest : public LogTest
{
protected:
    void SetUp() override
    {
        LogTest::SetUp();
        SWinSetBackend(nullptr);
        _SWinCreateInfo info = {};
        info.x = info.y = -1;
        info.width = 600;
        info.height = 430;
        ASSERT_EQ(1, win.CreateMainWindow(&info));
    }
    void TearDown() override
    {
        if (win.IsCreated())
            win.DestroyMainWindow();
        LogTest::TearDown();
    }

    TempDir dir;
    SWin win;
};

} // namespace vztest
