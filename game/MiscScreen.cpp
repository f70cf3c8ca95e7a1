// The power-usage page: a five-step power choice kept in the options record.
#include "MiscScreen.h"

#include "EngDebug.h"
#include "MWin/MWin.h"
#include "MWin/MWinButton.h"
#include "MWin/MWinCollection.h"
#include "MWin/MWinWindow.h"
#include "MenuLayout.h"
#include "Options.h"
#include "VizavuScreens.h"

MWinCollection* mwinMiscCollection = nullptr;
MWinWindow* mwinMiscMiscWindow = nullptr;
MWinButton* mwinMiscMiscBackButton = nullptr;
MWinButton* mwinMiscMiscPowerChoice = nullptr;
MWinButton* mwinMiscMiscPowerTextButton = nullptr;
MWinButton* mwinMiscMiscPowerInfoButton = nullptr;

const char* m_power_strs[5] = {"Full", "High", "Medium", "Lower", "Lowest"};

namespace
{
const _MenuWidget misc_widgets[] = {
    {"Back", MWIN_BUTTON_PUSH, "Main", "Back", 500, 430, 120, 40, 0, 0, 0, 0.6f, 0.9f, 2, 1,
     &mwinMiscMiscBackButton},
    {"Power", MWIN_BUTTON_CHOICE, "Main", "Power", 20, 40, 600, 40, 0, 0, 0, 0.7f, 0.9f, 1.8f, 1,
     &mwinMiscMiscPowerChoice},
    {"PowerText", MWIN_BUTTON_PUSH, MWIN_TEXBUT_NONE, "Power Usage", 20, 10, 600, 30, 0.7f, 0.7f, 0.7f, 1, 1, 2, 1,
     &mwinMiscMiscPowerTextButton},
    {"PowerInfo", MWIN_BUTTON_PUSH, "Main", "Info", 560, 20, 60, 25, 0, 0, 0, 0.7f, 0.7f, 1, 1,
     &mwinMiscMiscPowerInfoButton},
};
const int num_misc_widgets = sizeof(misc_widgets) / sizeof(misc_widgets[0]);
} // namespace

void MiscSetPower() {}

MiscCollectionController::MiscCollectionController(MWinScreens* screens)
{
    MiscCollectionController::RemoveVars();
    mwinp = VizavuSetScreensVar(this, screens);
}

char MiscCollectionController::CreateCollection(MWin* mwin)
{
    return MenuCreateCollection(__PRETTY_FUNCTION__, this, mwin);
}

void MiscCollectionController::RemoveVars()
{
    mwinMiscCollection = nullptr;
    mwinMiscMiscWindow = nullptr;
    MenuClearGlobals(misc_widgets, num_misc_widgets);
}

MWinCollection* MiscCollectionController::AddCollectionToDesktop(MWin* mwin, MWinDesktop* desktop)
{
    mwinMiscCollection = nullptr;
    MWinCollection* c = MenuAddCollection(__PRETTY_FUNCTION__, mwin, desktop, "Misc");
    if (!c)
        return nullptr;
    AddMiscWindowToCollectionNormal(c);
    mwinMiscCollection = c;
    return c;
}

MWinWindow* MiscCollectionController::AddMiscWindowToCollectionNormal(MWinCollection* collection)
{
    mwinMiscMiscWindow = nullptr;
    MWinWindow* w = MenuAddWindow(__PRETTY_FUNCTION__, collection, "Misc", 0, 0, 0, 640, 480, "",
                                  MWIN_TEXBUT_NONE, MWIN_TEXBUT_NONE);
    if (!w)
        return nullptr;
    MenuFinishWindow(__PRETTY_FUNCTION__, w, AddMiscWindowButtonsToWindowNormal(w), this);
    mwinMiscMiscWindow = w;
    return w;
}

char MiscCollectionController::AddMiscWindowButtonsToWindowNormal(MWinWindow* window)
{
    return MenuAddWidgets(__PRETTY_FUNCTION__, window, misc_widgets, num_misc_widgets);
}

void MiscCC::StartingCB()
{
    if (mwinMiscMiscPowerChoice)
    {
        mwinMiscMiscPowerChoice->ChoiceSetStrings(5, m_power_strs);
        mwinMiscMiscPowerChoice->ChoiceRegisterIntVariable(&options.power_choice, 0);
    }
    if (mwinMiscMiscBackButton)
        mwinMiscMiscBackButton->SetEscapeButtonForParentWindow();
}

char MiscCC::ButtonsCallback(MWinButton* button, _MWinButtonCallbackInfo*)
{
    if (!button)
        return 0;
    if (button == mwinMiscMiscPowerInfoButton || button == mwinMiscMiscPowerChoice)
        return 1;
    if (button == mwinMiscMiscBackButton)
    {
        mwinp->GoBackToPreviousScreen();
        return 1;
    }
    return 0;
}
