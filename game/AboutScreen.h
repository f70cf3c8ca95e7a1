// The About page: title, version, credits and the game's web page.
#pragma once

#include "MWin/MWinCollectionController.h"

class MWin;
class MWinButton;
class MWinCollection;
class MWinDesktop;
class MWinScreens;
class MWinWindow;
struct _MWinButtonCallbackInfo;

#define ABOUT_VERSION_NUMBER 1.21f

extern MWinCollection* mwinAboutCollection;
extern MWinWindow* mwinAboutAboutWindow;
extern MWinButton* mwinAboutAboutTitleButton;
extern MWinButton* mwinAboutAboutVersionButton;
extern MWinButton* mwinAboutAboutWebSiteButton;
extern MWinButton* mwinAboutAboutKestrelbayTextButton;
extern MWinButton* mwinAboutAboutBackButton;

class AboutCollectionController : public MWinCollectionController
{
public:
    explicit AboutCollectionController(MWinScreens* screens);
    virtual ~AboutCollectionController() = default;

    char CreateCollection(MWin* mwin) override;
    void RemoveVars() override;

    MWinCollection* AddCollectionToDesktop(MWin* mwin, MWinDesktop* desktop);
    MWinWindow* AddAboutWindowToCollectionNormal(MWinCollection* collection);
    char AddAboutWindowButtonsToWindowNormal(MWinWindow* window);

protected:
    MWin* mwinp = nullptr;
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
