// The browser and printing inside the running game: the browser shows each
// game's pictures and text, steps and goes back with the keyboard; printing
// from the menu leaves a picture on the Desktop and says so.
#include <gtest/gtest.h>

#include <GL/glew.h>
#include <SDL2/SDL.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "EngJpeg.h"
#include "EngProgram.h"
#include "EngWindow.h"
#include "Linux/EngEvents_LNX.h"
#include "MWin/MWin.h"
#include "MWin/MWinButton.h"
#include "MWin/MWinPopup.h"
#include "game/Game.h"
#include "game/GameAdsScreen.h"
#include "game/Options.h"
#include "game/Print.h"
#include "game/Vizavu.h"
#include "game/VizavuSave.h"
#include "game/VizavuScreens.h"
#include "support/TestSupport.h"

#include "GameWindowFixture.h"

namespace
{
const EngUInt32 SCREEN_MAIN = EngFourCC('M', 'A', 'I', 'N');

class ExtrasRun : public gametest::GameWindowTest
{
protected:
    std::string desktop;
    signed char (*saved_dialog)() = nullptr;

    void SetUp() override
    {
        desktop = dir.File("Desk");
        ASSERT_EQ(mkdir(desktop.c_str(), 0755), 0);
        vztest::WriteFile(dir.File("user-dirs.dirs"), "XDG_DESKTOP_DIR=\"" + desktop + "\"\n");
        saved_dialog = main_display_settings_dialog;
        Start();
        if (HasFatalFailure())
            return;
        ASSERT_EQ(GameGetCurrentScreen(), SCREEN_MAIN);
    }

    void TearDown() override
    {
        MainExitAndDeleteMainProgram(1);
        main_display_settings_dialog = saved_dialog;
    }

    // Presses a widget of the shown screen as the toolkit would.
    void Press(MWinButton* b)
    {
        ASSERT_NE(b, nullptr);
        ASSERT_TRUE(vizavu_screens->GetGameAdsCC()->ButtonsCallback(b, nullptr));
        Frames(2);
    }

    static std::string Text(MWinButton* b) { return b && b->GetTextP() ? b->GetTextP() : ""; }
};

TEST_F(ExtrasRun, BrowserShowsPicturesStepsAndGoesBack)
{
    options.other_games_index = 0;
    GameAdsPrepareBrowser(vizavu_screens->GetGameAdsCC());
    main_mwin->GotoScreen(GAME_ADS_SCREEN_ID);
    Frames(3);
    ASSERT_EQ(GameGetCurrentScreen(), GAME_ADS_SCREEN_ID);
    EXPECT_EQ(Text(mwinGameAdsMainWinTitleButton), game_ads[0].title);
    ASSERT_NE(GameAdsGetAdTex1P(), nullptr);
    ASSERT_NE(GameAdsGetAdTex2P(), nullptr);
    EXPECT_TRUE(GameAdsGetAdTex1P()->IsOk());
    EXPECT_TRUE(mwinGameAdsMainWinPic1Button->IsCustomBackOn());
    EXPECT_TRUE(mwinGameAdsMainWinPic2Button->IsCustomBackOn());
    Shot("-gads");

    Press(mwinGameAdsMainWinNextButton);
    int row = GameAdsGetCurGameAd();
    EXPECT_GT(row, 0);
    EXPECT_EQ(options.other_games_index, row);
    EXPECT_EQ(Text(mwinGameAdsMainWinTitleButton), game_ads[row].title);
    EXPECT_TRUE(mwinGameAdsMainWinPic1Button->IsCustomBackOn());

    // Escape is the Back button.
    Key(SDLK_ESCAPE);
    Frames(2);
    EXPECT_EQ(GameGetCurrentScreen(), SCREEN_MAIN);
    EXPECT_EQ(GameAdsGetAdTex1P(), nullptr);
}

TEST_F(ExtrasRun, PrintingAnUnstartedPuzzleTellsWhereThePictureIs)
{
    PrintDo();
    Frames(2);
    int level = options.cur_level, puzzle = options.levels[level].cur_puzzle;
    std::string name = std::string("Vizavu ") + level_strs[level] + " " + std::to_string(puzzle + 1) + ".jpg";
    ASSERT_TRUE(vztest::FileExists(desktop + "/" + name));
    // The previewed puzzle's givens are on the paper: the centre of a given's cell is inked.
    unsigned w = 0, h = 0;
    unsigned char* px = EngJpegReadFileToBuffer((desktop + "/" + name).c_str(), &w, &h);
    ASSERT_NE(px, nullptr);
    ASSERT_EQ(w, 1024u);
    int inked = 0, givens = 0;
    for (int c = 0; c < 9; c++)
        for (int r = 0; r < 9; r++)
        {
            if (!board[c][r].given)
                continue;
            givens++;
            int cx = int(43 + (c + 0.5f) * 940 / 9.0f), cy = int(72 + (r + 0.5f) * 942 / 9.0f) - 4;
            int darkest = 255;
            for (int y = cy - 15; y <= cy + 15; y++)
                for (int x = cx - 15; x <= cx + 15; x++)
                    darkest = std::min(darkest, int(px[(size_t(y) * w + x) * 3]));
            inked += darkest < 80;
        }
    free(px);
    EXPECT_GT(givens, 0);
    EXPECT_EQ(inked, givens);
    ASSERT_TRUE(main_mwin->PopupIsOn());
    _MWinPopupSettings* s = MWinPopupGetSettings(main_mwin);
    ASSERT_NE(s->msg, nullptr);
    EXPECT_EQ(Text(s->msg),
              "A file for printing named\n\"" + name + "\"\nhas been placed on your Desktop.\n");
    Shot("-print");
}

TEST_F(ExtrasRun, PrintingAStartedPuzzleAsksWhichStateAndEscapePrintsTheCurrentOne)
{
    saved_puzzle.started = 1;
    int col = -1, row = -1;
    for (int c = 0; c < 9 && col < 0; c++)
        for (int r = 0; r < 9; r++)
            if (!board[c][r].given)
            {
                col = c;
                row = r;
                break;
            }
    ASSERT_GE(col, 0);
    board[col][row].number = 7;
    PrintDo();
    Frames(1);
    ASSERT_TRUE(main_mwin->PopupIsOn());
    EXPECT_EQ(Text(MWinPopupGetSettings(main_mwin)->msg), "Print the original or current puzzle ?");
    EXPECT_EQ(Text(MWinPopupGetButton(main_mwin, MWIN_POPUP_BUT_OK)), "Original");
    EXPECT_EQ(Text(MWinPopupGetButton(main_mwin, MWIN_POPUP_BUT_CANCEL)), "Current");
    Shot("-ask");

    Key(SDLK_ESCAPE);
    Frames(2);
    int level = options.cur_level, puzzle = options.levels[level].cur_puzzle;
    std::string file = desktop + "/Vizavu " + level_strs[level] + " " + std::to_string(puzzle + 1) + ".jpg";
    unsigned w = 0, h = 0;
    unsigned char* px = EngJpegReadFileToBuffer(file.c_str(), &w, &h);
    ASSERT_NE(px, nullptr);
    // The player's 7 is printed in dark grey.
    int cx = int(43 + (col + 0.5f) * 940 / 9.0f), cy = int(72 + (row + 0.5f) * 942 / 9.0f) - 4;
    int darkest = 255;
    for (int y = cy - 15; y <= cy + 15; y++)
        for (int x = cx - 15; x <= cx + 15; x++)
            darkest = std::min(darkest, int(px[(size_t(y) * w + x) * 3]));
    free(px);
    EXPECT_LT(darkest, 140);
    EXPECT_GT(darkest, 40);
    saved_puzzle.started = 0;
}

} // namespace
