// Board layout: presets, squaring in window pixels, cells, notes and pads,
// hover, and the colour-part hit test.
#include <cmath>

#include "GameTestSupport.h"

using namespace gametest;

namespace
{

class Layout : public GameTest
{
protected:
    void Layout_(EngUInt32 screen, int w, int h, bool keyboard_only = false)
    {
        game_hooks_current_screen = screen;
        SetWindowSize(w, h);
        options.keyboard_only = keyboard_only;
        VizavuInitDimensions();
    }
    static void ExpectRect(const _Dimension& d, float x, float y, float w, float h)
    {
        EXPECT_FLOAT_EQ(d.x, x);
        EXPECT_FLOAT_EQ(d.y, y);
        EXPECT_FLOAT_EQ(d.w, w);
        EXPECT_FLOAT_EQ(d.h, h);
    }
};

TEST_F(Layout, PlayScreenBoardAndPadsAreSquareAndCentred)
{
    struct
    {
        int w, h;
        _Dimension board, number_pad, note_pad;
    } cases[] = {
        {640, 480, {55, 50, 380, 380}, {470, 45, 120, 120}, {470, 315, 120, 120}},
        {1024, 768, {55, 50, 380, 380}, {470, 45, 120, 120}, {470, 315, 120, 120}},
        {1280, 480, {137.5f, 25, 215, 430}, {490, 25, 80, 160}, {490, 295, 80, 160}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.w) + " x " + std::to_string(c.h));
        Layout_(SCREEN_IN_GAME, c.w, c.h);
        ExpectRect(board_dimensions[BOARD_DIM_BOARD], c.board.x, c.board.y, c.board.w, c.board.h);
        ExpectRect(board_dimensions[BOARD_DIM_NUMBER_PAD], c.number_pad.x, c.number_pad.y, c.number_pad.w,
                   c.number_pad.h);
        ExpectRect(board_dimensions[BOARD_DIM_NOTE_PAD], c.note_pad.x, c.note_pad.y, c.note_pad.w, c.note_pad.h);
        for (int i = BOARD_DIM_BOARD; i <= BOARD_DIM_NOTE_PAD; i++)
        {
            const _Dimension& d = board_dimensions[i];
            EXPECT_FLOAT_EQ(d.w * eng_main_window_x_ratio, d.h * eng_main_window_y_ratio) << "rect " << i;
            EXPECT_FLOAT_EQ(d.x + d.w / 2, board_dimensions_norm[i].x + board_dimensions_norm[i].w / 2);
            EXPECT_FLOAT_EQ(d.y + d.h / 2, board_dimensions_norm[i].y + board_dimensions_norm[i].h / 2);
        }
    }
}

TEST_F(Layout, PresetByScreenKeyboardAndOrientation)
{
    struct
    {
        const char* name;
        EngUInt32 screen;
        int w, h;
        bool keyboard_only;
        _Dimension board, number_pad, note_pad;
    } cases[] = {
        {"main menu is not squared", SCREEN_MAIN, 1280, 480, false, {120, 140, 400, 220}, {470, 25, 120, 160},
         {470, 295, 120, 160}},
        {"main menu wins over keyboard only", SCREEN_MAIN, 640, 480, true, {120, 140, 400, 220},
         {470, 25, 120, 160}, {470, 295, 120, 160}},
        {"colour screen pads follow the board", SCREEN_GRAPHICS, 640, 480, false, {20, 250, 200, 200},
         {235, 255, 90, 90}, {235, 355, 90, 90}},
        {"keyboard only", SCREEN_IN_GAME, 640, 480, true, {130, 50, 380, 380}, {470, 45, 120, 120},
         {470, 315, 120, 120}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        Layout_(c.screen, c.w, c.h, c.keyboard_only);
        ExpectRect(board_dimensions[BOARD_DIM_BOARD], c.board.x, c.board.y, c.board.w, c.board.h);
        ExpectRect(board_dimensions[BOARD_DIM_NUMBER_PAD], c.number_pad.x, c.number_pad.y, c.number_pad.w,
                   c.number_pad.h);
        ExpectRect(board_dimensions[BOARD_DIM_NOTE_PAD], c.note_pad.x, c.note_pad.y, c.note_pad.w, c.note_pad.h);
    }
}

TEST_F(Layout, PortraitWindowUsesThePortraitPreset)
{
    Layout_(SCREEN_IN_GAME, 480, 640);
    const _Dimension& b = board_dimensions[BOARD_DIM_BOARD];
    EXPECT_FLOAT_EQ(b.w * eng_main_window_x_ratio, b.h * eng_main_window_y_ratio);
    EXPECT_FLOAT_EQ(b.x + b.w / 2, 25 + 590 / 2.0f);
    EXPECT_FLOAT_EQ(b.y + b.h / 2, 15 + 268 / 2.0f);
    EXPECT_LT(board_dimensions[BOARD_DIM_NUMBER_PAD].x, board_dimensions[BOARD_DIM_NOTE_PAD].x);
    EXPECT_GT(board_dimensions[BOARD_DIM_NUMBER_PAD].y, b.y + b.h);
}

TEST_F(Layout, BoxesCellsNotesAndPadButtons)
{
    for (int size : {0, 1})
    {
        Layout_(SCREEN_IN_GAME, size ? 1280 : 640, 480);
        const _Dimension b = board_dimensions[BOARD_DIM_BOARD];
        float cw = b.w / 9, ch = b.h / 9;
        for (int i = 0; i < 3; i++)
            for (int j = 0; j < 3; j++)
                ExpectRect(board_dimensions[BOARD_DIM_FIRST_BOX + i * 3 + j], b.x + i * b.w / 3, b.y + j * b.h / 3,
                           b.w / 3, b.h / 3);
        for (int c = 0; c < 9; c += 4)
            for (int r = 0; r < 9; r += 4)
            {
                const _BoardCellVars& v = board_vars[c][r];
                EXPECT_FLOAT_EQ(v.x, b.x + c * cw);
                EXPECT_FLOAT_EQ(v.y, b.y + r * ch);
                EXPECT_FLOAT_EQ(v.right, v.x + cw);
                EXPECT_FLOAT_EQ(v.bottom, v.y + ch);
                EXPECT_FLOAT_EQ(v.centre_x, v.x + cw / 2);
                EXPECT_FLOAT_EQ(v.centre_y, v.y + ch / 2);
                EXPECT_EQ(v.digit, 0);
                // Notes sit on a 3 x 3 grid like the pad: 1 top left, 5 centre, 9 bottom right.
                EXPECT_FLOAT_EQ(v.note_pos[1].x, v.centre_x - cw / 3);
                EXPECT_FLOAT_EQ(v.note_pos[1].y, v.centre_y - ch / 3.4f);
                EXPECT_FLOAT_EQ(v.note_pos[5].x, v.centre_x);
                EXPECT_FLOAT_EQ(v.note_pos[5].y, v.centre_y);
                EXPECT_FLOAT_EQ(v.note_pos[6].x, v.centre_x + cw / 3);
                EXPECT_FLOAT_EQ(v.note_pos[6].y, v.centre_y);
                EXPECT_FLOAT_EQ(v.note_pos[9].x, v.centre_x + cw / 3);
                EXPECT_FLOAT_EQ(v.note_pos[9].y, v.centre_y + ch / 3.4f);
            }
        for (int k = 0; k < 2; k++)
        {
            const _Dimension& p = board_dimensions[BOARD_DIM_NUMBER_PAD + k];
            for (int i = 0; i < 3; i++)
                for (int j = 0; j < 3; j++)
                {
                    const _BoardCellVars& v = side_boards_vars[k][i][j];
                    EXPECT_FLOAT_EQ(v.x, p.x + i * p.w / 3);
                    EXPECT_FLOAT_EQ(v.y, p.y + j * p.h / 3);
                    EXPECT_FLOAT_EQ(v.width, p.w / 3);
                    EXPECT_FLOAT_EQ(v.height, p.h / 3);
                    EXPECT_EQ(v.digit, i + 3 * j + 1);
                }
        }
    }
}

TEST_F(Layout, SquaringADegenerateRectangleLeavesItAlone)
{
    SetWindowSize(640, 480);
    _Dimension outer = {10, 20, 0, 50}, inner = outer;
    BoardMakeDimensionsSquare(&outer, &inner);
    EXPECT_FLOAT_EQ(inner.w, 0);
    EXPECT_FLOAT_EQ(inner.h, 50);
    EXPECT_FALSE(std::isnan(inner.x));
}

TEST_F(Layout, HoverFindsTheCellOrPadButtonUnderTheMouse)
{
    Layout_(SCREEN_IN_GAME, 1024, 768);
    const _BoardCellVars& cell = board_vars[4][7];
    // Window pixels: the 640 x 480 position times the ratio.
    VizavuMoveMouse(int(cell.centre_x * 1.6f), int(cell.centre_y * 1.6f));
    EXPECT_EQ(board_cursor_col, 4);
    EXPECT_EQ(board_cursor_row, 7);
    EXPECT_EQ(sel_part_col[0], -1);

    VizavuDoMoveMouse(board_vars[3][0].x, board_vars[3][0].y); // a shared edge belongs to the right cell
    EXPECT_EQ(board_cursor_col, 3);
    EXPECT_EQ(board_cursor_row, 0);

    const _BoardCellVars& pad = side_boards_vars[BOARD_PAD_NOTES][2][1];
    VizavuDoMoveMouse(pad.centre_x, pad.centre_y);
    EXPECT_EQ(board_cursor_col, -1);
    EXPECT_EQ(sel_part_col[BOARD_PAD_NOTES], 2);
    EXPECT_EQ(sel_part_row[BOARD_PAD_NOTES], 1);
    EXPECT_EQ(sel_part_col[BOARD_PAD_NUMBERS], -1);

    const _Dimension& b = board_dimensions[BOARD_DIM_BOARD];
    VizavuDoMoveMouse(b.x + b.w, b.y); // right edge is outside
    EXPECT_EQ(board_cursor_col, -1);
}

TEST_F(Layout, ColourPartUnderTheMouse)
{
    Layout_(SCREEN_GRAPHICS, 640, 480);
    // Level 0 puzzle 0: (1, 1) is a given 8, (0, 0) is empty.
    board[2][0].number = 4;
    board[0][0].notes_on[7] = 1;
    const _BoardCellVars& given = board_vars[1][1];
    const _BoardCellVars& placed = board_vars[2][0];
    const _BoardCellVars& empty = board_vars[4][0];
    const _BoardCellVars& noted = board_vars[0][0];
    const _Dimension& b = board_dimensions[BOARD_DIM_BOARD];
    const _BoardCellVars& num = side_boards_vars[BOARD_PAD_NUMBERS][1][1];
    const _BoardCellVars& note = side_boards_vars[BOARD_PAD_NOTES][1][1];
    struct
    {
        const char* name;
        float x, y;
        int part;
    } cases[] = {
        {"given number", given.centre_x + 2, given.centre_y - 2, 3},
        {"placed number", placed.centre_x, placed.centre_y, 4},
        {"note", noted.note_pos[7].x + 1, noted.note_pos[7].y, 5},
        {"cell line", empty.x + 1, empty.centre_y, 2},
        {"empty cell inside", empty.centre_x, empty.centre_y, 1},
        {"border band", b.x - 3, b.y + b.h / 2, 2},
        {"number pad label", num.centre_x + 4, num.centre_y, 4},
        {"note pad label", note.centre_x, note.centre_y + 3, 5},
        {"number pad line", num.x, num.centre_y, 2},
        {"pad inside", note.centre_x + 10, note.centre_y + 10, 1},
        {"nothing", 600, 20, 0},
    };
    for (const auto& c : cases)
    {
        cursor_x = c.x;
        cursor_y = c.y;
        EXPECT_EQ(BoardGetColourPartFromMousePress(), c.part) << c.name;
    }
}

} // namespace
