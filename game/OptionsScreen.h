// The options menu: the way to the colour sets and the controls page.
#pragma once

#include "MWin/MWinCollectionController.h"

class MWin;
class MWinButton;
class MWinCollection;
class MWinDesktop;
class MWinScreens;
class MWinWindow;
struct _MWinButtonCallbackInfo;

extern MWinCollection* mwinOptionsCollection;
extern MWinWindow* mwinOptionsOptionsWindow;
extern MWinButton* mwinOptionsOptionsGraphicsButton;
extern MWinButton* mwinOptionsOptionsSoundButton;
extern MWinButton* mwinOptionsOptionsControlsButton;
extern MWinButton* mwinOptionsOptionsMainMenuButton;
extern MWinButton* mwinOptionsOptionsExitButton;
extern MWinButton* mwinOptionsOptionsBackButton;

class OptionsCollectionController : public MWinCollectionController
{
public:
    explicit OptionsCollectionController(MWinScreens* screens);
    virtual ~OptionsCollectionController() = default;

    char CreateCollection(MWin* mwin) override;
    void RemoveVars() override;

    MWinCollection* AddCollectionToDesktop(MWin* mwin, MWinDesktop* desktop);
    MWinWindow* AddOptionsWindowToCollectionNormal(MWinCollection* collection);
    char AddOptionsWindowButtonsToWindowNormal(MWinWindow* window);

protected:
    MWin* mwinp = nullptr;
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
