// The power-usage page: a five-step power choice kept in the options record.
#pragma once

#include "MenuScreen.h"

extern MWinCollection* mwinMiscCollection;
extern MWinWindow* mwinMiscMiscWindow;
extern MWinButton* mwinMiscMiscBackButton;
extern MWinButton* mwinMiscMiscPowerChoice;
extern MWinButton* mwinMiscMiscPowerTextButton;
extern MWinButton* mwinMiscMiscPowerInfoButton;

extern const char* m_power_strs[5];

// Applies the power choice; nothing depends on it in this program.
void MiscSetPower();

class MiscCollectionController : public MenuCollectionController
{
public:
    explicit MiscCollectionController(MWinScreens* screens);

    char CreateCollection(MWin* mwin) override;
    void RemoveVars() override;

    MWinCollection* AddCollectionToDesktop(MWin* mwin, MWinDesktop* desktop) override;
    MWinWindow* AddMiscWindowToCollectionNormal(MWinCollection* collection);
    char AddMiscWindowButtonsToWindowNormal(MWinWindow* window);
};

class MiscCC : public MiscCollectionController
{
public:
    explicit MiscCC(MWinScreens* screens) : MiscCollectionController(screens) {}

    void StartingCB() override;
    void TickCB() override {}
    void RenderCB(_MWinRenderStage) override {}
    char ButtonsCallback(MWinButton* button, _MWinButtonCallbackInfo* info) override;
};
