// Shared set-up for the game model tests: a data folder of its own, default
// options, a window size, a fresh puzzle and a small independent solver.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "EngDebug.h"
#include "EngMiscPlatform.h"
#include "EngProgram.h"
#include "PrefFolder.h"
#include "game/Board.h"
#include "game/GameHooks.h"
#include "EngResModes.h"
#include "EngWindow.h"
#include "game/Game.h"
#include "game/Options.h"
#include "game/Vizavu.h"
#include "support/TestSupport.h"

namespace gametest
{

const EngUInt32 SCREEN_MAIN = EngFourCC('M', 'A', 'I', 'N');
const EngUInt32 SCREEN_IN_GAME = EngFourCC('I', 'N', 'G', 'A');
const EngUInt32 SCREEN_GRAPHICS = EngFourCC('G', 'R', 'A', 'P');

// The window globals as the window sets them for a size.
inline void SetWindowSize(int w, int h)
{
    eng_main_window_width = w;
    eng_main_window_height = h;
    eng_main_window_x_ratio = w / 640.0f;
    eng_main_window_y_ratio = h / 480.0f;
    eng_main_window_x_ratio_inv = 640.0f / w;
    eng_main_window_y_ratio_inv = 480.0f / h;
    eng_main_window_portraited = w < h;
    float wide = (float(h) / float(w)) * 1.3333334f;
    float narrow = float(w) / float(h);
    eng_main_window_x_widescreen_ratio = wide < 1 ? wide : 1;
    eng_main_window_y_narrowscreen_ratio = narrow < 1 ? narrow : 1;
}

// Counts solutions of a grid (81 values, 0 empty) up to limit, filling the
// emptiest-choice cell first; the first solution found goes to out.
inline int CountSolutions(int* g, int limit, int* out)
{
    int best = -1, best_mask = 0, best_count = 10;
    for (int i = 0; i < 81; i++)
    {
        if (g[i])
            continue;
        int r = i / 9, c = i % 9, used = 0;
        for (int k = 0; k < 9; k++)
        {
            int br = (r / 3) * 3 + k / 3, bc = (c / 3) * 3 + k % 3;
            used |= (1 << g[r * 9 + k]) | (1 << g[k * 9 + c]) | (1 << g[br * 9 + bc]);
        }
        int mask = ~used & 0x3fe, count = __builtin_popcount(mask);
        if (count < best_count)
        {
            best = i;
            best_mask = mask;
            best_count = count;
        }
    }
    if (best < 0)
    {
        if (out)
            memcpy(out, g, sizeof(int) * 81);
        return 1;
    }
    int found = 0;
    for (int d = 1; d <= 9 && found < limit; d++)
    {
        if (!(best_mask & (1 << d)))
            continue;
        g[best] = d;
        found += CountSolutions(g, limit - found, found == 0 ? out : nullptr);
        g[best] = 0;
    }
    return found;
}

// Solution of a puzzle string, row by row.
inline std::string Solve(const char* puzzle)
{
    int g[81], s[81];
    for (int i = 0; i < 81; i++)
        g[i] = puzzle[i] - '0';
    if (CountSolutions(g, 1, s) != 1)
        return "";
    std::string out(81, '0');
    for (int i = 0; i < 81; i++)
        out[i] = char('0' + s[i]);
    return out;
}

class GameTest : public vztest::LogTest
{
protected:
    void SetUp() override
    {
        LogTest::SetUp();
        PrefFolderSetup("Kestrelbay Vizavu", 0, nullptr, 1);
        OptionsSetDefaults();
        game_hooks_current_screen = SCREEN_IN_GAME;
        memset(eng_key_down, 0, sizeof(eng_key_down));
        eng_main_current_time = 100.0;
        SetWindowSize(640, 480);
        cur_sel_col = cur_sel_row = 0;
        VizavuInitVars(1);
    }
    std::string DataFile(const char* name) const
    {
        return dir.Path() + "/Kestrelbay/Kestrelbay Vizavu/" + name;
    }

    vztest::TempDir dir;
    vztest::ScopedEnv data_home{"XDG_DATA_HOME", dir.Path().c_str()};
};

} // namespace gametest
