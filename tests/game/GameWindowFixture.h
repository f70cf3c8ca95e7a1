// Shared set-up for the tests that run the whole game on a real window: own
// data and config folders, recorded popups, frames and SDL input.
#pragma once

#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <string>

#include "EngProgram.h"
#include "EngWindow.h"
#include "Linux/EngEvents_LNX.h"
#include "game/Board.h"
#include "game/Game.h"
#include "game/ResolutionDialog.h"
#include "game/Vizavu.h"
#include "support/FrameShot.h"
#include "support/TestSupport.h"

namespace gametest
{

class GameWindowTest : public ::testing::Test
{
protected:
    vztest::TempDir dir;
    vztest::ScopedEnv data{"XDG_DATA_HOME", dir.Path().c_str()};
    vztest::ScopedEnv config{"XDG_CONFIG_HOME", dir.Path().c_str()};
    // The start looks into the Desktop folder: never the real one.
    vztest::ScopedEnv home{"HOME", dir.Path().c_str()};
    vztest::PopupRecorder popups;

    std::string DataFile(const char* name) { return dir.Path() + "/Kestrelbay/Kestrelbay Vizavu/" + name; }

    // Builds the program with an 800 x 600 window (or the size given), or full
    // screen (the display dialog answering OK), activates it and runs three frames.
    void Start(char windowed = 1, int width = 800, int height = 600)
    {
        main_display_settings_dialog = []() -> signed char { return 1; };
        _EngCreateWindowParms* p = MainGetCreateWindowParms();
        p->x = p->y = 0;
        p->width = width;
        p->height = height;
        p->windowed = windowed;
        int code = 1;
        ASSERT_EQ(MainCreateAndInitMainProgram(nullptr, 0, nullptr, &code), 1);
        ASSERT_EQ(EngMainCreateMainWindowAndDevice(), 1);
        ASSERT_NE(main_game->GetWindow(), nullptr);
        main_game->GetWindow()->GotActiveMsg(1);
        Frames(3);
    }

    void Frames(int n)
    {
        for (int i = 0; i < n; i++)
        {
            eng_main_current_time += 1.0 / 60;
            main_game->DoTick();
            main_game->DoRender();
        }
    }

    void Send(SDL_Event e)
    {
        EngEventsHandleEvent_LNX(main_game->GetWindow(), &e);
        Frames(1);
    }

    // One key event as the platform delivers it.
    void KeyEvent(SDL_Keycode sym, Uint16 mod, bool down)
    {
        SDL_Event e = {};
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.key.keysym.sym = sym;
        e.key.keysym.mod = mod;
        Send(e);
    }

    // A key pressed and released with the given modifiers held.
    void Key(SDL_Keycode sym, Uint16 mod = 0)
    {
        KeyEvent(sym, mod, true);
        KeyEvent(sym, mod, false);
    }

    // Moves the mouse to a window pixel and clicks the left button there; clicks
    // is the platform's count of quick clicks in a row (2 for a double click).
    void ClickPixel(int x, int y, int clicks = 1)
    {
        SDL_Event e = {};
        e.type = SDL_MOUSEMOTION;
        e.motion.x = x;
        e.motion.y = y;
        Send(e);
        for (Uint32 type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP})
        {
            SDL_Event b = {};
            b.type = type;
            b.button.button = SDL_BUTTON_LEFT;
            b.button.clicks = Uint8(clicks);
            b.button.x = x;
            b.button.y = y;
            Send(b);
        }
    }

    // The first empty cell, column by column; false when the board is full.
    static bool FirstEmptyCell(int* col, int* row)
    {
        for (int c = 0; c < 9; c++)
            for (int r = 0; r < 9; r++)
                if (board[c][r].number == 0)
                {
                    *col = c;
                    *row = r;
                    return true;
                }
        return false;
    }

    // Saves the frame just drawn as "<VZ_SHOT><tag>.jpg" when VZ_SHOT is set,
    // for looking at by eye.
    void Shot(const char* tag) { vztest::SaveFrameIfAsked("VZ_SHOT", tag); }

    void TearDown() override
    {
        MainExitAndDeleteMainProgram(1);
        main_display_settings_dialog = ResolutionShowAndRunWindow;
    }
};

} // namespace gametest
