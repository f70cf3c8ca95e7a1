// TEMPORARY definitions of engine functions and globals that other modules
// provide but that are not on main yet (see GamePending.h). Removed at merge.
#include "GamePending.h"


char eng_main_window_windowed = 1;
int eng_main_window_width = 640, eng_main_window_height = 480, eng_main_window_bitdepth = 32;
int eng_main_window_frequency = 0;
float eng_main_window_x_ratio = 1, eng_main_window_y_ratio = 1;
float eng_main_window_x_ratio_inv = 1, eng_main_window_y_ratio_inv = 1;
float eng_main_window_x_widescreen_ratio = 1, eng_main_window_y_narrowscreen_ratio = 1;
char eng_main_window_portraited = 0;
int eng_main_window_aa = 0;
EngUInt8 eng_key_down[256];

char EngWindowGetMainWindowPos(int* x, int* y)
{
    if (x)
        *x = 0;
    if (y)
        *y = 0;
    return 0;
}

char EngResModes::GetClosestFullScreenModeToMode(int* width, int* height, int* bpp, int*)
{
    return width && height && bpp ? 1 : 0;
}

char EngResModes::EnsureWindowedModeOk(int* width, int* height, int* bpp, int*)
{
    return width && height && bpp ? 1 : 0;
}

namespace
{
_EngCreateWindowParms main_parms = {-1, -1, 1024, 768, 32, 1, 60, 0, 0, 0, 0, 0, "EngineClass"};
}

_EngCreateWindowParms* MainGetCreateWindowParms()
{
    return &main_parms;
}
