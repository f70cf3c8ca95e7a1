// The About page: title, version, credits and the game's web page.
#include "AboutScreen.h"

#include "EngDebug.h"
#include "EngProgram.h"
#include "MWin/MWin.h"
#include "MWin/MWinButton.h"
#include "MWin/MWinCollection.h"
#include "MWin/MWinWindow.h"
#include "MenuLayout.h"
#include "OnlineHooks.h"
#include "Various.h"
#include "VizavuScreens.h"

MWinCollection* mwinAboutCollection = nullptr;
MWinWindow* mwinAboutAboutWindow = nullptr;
MWinButton* mwinAboutAboutTitleButton = nullptr;
MWinButton* mwinAboutAboutVersionButton = nullptr;
MWinButton* mwinAboutAboutCreatedByTextButton = nullptr;
MWinButton* mwinAboutAboutCreatorButton = nullptr;
MWinButton* mwinAboutAboutWebSiteButton = nullptr;
MWinButton* mwinAboutAboutCreatedByText3Button = nullptr;
MWinButton* mwinAboutAboutCreator2Button = nullptr;
MWinButton* mwinAboutAboutCreatedByText4Button = nullptr;
MWinButton* mwinAboutAboutKestrelbayTextButton = nullptr;
MWinButton* mwinAboutAboutBackButton = nullptr;

namespace
{
const char* const about_notice = "Copyright Kestrelbay";

#define LABEL MWIN_BUTTON_PUSH, MWIN_TEXBUT_NONE
const _MenuWidget about_widgets[] = {
    {"Title", LABEL, "Kestrelbay' Vizavu", 100, 80, 440, 50, 1, 1, 1, 0.8f, 1.5f, 3, 1, &mwinAboutAboutTitleButton},
    {"Version", LABEL, "Version 1.0", 100, 135, 440, 24, 0.7f, 0.7f, 0.7f, 1, 1, 2, 1, &mwinAboutAboutVersionButton},
    {"CreatedByText", LABEL, "created by", 100, 185, 440, 20, 1, 1, 1, 0.6f, 0.6f, 1.3f, 1,
     &mwinAboutAboutCreatedByTextButton},
    {"Creator", LABEL, "Kestrelbay", 100, 205, 440, 22, 0.7f, 0.7f, 0.7f, 1, 1, 2, 1, &mwinAboutAboutCreatorButton},
    {"WebSite", MWIN_BUTTON_PUSH, "Main", ONLINE_WEB_ADDRESS, 200, 240, 240, 40, 0, 0, 0, 0.7f, 0.9f, 1.8f, 1,
     &mwinAboutAboutWebSiteButton},
    {"CreatedByText3", LABEL, "game font by", 100, 310, 440, 20, 1, 1, 1, 0.6f, 0.6f, 1.3f, 1,
     &mwinAboutAboutCreatedByText3Button},
    {"Creator2", LABEL, "the DejaVu fonts team", 100, 330, 440, 22, 0.7f, 0.7f, 0.7f, 1, 1, 2, 1,
     &mwinAboutAboutCreator2Button},
    {"CreatedByText4", LABEL, "dejavu-fonts.github.io", 100, 360, 440, 20, 1, 1, 1, 0.6f, 0.6f, 1.3f, 1,
     &mwinAboutAboutCreatedByText4Button},
    {"KestrelbayText", LABEL, "", 100, 400, 440, 36, 0.7f, 0.7f, 0.5f, 1, 1, 1.3f, 1,
     &mwinAboutAboutKestrelbayTextButton},
    {"Back", MWIN_BUTTON_PUSH, "Main", "Back", 510, 420, 110, 40, 0, 0, 0, 0.6f, 0.9f, 2, 1,
     &mwinAboutAboutBackButton},
};
#undef LABEL
const int num_about_widgets = sizeof(about_widgets) / sizeof(about_widgets[0]);
} // namespace

AboutCollectionController::AboutCollectionController(MWinScreens* screens)
{
    AboutCollectionController::RemoveVars();
    mwinp = VizavuSetScreensVar(this, screens);
}

char AboutCollectionController::CreateCollection(MWin* mwin)
{
    return MenuCreateCollection(__PRETTY_FUNCTION__, this, mwin);
}

void AboutCollectionController::RemoveVars()
{
    mwinAboutCollection = nullptr;
    mwinAboutAboutWindow = nullptr;
    MenuClearGlobals(about_widgets, num_about_widgets);
}

MWinCollection* AboutCollectionController::AddCollectionToDesktop(MWin* mwin, MWinDesktop* desktop)
{
    mwinAboutCollection = nullptr;
    MWinCollection* c = MenuAddCollection(__PRETTY_FUNCTION__, mwin, desktop, "About");
    if (!c)
        return nullptr;
    AddAboutWindowToCollectionNormal(c);
    mwinAboutCollection = c;
    return c;
}

MWinWindow* AboutCollectionController::AddAboutWindowToCollectionNormal(MWinCollection* collection)
{
    mwinAboutAboutWindow = nullptr;
    MWinWindow* w = MenuAddWindow(__PRETTY_FUNCTION__, collection, "About", 0, 0, 0, 640, 480, "About",
                                  MWIN_TEXBUT_DEFAULT, MWIN_TEXBUT_NONE);
    if (!w)
        return nullptr;
    MenuFinishWindow(__PRETTY_FUNCTION__, w, AddAboutWindowButtonsToWindowNormal(w), this);
    mwinAboutAboutWindow = w;
    return w;
}

char AboutCollectionController::AddAboutWindowButtonsToWindowNormal(MWinWindow* window)
{
    return MenuAddWidgets(__PRETTY_FUNCTION__, window, about_widgets, num_about_widgets);
}

void AboutCC::StartingCB()
{
    if (mwinAboutAboutVersionButton)
        mwinAboutAboutVersionButton->SetTextPrintf("Version %.2f", (double)ABOUT_VERSION_NUMBER);
    if (mwinAboutAboutKestrelbayTextButton)
        mwinAboutAboutKestrelbayTextButton->SetText(about_notice);
    if (mwinAboutAboutBackButton)
        mwinAboutAboutBackButton->SetEscapeButtonForParentWindow();
    if (mwinAboutAboutTitleButton)
        mwinAboutAboutTitleButton->SetText(MainGetGameName());
}

char AboutCC::ButtonsCallback(MWinButton* button, _MWinButtonCallbackInfo*)
{
    if (!button)
        return 0;
    if (button == mwinAboutAboutBackButton)
    {
        mwinp->GoBackToPreviousScreen();
        return 1;
    }
    if (button == mwinAboutAboutWebSiteButton)
    {
        VariousGoOnlineToKestrelbay(nullptr, nullptr, "vizavu", 1, 0, 1, 0);
        return 1;
    }
    return 0;
}
