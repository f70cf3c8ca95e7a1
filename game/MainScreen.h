// The main menu: level and puzzle choice, preview board, start/resume, reset,
// print, and the ways to the other screens.
#pragma once

#include "MenuScreen.h"

extern MWinCollection* mwinMainCollection;
extern MWinWindow* mwinMainMainWindow;
extern MWinButton* mwinMainMainTitleButton;
extern MWinButton* mwinMainMainFrameButton;
extern MWinButton* mwinMainMainStartButton;
extern MWinButton* mwinMainMainPrevButton;
extern MWinButton* mwinMainMainTrackHScrollbar;
extern MWinButton* mwinMainMainNextButton;
extern MWinButton* mwinMainMainPrevDiffButton;
extern MWinButton* mwinMainMainDiffButton;
extern MWinButton* mwinMainMainNextDiffButton;
extern MWinButton* mwinMainMainResetButton;
extern MWinButton* mwinMainMainPrintButton;
extern MWinButton* mwinMainMainOptionsButton;
extern MWinButton* mwinMainMainGamesButton;
extern MWinButton* mwinMainMainAboutButton;
extern MWinButton* mwinMainMainExitButton;

class MainCollectionController : public MenuCollectionController
{
public:
    explicit MainCollectionController(MWinScreens* screens);

    char CreateCollection(MWin* mwin) override;
    void RemoveVars() override;

    MWinCollection* AddCollectionToDesktop(MWin* mwin, MWinDesktop* desktop) override;
    MWinWindow* AddMainWindowToCollectionNormal(MWinCollection* collection);
    char AddMainWindowButtonsToWindowNormal(MWinWindow* window);
};

class MainCC : public MainCollectionController
{
public:
    explicit MainCC(MWinScreens* screens) : MainCollectionController(screens) {}

    void StartingCB() override;
    void TickCB() override {}
    void RenderCB(_MWinRenderStage) override {}
    char ButtonsCallback(MWinButton* button, _MWinButtonCallbackInfo* info) override;
};

// Steps the current puzzle by the sign of step (0 refreshes) and updates the widgets.
void MainControlSelect(char step);
// Enters play with the selected puzzle.
void MainStartCB();
void MainControlAfterResetPopupCB(MWin* mwin, char result, void* user);
// Draws the preview board in the frame's rectangle.
void MainControlRender();
// Prepares the other-games browser and opens it.
void MainGameAdsCB();
