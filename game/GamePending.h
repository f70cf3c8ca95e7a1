// TEMPORARY: declarations of engine functions and globals that other modules
// provide but that are not on main yet. Removed at merge; the real ones live in
// Engine/EngWindow.h, Engine/EngResModes.h and game/Game.h.
#pragma once

#include <cstddef>

#include "EngTypes.h"

// Engine/EngWindow.h: the window creation record and window globals.
struct _EngCreateWindowParms
{
    int x, y;
    int width, height;
    int bpp;
    char windowed;
    int frequency;
    int aa;
    int ms_type, ms_quality;
    char double_click;
    int reserved;
    char class_name[256];
};

extern char eng_main_window_windowed;
extern int eng_main_window_width, eng_main_window_height, eng_main_window_bitdepth, eng_main_window_frequency;
extern float eng_main_window_x_ratio, eng_main_window_y_ratio;
extern float eng_main_window_x_ratio_inv, eng_main_window_y_ratio_inv;
extern float eng_main_window_x_widescreen_ratio, eng_main_window_y_narrowscreen_ratio;
extern char eng_main_window_portraited;
extern int eng_main_window_aa;
extern EngUInt8 eng_key_down[256];

// EngWindow::GetWindowPos on the main window: 1 with the content's top-left, else 0.
char EngWindowGetMainWindowPos(int* x, int* y);

// Engine/EngResModes.h (the operations the display settings use).
class EngResModes
{
public:
    char GetClosestFullScreenModeToMode(int* width, int* height, int* bpp, int* frequency);
    char EnsureWindowedModeOk(int* width, int* height, int* bpp, int* frequency);
};

// game/Game.h: the game's window creation record.
_EngCreateWindowParms* MainGetCreateWindowParms();
