// TEMPORARY: the clear-colour rule of the game object until it lands.
#include "EngDevice.h"
#include "MWin/MWin.h"
#include "Options.h"
#include "VizavuScreens.h"
#include "VizavuScreensOthers.h"

void VizavuScreensUpdateBgColour(Game*)
{
    if (!eng_main_device)
        return;
    EngUInt32 cur = vizavu_screens ? vizavu_screens->GetCurrentScreen() : 0;
    if (cur == GRAPHICS_SCREEN_ID || cur == IN_GAME_SCREEN_ID)
    {
        int set = options.cur_colour_set;
        if (set < 0 || set >= OPTIONS_NUM_COLOUR_SETS)
            set = 0;
        const float* c = options.colours[set][0];
        eng_main_device->SetClearColour(c[0], c[1], c[2]);
    }
    else
        eng_main_device->SetClearColour(0, 0, 0);
}

void VizavuScreensRenderBoardPreview() {}
void VizavuScreensPrint() {}
void VizavuScreensOpenGameAds(VizavuScreens* screens)
{
    if (screens && screens->GetMWin())
        VizavuGotoScreen(screens->GetMWin(), VIZAVU_GAME_ADS_SCREEN_ID);
}
