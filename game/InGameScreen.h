// The play screen's bar with its Menu and Undo buttons; leaving play saves.
#pragma once

#include "MenuScreen.h"

extern MWinCollection* mwinInGameCollection;
extern MWinWindow* mwinInGameInGameWindow;
extern MWinButton* mwinInGameInGameMenuButton;
extern MWinButton* mwinInGameInGameUndoButton;

// The bar's on-screen rectangle (left, top, right, bottom), set at every start.
extern int ig_x1, ig_y1, ig_x2, ig_y2;

class InGameCollectionController : public MenuCollectionController
{
public:
    explicit InGameCollectionController(MWinScreens* screens);

    char CreateCollection(MWin* mwin) override;
    void RemoveVars() override;

    MWinCollection* AddCollectionToDesktop(MWin* mwin, MWinDesktop* desktop) override;
    MWinWindow* AddInGameWindowToCollectionNormal(MWinCollection* collection);
    char AddInGameWindowButtonsToWindowNormal(MWinWindow* window);
};

class InGameCC : public InGameCollectionController
{
public:
    explicit InGameCC(MWinScreens* screens) : InGameCollectionController(screens) {}

    void StartingCB() override;
    void TickCB() override {}
    void RenderCB(_MWinRenderStage) override {}
    char ButtonsCallback(MWinButton* button, _MWinButtonCallbackInfo* info) override;
};

// Saves the game and goes back to the main menu.
void InGameMenuCB();
void InGameUndoCB();
// Enables Undo exactly when there is something to undo (only on the play screen).
void InGameControlActivateUndoButton();
char InGameControlIsCursorInWindow(int x, int y);
