// The colour screen: pick a colour set and a part, change its colour, see a
// preview board; the slow board re-tint runs two ticks after a change.
#pragma once

#include "MenuScreen.h"

extern MWinCollection* mwinGraphicsCollection;
extern MWinWindow* mwinGraphicsGraphicsWindow;
extern MWinButton* mwinGraphicsGraphicsSetChoice;
extern MWinButton* mwinGraphicsGraphicsSetTextButton;
extern MWinButton* mwinGraphicsGraphicsResetSetButton;
extern MWinButton* mwinGraphicsGraphicsSelTextButton;
extern MWinButton* mwinGraphicsGraphicsSelChoice;
extern MWinButton* mwinGraphicsGraphicsColTextButton;
extern MWinButton* mwinGraphicsGraphicsColColour;
extern MWinButton* mwinGraphicsGraphicsBackButton;
extern MWinButton* mwinGraphicsGraphicsFrameButton;
extern MWinButton* mwinGraphicsGraphicsFrameBgButton;
extern MWinButton* mwinGraphicsGraphicsRotButton;
extern MWinButton* mwinGraphicsGraphicsRotTextButton;

// A first re-tint at least this slow makes later ones show "Please wait...".
#define GRAPHICS_SLOW_RETINT_SECONDS 0.5

class GraphicsCollectionController : public MenuCollectionController
{
public:
    explicit GraphicsCollectionController(MWinScreens* screens);

    char CreateCollection(MWin* mwin) override;
    void RemoveVars() override;

    MWinCollection* AddCollectionToDesktop(MWin* mwin, MWinDesktop* desktop) override;
    MWinWindow* AddGraphicsWindowToCollectionNormal(MWinCollection* collection);
    MWinWindow* AddGraphicsWindowToCollectionIPhonePortrait(MWinCollection* collection);
    MWinWindow* AddGraphicsWindowToCollectionIPhoneLandscape(MWinCollection* collection);
    char AddGraphicsWindowButtonsToWindowNormal(MWinWindow* window);
    char AddGraphicsWindowButtonsToWindowIPhonePortrait(MWinWindow* window);
    char AddGraphicsWindowButtonsToWindowIPhoneLandscape(MWinWindow* window);

private:
    // Adds the window in a layout, its widgets by add_buttons, and makes it the screen's window.
    MWinWindow* AddGraphicsWindowInLayout(const char* func, MWinCollection* collection, int layout,
                                          char (GraphicsCollectionController::*add_buttons)(MWinWindow*));
};

class GraphicsCC : public GraphicsCollectionController
{
public:
    explicit GraphicsCC(MWinScreens* screens) : GraphicsCollectionController(screens) {}

    void StartingCB() override;
    void TickCB() override;
    void RenderCB(_MWinRenderStage) override {}
    char ButtonsCallback(MWinButton* button, _MWinButtonCallbackInfo* info) override;

    // Brings what shows a colour up to date: all after a whole set changed,
    // held while a picker slider is still held.
    void UpdateCols(char all, char held);

    signed char retint_countdown = 0;
    double retint_seconds = 0;
    // Set while the "Please wait..." notice this screen opened is up.
    char notice_shown = 0;
};
