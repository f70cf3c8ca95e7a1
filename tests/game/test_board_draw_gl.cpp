// Board drawing on a GL device: pads only where they belong, the wrong-board
// mark, and a highlight that darkens a light board and lightens a dark one.
#include <unistd.h>

#include <climits>

#include "../GL/GLFixture.h"
#include "game/Board.h"
#include "game/BoardDraw.h"
#include "game/GameHooks.h"
#include "game/GraphicsControl.h"
#include "game/Options.h"
#include "game/Vizavu.h"
#include "support/ResourcePath.h"

namespace
{

const EngUInt32 SCREEN_INGA = EngFourCC('I', 'N', 'G', 'A');

class BoardDrawGL : public vztest::GLDevice
{
protected:
    void SetUp() override
    {
        GLDevice::SetUp();
        ASSERT_NE(getcwd(old_cwd, sizeof(old_cwd)), nullptr);
        ASSERT_EQ(chdir(vztest::ResourcePath(".").c_str()), 0);
        eng_main_window_x_widescreen_ratio = eng_main_window_y_narrowscreen_ratio = 1;
        GraphicsControlSetDefaultOptions();
        memset(board, 0, sizeof(board));
        puzzle_done = VIZAVU_IN_PROGRESS;
        game_hooks_current_screen = SCREEN_INGA;
    }
    void TearDown() override
    {
        VizavuDestroyGraphics();
        options.keyboard_only = 0;
        game_hooks_current_screen = 0;
        cur_sel_set = false;
        EXPECT_EQ(chdir(old_cwd), 0);
        GLDevice::TearDown();
    }
    void Build()
    {
        VizavuInitDimensions();
        ASSERT_EQ(VizavuCreateGraphics(), 1);
    }
    void Draw(char mode)
    {
        ClearTo(0, 0, 1);
        if (mode == 1)
            VizavuRender();
        else
            BoardRenderBoard(mode);
    }
    static int Lum(vztest::Rgba p) { return p.r + p.g + p.b; }
    // Window pixel at the middle of a 640 x 480 rectangle.
    static vztest::Rgba Middle(const _Dimension& d)
    {
        return Pixel(int((d.x + d.w / 2) * eng_main_window_x_ratio),
                     int((d.y + d.h / 2) * eng_main_window_y_ratio));
    }
    static vztest::Rgba CellCentre(int c, int r)
    {
        const _BoardCellVars& v = board_vars[c][r];
        return Pixel(int(v.centre_x * eng_main_window_x_ratio), int(v.centre_y * eng_main_window_y_ratio));
    }

    char old_cwd[PATH_MAX] = {};
};

TEST_F(BoardDrawGL, PadsOnlyInPlayWithTheMouseAndOnTheColourScreen)
{
    Build();
    const _Dimension pad = board_dimensions[BOARD_DIM_NUMBER_PAD];
    Draw(1);
    EXPECT_NE(Middle(pad).b, 255) << "play with the mouse draws the pads";
    EXPECT_NE(Middle(board_dimensions[BOARD_DIM_BOARD]).b, 255) << "the board is drawn";
    Draw(0);
    EXPECT_EQ(Middle(pad).b, 255) << "the menu preview has no pads";

    options.keyboard_only = 1;
    Draw(1);
    EXPECT_EQ(Middle(pad).b, 255) << "keyboard-only play has no pads";
    Draw(2);
    EXPECT_NE(Middle(pad).b, 255) << "the colour screen always shows them";
}

TEST_F(BoardDrawGL, WrongBoardMarkComesAndGoes)
{
    Build();
    Draw(1);
    const _Dimension& b = board_dimensions[BOARD_DIM_BOARD];
    // Compare a band of pixels across the board with and without the mark.
    auto band = [&]()
    {
        long sum = 0;
        for (int i = 1; i < 40; i++)
            sum += Lum(Pixel(int((b.x + b.w * i / 40) * eng_main_window_x_ratio),
                             int((b.y + b.h * i / 40) * eng_main_window_y_ratio)));
        return sum;
    };
    long plain = band();
    puzzle_done = VIZAVU_FULL_WRONG;
    Draw(1);
    long marked = band();
    EXPECT_NE(marked, plain);
    puzzle_done = VIZAVU_IN_PROGRESS;
    Draw(1);
    EXPECT_EQ(band(), plain);
}

TEST_F(BoardDrawGL, HighlightDarkensALightBoardAndLightensADarkOne)
{
    struct Case
    {
        float grey;
        bool lighter;
    };
    for (Case c : {Case{0.9f, false}, Case{0.5f, true}})
    {
        SCOPED_TRACE(c.grey);
        for (int k = 0; k < 3; k++)
            options.colours[0][OPTIONS_COL_BOARD][k] = c.grey;
        Build();
        EXPECT_EQ(bg_dark, c.lighter);
        cur_sel_set = false;
        Draw(1);
        int before = Lum(CellCentre(4, 4));
        cur_sel_set = true;
        cur_sel_col = cur_sel_row = 4;
        Draw(1);
        int after = Lum(CellCentre(4, 4));
        if (c.lighter)
            EXPECT_GT(after, before);
        else
            EXPECT_LT(after, before);
        VizavuDestroyGraphics();
    }
}

} // namespace
