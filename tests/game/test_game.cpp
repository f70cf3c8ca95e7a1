// The game object's start-up results: the display dialog's answer decides
// between going on, a quiet stop and a failure, the exit frees everything,
// and a data folder that cannot be made is named in the box that says so.
#include <gtest/gtest.h>

#include <string>

#include "EngMiscStrings.h"
#include "EngUnicode.h"
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
    // The start looks into the Desktop folder: never the real one.
    vztest::ScopedEnv home{"HOME", dir.Path().c_str()};
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

// The box for a data folder that cannot be made names the folder: whole
// when the box holds it, else its start and its end around "...", never
// split inside a character, and the box's own words stay whole after it.
TEST_F(GameStart, NothingWillBeSavedBoxNamesTheFolderHoweverLong)
{
    const std::string head =
        "Your settings and saved games cannot be kept: the game could not make its folder\n";
    const std::string tail =
        "\n\nYou can play, and a puzzle you leave can be resumed until you quit, but nothing "
        "is kept after that.";
    const size_t room = ENG_POPUP_TEXT_MAX - head.size() - tail.size();
    const std::string below = "/Kestrelbay/Kestrelbay Vizavu";
    // Under a file, so that no folder of it can be made, then path parts of
    // two-byte characters to the length asked for.
    vztest::WriteFile(dir.File("blocker"), "a file, not a folder");
    auto data_path = [&](size_t folder_length)
    {
        std::string p = dir.File("blocker") + "/d";
        for (size_t part = 1; p.size() + below.size() < folder_length;)
        {
            const size_t left = folder_length - p.size() - below.size();
            if (part >= 200 && left > 2)
            {
                p += "/";
                part = 0;
            }
            // A two-byte character, or one byte where only one is left.
            p += left == 1 ? "x" : "\xC3\xA9";
            part += left == 1 ? 1 : 2;
        }
        return p;
    };
    const struct
    {
        const char* name;
        size_t length; // of the folder
        bool whole;
    } cases[] = {
        {"a short folder", 0, true},
        {"as long as the box holds", room, true},
        {"one byte more", room + 1, false},
        {"about 3,000 bytes", 3000, false},
    };
    dialog_result = -1;
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        const std::string data = data_path(c.length);
        vztest::ScopedEnv env("XDG_DATA_HOME", data.c_str());
        const std::string folder = data + below;
        ASSERT_TRUE(c.length == 0 || folder.size() == c.length) << folder.size();
        vztest::PopupRecorder popups;
        int code = 0;
        MainCreateAndInitMainProgram(nullptr, 0, nullptr, &code);
        MainExitAndDeleteMainProgram(1);
        ASSERT_EQ(popups.Popups().size(), 1u);
        EXPECT_EQ(popups.Popups()[0].title, "Nothing Will Be Saved");
        const std::string text = popups.Popups()[0].text;
        ASSERT_EQ(text.rfind(head, 0), 0u) << text;
        ASSERT_GE(text.size(), head.size() + tail.size()) << text;
        ASSERT_EQ(text.compare(text.size() - tail.size(), tail.size(), tail), 0) << text;
        const std::string shown = text.substr(head.size(), text.size() - head.size() - tail.size());
        EXPECT_EQ(EngLatin1FromUtf8(shown.c_str(), '?').find('?'), std::string::npos) << "a character split";
        if (c.whole)
        {
            EXPECT_EQ(shown, folder);
            continue;
        }
        const size_t dots = shown.find("...");
        ASSERT_NE(dots, std::string::npos) << shown;
        EXPECT_EQ(folder.rfind(shown.substr(0, dots), 0), 0u) << "the start of the folder";
        const std::string end = shown.substr(dots + 3);
        EXPECT_EQ(folder.compare(folder.size() - end.size(), end.size(), end), 0) << "the end of the folder";
        EXPECT_NE(end.find(below), std::string::npos);
        EXPECT_LE(shown.size(), room);
        EXPECT_GE(shown.size() + 3, room) << "the room the box has is used";
    }
}

} // namespace
