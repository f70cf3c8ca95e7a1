// The options menu: the way to the colour sets and the controls page.
#pragma once

#include "MenuScreen.h"

extern MWinCollection* mwinOptionsCollection;
extern MWinWindow* mwinOptionsOptionsWindow;
extern MWinButton* mwinOptionsOptionsGraphicsButton;
extern MWinButton* mwinOptionsOptionsSoundButton;
extern MWinButton* mwinOptionsOptionsControlsButton;
extern MWinButton* mwinOptionsOptionsMainMenuButton;
extern MWinButton* mwinOptionsOptionsExitButton;
extern MWinButton* mwinOptionsOptionsBackButton;

class OptionsCollectionController : public MenuCollectionController
{
public:
    explicit OptionsCollectionController(MWinScreens* screens);

    char CreateCollection(MWin* mwin) override;
    void RemoveVars() override;

    MWinCollection* AddCollectionToDesktop(MWin* mwin, MWinDesktop* desktop) override;
    MWinWindow* AddOptionsWindowToCollectionNormal(MWinCollection* collection);
    char AddOptionsWindowButtonsToWindowNormal(MWinWindow* window);
};

class OptionsCC : public OptionsCollectionController
{
public:
    explicit OptionsCC(MWinScreens* screens) : OptionsCollectionController(screens) {}

    void StartingCB() override;
    void TickCB() override {}
    void RenderCB(_MWinRenderStage) override {}
    char ButtonsCallback(MWinButton* button, _MWinButtonCallbackInfo* info) override;
};
