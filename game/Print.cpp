// Printing the chosen puzzle into a picture file.
#include "Print.h"

#include <cstdio>
#include <cstring>

#include "EngDebug.h"
#include "EngFile.h"
#include "EngFont.h"
#include "EngJpeg.h"
#include "EngMain.h"
#include "EngMiscPlatform.h"
#include "EngTexture.h"
#include "Game.h"
#include "EngProgram.h"
#include "MWin/MWinPopup.h"
#include "OnlineHooks.h"
#include "Options.h"
#include "Vizavu.h"
#include "VizavuSave.h"

namespace
{
const char* PRINT_BOARD_PICTURE = "BoardPrint.jpg";

struct FontState
{
    float sx, sy;
    _ColourRGBA colour;
};

void DrawCentred(EngFont* font, EngTexture* texture, const char* text, float x, float y, float sx, float sy)
{
    char buf[256];
    EngSafeStrcpy(buf, text, sizeof(buf));
    font->DrawToTexture(texture, buf, x, y, sx, sy, 0);
}

bool CurrentLevelAndPuzzle(int* level, int* puzzle)
{
    *level = options.cur_level;
    if (*level < 0 || *level >= VIZAVU_NUM_LEVELS)
        return false;
    *puzzle = options.levels[*level].cur_puzzle;
    return *puzzle >= 0 && *puzzle < VIZAVU_NUM_PUZZLES;
}
} // namespace

char PrintGetFileName(char* out, int size)
{
    if (!out || size <= 0)
        return 0;
    out[0] = 0;
    int level, puzzle;
    if (!CurrentLevelAndPuzzle(&level, &puzzle))
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "Invalid level or puzzle");
        return 0;
    }
    int n = snprintf(out, (size_t)size, "Vizavu %s %d.jpg", level_strs[level], puzzle + 1);
    if (n < 0 || n >= size)
    {
        out[0] = 0;
        return 0;
    }
    return 1;
}

bool PrintIsPictureName(const char* name)
{
    // "Vizavu %s %d.jpg": a level name, then a puzzle 1-100 as %d writes it.
    const char prefix[] = "Vizavu ";
    if (!name || strncmp(name, prefix, sizeof(prefix) - 1) != 0)
        return false;
    const char* p = name + sizeof(prefix) - 1;
    for (const char* level : level_strs)
    {
        size_t n = strlen(level);
        if (strncmp(p, level, n) != 0 || p[n] != ' ')
            continue;
        const char* d = p + n + 1;
        int digits = 0, puzzle = 0;
        while (d[digits] >= '0' && d[digits] <= '9' && digits < 3)
        {
            puzzle = puzzle * 10 + (d[digits] - '0');
            digits++;
        }
        if (digits == 0 || d[0] == '0' || puzzle > VIZAVU_NUM_PUZZLES)
            return false;
        return !strcmp(d + digits, ".jpg");
    }
    return false;
}

int PrintRemoveInterruptedPrints()
{
    char desktop[PRINT_DESKTOP_SIZE];
    if (!EngMiscGetDesktopDirectory(desktop, sizeof(desktop)))
        return 0;
    return EngFileRemoveInterruptedSaves(desktop, PrintIsPictureName);
}

char PrintGetHeader(char* out, int size)
{
    if (!out || size <= 0)
        return 0;
    out[0] = 0;
    int level, puzzle;
    if (!CurrentLevelAndPuzzle(&level, &puzzle))
        return 0;
    int n = snprintf(out, (size_t)size, "%s - %s - %s Puzzle No. %d", MainGetGameName(), ONLINE_WEB_ADDRESS,
                     level_strs[level], puzzle + 1);
    return n >= 0 && n < size;
}

char BoardRenderBoardNumbersForPrinting(EngTexture* texture, char givens_only, int* x_margins, int* y_margins)
{
    EngFont* font = main_font;
    if (!texture || !font || !x_margins || !y_margins)
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No texture, font or margins");
        return 0;
    }
    int level, puzzle;
    if (!CurrentLevelAndPuzzle(&level, &puzzle))
        return 0;
    FontState saved;
    font->GetScale(&saved.sx, &saved.sy);
    font->GetColour(&saved.colour);

    const float w = (float)texture->GetWidth();
    const float h = (float)texture->GetHeight();
    const float cell_w = (w - x_margins[0] - x_margins[1]) / 9.0f;
    const float cell_h = (h - y_margins[0] - y_margins[1]) / 9.0f;
    const float left = (float)x_margins[0];
    const float top = (float)y_margins[0];

    font->SetScale(1, 1);
    font->SetColour(1, 1, 1, 1);
    char header[256];
    PrintGetHeader(header, sizeof(header));
    DrawCentred(font, texture, header, w / 2, 23, 1.2f, 3);

    char digit[2] = {0, 0};
    if (!givens_only)
    {
        for (int c = 0; c < 9; c++)
            for (int r = 0; r < 9; r++)
                for (int d = 1; d <= 9; d++)
                {
                    EngUInt8 note = board[c][r].notes_on[d];
                    if (!note)
                        continue;
                    float grey = note == 2 ? 0.7f : 0.4f;
                    font->SetColour(grey, grey, grey, 1);
                    float x = left + (c + 0.5f) * cell_w + cell_w * ((d - 1) % 3 - 1) * 0.33f;
                    float y = top + (r + 0.5f) * cell_h - 3 + cell_h * ((d - 1) / 3 - 1) * 0.33f;
                    digit[0] = (char)('0' + d);
                    DrawCentred(font, texture, digit, x, y, 0.7f, 2);
                }
    }
    for (int c = 0; c < 9; c++)
        for (int r = 0; r < 9; r++)
        {
            const VizavuCell& cell = board[c][r];
            if (cell.number <= 0 || cell.number > 9 || (givens_only && !cell.given))
                continue;
            if (cell.given)
                font->SetColour(1, 1, 1, 1);
            else
                font->SetColour(0.7f, 0.7f, 0.7f, 1);
            digit[0] = (char)('0' + cell.number);
            DrawCentred(font, texture, digit, left + (c + 0.5f) * cell_w, top + (r + 0.5f) * cell_h - 4, 2,
                        5);
        }

    font->SetScale(saved.sx, saved.sy);
    font->SetColour(&saved.colour);
    return 1;
}

char PrintMakePicture(char givens_only, char* path_out, int size)
{
    if (path_out && size > 0)
        path_out[0] = 0;
    char name[PRINT_NAME_SIZE];
    if (!PrintGetFileName(name, sizeof(name)))
        return 0;
    char desktop[PRINT_DESKTOP_SIZE];
    if (!EngMiscGetDesktopDirectory(desktop, sizeof(desktop)))
        return 0;
    char path[PRINT_DESKTOP_SIZE + PRINT_NAME_SIZE + 1];
    snprintf(path, sizeof(path), "%s/%s", desktop, name);

    // A texture that cannot be had is short of memory; one that cannot be
    // made or loaded has logged its own reason.
    EngTexture texture;
    if (!texture.Create())
    {
        DebugErrorAlt(__PRETTY_FUNCTION__, "No memory.");
        return 0;
    }
    if (!texture.CreateEmptyTexture(PRINT_TEXTURE_SIZE, PRINT_TEXTURE_SIZE, 0))
        return 0;
    {
        EngTexture grid;
        if (!grid.Create())
        {
            DebugErrorAlt(__PRETTY_FUNCTION__, "No memory (2).");
            return 0;
        }
        if (!grid.LoadFromFile(PRINT_BOARD_PICTURE, 0, 0))
            return 0;
        if (!texture.CopyPartFromAnotherTexture(&grid, 0, 0, -1, -1, 30, 60, 964, 964, 0, nullptr))
            return 0;
    }
    int xm[2] = {43, 41};
    int ym[2] = {72, 10};
    if (!BoardRenderBoardNumbersForPrinting(&texture, givens_only, xm, ym))
        return 0;
    if (!texture.InvertTexturePart(0, 0, -1, -1, 1, 1, 1, 0))
        return 0;
    // Written to a fresh temporary beside the print and renamed over it, as
    // the records are: a failure never leaves half a picture or a temporary.
    if (!EngJpegSaveToFileFromTextureAtomically(path, &texture, 100, 300))
        return 0;
    if (path_out && size > 0)
        EngSafeStrcpy(path_out, path, size);
    return 1;
}

void PrintDo2(MWin* mwin, char givens_only, void*)
{
    if (!mwin)
        mwin = main_mwin;
    if (mwin)
        MWinPopupNoticeShowItAndRemoveIt(mwin, nullptr, "Working...");
    char path[PRINT_DESKTOP_SIZE + PRINT_NAME_SIZE + 1];
    char ok = PrintMakePicture(givens_only, path, sizeof(path));
    if (!mwin)
        return;
    if (ok)
    {
        const char* slash = strrchr(path, '/');
        char message[sizeof(path) + 96];
        snprintf(message, sizeof(message),
                 "A file for printing named\n\"%s\"\nhas been placed on your Desktop.\n",
                 slash ? slash + 1 : path);
        MWinPopupMessage(mwin, message);
    }
    else
        MWinPopupMessage(mwin, "An error occured creating the picture for printing");
}

void PrintDo()
{
    MWin* mwin = main_mwin;
    if (mwin && SudukoHasPuzzleBeenStarted())
    {
        MWinPopupChangeButtonTextsForNextPopup(mwin, "Original", "Current");
        MWinPopupOkCancel(mwin, nullptr, "Print the original or current puzzle ?", PrintDo2, nullptr);
        return;
    }
    PrintDo2(nullptr, 1, nullptr);
}
