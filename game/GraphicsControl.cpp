// The colour sets: defaults for the options record, the colour screen's
// picture, its widgets' bindings and its preview.
#include "GraphicsControl.h"

#include <cstring>

#include "Board.h"
#include "BoardDraw.h"
#include "EngTexture.h"
#include "GameHooks.h"
#include "GraphicsScreen.h"
#include "MWin/MWinButton.h"
#include "MWin/MWinColourPicker.h"
#include "VizavuScreens.h"

const char* g_choice_sel_strs[OPTIONS_NUM_COLOUR_PARTS] = {"Screen",      "Board",       "Lines",
                                                           "Puzzle Nos.", "Placed Nos.", "Notes No."};
const char* g_sel_strs[OPTIONS_NUM_COLOUR_PARTS] = {"Screen",         "Board",          "Lines",
                                                    "Puzzle Numbers", "Placed Numbers", "Notes"};
const char* g_num1_strs[OPTIONS_NUM_COLOUR_SETS] = {"1", "2", "3", "4", "5", "6", "7", "8"};

EngTexture gc_bg_col_tex;

const float default_graphics_options[OPTIONS_NUM_COLOUR_SETS][OPTIONS_NUM_COLOUR_PARTS][3] = {
    {{0.189f, 0.201f, 0.258f}, {1, 1, 1}, {0, 0, 0}, {0.025f, 0.039f, 0.121f}, {0.496f, 0.53f, 0.732f},
     {0.518f, 0.4f, 0.138f}},
    {{0, 0, 0}, {1, 1, 1}, {0, 0, 0}, {0, 0, 0}, {0.4f, 0.4f, 0.4f}, {0.4f, 0.4f, 0.4f}},
    {{0.002f, 0.002f, 0.002f}, {0, 0, 0}, {0.458f, 0.458f, 0.458f}, {0.757f, 0.757f, 0.757f},
     {0.514f, 0.514f, 0.514f}, {0.561f, 0.561f, 0.561f}},
    {{0.158f, 0.259f, 0.282f}, {0.861f, 0.891f, 0.571f}, {0.203f, 0.211f, 0.048f}, {0.123f, 0.115f, 0.012f},
     {0.49f, 0.449f, 0.277f}, {0.354f, 0.347f, 0.197f}},
    {{0.398f, 0.102f, 0.165f}, {0.836f, 0.513f, 0.69f}, {0, 0, 0}, {0, 0, 0}, {0.398f, 0.102f, 0.165f},
     {0.218f, 0.115f, 0.226f}},
    {{0.266f, 0.29f, 0.256f}, {0.079f, 0.079f, 0.079f}, {0.801f, 0.801f, 0.801f}, {0.569f, 0.569f, 0.569f},
     {0.426f, 0.426f, 0.426f}, {0.545f, 0.445f, 0.377f}},
    {{0.119f, 0.077f, 0.061f}, {0.406f, 0.352f, 0.335f}, {0.127f, 0.127f, 0.127f}, {1, 0.578f, 0.115f},
     {0.8f, 0.48f, 0.264f}, {0.34f, 0.158f, 0.122f}},
    {{0.534f, 0.697f, 0.4f}, {0.973f, 0.978f, 0.978f}, {0.101f, 0.24f, 0.032f}, {0, 0.004f, 0.004f},
     {0.605f, 0.686f, 0.425f}, {0.444f, 0.544f, 0.221f}},
};

void GraphicsControlSetDefaultOptions()
{
    options.cur_colour_set = 0;
    options.cur_colour_part = 0;
    memcpy(options.colours, default_graphics_options, sizeof(options.colours));
}

void GraphicsControlResetSetColours(int set)
{
    if (set < 0 || set >= OPTIONS_NUM_COLOUR_SETS)
        return;
    memcpy(options.colours[set], default_graphics_options[set], sizeof(options.colours[set]));
}

namespace
{
int ClampIndex(int v, int n)
{
    return v < 0 ? 0 : (v >= n ? n - 1 : v);
}
} // namespace

char GraphicsControlCreateGraphics()
{
    if (VizavuGetCurrentScreenID() != GRAPHICS_SCREEN_ID)
        return 1;
    gc_bg_col_tex.Destroy();
    return gc_bg_col_tex.LoadFromJpegFile("BgCol.jpg", 0, 0, 0);
}

void GraphicsControlDestroyGraphics()
{
    gc_bg_col_tex.Destroy();
}

void GraphicsControlUpdateButtons()
{
    int set = ClampIndex(options.cur_colour_set, OPTIONS_NUM_COLOUR_SETS);
    int part = ClampIndex(options.cur_colour_part, OPTIONS_NUM_COLOUR_PARTS);
    if (mwinGraphicsGraphicsColTextButton)
        mwinGraphicsGraphicsColTextButton->SetTextPrintf("%s Colour", g_sel_strs[part]);
    if (mwinGraphicsGraphicsColColour)
        static_cast<MWinColour*>(mwinGraphicsGraphicsColColour)
            ->RegisterVariable(reinterpret_cast<_ColourRGB*>(options.colours[set][part]));
}

void GraphicsRender()
{
    if (mwinGraphicsGraphicsFrameBgButton && gc_bg_col_tex.IsOk())
    {
        int set = ClampIndex(options.cur_colour_set, OPTIONS_NUM_COLOUR_SETS);
        const float* c = options.colours[set][OPTIONS_COL_SCREEN];
        gc_bg_col_tex.PositionRatioed(mwinGraphicsGraphicsFrameBgButton->GetActualArea());
        gc_bg_col_tex.DrawWithColour(c[0], c[1], c[2], 1);
    }
    BoardRenderBoard(2);
}

void GraphicsControlMouseButtonPressed(char button, char pressed)
{
    if (button != 0 || !pressed)
        return;
    int part = BoardGetColourPartFromMousePress();
    if (part > 0 && mwinGraphicsGraphicsSelChoice)
        mwinGraphicsGraphicsSelChoice->ChoiceSetSel(part, 1);
}
