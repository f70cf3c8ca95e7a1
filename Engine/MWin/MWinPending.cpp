// TEMPORARY: stand-ins for toolkit members whose owners have not landed yet
// (the popup machinery and the screen layer). The lead removes this file at
// merge once MWinPopup and MWinScreens provide them.
#include <cstring>

#include "EngDebug.h"
#include "MWin.h"
#include "MWinCollection.h"
#include "MWinDesktop.h"

void MWin::PopupInit()
{
    popup.on = 0;
    popup.collection = nullptr;
}

char MWin::PopupIsOn()
{
    return popup.on;
}

void MWin::PopupTurnOff()
{
    if (popup.on)
        PopupCloseCollection();
}

char MWin::PopupCreateCollection()
{
    if (!desktop || popup.collection)
        return 0;
    desktop->darken = 1;
    for (MWinCollection* c = desktop->GetFirstCollection(); c; c = c->GetNext())
        c->popup_word = c->IsActive();
    popup.collection = desktop->AddCollection(MWIN_POPUP_COLLECTION_ID);
    popup.on = popup.collection != nullptr;
    return popup.on;
}

void MWin::PopupCloseCollection()
{
    if (!desktop)
        return;
    desktop->darken = 0;
    MWinCollection* pc = popup.collection;
    popup.collection = nullptr;
    popup.on = 0;
    if (pc)
        desktop->RemoveCollection(MWIN_POPUP_COLLECTION_ID);
    for (MWinCollection* c = desktop->GetFirstCollection(); c; c = c->GetNext())
        c->popup_word = 0;
}

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
