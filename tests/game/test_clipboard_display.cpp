// The clipboard on a real (virtual) display: round trips, buffer limits, and
// copy and paste in a text field of the running game.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <cstring>
#include <string>

#include "EngDebug.h"
#include "MWin/MWinButton.h"
#include "MWin/MWinWindow.h"
#include "game/MainScreen.h"
#include "game/Various.h"
#include "support/TestSupport.h"

#include "GameWindowFixture.h"

class Clipboard : public vztest::LogTest
{
};

TEST_F(Clipboard, CopyAndPasteWithinTheBuffer)
{
    struct Case
    {
        const char* text;
        int size;
        char expect;
    } cases[] = {
        {"12345678", 10, 1}, {"123456789", 10, 0}, // a buffer of n bytes takes at most n - 2 characters
        {"x", 3, 1},         {"x", 2, 0},          {"gr\xc3\xbc\xc3\x9f", 16, 1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.text);
        ASSERT_EQ(1, VariousCopyClipboardFromString(c.text));
        char buf[32];
        memset(buf, '#', sizeof(buf));
        EXPECT_EQ(c.expect, VariousPasteClipboardToString(buf, c.size));
        if (c.expect)
        {
            EXPECT_STREQ(c.text, buf);
        }
        EXPECT_EQ('#', buf[c.size]) << "wrote past the buffer";
    }
    // An empty text leaves the clipboard as it was.
    ASSERT_EQ(1, VariousCopyClipboardFromString("kept"));
    EXPECT_EQ(0, VariousCopyClipboardFromString(""));
    char buf[16];
    ASSERT_EQ(1, VariousPasteClipboardToString(buf, sizeof(buf)));
    EXPECT_STREQ("kept", buf);
}

class GameClipboard : public gametest::GameWindowTest
{
};

TEST_F(GameClipboard, CtrlVPastesIntoATextFieldAndCtrlCCopiesItsText)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NE(mwinMainMainStartButton, nullptr);
    MWinButton* field = mwinMainMainStartButton->GetParent()->AddButton(
        "Name", MWIN_BUTTON_TEXT_EDIT, MWIN_TEXBUT_DEFAULT, "", 20, 20, 140, 30);
    ASSERT_NE(field, nullptr);
    field->TextEditSetLength(20);
    ClickPixel(int(90 * eng_main_window_x_ratio), int(35 * eng_main_window_y_ratio));
    ASSERT_TRUE(field->IsTextBeingEditing());

    ASSERT_EQ(1, VariousCopyClipboardFromString("pasted"));
    Key(SDLK_v, KMOD_LCTRL);
    EXPECT_STREQ(field->TextEditGetText(), "pasted");

    ASSERT_EQ(1, VariousCopyClipboardFromString("other"));
    Key(SDLK_c, KMOD_LCTRL);
    char buf[32];
    ASSERT_EQ(1, VariousPasteClipboardToString(buf, sizeof(buf)));
    EXPECT_STREQ(buf, "pasted");
}
