// The options menu: the way to the colour sets and the controls page.
#include "OptionsScreen.h"

#include "EngDebug.h"
#include "MWin/MWin.h"
#include "MWin/MWinButton.h"
#include "MWin/MWinCollection.h"
#include "MWin/MWinWindow.h"
#include "MenuLayout.h"
#include "VizavuScreens.h"

MWinCollection* mwinOptionsCollection = nullptr;
MWinWindow* mwinOptionsOptionsWindow = nullptr;
MWinButton* mwinOptionsOptionsGraphicsButton = nullptr;
MWinButton* mwinOptionsOptionsSoundButton = nullptr;
MWinButton* mwinOptionsOptionsControlsButton = nullptr;
MWinButton* mwinOptionsOptionsMainMenuButton = nullptr;
MWinButton* mwinOptionsOptionsExitButton = nullptr;
MWinButton* mwinOptionsOptionsBackButton = nullptr;

namespace
{
#define OPT_STYLE 0, 0, 0, 0.7f, 0.9f, 2, 1
const _MenuWidget options_widgets[] = {
    {"Graphics", MWIN_BUTTON_PUSH, "Main", "Colours", 220, 92.5f, 200, 50, OPT_STYLE,
     &mwinOptionsOptionsGraphicsButton},
    {"Sound", MWIN_BUTTON_PUSH, "Main", "Sound", 220, 152.5f, 200, 50, OPT_STYLE, &mwinOptionsOptionsSoundButton},
    {"Controls", MWIN_BUTTON_PUSH, "Main", "Controls", 220, 212.5f, 200, 50, OPT_STYLE,
     &mwinOptionsOptionsControlsButton},
    {"MainMenu", MWIN_BUTTON_PUSH, "Main", "Main Menu", 220, 277.5f, 200, 50, OPT_STYLE,
     &mwinOptionsOptionsMainMenuButton},
    {"Exit", MWIN_BUTTON_PUSH, "Main", "Exit Game", 220, 337.5f, 200, 50, OPT_STYLE, &mwinOptionsOptionsExitButton},
    {"Back", MWIN_BUTTON_PUSH, "Main", "Back", 500, 430, 120, 40, OPT_STYLE, &mwinOptionsOptionsBackButton},
};
#undef OPT_STYLE
const int num_options_widgets = sizeof(options_widgets) / sizeof(options_widgets[0]);
} // namespace

OptionsCollectionController::OptionsCollectionController(MWinScreens* screens)
{
    OptionsCollectionController::RemoveVars();
    mwinp = VizavuSetScreensVar(this, screens);
}

char OptionsCollectionController::CreateCollection(MWin* mwin)
{
    return MenuCreateCollection(__PRETTY_FUNCTION__, this, mwin);
}

void OptionsCollectionController::RemoveVars()
{
    mwinOptionsCollection = nullptr;
    mwinOptionsOptionsWindow = nullptr;
    MenuClearGlobals(options_widgets, num_options_widgets);
}

MWinCollection* OptionsCollectionController::AddCollectionToDesktop(MWin* mwin, MWinDesktop* desktop)
{
    mwinOptionsCollection = nullptr;
    MWinCollection* c = MenuAddCollection(__PRETTY_FUNCTION__, mwin, desktop, "Options");
    if (!c)
        return nullptr;
    AddOptionsWindowToCollectionNormal(c);
    mwinOptionsCollection = c;
    return c;
}

MWinWindow* OptionsCollectionController::AddOptionsWindowToCollectionNormal(MWinCollection* collection)
{
    mwinOptionsOptionsWindow = nullptr;
    MWinWindow* w = MenuAddWindow(__PRETTY_FUNCTION__, collection, "Options", 0, 0, 0, 640, 480, "",
                                  MWIN_TEXBUT_NONE, MWIN_TEXBUT_NONE);
    if (!w)
        return nullptr;
    MenuFinishWindow(__PRETTY_FUNCTION__, w, AddOptionsWindowButtonsToWindowNormal(w), this);
    mwinOptionsOptionsWindow = w;
    return w;
}

char OptionsCollectionController::AddOptionsWindowButtonsToWindowNormal(MWinWindow* window)
{
    return MenuAddWidgets(__PRETTY_FUNCTION__, window, options_widgets, num_options_widgets);
}

void OptionsCC::StartingCB()
{
    if (mwinOptionsOptionsSoundButton)
        mwinOptionsOptionsSoundButton->Disable();
    if (mwinOptionsOptionsBackButton)
        mwinOptionsOptionsBackButton->SetEscapeButtonForParentWindow();
    // Entered only from the main menu: no way back to it or out of the game here.
    if (mwinOptionsOptionsMainMenuButton)
        mwinOptionsOptionsMainMenuButton->Hide();
    if (mwinOptionsOptionsExitButton)
        mwinOptionsOptionsExitButton->Hide();
    if (mwinOptionsOptionsWindow)
    {
        // Back keeps its corner while the others are centred.
        if (mwinOptionsOptionsBackButton)
            mwinOptionsOptionsBackButton->Hide();
        mwinOptionsOptionsWindow->CenterAllShownButtons(0, 1);
        if (mwinOptionsOptionsBackButton)
            mwinOptionsOptionsBackButton->Show(1);
    }
}

char OptionsCC::ButtonsCallback(MWinButton* button, _MWinButtonCallbackInfo*)
{
    if (!button)
        return 0;
    if (button == mwinOptionsOptionsGraphicsButton)
    {
        mwinp->GotoScreen(GRAPHICS_SCREEN_ID);
        return 1;
    }
    if (button == mwinOptionsOptionsControlsButton)
    {
        mwinp->GotoScreen(CONTROLS_SCREEN_ID);
        return 1;
    }
    if (button == mwinOptionsOptionsBackButton)
    {
        mwinp->GoBackToPreviousScreen();
        return 1;
    }
    return 0;
}
