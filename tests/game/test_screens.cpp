// The screen set with the main menu and the play screen's bar, on a toolkit
// without a device: widgets and their states, the flow between the screens,
// and the saved game written on leaving play.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

#include "GameTestSupport.h"
#include "MWin/MWin.h"
#include "MWin/MWinButton.h"
#include "MWin/MWinCollection.h"
#include "MWin/MWinWindow.h"
#include "game/Game.h"
#include "game/InGameScreen.h"
#include "game/MainScreen.h"
#include "game/VizavuSave.h"
#include "game/VizavuScreens.h"

namespace
{

// The game object with a window but no device, as between window and device creation.
class WindowedGame : public Game
{
public:
    WindowedGame()
    {
        window = new EngWindow();
        eng_main_window = window;
    }
};

class Screens : public gametest::GameTest
{
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        game_hooks_current_screen = 0;
        mw = new MWin(&game);
        ASSERT_TRUE(mw->Startup());
        screens = new VizavuScreens(&game, mw);
        screens->SetupAllScreens();
        screens->StartScreen(MAIN_SCREEN_ID, -1);
    }

    void TearDown() override
    {
        delete screens;
        delete mw;
        GameTest::TearDown();
    }

    // Acts on a widget the way the toolkit does: through its window's controller.
    void Press(MWinButton* b)
    {
        ASSERT_NE(b, nullptr);
        MWinCollectionController* cc = b->GetParent()->GetController(1);
        ASSERT_NE(cc, nullptr);
        EXPECT_TRUE(cc->ButtonsCallback(b, nullptr));
    }

    std::string Text(MWinButton* b) { return b && b->GetTextP() ? b->GetTextP() : "<none>"; }

    // Places one number in the first empty cell.
    void PlaceANumber()
    {
        for (int c = 0; c < 9; c++)
            for (int r = 0; r < 9; r++)
                if (!board[c][r].number)
                {
                    cur_sel_set = true;
                    cur_sel_col = c;
                    cur_sel_row = r;
                    eng_key_down[VIZAVU_COMMAND_KEY] = 2;
                    VizavuKeyDownCB('5');
                    eng_key_down[VIZAVU_COMMAND_KEY] = 0;
                    return;
                }
    }

    WindowedGame game;
    MWin* mw = nullptr;
    VizavuScreens* screens = nullptr;
};

TEST_F(Screens, MainMenuStartsWithEveryWidgetAndTheFirstPuzzle)
{
    EXPECT_EQ(screens->GetCurrentScreen(), MAIN_SCREEN_ID);
    EXPECT_EQ(VizavuGetCurrentScreenID(), MAIN_SCREEN_ID);
    ASSERT_NE(mwinMainMainWindow, nullptr);
    MWinButton* all[] = {mwinMainMainTitleButton,    mwinMainMainFrameButton,     mwinMainMainStartButton,
                         mwinMainMainPrevButton,     mwinMainMainTrackHScrollbar, mwinMainMainNextButton,
                         mwinMainMainPrevDiffButton, mwinMainMainDiffButton,      mwinMainMainNextDiffButton,
                         mwinMainMainResetButton,    mwinMainMainPrintButton,     mwinMainMainOptionsButton,
                         mwinMainMainGamesButton,    mwinMainMainAboutButton,     mwinMainMainExitButton};
    for (MWinButton* b : all)
        EXPECT_NE(b, nullptr);
    EXPECT_EQ(Text(mwinMainMainDiffButton), "Easy Level");
    EXPECT_EQ(Text(mwinMainMainTrackHScrollbar), "Easy Puzzle #1");
    EXPECT_EQ(Text(mwinMainMainStartButton), "Start");
    EXPECT_FALSE(mwinMainMainResetButton->IsEnabled());
    EXPECT_FALSE(mwinMainMainPrevButton->IsEnabled());
    EXPECT_TRUE(mwinMainMainNextButton->IsEnabled());
    EXPECT_FALSE(mwinMainMainPrevDiffButton->IsEnabled());
    EXPECT_TRUE(mwinMainMainNextDiffButton->IsEnabled());
    // The preview fills the frame with square cells.
    _Dimension frame;
    mwinMainMainFrameButton->GetActualArea(&frame);
    const _Dimension& b = board_dimensions_main[BOARD_DIM_BOARD];
    EXPECT_GE(b.x, frame.x);
    EXPECT_LE(b.x + b.w, frame.x + frame.w + 0.01f);
    EXPECT_NEAR(b.w * eng_main_window_x_ratio, b.h * eng_main_window_y_ratio, 0.01f);
}

TEST_F(Screens, PreviewLiesSquareInsideTheFrameAtEveryWindowShape)
{
    struct Case
    {
        int w, h;
    } cases[] = {{1024, 768}, {600, 900}, {1920, 480}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.w) + " x " + std::to_string(c.h));
        gametest::SetWindowSize(c.w, c.h);
        screens->ReloadCurrentScreen();
        ASSERT_NE(mwinMainMainFrameButton, nullptr);
        _Dimension frame;
        mwinMainMainFrameButton->GetActualArea(&frame);
        // What the preview is drawn in: the board layout made from the frame.
        const _Dimension& b = board_dimensions[BOARD_DIM_BOARD];
        const float e = 0.01f;
        EXPECT_GE(b.x, frame.x - e);
        EXPECT_GE(b.y, frame.y - e);
        EXPECT_LE(b.x + b.w, frame.x + frame.w + e);
        EXPECT_LE(b.y + b.h, frame.y + frame.h + e);
        EXPECT_NEAR(b.w * eng_main_window_x_ratio, b.h * eng_main_window_y_ratio, 0.01f)
            << "square on screen";
        float fill = std::max(b.w / frame.w, b.h / frame.h);
        EXPECT_NEAR(fill, 1, e) << "as large as the frame allows";
        EXPECT_NEAR(b.x + b.w / 2, frame.x + frame.w / 2, e) << "centred";
        EXPECT_NEAR(b.y + b.h / 2, frame.y + frame.h / 2, e);
    }
}

TEST_F(Screens, LevelAndPuzzleSteppingStaysInRange)
{
    struct Case
    {
        const char* name;
        int level, puzzle, other_puzzle; // other_puzzle: the stored puzzle of the level after a level change
        MWinButton** button;
        int want_level, want_puzzle;
        const char* want_track;
        bool prev, next, prev_diff, next_diff;
    };
    const Case cases[] = {
        {"next at the last", 0, 99, 0, &mwinMainMainNextButton, 0, 99, "Easy Puzzle #100", true, false, false,
         true},
        {"next", 0, 5, 0, &mwinMainMainNextButton, 0, 6, "Easy Puzzle #7", true, true, false, true},
        {"prev at the first", 2, 0, 0, &mwinMainMainPrevButton, 2, 0, "Hard Puzzle #1", false, true, true,
         true},
        {"prev", 2, 7, 0, &mwinMainMainPrevButton, 2, 6, "Hard Puzzle #7", true, true, true, true},
        {"next level, its puzzle at 0", 0, 3, 0, &mwinMainMainNextDiffButton, 1, 0, "Medium Puzzle #1", false,
         true, true, true},
        {"next level steps its puzzle back", 0, 3, 5, &mwinMainMainNextDiffButton, 1, 4, "Medium Puzzle #5",
         true, true, true, true},
        {"next level at the last", 4, 3, 0, &mwinMainMainNextDiffButton, 4, 2, "Master Puzzle #3", true, true,
         true, false},
        {"previous level", 4, 3, 8, &mwinMainMainPrevDiffButton, 3, 7, "Extreme Puzzle #8", true, true, true,
         true},
        {"level caption steps back", 1, 3, 0, &mwinMainMainDiffButton, 1, 2, "Medium Puzzle #3", true, true,
         true, true},
    };
    const char* const captions[] = {"Easy Level", "Medium Level", "Hard Level", "Extreme Level", "Master Level"};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        OptionsSetDefaults();
        options.cur_level = c.level;
        options.levels[c.level].cur_puzzle = c.puzzle;
        int other = c.button == &mwinMainMainPrevDiffButton ? c.level - 1 : c.level + 1;
        if (other >= 0 && other < 5 && other != c.level)
            options.levels[other].cur_puzzle = c.other_puzzle;
        MainControlSelect(0);
        Press(*c.button);
        EXPECT_EQ(options.cur_level, c.want_level);
        EXPECT_EQ(options.levels[c.want_level].cur_puzzle, c.want_puzzle);
        EXPECT_EQ(Text(mwinMainMainTrackHScrollbar), c.want_track);
        EXPECT_EQ(Text(mwinMainMainDiffButton), captions[c.want_level]);
        EXPECT_EQ(bool(mwinMainMainPrevButton->IsEnabled()), c.prev);
        EXPECT_EQ(bool(mwinMainMainNextButton->IsEnabled()), c.next);
        EXPECT_EQ(bool(mwinMainMainPrevDiffButton->IsEnabled()), c.prev_diff);
        EXPECT_EQ(bool(mwinMainMainNextDiffButton->IsEnabled()), c.next_diff);
    }
}

TEST_F(Screens, PlayThenMenuSavesAndTheMainMenuOffersResume)
{
    options.cur_level = 1;
    options.levels[1].cur_puzzle = 4;
    MainControlSelect(0);
    Press(mwinMainMainStartButton);
    EXPECT_EQ(screens->GetCurrentScreen(), IN_GAME_SCREEN_ID);
    EXPECT_EQ(screens->GetPreviousScreen(), MAIN_SCREEN_ID);
    EXPECT_EQ(options.levels[1].opened[4], 1);
    EXPECT_EQ(mwinMainMainWindow, nullptr); // the menu's widgets went with its screen
    ASSERT_NE(mwinInGameInGameUndoButton, nullptr);
    ASSERT_NE(mwinInGameInGameMenuButton, nullptr);
    EXPECT_EQ(mwinInGameInGameWindow->GetEscapeButton(), mwinInGameInGameMenuButton);
    EXPECT_FALSE(mwinInGameInGameUndoButton->IsEnabled());

    PlaceANumber();
    EXPECT_TRUE(mwinInGameInGameUndoButton->IsEnabled());
    Press(mwinInGameInGameUndoButton);
    EXPECT_FALSE(mwinInGameInGameUndoButton->IsEnabled());
    PlaceANumber();

    Press(mwinInGameInGameMenuButton);
    EXPECT_EQ(screens->GetCurrentScreen(), MAIN_SCREEN_ID);
    EXPECT_TRUE(vztest::FileExists(DataFile("SavedGamesFull14.dat")));
    EXPECT_EQ(Text(mwinMainMainStartButton), "Resume");
    EXPECT_TRUE(mwinMainMainResetButton->IsEnabled());
    EXPECT_EQ(Text(mwinMainMainTrackHScrollbar), "Medium Puzzle #5");
}

TEST_F(Screens, SolvedGameIsShownAndResetNeedsOk)
{
    Press(mwinMainMainStartButton);
    std::string solution = gametest::Solve(VizavuGetLayout(0, 0));
    ASSERT_EQ(solution.size(), 81u);
    VizavuAddCurrentStateForUndos();
    for (int i = 0; i < 81; i++)
        board[i % 9][i / 9].number = solution[i] - '0';
    VizavuCheckState();
    ASSERT_TRUE(VizavuIsSolved());
    InGameMenuCB();
    EXPECT_EQ(Text(mwinMainMainStartButton), "Show");

    Press(mwinMainMainResetButton);
    EXPECT_TRUE(mw->PopupIsOn());
    MainControlAfterResetPopupCB(mw, 0, nullptr); // Cancel
    EXPECT_EQ(Text(mwinMainMainStartButton), "Show");
    MainControlAfterResetPopupCB(mw, 1, nullptr);
    EXPECT_EQ(Text(mwinMainMainStartButton), "Start");
    EXPECT_FALSE(mwinMainMainResetButton->IsEnabled());
}

TEST_F(Screens, FailedSaveKeepsThePlayerInPlay)
{
    Press(mwinMainMainStartButton);
    PlaceANumber();
    // A folder where the saved game belongs makes the save fail.
    ASSERT_EQ(mkdir(DataFile("SavedGamesFull00.dat").c_str(), 0700), 0);
    Press(mwinInGameInGameMenuButton);
    EXPECT_EQ(screens->GetCurrentScreen(), IN_GAME_SCREEN_ID);
    EXPECT_TRUE(mw->PopupIsOn());
    EXPECT_EQ(num_undos, 1); // the move is still there
    EXPECT_EQ(vztest::LogCount("Could not save the game"), 1);

    mw->PopupTurnOff();
    ASSERT_EQ(rmdir(DataFile("SavedGamesFull00.dat").c_str()), 0);
    InGameMenuCB();
    EXPECT_EQ(screens->GetCurrentScreen(), MAIN_SCREEN_ID);
    EXPECT_EQ(Text(mwinMainMainStartButton), "Resume");
}

TEST_F(Screens, BarPlacement)
{
    struct Case
    {
        const char* name;
        bool keyboard_only;
        int w, h;
        float win_x, win_y;
        bool shown;
        float menu_x, undo_x;
    };
    const Case cases[] = {
        {"mouse play", false, 640, 480, 460, 190, true, 20, 20},
        {"keyboard only", true, 640, 480, 650, 490, false, 20, 20},
        {"portrait window", false, 480, 640, 0, 440, true, 90, 430},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        gametest::SetWindowSize(c.w, c.h);
        options.keyboard_only = c.keyboard_only;
        MainStartCB();
        ASSERT_NE(mwinInGameInGameWindow, nullptr);
        EXPECT_FLOAT_EQ(mwinInGameInGameWindow->GetOrigArea()->x, c.win_x);
        EXPECT_FLOAT_EQ(mwinInGameInGameWindow->GetOrigArea()->y, c.win_y);
        EXPECT_EQ(bool(mwinInGameInGameMenuButton->IsShown()), c.shown);
        EXPECT_EQ(bool(mwinInGameInGameUndoButton->IsShown()), c.shown);
        EXPECT_FLOAT_EQ(mwinInGameInGameMenuButton->GetOrigArea()->x, c.menu_x);
        EXPECT_FLOAT_EQ(mwinInGameInGameUndoButton->GetOrigArea()->x, c.undo_x);
        // Escape still leaves after saving.
        InGameMenuCB();
        EXPECT_EQ(screens->GetCurrentScreen(), MAIN_SCREEN_ID);
        EXPECT_TRUE(vztest::FileExists(DataFile("SavedGamesFull00.dat")));
    }
}

TEST_F(Screens, EveryScreenIsRegisteredAndBackFollowsWhereEachCameFrom)
{
    EXPECT_EQ(vztest::LogCount("Could not setup program's screens"), 0);
    EXPECT_EQ(screens->GetEngScreens()->GetNumScreens(), 8);
    mw->GotoScreen(OPTIONS_SCREEN_ID);
    EXPECT_EQ(mwinMainMainWindow, nullptr);
    mw->GotoScreen(GRAPHICS_SCREEN_ID);
    EXPECT_EQ(screens->GetCurrentScreen(), GRAPHICS_SCREEN_ID);
    mw->GoBackToPreviousScreen();
    EXPECT_EQ(screens->GetCurrentScreen(), OPTIONS_SCREEN_ID);
    mw->GoBackToPreviousScreen();
    EXPECT_EQ(screens->GetCurrentScreen(), MAIN_SCREEN_ID);
    EXPECT_NE(mwinMainMainWindow, nullptr);
    EXPECT_EQ(Text(mwinMainMainTrackHScrollbar), "Easy Puzzle #1");
}

} // namespace

namespace
{
// Without a toolkit no collection is made, and the log names the screen's own controller.
TEST_F(Screens, ScreensWithoutAToolkitMakeNoCollectionAndSaySo)
{
    MainCC main_cc(screens);
    InGameCC in_game_cc(screens);
    EXPECT_EQ(main_cc.CreateCollection(nullptr), 0);
    EXPECT_TRUE(vztest::Logged("( MainCollectionController::CreateCollection )    No mwinp"));
    EXPECT_EQ(in_game_cc.CreateCollection(nullptr), 0);
    EXPECT_TRUE(vztest::Logged("( InGameCollectionController::CreateCollection )    No mwinp"));

    // No collection is no window, and nothing to log.
    int before = vztest::LogCount("Could not add window");
    EXPECT_EQ(main_cc.AddMainWindowToCollectionNormal(nullptr), nullptr);
    EXPECT_EQ(in_game_cc.AddInGameWindowToCollectionNormal(nullptr), nullptr);
    EXPECT_EQ(vztest::LogCount("Could not add window"), before);
}
} // namespace
