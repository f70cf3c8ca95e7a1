// The game object's start-up results: the display dialog's answer decides
// between going on, a quiet stop and a failure, and the exit frees everything.
#include <gtest/gtest.h>

#include "game/Game.h"
#include "game/ResolutionDialog.h"
#include "support/TestSupport.h"

namespace
{

signed char dialog_result = 1;
signed char FakeDialog()
{
    return dialog_result;
}

class GameStart : public vztest::LogTest
{
protected:
    void SetUp() override
    {
        LogTest::SetUp();
        main_display_settings_dialog = FakeDialog;
    }
    void TearDown() override
    {
        MainExitAndDeleteMainProgram(1);
        main_display_settings_dialog = ResolutionShowAndRunWindow;
        LogTest::TearDown();
    }
    vztest::TempDir dir;
    vztest::ScopedEnv data{"XDG_DATA_HOME", dir.Path().c_str()};
};

TEST_F(GameStart, DialogAnswerDecidesTheStart)
{
    struct Case
    {
        signed char dialog;
        char result;
        int exit_code;
        bool failure_logged;
    };
    const Case cases[] = {
        {1, 1, 99, false},
        {-1, 0, 0, false},
        {0, 0, -1, true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(int(c.dialog));
        dialog_result = c.dialog;
        int code = 99;
        EXPECT_EQ(MainCreateAndInitMainProgram(nullptr, 0, nullptr, &code), c.result);
        EXPECT_EQ(code, c.exit_code);
        EXPECT_EQ(vztest::Logged("Init Failed"), c.failure_logged);
        ASSERT_NE(main_game, nullptr);
        EXPECT_NE(main_mwin, nullptr);
        EXPECT_NE(main_screens, nullptr);
        EXPECT_TRUE(vztest::Logged("Kestrelbay' Vizavu started at "));

        MainExitAndDeleteMainProgram(1);
        EXPECT_EQ(main_game, nullptr);
        EXPECT_EQ(main_mwin, nullptr);
        EXPECT_EQ(main_screens, nullptr);
        EXPECT_EQ(main_font, nullptr);
        EXPECT_EQ(eng_main_program, nullptr);
    }
}

} // namespace
