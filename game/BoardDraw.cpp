// Board drawing: tinted pictures, text colours, the board with its notes,
// numbers, pads, selection highlight and the solved or wrong mark.
#include "BoardDraw.h"

#include <algorithm>

#include "EngDebug.h"
#include "EngDevice.h"
#include "EngFile.h"
#include "EngFont.h"
#include "EngTga.h"
#include "Game.h"
#include "Options.h"
#include "Vizavu.h"

EngTexture s_board_tex;
EngTexture s_borders_tex[8];
EngTexture s_num_sel_tex[2];
EngTexture s_check_tex[2];
EngTexture s_high2_tex;
bool bg_dark = false;
_ColourRGBA font_orig_col = {0, 0, 0, 1};
_ColourRGBA font_main_col = {0, 0, 0, 1};
_ColourRGBA font_small_norm_col = {0, 0, 0, 0.6f};
_ColourRGBA font_small_bold_col = {0, 0, 0, 1};

namespace
{
const char* const BOARD_FILE = "Board.tga";
const char* const BORDERS_FILE = "Borders.tga";
const char* const BORDERS2_FILE = "Borders2.tga";
const char* const NUM_SEL_FILE = "NumSel256.tga";

const float* CurrentColour(int part)
{
    int set = options.cur_colour_set;
    if (set < 0 || set >= OPTIONS_NUM_COLOUR_SETS)
        set = 0;
    return options.colours[set][part];
}

struct BorderPiece
{
    _TexCoords tc;
};

// Texture coordinates (left, top, right, bottom) of the eight border pieces.
const float border_tcs[8][4] = {
    {0.002f, 0.1f, 0.6f, 0.9f}, {0.6f, 0.1f, 0.002f, 0.9f}, {0.002f, 0.9f, 0.6f, 0.1f},
    {0.6f, 0.9f, 0.002f, 0.1f}, {0.1f, 0.4f, 0.9f, 0.998f}, {0.1f, 0.998f, 0.9f, 0.4f},
    {0.9f, 0.4f, 0.1f, 0.998f}, {0.9f, 0.998f, 0.1f, 0.4f},
};

void BorderRect(int piece, const _Dimension& b, float t, _Dimension* out)
{
    float x = b.x, y = b.y, w = b.w, h = b.h;
    switch (piece)
    {
    case 0:
        *out = {x - t / 2, y - t, w / 2 + t / 2, t};
        break;
    case 1:
        *out = {x + w / 2, y - t, w / 2 + t / 2, t};
        break;
    case 2:
        *out = {x - t / 2, y + h, w / 2 + t / 2, t};
        break;
    case 3:
        *out = {x + w / 2, y + h, w / 2 + t / 2, t};
        break;
    case 4:
        *out = {x - t, y + h / 2, t, h / 2 + t / 2};
        break;
    case 5:
        *out = {x - t, y - t / 2, t, h / 2 + t / 2};
        break;
    case 6:
        *out = {x + w, y + h / 2, t, h / 2 + t / 2};
        break;
    default:
        *out = {x + w, y - t / 2, t, h / 2 + t / 2};
        break;
    }
}

void SetCol(_ColourRGBA* c, const float* rgb, float a)
{
    c->r = rgb[0];
    c->g = rgb[1];
    c->b = rgb[2];
    c->a = a;
}

void DrawAt(EngTexture* t, const _Dimension* d)
{
    if (!t->IsOk())
        return;
    t->PositionRatioed(d);
    t->Draw();
}

void DrawLabel(int digit, float x, float y)
{
    char s[2] = {char('0' + digit), 0};
    main_font->DrawStringAlign(x, y, 1, 1, s, 0);
}
} // namespace

bool BoardIsColourDark(const float colour[3])
{
    return std::max(colour[0], std::max(colour[1], colour[2])) <= 0.5f;
}

void BoardTintPixels(unsigned char* p, long count, const float a[3], const float b[3])
{
    for (long i = 0; i < count; i++, p += 4)
    {
        // Byte order blue, green, red, alpha.
        float m = std::max(p[2], std::max(p[1], p[0])) / 255.0f;
        for (int ch = 0; ch < 3; ch++)
        {
            // Channel ch of the colours is red, green, blue; byte 2 - ch.
            float v = (a[ch] * m + b[ch] * (1.0f - m)) * 255.0f;
            v = std::min(255.0f, std::max(0.0f, v));
            p[2 - ch] = (unsigned char)(int)v;
        }
    }
}

char BoardSetBoardBgColours(const char* file, EngTexture* texture, char)
{
    if (!file || !file[0])
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No filename.");
        return 0;
    }
    if (EngFileIsThereButNotRegular(file, __PRETTY_FUNCTION__))
        return 0;
    if (!EngFileExists(file))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "File does not exist [%s].", file);
        return 0;
    }
    if (!texture)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No tex.");
        return 0;
    }
    texture->Destroy();
    EngTga tga;
    int fw = 0, fh = 0, fbpp = 0;
    // The loader widens pictures to 32 bits: the file itself must be a 32-bit mask.
    if (!tga.GetSizeFromFile(file, &fw, &fh, &fbpp) || fbpp != 32 || !tga.LoadFromFile(file, 1) ||
        tga.m_bpp != 32 || !tga.m_data)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid tga.");
        return 0;
    }
    if (!texture->CreateEmptyTexture(tga.m_width, tga.m_height, 1))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not create texture for <%s>", file);
        return 0;
    }
    const float* a = CurrentColour(OPTIONS_COL_BOARD);
    const float* b = CurrentColour(OPTIONS_COL_LINES);
    bg_dark = BoardIsColourDark(a);
    BoardTintPixels(reinterpret_cast<unsigned char*>(tga.m_data), long(tga.m_width) * tga.m_height, a, b);
    char ok = tga.FillTexture(texture);
    tga.Destroy();
    if (!ok)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Could not fill texture from <%s>", file);
        texture->Destroy();
    }
    return ok;
}

char BoardUpdateBoardBgColour()
{
    BoardSetBoardBgColours(BOARD_FILE, &s_board_tex, 0);
    for (int i = 0; i < 8; i++)
        BoardSetBoardBgColours(i < 4 ? BORDERS_FILE : BORDERS2_FILE, &s_borders_tex[i], 0);
    BoardUpdateTexturePositions();
    return 1;
}

char BoardUpdateNumbersBgColour()
{
    BoardSetBoardBgColours(NUM_SEL_FILE, &s_num_sel_tex[BOARD_PAD_NUMBERS], 0);
    BoardUpdateTexturePositions();
    return 1;
}

char BoardUpdateNotesBgColour()
{
    s_num_sel_tex[BOARD_PAD_NOTES].Destroy();
    BoardSetBoardBgColours(NUM_SEL_FILE, &s_num_sel_tex[BOARD_PAD_NOTES], 0);
    BoardUpdateTexturePositions();
    return 1;
}

char BoardCreateGraphics()
{
    BoardUpdateBoardBgColour();
    BoardUpdateNumbersBgColour();
    BoardUpdateNotesBgColour();
    if (!s_check_tex[0].LoadFromTgaFile("Check.tga", 1, 2, 0))
        return 0;
    if (!s_check_tex[1].LoadFromTgaFile("Check2.tga", 1, 2, 0))
        return 0;
    BoardUpdateTexturePositions();
    return 1;
}

void BoardDestroyGraphics()
{
    s_board_tex.Destroy();
    for (EngTexture& t : s_borders_tex)
        t.Destroy();
    for (EngTexture& t : s_num_sel_tex)
        t.Destroy();
    for (EngTexture& t : s_check_tex)
        t.Destroy();
}

void VizavuUpdateOrigTextColour()
{
    SetCol(&font_orig_col, CurrentColour(OPTIONS_COL_PUZZLE_NUMBERS), 1.0f);
}

void VizavuUpdateNormTextColour()
{
    SetCol(&font_main_col, CurrentColour(OPTIONS_COL_PLACED_NUMBERS), 1.0f);
}

void VizavuUpdateNoteTextColour()
{
    SetCol(&font_small_norm_col, CurrentColour(OPTIONS_COL_NOTES), 0.6f);
    SetCol(&font_small_bold_col, CurrentColour(OPTIONS_COL_NOTES), 1.0f);
}

char VizavuCreateGraphics()
{
    if (!BoardCreateGraphics())
        return 0;
    VizavuUpdateOrigTextColour();
    VizavuUpdateNormTextColour();
    VizavuUpdateNoteTextColour();
    if (!s_high2_tex.LoadFromJpegFile("High2.jpg", 0, 0, 0))
        return 0;
    return 1;
}

void VizavuDestroyGraphics()
{
    BoardDestroyGraphics();
    s_high2_tex.Destroy();
}

void BoardUpdateTexturePositions()
{
    const _Dimension& b = board_dimensions[BOARD_DIM_BOARD];
    if (s_board_tex.IsOk())
        s_board_tex.PositionRatioed(&b);
    for (EngTexture& t : s_check_tex)
        if (t.IsOk())
            t.PositionRatioed(&b);
    for (int k = 0; k < 2; k++)
        if (s_num_sel_tex[k].IsOk())
            s_num_sel_tex[k].PositionRatioed(&board_dimensions[BOARD_DIM_NUMBER_PAD + k]);
    for (int i = 0; i < 8; i++)
    {
        if (!s_borders_tex[i].IsOk())
            continue;
        _Dimension d;
        BorderRect(i, b, borders_size, &d);
        s_borders_tex[i].PositionRatioed(&d);
        s_borders_tex[i].SetTextureCoordinates(border_tcs[i][0], border_tcs[i][1], border_tcs[i][2],
                                               border_tcs[i][3]);
    }
}

void SudoukSetFontScale(_Vector2d* scale)
{
    if (main_font && scale)
        main_font->SetScale(scale);
}

void BoardRenderBoardNumber(int digit, _BoardCellVars* cell)
{
    if (digit <= 0 || digit > 9 || !cell || !main_font)
        return;
    DrawLabel(digit, cell->centre_x, cell->centre_y);
}

void BoardRenderBoard(char mode)
{
    EngDevice* dev = eng_main_device;
    if (!dev)
        return;
    char entered = dev->PrepareFor2DWithOrientationIfNeeded(1);
    dev->SetTransformMatrixIdentityWithOrientation();

    dev->EnableBlendingType(0);
    for (EngTexture& t : s_borders_tex)
        if (t.IsOk())
            t.Draw();
    for (int i = 0; i < 9; i++)
        DrawAt(&s_board_tex, &board_dimensions[BOARD_DIM_FIRST_BOX + i]);
    BoardUpdateTexturePositions();

    bool pads = mode == 2 || (mode == 1 && !options.keyboard_only);
    if (pads)
        for (EngTexture& t : s_num_sel_tex)
            if (t.IsOk())
                t.Draw();
    dev->DisableBlending();

    if (main_font && main_font->IsCreated())
    {
        EngFontPrepareForDrawingWithOrientation(char(1));
        SudoukSetFontScale(&font_small_scale);
        for (int c = 0; c < 9; c++)
            for (int r = 0; r < 9; r++)
                for (int d = 1; d <= 9; d++)
                {
                    EngUInt8 n = board[c][r].notes_on[d];
                    if (!n || board[c][r].number > 0)
                        continue;
                    main_font->SetColour(n == 2 ? &font_small_bold_col : &font_small_norm_col);
                    DrawLabel(d, board_vars[c][r].note_pos[d].x, board_vars[c][r].note_pos[d].y);
                }
        SudoukSetFontScale(&font_main_scale);
        for (int c = 0; c < 9; c++)
            for (int r = 0; r < 9; r++)
                if (board[c][r].number > 0)
                {
                    main_font->SetColour(board[c][r].given ? &font_orig_col : &font_main_col);
                    BoardRenderBoardNumber(board[c][r].number, &board_vars[c][r]);
                }
        if (pads)
        {
            main_font->SetColour(&font_main_col);
            for (int i = 0; i < 3; i++)
                for (int j = 0; j < 3; j++)
                    BoardRenderBoardNumber(side_boards_vars[BOARD_PAD_NUMBERS][i][j].digit,
                                           &side_boards_vars[BOARD_PAD_NUMBERS][i][j]);
            SudoukSetFontScale(&font_small_scale);
            main_font->SetColour(&font_small_norm_col);
            for (int i = 0; i < 3; i++)
                for (int j = 0; j < 3; j++)
                    BoardRenderBoardNumber(side_boards_vars[BOARD_PAD_NOTES][i][j].digit,
                                           &side_boards_vars[BOARD_PAD_NOTES][i][j]);
        }
        EngFontRestoreAfterDrawing();
    }

    if (puzzle_done == VIZAVU_SOLVED || puzzle_done == VIZAVU_FULL_WRONG)
    {
        EngTexture* mark = &s_check_tex[puzzle_done == VIZAVU_SOLVED ? 0 : 1];
        if (mark->IsOk())
        {
            dev->EnableBlendingType(9);
            mark->PositionRatioed(&board_dimensions[BOARD_DIM_BOARD]);
            mark->Draw();
            dev->DisableBlending();
        }
    }
    if (entered)
        dev->RestoreAfter2D();
}

void VizavuRender()
{
    BoardRenderBoard(1);
    if (!cur_sel_set || cur_sel_col < 0 || cur_sel_col > 8 || cur_sel_row < 0 || cur_sel_row > 8 ||
        !s_high2_tex.IsOk())
        return;
    EngDevice* dev = eng_main_device;
    if (!dev)
        return;
    char entered = dev->PrepareFor2DWithOrientationIfNeeded(1);
    dev->EnableBlendingType(bg_dark ? 17 : 14);
    const _BoardCellVars& v = board_vars[cur_sel_col][cur_sel_row];
    _Dimension d = {v.x, v.y, v.width, v.height};
    DrawAt(&s_high2_tex, &d);
    if (!options.keyboard_only)
    {
        const VizavuCell& cell = board[cur_sel_col][cur_sel_row];
        for (int i = 0; i < 3; i++)
            for (int j = 0; j < 3; j++)
            {
                const _BoardCellVars& n = side_boards_vars[BOARD_PAD_NUMBERS][i][j];
                if (cell.number > 0 && n.digit == cell.number)
                {
                    _Dimension nd = {n.x, n.y, n.width, n.height};
                    DrawAt(&s_high2_tex, &nd);
                }
                const _BoardCellVars& t = side_boards_vars[BOARD_PAD_NOTES][i][j];
                if (cell.notes_on[t.digit])
                {
                    _Dimension td = {t.x, t.y, t.width, t.height};
                    DrawAt(&s_high2_tex, &td);
                }
            }
    }
    dev->DisableBlending();
    if (entered)
        dev->RestoreAfter2D();
}
