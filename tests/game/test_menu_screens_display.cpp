// The colour screen inside the whole game on a real window: reached with the
// mouse, its edits show on the screen and the preview, and are saved at exit.
#include <gtest/gtest.h>

#include <GL/glew.h>
#include <SDL2/SDL.h>

#include <cstring>
#include <string>

#include "EngProgram.h"
#include "EngWindow.h"
#include "Linux/EngEvents_LNX.h"
#include "MWin/MWin.h"
#include "MWin/MWinButton.h"
#include "MWin/MWinColourPicker.h"
#include "MWin/MWinHorzScrollbar.h"
#include "game/Board.h"
#include "game/Game.h"
#include "game/GraphicsScreen.h"
#include "game/MainScreen.h"
#include "game/Options.h"
#include "game/ResolutionDialog.h"
#include "game/OptionsScreen.h"
#include "game/Vizavu.h"
#include "game/VizavuScreens.h"
#include "support/TestSupport.h"

#include "GameWindowFixture.h"

namespace
{
struct Rgb
{
    int r, g, b;
};

class ColourScreenRun : public gametest::GameWindowTest
{
protected:
    void Click(MWinButton* b, float fx = 0.5f)
    {
        ASSERT_NE(b, nullptr);
        const _Dimension* a = b->GetActualArea();
        ClickPixel(int((a->x + a->w * fx) * eng_main_window_x_ratio),
                   int((a->y + a->h / 2) * eng_main_window_y_ratio));
        Frames(2);
    }

    // The pointer moved to a point of the 640 x 480 space, as the platform reports it.
    void Motion(float x640, float y480)
    {
        SDL_Event e = {};
        e.type = SDL_MOUSEMOTION;
        e.motion.x = int(x640 * eng_main_window_x_ratio);
        e.motion.y = int(y480 * eng_main_window_y_ratio);
        Send(e);
    }

    // The left button pressed or released where the pointer is.
    void MouseButton(bool down)
    {
        SDL_Event e = {};
        e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        e.button.button = SDL_BUTTON_LEFT;
        e.button.clicks = 1;
        Send(e);
    }

    // A pixel of a frame drawn now, at a point of the 640 x 480 space.
    Rgb Pixel(float x640, float y480)
    {
        main_game->RenderCB();
        unsigned char p[4] = {0, 0, 0, 0};
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        int x = int(x640 * eng_main_window_x_ratio), y = int(y480 * eng_main_window_y_ratio);
        glReadPixels(x, eng_main_window_height - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
        return {p[0], p[1], p[2]};
    }
};

TEST_F(ColourScreenRun, EditsShowAtOnceOnTheScreenAndBoardAndAreSaved)
{
    Start();
    Click(mwinMainMainOptionsButton);
    ASSERT_EQ(GameGetCurrentScreen(), OPTIONS_SCREEN_ID);
    EXPECT_EQ(Pixel(5, 5).r, 0); // black behind the options
    Click(mwinOptionsOptionsGraphicsButton);
    ASSERT_EQ(GameGetCurrentScreen(), GRAPHICS_SCREEN_ID);

    // The clear colour is the set's Screen colour and follows the picker.
    const float* screen = options.colours[options.cur_colour_set][OPTIONS_COL_SCREEN];
    Rgb before = Pixel(5, 5);
    EXPECT_NEAR(before.r, int(screen[0] * 255 + 0.5f), 2);
    EXPECT_NEAR(before.b, int(screen[2] * 255 + 0.5f), 2);
    auto* picker = static_cast<MWinColour*>(mwinGraphicsGraphicsColColour);
    ASSERT_NE(picker, nullptr);
    picker->Set(0.9f, 0.1f, 0.1f, 1);
    Frames(1);
    Rgb red = Pixel(5, 5);
    EXPECT_GT(red.r, 200);
    EXPECT_LT(red.g, 60);

    // A board colour re-tints the preview's empty cells two frames later.
    int col = -1, row = -1;
    ASSERT_TRUE(FirstEmptyCell(&col, &row));
    const _BoardCellVars& cell = board_vars[col][row];
    Rgb white = Pixel(cell.x + 2, cell.y + 2);
    EXPECT_GT(white.r, 200);
    Click(mwinGraphicsGraphicsSelChoice, (OPTIONS_COL_BOARD + 0.5f) / OPTIONS_NUM_COLOUR_PARTS);
    ASSERT_EQ(options.cur_colour_part, OPTIONS_COL_BOARD);
    picker->Set(0.1f, 0.2f, 0.9f, 1);
    Frames(3);
    EXPECT_TRUE(main_mwin->IsInputAllowed());
    Rgb blue = Pixel(cell.x + 2, cell.y + 2);
    EXPECT_GT(blue.b, blue.r + 80) << blue.r << "," << blue.g << "," << blue.b;

    // Back to the options: black again; the edits are in the saved options.
    Click(mwinGraphicsGraphicsBackButton);
    ASSERT_EQ(GameGetCurrentScreen(), OPTIONS_SCREEN_ID);
    EXPECT_EQ(Pixel(5, 5).r, 0);
    MainExitAndDeleteMainProgram(1);
    std::string opts = vztest::ReadFile(DataFile("Options.dat"));
    ASSERT_EQ(opts.size(), size_t(OPTIONS_FILE_SIZE));
    Options o;
    memcpy(&o, opts.data(), sizeof(o));
    EXPECT_NEAR(o.colours[0][OPTIONS_COL_SCREEN][0], 0.9f, 0.02f);
    EXPECT_NEAR(o.colours[0][OPTIONS_COL_BOARD][2], 0.9f, 0.02f);
    EXPECT_EQ(o.cur_colour_part, OPTIONS_COL_BOARD);
}

// The pointer comes onto the picker in one motion (a quick mouse, a tap) and
// presses at once: the strip under it takes that first press.
TEST_F(ColourScreenRun, ThePickerTakesAPressRightAfterOneMotionOntoIt)
{
    Start();
    Click(mwinMainMainOptionsButton);
    Click(mwinOptionsOptionsGraphicsButton);
    ASSERT_EQ(GameGetCurrentScreen(), GRAPHICS_SCREEN_ID);
    auto* picker = static_cast<MWinColour*>(mwinGraphicsGraphicsColColour);
    ASSERT_NE(picker, nullptr);
    struct Case
    {
        const char* what;
        int strip; // 0 hue, 1 saturation, 2 brightness
        bool drag; // drag the thumb, else press the track away from it
    } cases[] = {
        {"dragging the hue thumb", 0, true},
        {"pressing the saturation track", 1, false},
        {"dragging the brightness thumb", 2, true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        // Away from the picker first, so that nothing of it has the focus.
        Motion(5, 5);
        ASSERT_FALSE(picker->IsFocused());
        MWinHorzScrollbar* sb = picker->GetScrollbar(c.strip);
        ASSERT_NE(sb, nullptr);
        const _Dimension* a = sb->GetActualArea();
        float thumb = sb->GetScreenXPos();
        float x = thumb + 2, to = x + (thumb < a->x + a->w / 2 ? 50 : -50);
        if (!c.drag)
            x = to = thumb < a->x + a->w / 2 ? a->x + a->w - 12 : a->x + 12;
        const float y = a->y + a->h / 2;
        const float parts_before[3] = {picker->GetHue(), picker->GetSaturation(), picker->GetBrightness()};
        const float* col = options.colours[options.cur_colour_set][options.cur_colour_part];
        const float col_before[3] = {col[0], col[1], col[2]};

        Motion(x, y);
        MouseButton(true);
        if (c.drag)
            Motion(to, y);
        MouseButton(false);
        Frames(1);
        const float parts[3] = {picker->GetHue(), picker->GetSaturation(), picker->GetBrightness()};
        EXPECT_NE(parts[c.strip], parts_before[c.strip]);
        EXPECT_TRUE(col[0] != col_before[0] || col[1] != col_before[1] || col[2] != col_before[2])
            << "the edited colour follows";
    }
}

} // namespace
