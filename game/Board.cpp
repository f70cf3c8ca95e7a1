// Board layout and the colour-part hit test.
#include "Board.h"

#include <cstring>

#include "GameHooks.h"
#include "EngResModes.h"
#include "EngWindow.h"
#include "Game.h"
#include "Options.h"
#include "Vizavu.h"

namespace
{
const EngUInt32 SCREEN_MAIN = EngFourCC('M', 'A', 'I', 'N');
const EngUInt32 SCREEN_GRAPHICS = EngFourCC('G', 'R', 'A', 'P');

void SetCell(_BoardCellVars* v, float x, float y, float w, float h)
{
    v->x = x;
    v->y = y;
    v->width = w;
    v->height = h;
    v->right = x + w;
    v->bottom = y + h;
    v->centre_x = x + w / 2;
    v->centre_y = y + h / 2;
}

bool NearEdge(float p, float edge)
{
    return p >= edge - 2 && p < edge + 2;
}

// Within 2 units of one of the rectangle's edges.
bool OnLines(const _BoardCellVars& v, float px, float py)
{
    if ((NearEdge(px, v.x) || NearEdge(px, v.right)) && py >= v.y && py < v.bottom)
        return true;
    return (NearEdge(py, v.y) || NearEdge(py, v.bottom)) && px >= v.x && px < v.right;
}

bool Near(float px, float py, float x, float y, float d)
{
    float dx = px - x, dy = py - y;
    return dx >= -d && dx <= d && dy >= -d && dy <= d;
}

bool Inside(const _Dimension& d, float px, float py)
{
    return px >= d.x && px < d.x + d.w && py >= d.y && py < d.y + d.h;
}
} // namespace

_Dimension board_dimensions[BOARD_NUM_DIMENSIONS];
_Dimension board_dimensions_main[BOARD_NUM_DIMENSIONS] = {
    {120, 140, 400, 220}, {470, 25, 120, 160}, {470, 295, 120, 160}};
_Dimension board_dimensions_graphics[BOARD_NUM_DIMENSIONS] = {
    {20, 240, 200, 220}, {240, 237, 90, 110}, {240, 353, 90, 110}};
const _Dimension board_dimensions_no_mouse[BOARD_NUM_DIMENSIONS] = {
    {130, 25, 380, 430}, {470, 25, 120, 160}, {470, 295, 120, 160}};
const _Dimension board_dimensions_norm_port[BOARD_NUM_DIMENSIONS] = {
    {25, 15, 590, 268}, {20, 300, 260, 140}, {360, 300, 260, 140}};
const _Dimension board_dimensions_norm[BOARD_NUM_DIMENSIONS] = {
    {55, 25, 380, 430}, {470, 25, 120, 160}, {470, 295, 120, 160}};

_BoardCellVars board_vars[9][9];
_BoardCellVars side_boards_vars[2][3][3];

const _Vector2d font_scale = {1.0f, 2.0f};
const float font_small_scale_mult = 0.5f;
_Vector2d font_main_scale, font_small_scale;
float borders_size = 4.0f;

void VizavuInitDimensions()
{
    board_cursor_col = board_cursor_row = -1;
    for (int p = 0; p < 2; p++)
        sel_part_col[p] = sel_part_row[p] = -1;
    cur_sel_set = false;

    EngUInt32 screen = VizavuGetCurrentScreenID();
    if (screen == SCREEN_MAIN || screen == SCREEN_GRAPHICS)
    {
        font_main_scale = {font_scale.x * 0.6f, font_scale.y * 0.6f};
        font_small_scale = {font_scale.x * font_small_scale_mult * 0.6f,
                            font_scale.y * font_small_scale_mult * 0.6f * 0.7f};
    }
    else
    {
        font_main_scale = font_scale;
        font_small_scale = {font_scale.x * font_small_scale_mult, font_scale.y * font_small_scale_mult};
    }
    font_main_scale.x *= eng_main_window_x_widescreen_ratio;
    font_small_scale.x *= eng_main_window_x_widescreen_ratio;
    font_main_scale.y *= eng_main_window_y_narrowscreen_ratio;
    font_small_scale.y *= eng_main_window_y_narrowscreen_ratio;

    BoardInitDimensions();
}

void BoardMakeDimensionsSquare(const _Dimension* outer, _Dimension* inner)
{
    if (!outer || !inner)
        return;
    _Dimension o = *outer;
    float w = inner->w, h = inner->h;
    float rx = eng_main_window_x_ratio, ry = eng_main_window_y_ratio;
    float pw = w * rx, ph = h * ry;
    // A degenerate rectangle or window cannot be squared; leave it as it is.
    if (!(pw > 0) || !(ph > 0))
        return;
    if (pw > ph)
        w = w * ph / pw;
    else
        h = h * pw / ph;
    inner->w = w;
    inner->h = h;
    inner->x = o.x + (o.w - w) / 2;
    inner->y = o.y + (o.h - h) / 2;
}

void BoardInitDimensions()
{
    EngUInt32 screen = VizavuGetCurrentScreenID();
    const _Dimension* preset;
    if (screen == SCREEN_MAIN)
        preset = board_dimensions_main;
    else if (screen == SCREEN_GRAPHICS)
        preset = board_dimensions_graphics;
    else if (options.keyboard_only)
        preset = board_dimensions_no_mouse;
    else if (eng_main_window_portraited)
        preset = board_dimensions_norm_port;
    else
        preset = board_dimensions_norm;
    memcpy(board_dimensions, preset, sizeof(board_dimensions));

    if (screen != SCREEN_MAIN)
        for (int i = BOARD_DIM_BOARD; i <= BOARD_DIM_NOTE_PAD; i++)
            BoardMakeDimensionsSquare(&preset[i], &board_dimensions[i]);

    _Dimension& b = board_dimensions[BOARD_DIM_BOARD];
    _Dimension& num = board_dimensions[BOARD_DIM_NUMBER_PAD];
    _Dimension& note = board_dimensions[BOARD_DIM_NOTE_PAD];
    if (screen == SCREEN_GRAPHICS)
    {
        num.x = note.x = b.x + b.w + 15;
        note.y = b.y + b.h / 2 + 5;
        num.y = b.y + b.h / 2 - num.h - 5;
    }

    for (int i = 0; i < 3; i++)
        for (int j = 0; j < 3; j++)
            board_dimensions[BOARD_DIM_FIRST_BOX + i * 3 + j] = {b.x + i * b.w / 3, b.y + j * b.h / 3, b.w / 3,
                                                                 b.h / 3};

    float cw = b.w / 9, ch = b.h / 9;
    for (int c = 0; c < 9; c++)
        for (int r = 0; r < 9; r++)
        {
            _BoardCellVars* v = &board_vars[c][r];
            memset(v, 0, sizeof(*v));
            SetCell(v, b.x + c * cw, b.y + r * ch, cw, ch);
            for (int d = 1; d <= 9; d++)
            {
                int k = d - 1;
                float nx = v->centre_x, ny = v->centre_y;
                if (k % 3 == 0)
                    nx -= cw / 3;
                else if (k % 3 == 2)
                    nx += cw / 3;
                if (k / 3 == 0)
                    ny -= ch / 3.4f;
                else if (k / 3 == 2)
                    ny += ch / 3.4f;
                v->note_pos[d] = {nx, ny};
            }
        }

    for (int k = 0; k < 2; k++)
    {
        const _Dimension& p = board_dimensions[BOARD_DIM_NUMBER_PAD + k];
        for (int i = 0; i < 3; i++)
            for (int j = 0; j < 3; j++)
            {
                _BoardCellVars* v = &side_boards_vars[k][i][j];
                memset(v, 0, sizeof(*v));
                SetCell(v, p.x + i * p.w / 3, p.y + j * p.h / 3, p.w / 3, p.h / 3);
                v->digit = i + 3 * j + 1;
            }
    }
}

int BoardGetColourPartFromMousePress()
{
    float px = cursor_x, py = cursor_y;
    for (int c = 0; c < 9; c++)
        for (int r = 0; r < 9; r++)
        {
            const _BoardCellVars& v = board_vars[c][r];
            const VizavuCell& cell = board[c][r];
            for (int d = 1; d <= 9; d++)
                if (cell.notes_on[d] && Near(px, py, v.note_pos[d].x, v.note_pos[d].y, 5))
                    return OPTIONS_COL_NOTES;
            if (cell.number > 0 && Near(px, py, v.centre_x, v.centre_y, 7))
                return cell.given ? OPTIONS_COL_PUZZLE_NUMBERS : OPTIONS_COL_PLACED_NUMBERS;
            if (OnLines(v, px, py))
                return OPTIONS_COL_LINES;
        }

    const _Dimension& b = board_dimensions[BOARD_DIM_BOARD];
    if (Inside(b, px, py))
        return OPTIONS_COL_BOARD;
    float t = borders_size;
    bool in_height = py >= b.y && py < b.y + b.h;
    bool in_width = px >= b.x && px < b.x + b.w;
    if (in_height && ((px >= b.x - t && px < b.x) || (px >= b.x + b.w && px < b.x + b.w + t)))
        return OPTIONS_COL_LINES;
    if (in_width && ((py >= b.y - t && py < b.y) || (py >= b.y + b.h && py < b.y + b.h + t)))
        return OPTIONS_COL_LINES;

    for (int k = 0; k < 2; k++)
        for (int i = 0; i < 3; i++)
            for (int j = 0; j < 3; j++)
            {
                const _BoardCellVars& v = side_boards_vars[k][i][j];
                if (OnLines(v, px, py))
                    return OPTIONS_COL_LINES;
                if (Near(px, py, v.centre_x, v.centre_y, k == BOARD_PAD_NUMBERS ? 5.0f : 3.0f))
                    return k == BOARD_PAD_NUMBERS ? OPTIONS_COL_PLACED_NUMBERS : OPTIONS_COL_NOTES;
            }

    if (Inside(board_dimensions[BOARD_DIM_NUMBER_PAD], px, py) || Inside(board_dimensions[BOARD_DIM_NOTE_PAD], px, py))
        return OPTIONS_COL_BOARD;
    return 0;
}
