// The version check with the real dialog windows on a virtual display.
#include <gtest/gtest.h>

#include <string>

#include "EngDebug.h"
#include "SWin.h"
#include "game/Game.h"
#include "game/OnlineHooks.h"
#include "game/Updater.h"
#include "VersionServer.h"
#include "support/HttpTestServer.h"
#include "support/TestSupport.h"

namespace
{
}

class UpdaterWindows : public vztest::LogTest
{
};

TEST_F(UpdaterWindows, CheckOpensAndClosesItsWindow)
{
    vztest::PopupRecorder popups;
    vztest::HttpTestServer server(gametest::VersionIsCurrent);
    up_result_seconds = 0.2;
    for (const char* root : {"", "/nothing-here"})
    {
        SCOPED_TRACE(root);
        OnlineSetSiteRoot(server.Url(root).c_str());
        EXPECT_EQ(0, Updater(UPDATER_PROGRAM_VIZAVU, 1.21f, UPDATER_TYPE_FULL));
        ASSERT_NE(nullptr, up_swin);
        EXPECT_FALSE(up_swin->IsCreated());
        EXPECT_EQ(-1, up_text_but);
    }
    EXPECT_EQ(2u, server.Targets().size());
    EXPECT_TRUE(popups.Popups().empty());
    delete up_swin;
    up_swin = nullptr;
    OnlineSetSiteRoot(nullptr);
}
