// The controls page: the mouse and keyboard controls and the "Keyboard Only" choice.
#pragma once

#include "MenuScreen.h"

extern MWinCollection* mwinControlsCollection;
extern MWinWindow* mwinControlsControlsWindow;
extern MWinButton* mwinControlsControlsKey3bButton;
extern MWinButton* mwinControlsControlsKeyboardOnlyChoice;
extern MWinButton* mwinControlsControlsBackButton;

extern const char* c_off_on_strs[2];

class ControlsCollectionController : public MenuCollectionController
{
public:
    explicit ControlsCollectionController(MWinScreens* screens);

    char CreateCollection(MWin* mwin) override;
    void RemoveVars() override;

    MWinCollection* AddCollectionToDesktop(MWin* mwin, MWinDesktop* desktop) override;
    MWinWindow* AddControlsWindowToCollectionNormal(MWinCollection* collection);
    char AddControlsWindowButtonsToWindowNormal(MWinWindow* window);
};

class ControlsCC : public ControlsCollectionController
{
public:
    explicit ControlsCC(MWinScreens* screens) : ControlsCollectionController(screens) {}

    void StartingCB() override;
    void TickCB() override {}
    void RenderCB(_MWinRenderStage) override {}
    char ButtonsCallback(MWinButton* button, _MWinButtonCallbackInfo* info) override;

    // Answer to the keyboard-only question: OK keeps the flag, Cancel clears it.
    void ConfirmPopupCB(char result);
    static void ConfirmPopupCB_Static(MWin* mwin, char result, void* user);
};
