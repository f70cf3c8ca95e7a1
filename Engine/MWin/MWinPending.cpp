// TEMPORARY: stand-ins for toolkit members whose owners have not landed yet
// (the popup machinery and the screen layer). The lead removes this file at
// merge once MWinPopup and MWinScreens provide them.
#include <cstring>

#include "EngDebug.h"
#include "MWin.h"
#include "MWinCollection.h"
#include "MWinDesktop.h"

// Screen-layer forwarding: without MWinScreens there is no screen to report.
char MWin::AreScreensOn()
{
    return 0;
}

unsigned MWin::GetCurrentScreen()
{
    return 0;
}

unsigned MWin::GetPreviousScreen()
{
    return 0;
}

unsigned MWin::GetFromScreen()
{
    return 0;
}
