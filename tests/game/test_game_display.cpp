// The whole game on a real window: main menu, a puzzle started with the mouse,
// a number placed with Ctrl+digit, Escape back to the menu, files on disk.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <GL/glew.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <stb/stb_image_write.h>

#include "EngDevice.h"
#include "EngFont.h"
#include "EngProgram.h"
#include "EngWindow.h"
#include "Linux/EngEvents_LNX.h"
#include "MWin/MWinButton.h"
#include "game/Board.h"
#include "game/Game.h"
#include "game/InGameScreen.h"
#include "game/MainScreen.h"
#include "MWin/MWin.h"
#include "MWin/MWinPopup.h"
#include "MWin/MWinSettings.h"
#include "MWin/MWinWindow.h"
#include "game/Options.h"
#include "game/OptionsScreen.h"
#include "game/VizavuScreens.h"
#include "game/ResolutionDialog.h"
#include "game/Vizavu.h"
#include "game/VizavuSave.h"
#include "support/TestSupport.h"

#include "GameWindowFixture.h"

namespace
{
const EngUInt32 SCREEN_MAIN = EngFourCC('M', 'A', 'I', 'N');
const EngUInt32 SCREEN_INGA = EngFourCC('I', 'N', 'G', 'A');

bool InArea(const _Dimension& a, float x, float y)
{
    return x >= a.x && x < a.x + a.w && y >= a.y && y < a.y + a.h;
}

class GameRun : public gametest::GameWindowTest
{
protected:
    void Click(float x640, float y480)
    {
        ClickPixel(int(x640 * eng_main_window_x_ratio), int(y480 * eng_main_window_y_ratio));
    }

    // Starts the game and enters play with the menu's Start button.
    void StartAndPlay(int width = 800, int height = 600)
    {
        Start(1, width, height);
        ASSERT_NE(mwinMainMainStartButton, nullptr);
        const _Dimension* a = mwinMainMainStartButton->GetActualArea();
        Click(a->x + a->w / 2, a->y + a->h / 2);
        Frames(2);
        ASSERT_EQ(GameGetCurrentScreen(), SCREEN_INGA);
    }

    // Clicks the first empty cell, row by row, and places digit there with Ctrl.
    void PlaceInFirstEmptyCell(SDL_Keycode key, int digit, int* col, int* row)
    {
        *col = *row = 0;
        while (board[*col][*row].number != 0)
            if (++*col == 9)
            {
                *col = 0;
                ++*row;
            }
        Click(board_vars[*col][*row].centre_x, board_vars[*col][*row].centre_y);
        KeyEvent(SDLK_LCTRL, KMOD_LCTRL, true);
        KeyEvent(key, KMOD_LCTRL, true);
        KeyEvent(SDLK_LCTRL, 0, false);
        ASSERT_EQ(board[*col][*row].number, digit);
    }
};

TEST_F(GameRun, PlacesANumberAndKeepsItInTheSavedGame)
{
    Start();
    ASSERT_EQ(GameGetCurrentScreen(), SCREEN_MAIN);
    ASSERT_NE(mwinMainMainStartButton, nullptr);

    const _Dimension* a = mwinMainMainStartButton->GetActualArea();
    Click(a->x + a->w / 2, a->y + a->h / 2);
    Frames(2);
    ASSERT_EQ(GameGetCurrentScreen(), SCREEN_INGA);
    // In play the screen is cleared with the set's Screen colour.
    float r = -1, g = -1, b = -1;
    eng_main_device->GetClearColour(&r, &g, &b);
    const float* screen_col = options.colours[options.cur_colour_set][OPTIONS_COL_SCREEN];
    EXPECT_NEAR(r, screen_col[0], 1e-3);
    EXPECT_NEAR(g, screen_col[1], 1e-3);
    EXPECT_NEAR(b, screen_col[2], 1e-3);

    int col = -1, row = -1;
    ASSERT_TRUE(FirstEmptyCell(&col, &row));
    Click(board_vars[col][row].centre_x, board_vars[col][row].centre_y);
    ASSERT_TRUE(cur_sel_set);
    ASSERT_EQ(cur_sel_col, col);
    ASSERT_EQ(cur_sel_row, row);

    KeyEvent(SDLK_LCTRL, KMOD_LCTRL, true);
    Key(SDLK_5, KMOD_LCTRL);
    KeyEvent(SDLK_LCTRL, 0, false);
    EXPECT_EQ(board[col][row].number, 5);
    EXPECT_EQ(board[col][row].given, 0);

    // A plain digit is a note, not a number.
    int col2 = (col + 1) % 9, row2 = row;
    while (board[col2][row2].number != 0)
        col2 = (col2 + 1) % 9;
    Click(board_vars[col2][row2].centre_x, board_vars[col2][row2].centre_y);
    Key(SDLK_3);
    EXPECT_EQ(board[col2][row2].number, 0);
    EXPECT_NE(board[col2][row2].notes_on[3], 0);

    Key(SDLK_ESCAPE);
    Frames(2);
    EXPECT_EQ(GameGetCurrentScreen(), SCREEN_MAIN);
    eng_main_device->GetClearColour(&r, &g, &b);
    EXPECT_EQ(r + g + b, 0.0f);

    // The saved game holds the placed number and the note.
    std::string saved = vztest::ReadFile(DataFile("SavedGamesFull00.dat"));
    ASSERT_EQ(saved.size(), size_t(VIZAVU_SAVE_FILE_SIZE));
    VizavuSaveRecord rec;
    memcpy(&rec, saved.data(), sizeof(rec));
    EXPECT_EQ(rec.board[col][row].number, 5);
    EXPECT_NE(rec.board[col2][row2].notes_on[3], 0);
    EXPECT_GE(rec.num_undos, 2);

    // Leaving the program writes the options with the screen it was on.
    MainExitAndDeleteMainProgram(1);
    std::string opts = vztest::ReadFile(DataFile("Options.dat"));
    ASSERT_EQ(opts.size(), size_t(OPTIONS_FILE_SIZE));
    Options o;
    memcpy(&o, opts.data(), sizeof(o));
    EXPECT_EQ(EngUInt32(o.saved_screen), SCREEN_MAIN);
    EXPECT_TRUE(vztest::FileExists(DataFile("Resolution.dat")));
}

// Two taps as the platform delivers them: each a press and a release carrying
// the platform's count of quick clicks in a row (2 for the second of a double
// click, 1 again when the taps were too slow or too far apart).
TEST_F(GameRun, DoubleTapOnAnEmptyAreaReturnsToTheMainMenu)
{
    enum Spot
    {
        EMPTY,
        CELL,
        NUMBER_PAD
    };
    struct Tap
    {
        Spot spot;
        int clicks;
    };
    struct Case
    {
        const char* what;
        bool keyboard_only;
        Tap first, second;
        bool leaves;
    } cases[] = {
        {"double tap on an empty area", false, {EMPTY, 1}, {EMPTY, 2}, true},
        {"two taps the platform counts apart", false, {EMPTY, 1}, {EMPTY, 1}, false},
        {"double tap on a cell", false, {CELL, 1}, {CELL, 2}, false},
        {"double tap on the number pad", false, {NUMBER_PAD, 1}, {NUMBER_PAD, 2}, false},
        {"a tap on a cell, then one on an empty area", false, {CELL, 1}, {EMPTY, 2}, false},
        {"keyboard only: double tap where the pads are hidden", true, {NUMBER_PAD, 1}, {NUMBER_PAD, 2}, true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        Start();
        options.keyboard_only = c.keyboard_only;
        ASSERT_NE(mwinMainMainStartButton, nullptr);
        const _Dimension* a = mwinMainMainStartButton->GetActualArea();
        Click(a->x + a->w / 2, a->y + a->h / 2);
        Frames(2);
        ASSERT_EQ(GameGetCurrentScreen(), SCREEN_INGA);
        remove(DataFile("SavedGamesFull00.dat").c_str());
        // A selected cell, so that every release off the board adds an undo step.
        KeyEvent(SDLK_RIGHT, 0, true);
        ASSERT_TRUE(cur_sel_set);
        int col = 0, row = 0;
        ASSERT_TRUE(FirstEmptyCell(&col, &row));
        const _BoardCellVars& pad = side_boards_vars[BOARD_PAD_NUMBERS][1][1];
        for (const Tap& t : {c.first, c.second})
        {
            float x = 20, y = 240; // left of the board
            if (t.spot == CELL)
            {
                x = board_vars[col][row].centre_x;
                y = board_vars[col][row].centre_y;
            }
            else if (t.spot == NUMBER_PAD)
            {
                x = pad.centre_x;
                y = pad.centre_y;
            }
            ClickPixel(int(x * eng_main_window_x_ratio), int(y * eng_main_window_y_ratio), t.clicks);
        }
        Frames(2);
        if (c.leaves)
        {
            EXPECT_EQ(GameGetCurrentScreen(), SCREEN_MAIN);
            EXPECT_TRUE(vztest::FileExists(DataFile("SavedGamesFull00.dat"))) << "saved on the way out";
        }
        else
        {
            EXPECT_EQ(GameGetCurrentScreen(), SCREEN_INGA);
            if (c.first.spot == EMPTY)
            {
                EXPECT_EQ(num_undos, 2) << "each tap still acts as a single click";
            }
        }
        MainExitAndDeleteMainProgram(1);
        // The next case starts afresh on the main menu.
        remove(DataFile("Options.dat").c_str());
        remove(DataFile("SavedGamesFull00.dat").c_str());
    }
}

TEST_F(GameRun, LeavingDuringPlayResumesThatPuzzleAtTheNextStart)
{
    ASSERT_NO_FATAL_FAILURE(StartAndPlay());
    int col = 0, row = 0;
    ASSERT_NO_FATAL_FAILURE(PlaceInFirstEmptyCell(SDLK_8, 8, &col, &row));

    // Quitting in play saves the puzzle and the screen.
    MainExitAndDeleteMainProgram(1);
    memset(board, 0, sizeof(board));

    Start();
    EXPECT_EQ(GameGetCurrentScreen(), SCREEN_INGA);
    EXPECT_EQ(board[col][row].number, 8);
    EXPECT_TRUE(VizavuCanUndo());
}

TEST_F(GameRun, BarButtonsReachTheToolkitAndEscapeLeavesEvenWithAPopup)
{
    ASSERT_NO_FATAL_FAILURE(StartAndPlay());
    int col = 0, row = 0;
    ASSERT_NO_FATAL_FAILURE(PlaceInFirstEmptyCell(SDLK_4, 4, &col, &row));

    // The bar's Undo button takes the press; the board does not see it.
    ASSERT_NE(mwinInGameInGameUndoButton, nullptr);
    const _Dimension* u = mwinInGameInGameUndoButton->GetActualArea();
    Click(u->x + u->w / 2, u->y + u->h / 2);
    Frames(2);
    EXPECT_EQ(board[col][row].number, 0);
    EXPECT_EQ(GameGetCurrentScreen(), SCREEN_INGA);

    ASSERT_EQ(MWinPopupMessage(main_mwin, "Note", "A message"), 1);
    Frames(1);
    ASSERT_TRUE(main_mwin->PopupIsOn());
    KeyEvent(SDLK_ESCAPE, 0, true);
    Frames(2);
    EXPECT_EQ(GameGetCurrentScreen(), SCREEN_MAIN);
    EXPECT_FALSE(main_mwin->PopupIsOn());
}

// The game's popup title is white at alpha 0.4: its strip must be dark enough
// for that to read.
TEST_F(GameRun, ResetPopupTitleStandsOutFromItsStrip)
{
    ASSERT_NO_FATAL_FAILURE(StartAndPlay(1280, 960));
    int col = 0, row = 0;
    ASSERT_NO_FATAL_FAILURE(PlaceInFirstEmptyCell(SDLK_4, 4, &col, &row));
    Key(SDLK_ESCAPE);
    Frames(2);
    ASSERT_EQ(GameGetCurrentScreen(), SCREEN_MAIN);
    ASSERT_TRUE(mwinMainMainResetButton->IsEnabled());
    const _Dimension* r = mwinMainMainResetButton->GetActualArea();
    Click(r->x + r->w / 2, r->y + r->h / 2);
    Frames(2);
    ASSERT_TRUE(main_mwin->PopupIsOn());
    MWinWindow* pw = MWinPopupGetWindow(main_mwin);
    ASSERT_NE(pw, nullptr);
    EXPECT_STREQ(pw->GetTitle(), "Reset Puzzle");

    main_game->RenderCB();
    const int W = eng_main_window_width, H = eng_main_window_height;
    std::vector<unsigned char> px(size_t(W) * H * 4);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, W, H, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    auto grey = [&](int x, int y)
    {
        const unsigned char* p = &px[(size_t(H - 1 - y) * W + x) * 4];
        return (p[0] + p[1] + p[2]) / 3;
    };
    if (const char* dir = getenv("VZ_SHOT_DIR"))
    {
        std::vector<unsigned char> rgb(size_t(W) * H * 3);
        for (int y = 0; y < H; y++)
            for (int x = 0; x < W; x++)
                for (int c = 0; c < 3; c++)
                    rgb[(size_t(y) * W + x) * 3 + c] = px[(size_t(H - 1 - y) * W + x) * 4 + c];
        stbi_write_png((std::string(dir) + "/reset_popup.png").c_str(), W, H, 3, rgb.data(), W * 3);
    }

    // The title bar's middle, clear of its rounded ends and edges.
    _Dimension wa;
    pw->GetActualArea(&wa);
    const float t = (*pw->GetScreenLayout())[MWIN_LS_TITLE_BAR_HEIGHT];
    const int x0 = int((wa.x + 20) * eng_main_window_x_ratio),
              x1 = int((wa.x + wa.w - 20) * eng_main_window_x_ratio);
    const int y0 = int((wa.y - t + 6) * eng_main_window_y_ratio),
              y1 = int((wa.y - 6) * eng_main_window_y_ratio);
    std::vector<int> counts(256, 0);
    for (int y = y0; y < y1; y++)
        for (int x = x0; x < x1; x++)
            counts[size_t(grey(x, y))]++;
    int strip = 0; // the commonest grey: the strip behind the title
    for (int g = 1; g < 256; g++)
        if (counts[size_t(g)] > counts[size_t(strip)])
            strip = g;
    int ink = 0;
    for (int g = strip + 60; g < 256; g++)
        ink += counts[size_t(g)];
    EXPECT_LT(strip, 100) << "the strip is dark";
    EXPECT_GT(ink, 200) << "the title's letters are clearly lighter than the strip (" << strip << ")";
}

TEST_F(GameRun, AWideWindowKeepsThePlayBoardSquareAfterTheDeviceIsRebuilt)
{
    ASSERT_NO_FATAL_FAILURE(StartAndPlay());

    main_game->GetWindow()->WindowResized(1000, 500);
    Frames(2);
    EXPECT_EQ(GameGetCurrentScreen(), SCREEN_INGA);
    const _Dimension& b = board_dimensions[BOARD_DIM_BOARD];
    EXPECT_NEAR(b.w * eng_main_window_x_ratio, b.h * eng_main_window_y_ratio, 0.5f);
    // Centred in the play preset (55, 25, 380, 430).
    EXPECT_NEAR(b.x + b.w / 2, 55 + 380 / 2.0f, 0.01f);
    EXPECT_NEAR(b.y + b.h / 2, 25 + 430 / 2.0f, 0.01f);
    // The graphics came back with the new device.
    EXPECT_TRUE(main_font->IsCreated());
    EXPECT_TRUE(main_game->GetCornerTexture()->IsOk());
}

// A double click whose first click changes the screen: the second press lands
// on whatever the new screen has under the same spot, and must not act there.
TEST_F(GameRun, ADoubleClickThatChangesTheScreenActsOnlyOnce)
{
    enum From
    {
        MENU_WITH_A_GAME, // the menu, with a started game ("Resume")
        PLAY,
        OPTIONS,
    };
    struct Case
    {
        const char* what;
        From from;
        bool portrait;      // a window taller than wide: the board lies under Start
        MWinButton** first; // clicked twice
        MWinButton** below; // under the same spot on the next screen, if anything
        float x, y;         // the spot
        EngUInt32 ends_on;
    } cases[] = {
        {"Resume, then Undo", MENU_WITH_A_GAME, false, &mwinMainMainStartButton, &mwinInGameInGameUndoButton, 530,
         262, SCREEN_INGA},
        {"portrait: Resume, then a cell", MENU_WITH_A_GAME, true, &mwinMainMainStartButton, nullptr, 530, 262,
         SCREEN_INGA},
        {"Menu, then Start", PLAY, false, &mwinInGameInGameMenuButton, &mwinMainMainStartButton, 530, 229,
         SCREEN_MAIN},
        {"Back, then Options", OPTIONS, false, &mwinOptionsOptionsBackButton, &mwinMainMainOptionsButton, 560, 450,
         SCREEN_MAIN},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        Start();
        if (c.portrait)
        {
            main_game->GetWindow()->WindowResized(600, 800);
            Frames(2);
        }
        const _Dimension* s = mwinMainMainStartButton->GetActualArea();
        Click(s->x + s->w / 2, s->y + s->h / 2);
        Frames(2);
        ASSERT_EQ(GameGetCurrentScreen(), SCREEN_INGA);
        int col = 0, row = 0;
        ASSERT_NO_FATAL_FAILURE(PlaceInFirstEmptyCell(SDLK_6, 6, &col, &row));
        if (c.from != PLAY)
        {
            Key(SDLK_ESCAPE);
            Frames(2);
            ASSERT_EQ(GameGetCurrentScreen(), SCREEN_MAIN);
            ASSERT_STREQ(mwinMainMainStartButton->GetTextP(), "Resume");
        }
        if (c.from == OPTIONS)
        {
            const _Dimension* o = mwinMainMainOptionsButton->GetActualArea();
            Click(o->x + o->w / 2, o->y + o->h / 2);
            Frames(2);
            ASSERT_EQ(GameGetCurrentScreen(), OPTIONS_SCREEN_ID);
        }
        ASSERT_NE(*c.first, nullptr);
        ASSERT_TRUE(InArea(*(*c.first)->GetActualArea(), c.x, c.y));
        VizavuCell before[9][9];
        memcpy(before, board, sizeof(board));
        const int undos = num_undos;
        ASSERT_GT(undos, 0);

        const int px = int(c.x * eng_main_window_x_ratio), py = int(c.y * eng_main_window_y_ratio);
        ClickPixel(px, py, 1);
        ClickPixel(px, py, 2);
        Frames(2);
        EXPECT_EQ(GameGetCurrentScreen(), c.ends_on);
        if (c.ends_on == SCREEN_INGA)
        {
            EXPECT_FALSE(cur_sel_set) << "no cell was selected";
        }
        if (c.portrait)
        {
            EXPECT_GE(board_cursor_col, 0) << "the second press was over a cell";
        }
        if (c.below)
        {
            ASSERT_NE(*c.below, nullptr);
            EXPECT_TRUE(InArea(*(*c.below)->GetActualArea(), c.x, c.y)) << "the second press had a target";
        }
        EXPECT_EQ(memcmp(before, board, sizeof(board)), 0) << "the board is unchanged";
        EXPECT_EQ(num_undos, undos) << "the undo list is unchanged";
        EXPECT_EQ(board[col][row].number, 6);

        // The next click of its own acts on the new screen as always.
        ClickPixel(px, py, 1);
        Frames(2);
        if (c.from == MENU_WITH_A_GAME && !c.portrait)
        {
            EXPECT_EQ(board[col][row].number, 0) << "Undo took the move back";
        }
        else if (c.from != MENU_WITH_A_GAME)
        {
            EXPECT_NE(GameGetCurrentScreen(), SCREEN_MAIN);
        }
        MainExitAndDeleteMainProgram(1);
        remove(DataFile("Options.dat").c_str());
        remove(DataFile("SavedGamesFull00.dat").c_str());
    }
}

// Undo takes back the newest change first, one at a time, whether asked by
// the U key or the bar's button, also after the game was left and resumed;
// the changes come from keys and from both pads.
TEST_F(GameRun, EachUndoBringsBackTheBoardBeforeTheNewestChange)
{
    ASSERT_NO_FATAL_FAILURE(StartAndPlay());
    std::vector<int> empty; // cells as column * 9 + row
    for (int c = 0; c < 9; c++)
        for (int r = 0; r < 9; r++)
            if (board[c][r].number == 0)
                empty.push_back(c * 9 + r);
    ASSERT_GE(empty.size(), 4u);
    auto select = [&](int cell)
    {
        Click(board_vars[cell / 9][cell % 9].centre_x, board_vars[cell / 9][cell % 9].centre_y);
        ASSERT_TRUE(cur_sel_set);
    };
    auto pad = [&](int which, int digit)
    {
        const _BoardCellVars& v = side_boards_vars[which][(digit - 1) % 3][(digit - 1) / 3];
        Click(v.centre_x, v.centre_y);
    };
    auto ctrl_key = [&](SDL_Keycode key)
    {
        KeyEvent(SDLK_LCTRL, KMOD_LCTRL, true);
        Key(key, KMOD_LCTRL);
        KeyEvent(SDLK_LCTRL, 0, false);
    };
    const struct
    {
        const char* what;
        std::function<void()> make;
    } moves[] = {
        {"Ctrl+5 on the first empty cell", [&] { select(empty[0]), ctrl_key(SDLK_5); }},
        {"note 3 by key on the second", [&] { select(empty[1]), Key(SDLK_3); }},
        {"note 7 by key on the second", [&] { Key(SDLK_7); }},
        {"9 from the number pad on the third", [&] { select(empty[2]), pad(BOARD_PAD_NUMBERS, 9); }},
        {"note 2 from the note pad on the fourth", [&] { select(empty[3]), pad(BOARD_PAD_NOTES, 2); }},
        {"Delete on the first", [&] { select(empty[0]), Key(SDLK_DELETE); }},
        {"4 from the number pad on the first", [&] { pad(BOARD_PAD_NUMBERS, 4); }},
    };
    auto snapshot = [] { return std::string(reinterpret_cast<const char*>(&board), sizeof(board)); };
    std::vector<std::string> before; // the board before each move
    for (const auto& m : moves)
    {
        before.push_back(snapshot());
        m.make();
        ASSERT_NE(snapshot(), before.back()) << m.what << " changed nothing";
    }
    ASSERT_EQ(num_undos, int(std::size(moves)));

    // Left and resumed: the undo list comes back from the saved game.
    Key(SDLK_ESCAPE);
    Frames(2);
    ASSERT_EQ(GameGetCurrentScreen(), SCREEN_MAIN);
    ASSERT_STREQ(mwinMainMainStartButton->GetTextP(), "Resume");
    const _Dimension* s = mwinMainMainStartButton->GetActualArea();
    Click(s->x + s->w / 2, s->y + s->h / 2);
    Frames(2);
    ASSERT_EQ(GameGetCurrentScreen(), SCREEN_INGA);

    // Which board a board is, for the messages.
    auto which = [&](const std::string& b)
    {
        for (size_t i = 0; i < before.size(); i++)
            if (before[i] == b)
                return "the board before: " + std::string(moves[i].what);
        return b == snapshot() ? std::string("the board after every move") : std::string("another board");
    };
    for (size_t k = std::size(moves); k-- > 0;)
    {
        SCOPED_TRACE(std::string("undoing ") + moves[k].what);
        if (k % 2)
            Key(SDLK_u);
        else
        {
            const _Dimension* u = mwinInGameInGameUndoButton->GetActualArea();
            Click(u->x + u->w / 2, u->y + u->h / 2);
            Frames(2);
        }
        EXPECT_EQ(num_undos, int(k));
        ASSERT_TRUE(snapshot() == before[k]) << "got " << which(snapshot());
        EXPECT_EQ(mwinInGameInGameUndoButton->IsEnabled() != 0, k > 0);
    }
    Key(SDLK_u);
    EXPECT_TRUE(snapshot() == before[0]) << "an empty list changes nothing, got " << which(snapshot());
}

} // namespace
