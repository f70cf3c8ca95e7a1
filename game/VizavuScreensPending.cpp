// TEMPORARY: printing and the browser until their owners land.
#include "EngDevice.h"
#include "MWin/MWin.h"
#include "Options.h"
#include "VizavuScreens.h"
#include "VizavuScreensOthers.h"

void VizavuScreensPrint() {}
void VizavuScreensOpenGameAds(VizavuScreens* screens)
{
    if (screens && screens->GetMWin())
        VizavuGotoScreen(screens->GetMWin(), VIZAVU_GAME_ADS_SCREEN_ID);
}
