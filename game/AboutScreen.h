// The About page: title, version, credits and the game's web page.
#pragma once

#include "MenuScreen.h"

#define ABOUT_VERSION_NUMBER 1.21f

extern MWinCollection* mwinAboutCollection;
extern MWinWindow* mwinAboutAboutWindow;
extern MWinButton* mwinAboutAboutTitleButton;
extern MWinButton* mwinAboutAboutVersionButton;
extern MWinButton* mwinAboutAboutWebSiteButton;
extern MWinButton* mwinAboutAboutKestrelbayTextButton;
extern MWinButton* mwinAboutAboutBackButton;

class AboutCollectionController : public MenuCollectionController
{
public:
    explicit AboutCollectionController(MWinScreens* screens);

    char CreateCollection(MWin* mwin) override;
    void RemoveVars() override;

    MWinCollection* AddCollectionToDesktop(MWin* mwin, MWinDesktop* desktop) override;
    MWinWindow* AddAboutWindowToCollectionNormal(MWinCollection* collection);
    char AddAboutWindowButtonsToWindowNormal(MWinWindow* window);
};

class AboutCC : public AboutCollectionController
{
public:
    explicit AboutCC(MWinScreens* screens) : AboutCollectionController(screens) {}

    void StartingCB() override;
    void TickCB() override {}
    void RenderCB(_MWinRenderStage) override {}
    char ButtonsCallback(MWinButton* button, _MWinButtonCallbackInfo* info) override;
};
