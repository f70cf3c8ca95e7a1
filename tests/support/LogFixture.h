// A test fixture that logs to a file in its own temporary folder.
#pragma once

#include <gtest/gtest.h>

#include "EngDebug.h"
#include "support/TestSupport.h"

namespace vztest
{

// The debug log starts afresh in dir/log.txt and is reset again after the test.
class LoggedTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        DebugResetForTests();
        ASSERT_TRUE(DebugSetLogFilename(dir.File("log.txt").c_str(), 1));
    }
    void TearDown() override { DebugResetForTests(); }

    TempDir dir;
};

} // namespace vztest
